// The report drawing on its own: how a text too wide for its box is fitted,
// and where the column header and the summary go, read back from PDF files
// with pdftotext.

#include "exchange/UReportDrawing.h"
#include "support/TestSupport.h"

#include <QtTest>

using namespace UReportDrawing;

using TestSupport::PdfPages;

class TestUReportDrawing : public QObject {
    Q_OBJECT

    TestSupport::TTempDir m_Out;

private Q_SLOTS:
    void init() {
        if (!TestSupport::CanReadPdf())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }

    // Cutting with an ellipsis is seen on the history report's long problem;
    // wrapped, two lines fit in the box, whole.
    void TextIsFittedToItsBox() {
        for (const auto& [name, fit, width, text, shown, left] :
             {std::tuple{"shrunk", TTextFit::Shrink, 60.0, QString("31/12/2024"),
                         QStringList{"31/12/2024"}, QStringList{}},
              {"wrapped",
               TTextFit::Wrap,
               80.0,
               "Alpha Beta Gamma Delta Epsilon Zeta Eta Theta",
               {"Alpha", "Beta"},
               {"Theta", QString(QChar(0x2026))}}}) {
            TReportDocument document;
            TReportBand band(40);
            band.AddText({0, 0, width, 30}, text, ReportFont("Arial", 9), Qt::AlignLeft, fit);
            document.AddDetail(band);
            const QString file = m_Out.Path() + name + ".pdf";
            RenderToPdf(document, file);
            const QString page = PdfPages(file).value(0);
            for (const QString& part : shown)
                QVERIFY2(page.contains(part), qPrintable(name + (": " + page)));
            for (const QString& part : left)
                QVERIFY2(!page.contains(part), qPrintable(name + (": " + page)));
        }
    }

    // Rows fill a page to its foot; a summary that does not fit under the
    // last row opens a page of its own, without the column header, which only
    // pages with rows repeat.
    void SummaryThatDoesNotFitGoesOverWithoutTheColumnHeader() {
        TReportDocument document;
        const QFont font = ReportFont("Arial", 9);
        document.SetTitleBand(TReportBand(40).AddText({0, 0, 300, 20}, "TITLE", font));
        document.SetColumnHeader(TReportBand(20).AddText({0, 0, 300, 20}, "HEAD", font));
        for (int n = 1; n <= 20; ++n)
            document.AddDetail(
                TReportBand(98).AddText({0, 0, 300, 20}, QString("ROW%1").arg(n), font));
        document.SetSummary(TReportBand(50).AddText({0, 0, 300, 20}, "SUMMARY", font));
        const QString file = m_Out.Path() + "summary.pdf";
        RenderToPdf(document, file);
        const QStringList pages = PdfPages(file);
        QCOMPARE(pages.size(), document.PageCount());
        QCOMPARE(pages.size(), 3);
        QVERIFY(pages[0].contains("TITLE") && pages[0].contains("HEAD") &&
                pages[0].contains("ROW10") && !pages[0].contains("ROW11"));
        QVERIFY(pages[1].contains("HEAD") && pages[1].contains("ROW20") &&
                !pages[1].contains("TITLE") && !pages[1].contains("SUMMARY"));
        QVERIFY(pages[2].contains("SUMMARY") && !pages[2].contains("HEAD") &&
                !pages[2].contains("ROW"));
    }
};

QTEST_MAIN(TestUReportDrawing)
#include "tst_UReportDrawing.moc"
