// The item call history report on a small database: what the printed pages
// say (read back from the PDF with pdftotext), how the rows flow onto further
// pages, the banner and its failures, and the report's place in start-up.

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "exchange/RHistory.h"
#include "shell/UErrors.h"
#include "shell/UStartup.h"
#include "shell/UVidaz.h"
#include "support/TestDataModule.h"
#include "support/TestWindows.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QtTest>
#include <QtWidgets>

using TestSupport::TTempDir;

namespace {

// The item list's call history query.
const char* const HistorySql =
    "SELECT C.CallNr, C.JobcardNumber, C.OrderNumber, C.WorkerNr, C.Date_Time, C.ProblemDescr, "
    "(W.Name || ' ' || W.Surname) AS WorkerFullName\r\n"
    "FROM Call C\r\n"
    "LEFT OUTER JOIN Worker W ON (W.WorkerNr = C.WorkerNr)\r\n"
    "Where EquipmentSerialNr =  :SerialNr";

// A database with two items (the report is handed its owner's names): S1 with
// three calls, S2 with sixty, one of them with a problem far too long for its column.
struct TWorkshop : TestSupport::TTempDataModule {
    TWorkshop()
        : TTempDataModule(
              {"INSERT INTO Worker (WorkerNR, Name, Surname) VALUES ('W1', 'Wim', 'West')",
               "INSERT INTO Item (SerialNr, Brand, Model) "
               "VALUES ('S1', 'Hex', 'H1'), ('S2', 'Hex', 'H2')"}) {
        QStringList calls{Call(1, "S1", "Does not start."), Call(2, "S1", "Paper jam."),
                          Call(3, "S1", "Noisy fan.")};
        for (int n = 101; n <= 160; ++n)
            calls << Call(n, "S2",
                          n == 130 ? QString("Toner smears. ").repeated(40)
                                   : QString("Check %1").arg(n));
        ExecSQL("INSERT INTO Call (CallNr, WorkerNr, EquipmentSerialNr, JobcardNumber, "
                "OrderNumber, Date_Time, ProblemDescr) VALUES " +
                calls.join(", "));
        ApplyChanges();
    }

    static QString Call(int number, const char* serial, const QString& problem) {
        return QString("('%1', 'W1', '%2', 'J%1', 'O%1', '2007-03-05 10:00:00', '%3')")
            .arg(number, 6, 10, QChar('0'))
            .arg(serial, problem);
    }

    void SelectItem(const char* serial) { QVERIFY(sqlItem->Locate("SerialNr", QString(serial))); }
};

using TestSupport::PdfPages;

// The line of `page` that holds `text`; empty when none does.
QString LineWith(const QString& page, const QString& text) {
    for (const QString& line : page.split('\n'))
        if (line.contains(text))
            return line.simplified();
    return {};
}

} // namespace

class TestRHistory : public QObject {
    Q_OBJECT

    TTempDir m_Out;

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void BannerFailuresThenThePreviewAndRunsToPdf() {
        TWorkshop shop;
        shop.SelectItem("S1");
        TestWindows::TInstalledDialogs dialogs;
        TrptHistory report(&shop);
        // A missing library is reported and the report shown without the
        // banner; a library without one raises and shows nothing.
        report.SetVidazLibrary(shop.Root() + "Vidaz");
        bool banner = true;
        dialogs.AnswerButton(mbOK);
        dialogs.AnswerModal([&](QObject*) {
            banner = !report.imgBanner.isNull();
            return 0;
        });
        report.Run(HistorySql, "S1", "Ann Abel", "Acme");
        QCOMPARE(dialogs.Requests()[0].MsgKind, TMsgKind::Error);
        QCOMPARE(dialogs.Requests()[0].Text, "Unable to Load Banner Resource: Code = 2");
        QVERIFY(!banner); // the preview was shown, without it

        report.SetVidazLibrary(QCoreApplication::applicationDirPath() + "/vidaz-empty/Vidaz");
        QVERIFY_THROWS_EXCEPTION(EError, report.Run(HistorySql, "S1", "Ann Abel", "Acme"));
        QCOMPARE(dialogs.Requests().size(), 2);
        QVERIFY(!report.sqlHistory->Active());

        // The run through the preview, with the banner, saved from its "Save
        // as PDF" button.
        report.SetVidazLibrary(UVidaz::DefaultLibraryPath());
        if (!TestSupport::CanReadPdf())
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QString file = m_Out.Path() + "history.pdf";
        int previewPages = 0;
        bool hadBanner = false;
        dialogs.AnswerModal([&](QObject* window) {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(window);
            if (!preview)
                return 0;
            hadBanner = !report.imgBanner.isNull();
            preview->show(); // paints the pages on the preview's printer
            previewPages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
            preview->findChild<QAction*>("actSaveAsPdf")->trigger();
            preview->hide();
            return 0;
        });
        dialogs.AnswerFile(file);
        report.Run(HistorySql, "S1, Hex H1", "Ann Abel", "Acme");

        QVERIFY(hadBanner);
        QCOMPARE(previewPages, 1);
        QVERIFY(report.imgBanner.isNull());

        QStringList pages = PdfPages(file);
        QCOMPARE(pages.size(), 1);
        const QString page = pages[0];
        for (const QString& text : QStringList{"Page 1 of 1", ":S1, Hex H1", ":Acme (Ann Abel)",
                                               "000002 ", "000003 ", report.qrlblDate})
            QVERIFY2(page.contains(text), qPrintable(text));
        QCOMPARE(LineWith(page, "Call #"), "Call # Jobcard # Order # Date Worker Problem");
        QCOMPARE(LineWith(page, "000001"),
                 "000001 J000001 O000001 3/5/07 Wim West Does not start.");

        // Rows flow onto a second page under repeated headings; a second run
        // shows its own item's calls only; text too long for its column is cut.
        const QString second = m_Out.Path() + "second.pdf";
        shop.SelectItem("S2");
        report.RunToPdf(HistorySql, "S2", "Ann Abel", "Acme", second);

        pages = PdfPages(second);
        QCOMPARE(pages.size(), 2);
        int rows = 0;
        for (int p = 0; p < 2; ++p) {
            QVERIFY(!LineWith(pages[p], "Call #").isEmpty());
            QVERIFY(pages[p].contains(QString("Page %1 of 2").arg(p + 1)));
            QVERIFY(pages[p].contains("Generated by TK Korvane"));
            rows += int(pages[p].count(
                QRegularExpression("^\\s*0001\\d\\d ", QRegularExpression::MultilineOption)));
        }
        QCOMPARE(rows, 60);
        QVERIFY(pages[0].contains("Item Call History"));
        QVERIFY(!pages[1].contains("Item Call History"));
        QVERIFY(!pages.join("").contains("000001"));
        const QString cut = LineWith(pages.join(""), "000130");
        QVERIFY2(cut.endsWith(QChar(0x2026)) && cut.size() < 200, qPrintable(cut));
    }

    void CustomerText() {
        for (const auto& [owner, company, shown] :
             {std::tuple{"Ann Abel", "Acme", "Acme (Ann Abel)"},
              {"Ann Abel", "", "Ann Abel"},
              {"", "Acme", "Acme"},
              {" ", "", " "}}) // an unknown owner
            QCOMPARE(TrptHistory::CustomerText(owner, company), QString(shown));
    }

    // Start-up makes the one report over the main window and publishes it
    // while the program's windows live.
    void StartupPublishesTheReport() {
        TTempDir dir;
        {
            TProgramWindows windows(TestWindows::Locations(dir.Path()));
            QVERIFY(rptHistory);
            QCOMPARE(rptHistory, windows.Windows().History);
            QCOMPARE(rptHistory->parent(), &windows.MainWindow());
        }
        QVERIFY(!rptHistory);
    }
};

QTEST_MAIN(TestRHistory)
#include "tst_RHistory.moc"
