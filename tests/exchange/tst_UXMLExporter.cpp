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
    TSource(TdmlGlobals* dml, const QString& target) : Dml(dml), Target(target) {}
    TdmlGlobals* Dml;
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

private Q_SLOTS:
    void TheFileHoldsEveryRowUnchangedUnlessCancelledOrFailed() {
        TestSupport::TTempDataModule dml(
            {"INSERT INTO Customer (CustomerID, CompanyName, Notes) VALUES "
             "('C1', 'Tom''s', '<b> & more')",
             "INSERT INTO Worker (WorkerNR, Surname, Name, IDTypeIsPassport, "
             "CurrentlyEmployed, IDNr) VALUES ('W1', 'Dube', 'Sipho', 'False', 'True', "
             "'7001')",
             "INSERT INTO Call (CallNr, CustomerID, Priority, Billed) VALUES "
             "('000001', 'C1', 3, 'False')",
             "INSERT INTO CallComments (CallNr, ID, CommentLine) VALUES "
             "('000001', '{1}', 'Call Created.')"});
        TSource source(&dml, dml.Root() + "out.xml");
        TProgress progress;
        TXMLExporter().Export(&source, &progress);

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
        QCOMPARE(FileBytes(source.Target), expected);
        QCOMPARE(progress.GetMax(), 4);
        QCOMPARE(progress.Notes, QStringList({"start", "range", "write", "end"}));

        // A cancel ends the table it is in and leaves the others empty.
        dml.ExecSQL("INSERT INTO Customer (CustomerID) VALUES ('C2'), ('C3')");
        TProgress cancelled;
        cancelled.CancelAt = 2;
        TXMLExporter().Export(&source, &cancelled);
        const QByteArray text = FileBytes(source.Target);
        QCOMPARE(text.count("<Row>"), 2);
        QVERIFY(text.contains(Table("tblWorker")));
        QVERIFY(text.endsWith("</Table>\r\n</Database>"));
        QCOMPARE(cancelled.GetPosition(), 2);

        // Failures and abandoned exports write nothing.
        QVERIFY(QFile::remove(source.Target));
        source.Target = dml.Root() + "no such folder/out.xml";
        QCOMPARE(ErrorOf([&] { TXMLExporter().Export(&source, &progress); }),
                 QString("Cannot export: Unable to create file stream object"));
        source.Target.clear();
        TXMLExporter().Export(&source, &progress);
        QCOMPARE(progress.Notes.last(), "abandoned");
        QCOMPARE(QDir(dml.Root()).entryList({"*.xml"}), QStringList());

        // The main window's Export command around it.
        TestWindows::TInstalledDialogs dialogs;
        TfrmMain main(TestWindows::Locations(dml.Root()));
        TfrmMain::TDataHooks hooks;
        hooks.ExportTable = [&source](int index) { return source.GetExportTable(index); };
        main.SetDataHooks(hooks);

        // No: nothing is written and nothing more is said.
        dialogs.AnswerButton(mbNo);
        main.actExportToXML->trigger();
        QCOMPARE(dialogs.Requests().size(), 1);
        QVERIFY(dialogs.Requests().last().Text.startsWith("This will export the whole"));

        // Yes, then a file typed without its extension.
        dialogs.AnswerButton(mbYes);
        dialogs.AnswerFile(dml.Root() + "whole");
        dialogs.AnswerButton(mbOK);
        main.actExportToXML->trigger();
        QCOMPARE(dialogs.Requests().at(2).Value, "Exported data");
        QCOMPARE(dialogs.Requests().last().Text, "Export complete.\r\n6 records exported");
        QVERIFY(FileBytes(dml.Root() + "whole.xml").startsWith("<Database"));
        QVERIFY(main.btnSBCancel->isHidden() && main.StatusText().isEmpty());
    }
};

QTEST_MAIN(TestUXMLExporter)
#include "tst_UXMLExporter.moc"
