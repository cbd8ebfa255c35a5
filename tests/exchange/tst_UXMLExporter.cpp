// The XML export: the exact bytes of the file, cancelling halfway, the
// failures, and the main window's Export command around it.

#include "data/DMGlobals.h"
#include "data/engine/TTable.h"
#include "exchange/UXMLExporter.h"
#include "shell/FMain.h"
#include "shell/abstract/IExportQuery.h"
#include "support/TestDataModule.h"
#include "support/TestWindows.h"

#include <QtTest>

namespace {

using TestSupport::ErrorOf;
using TestSupport::FileBytes;

// The data module's tables under their export numbers, and a fixed target.
struct TSource : Interfaces::IExportQuery {
    TdmlGlobals* Dml = nullptr;
    QString Target;
    TDataSet* GetExportTable(int index) override { return ExportTableOf(Dml, index); }
    QString ChooseTargetFile(const QString&, const QString&) override { return Target; }
};

// Counts rows; cancels once `CancelAt` rows are written; records the
// notifications by first letters.
struct TProgress : UAbstract::TProgress, TCountingExportProgress {
    int CancelAt = -1;
    QStringList Notes;
    UAbstract::IProgress& Progress() override { return *this; }
    void SetPosition(int position) override {
        UAbstract::TProgress::SetPosition(position);
        if (position == CancelAt)
            Cancel();
    }
    void OnExportStart() override { Notes << "start"; }
    void OnRangeSet() override { Notes << "range"; }
    void OnBeforeWrite() override { Notes << "write"; }
    void OnExportEnd() override { Notes << "end"; }
    void OnExportAbandoned() override { Notes << "abandoned"; }
};

// A row as the file holds it, from "name=value" pairs separated by '|'.
QByteArray Row(const QByteArray& fields) {
    QByteArray text = "  <Row>\r\n";
    for (const QByteArray& field : fields.split('|')) {
        const qsizetype is = field.indexOf('=');
        text += "    <Fld name='" + field.left(is) + "'>" + field.mid(is + 1) + "</Fld>\r\n";
    }
    return text + "  </Row>\r\n";
}

QByteArray Table(const char* name, const QByteArray& rows = {}) {
    return QByteArray("<Table name='") + name + "'>\r\n" + rows + "</Table>\r\n";
}

} // namespace

class TestUXMLExporter : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSupport::TTempDataModule> m_pDml;
    TSource m_Source;

private Q_SLOTS:
    void init() {
        m_pDml = std::make_unique<TestSupport::TTempDataModule>();
        m_Source.Dml = m_pDml.get();
        m_Source.Target = m_pDml->Root() + "out.xml";
    }

    void cleanup() { m_pDml.reset(); }

    void TheFileHoldsEveryRowUnchangedUnlessCancelledOrFailed() {
        m_pDml->Exec({"INSERT INTO Customer (CustomerID, CompanyName, Notes) VALUES "
                      "('C1', 'Tom''s', '<b> & more')",
                      "INSERT INTO Worker (WorkerNR, Surname, Name, IDTypeIsPassport, "
                      "CurrentlyEmployed, IDNr) VALUES ('W1', 'Dube', 'Sipho', 'False', 'True', "
                      "'7001')",
                      "INSERT INTO Call (CallNr, CustomerID, Priority, Billed) VALUES "
                      "('000001', 'C1', 3, 'False')",
                      "INSERT INTO CallComments (CallNr, ID, CommentLine) VALUES "
                      "('000001', '{1}', 'Call Created.')"});
        TProgress progress;
        TXMLExporter().Export(&m_Source, &progress);

        const QByteArray expected =
            "<Database version='1.0'>\r\n" +
            Table("tblCustomer",
                  Row("CustomerID=C1|LastName=|FirstName=|CompanyName=Tom's|Tel=|Fax=|Cell=|"
                      "Email=|PhysicalAddr=|PhysicalCode=|PostalAddr=|PostalCode=|Country=|"
                      "Notes=<b> & more")) +
            Table("tblItem") + Table("tblServiceContract") +
            Table("tblWorker", Row("WorkerNR=W1|Surname=Dube|Name=Sipho|IDTypeIsPassport=False|"
                                   "CurrentlyEmployed=True|IDNr=7001")) +
            Table("tblCall",
                  Row("CallNr=000001|CustomerID=C1|WorkerNr=|EquipmentSerialNr=|OrderNumber=|"
                      "JobcardNumber=|Date_Time=|Status=|Priority=3|Date_TimeFinished=|"
                      "ProblemDescr=|Comments=|PartsUsedReplaced=|BillTime=|Billed=False|"
                      "Callout=|StorageArea=|MeterReading=")) +
            Table("tblCallComments",
                  Row("CallNr=000001|ID={1}|DateTime=|CommentLine=Call Created.")) +
            "</Database>";
        QCOMPARE(FileBytes(m_Source.Target), expected);
        QCOMPARE(progress.GetPosition(), 4);
        QCOMPARE(progress.GetMax(), 4);
        QCOMPARE(progress.Notes, QStringList({"start", "range", "write", "end"}));

        // A cancel ends the table it is in and leaves the others empty.
        m_pDml->ExecSQL("INSERT INTO Customer (CustomerID) VALUES ('C2'), ('C3')");
        TProgress cancelled;
        cancelled.CancelAt = 2;
        TXMLExporter().Export(&m_Source, &cancelled);
        const QByteArray text = FileBytes(m_Source.Target);
        QCOMPARE(text.count("<Row>"), 2);
        QVERIFY(text.contains(Table("tblWorker")));
        QVERIFY(text.endsWith("</Table>\r\n</Database>"));
        QCOMPARE(cancelled.GetPosition(), 2);

        // Failures and abandoned exports write nothing.
        QVERIFY(QFile::remove(m_Source.Target));
        m_Source.Target = m_pDml->Root() + "no such folder/out.xml";
        QCOMPARE(ErrorOf([&] { TXMLExporter().Export(&m_Source, &progress); }),
                 QString("Cannot export: Unable to create file stream object"));
        m_Source.Target.clear();
        TXMLExporter().Export(&m_Source, &progress);
        QCOMPARE(progress.Notes.last(), "abandoned");
        QCOMPARE(QDir(m_pDml->Root()).entryList({"*.xml"}), QStringList());
    }

    void TheExportCommandAsksAndReportsTheCount() {
        TestWindows::TInstalledDialogs dialogs;
        TfrmMain main(TestWindows::Locations(m_pDml->Root()));
        TfrmMain::TDataHooks hooks;
        hooks.ExportTable = [this](int index) { return m_Source.GetExportTable(index); };
        main.SetDataHooks(hooks);
        m_pDml->ExecSQL("INSERT INTO Customer (CustomerID) VALUES (\"C1\")");

        // No: nothing is written and nothing more is said.
        dialogs.AnswerButton(mbNo);
        main.actExportToXML->trigger();
        QCOMPARE(dialogs.Requests().size(), 1);
        QVERIFY(dialogs.Requests().last().Text.startsWith("This will export the whole"));

        // Yes, then a file typed without its extension.
        dialogs.AnswerButton(mbYes);
        dialogs.AnswerFile(m_pDml->Root() + "whole");
        dialogs.AnswerButton(mbOK);
        main.actExportToXML->trigger();
        QCOMPARE(dialogs.Requests().at(2).Value, "Exported data");
        QCOMPARE(dialogs.Requests().last().Text, "Export complete.\r\n1 records exported");
        QVERIFY(FileBytes(m_pDml->Root() + "whole.xml").startsWith("<Database"));
        QVERIFY(main.btnSBCancel->isHidden());
        QVERIFY(main.StatusText().isEmpty());
    }
};

QTEST_MAIN(TestUXMLExporter)
#include "tst_UXMLExporter.moc"
