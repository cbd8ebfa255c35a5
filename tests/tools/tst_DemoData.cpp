// korvane-demo-data, run as a user runs it: the small preset makes a
// database the program and its lists can read, the same every time, and a
// directory that already holds rows is left alone.

#include "data/DMGlobals.h"
#include "data/DMTables.h"
#include "data/engine/TDatabase.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "support/TestSupport.h"

#include <QtTest>

using TestSupport::FileBytes;
using TestSupport::TTempDir;

namespace {

struct TRun {
    int ExitCode = -1;
    QString Output;
};

TRun RunTool(const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QCoreApplication::applicationDirPath() + "/korvane-demo-data", arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

qint64 Count(TDatabase& db, const QString& sql) {
    auto statement = db.Prepare(sql);
    return statement->Step() ? statement->Integer(0) : -1;
}

} // namespace

class TestDemoData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The small preset is made once; the later steps read it, copy it, make
    // it again and run the tool on it.
    void TheSmallPresetIsWhatTheProgramWritesAndArgumentsChooseTheRows() {
        const TTempDir temp;
        const QString preset = temp.Path() + "first";
        const TRun run = RunTool({"small", preset});
        QVERIFY2(run.ExitCode == 0, qPrintable(run.Output));
        for (const DMTables::TTableDef& def : DMTables::TableDefs())
            QVERIFY2(QFile::exists(preset + '/' + QLatin1String(def.File)), def.File);

        TDatabase db;
        db.Open(preset);
        QCOMPARE(Count(db, "SELECT COUNT(*) FROM Call"), 200);
        QCOMPARE(Count(db, "SELECT COUNT(*) FROM CallComments"), 800);
        QCOMPARE(Count(db, "SELECT COUNT(*) FROM StateTimes"), 0);

        // The calls' joined columns are filled in (that every list shows rows
        // is seen in tst_EndToEnd).
        TQuery calls;
        calls.SetDatabase(&db);
        calls.SetSQL(DMTables::SqlCallText());
        calls.Open();
        for (; !calls.Eof(); calls.Next())
            for (const char* joined : {"CompanyName", "Item", "Worker"})
                QVERIFY2(!calls.FieldByName(joined).AsString().isEmpty(), joined);

        // Numbers of six digits, known states, priorities the call editor can
        // show and keep (1 to 5, the whole range used), stored booleans, a
        // finishing time only for a complete call (the others have none at
        // all, as a call saved by the program without one), the program's
        // customer IDs, and rows that point only at keys that exist.
        for (const char* sql :
             {"Call WHERE length(CallNr) <> 6 OR CallNr GLOB '*[^0-9]*'",
              "Call WHERE Status NOT IN ('New', 'Busy', 'Pending', 'Awaiting Parts', "
              "'Complete')",
              "Call WHERE typeof(Priority) <> 'integer' OR Priority < 1 OR Priority > 5",
              "Call WHERE Billed NOT IN ('True', 'False') OR Callout NOT IN ('True', 'False')",
              "Call WHERE (Status = 'Complete') <> (Date_TimeFinished IS NOT NULL)",
              "Customer WHERE CustomerID NOT GLOB 'CUST[0-9][0-9][0-9][0-9]*'",
              "Call C LEFT OUTER JOIN Customer Z ON (C.CustomerID = Z.CustomerID) "
              "WHERE Z.CustomerID IS NULL",
              "ServiceContract S LEFT OUTER JOIN Item I ON (S.ItemSerialNr = I.SerialNr) "
              "WHERE I.SerialNr IS NULL",
              "CallComments M LEFT OUTER JOIN Call C ON (M.CallNr = C.CallNr) "
              "WHERE C.CallNr IS NULL",
              // Each call's first line is "Call Created." at the time the call
              // was logged, and a call that left "New" says so in its last
              // status line.
              "Call C WHERE NOT EXISTS (SELECT * FROM CallComments M WHERE M.CallNr = C.CallNr "
              "AND M.CommentLine = 'Call Created.' AND M.DateTime = C.Date_Time AND NOT EXISTS "
              "(SELECT * FROM CallComments E WHERE E.CallNr = C.CallNr "
              "AND (E.DateTime, E.ID) < (M.DateTime, M.ID)))",
              "Call C WHERE CASE Status WHEN 'New' THEN '' ELSE 'Status changed to ' || Status "
              "END <> coalesce((SELECT CommentLine FROM CallComments M WHERE M.CallNr = C.CallNr "
              "AND CommentLine GLOB 'Status changed to *' ORDER BY DateTime DESC, ID DESC "
              "LIMIT 1), '')",
              // Random GUIDs, as the program makes them.
              "CallComments WHERE ID NOT LIKE '{________-____-4___-____-____________}' "
              "OR substr(ID, 21, 1) NOT IN ('8', '9', 'A', 'B') "
              "OR substr(ID, 2, 36) GLOB '*[^0-9A-F-]*'"})
            QVERIFY2(Count(db, QString("SELECT COUNT(*) FROM ") + sql) == 0, sql);
        QCOMPARE(Count(db, "SELECT COUNT(DISTINCT Priority) FROM Call"), 5);
        QCOMPARE(Count(db, "SELECT COUNT(DISTINCT ID) FROM CallComments"), 800);

        // A call added through the data module on a copy of the files
        // continues their numbering and is stored in the same forms as the
        // generated calls and comment lines, column for column.
        const QString added = temp.Path() + "added/";
        QVERIFY(QDir().mkpath(added));
        for (const QString& file : QDir(preset).entryList(QDir::Files))
            QVERIFY(QFile::copy(preset + '/' + file, added + file));
        TdmlGlobals dataModule;
        dataModule.SetDatabaseDir(added);
        dataModule.SetDatabaseActive(true);
        TTable& call = *dataModule.tblCall;
        call.Append();
        QCOMPARE(call.FieldByName("CallNr").AsString(), "000201");
        for (const char* field : {"CustomerID", "WorkerNr", "EquipmentSerialNr", "ProblemDescr"})
            call.FieldByName(QLatin1String(field)).SetAsString("X");
        call.Post();
        int last = 0;
        QCOMPARE(dataModule.GetNewCustomerID(1, last), "CUST0041");

        // The storage class of every column (and the length of keys and
        // times), the finishing time left out: only complete calls have one.
        const auto sameShapes = [&](const char* table, const char* columns, const char* measured) {
            QStringList parts;
            for (const QString& column : QString::fromLatin1(columns).split(','))
                parts << QString("typeof(%1)").arg(column);
            for (const QString& column : QString::fromLatin1(measured).split(','))
                parts << QString("length(%1)").arg(column);
            const auto shapes = [&](const QString& where) {
                QStringList values;
                for (auto statement = dataModule.Connection().Prepare(
                         "SELECT DISTINCT " + parts.join(" || ',' || ") + " FROM " + table + where);
                     statement->Step();)
                    values << statement->Text(0);
                return values;
            };
            QCOMPARE(shapes(""), shapes(" WHERE CallNr = '000201'"));
        };
        sameShapes("Call",
                   "CallNr,CustomerID,WorkerNr,EquipmentSerialNr,OrderNumber,JobcardNumber,"
                   "Date_Time,Status,Priority,ProblemDescr,Comments,PartsUsedReplaced,BillTime,"
                   "Billed,Callout,StorageArea,MeterReading",
                   "CallNr,Date_Time");
        sameShapes("CallComments", "CallNr,ID,DateTime,CommentLine", "CallNr,ID,DateTime");

        // The same seed gives the same files, another seed other rows.
        const QString again = temp.Path() + "again";
        const TRun same = RunTool({"small", again});
        QVERIFY2(same.ExitCode == 0, qPrintable(same.Output));
        for (const DMTables::TTableDef& def : DMTables::TableDefs()) {
            const QString file = '/' + QLatin1String(def.File);
            QCOMPARE(FileBytes(again + file), FileBytes(preset + file));
        }

        const QString other = temp.Path() + "other";
        QCOMPARE(RunTool({"small", other, "--seed", "2"}).ExitCode, 0);
        QVERIFY(FileBytes(other + "/Call.db") != FileBytes(preset + "/Call.db"));

        // Sizes of one's own.
        const QString sizedDir = temp.Path() + "sized";
        const TRun sized =
            RunTool({"small", sizedDir, "--calls", "30", "--comments", "10", "--contracts", "500"});
        QVERIFY2(sized.ExitCode == 0, qPrintable(sized.Output));
        TDatabase sizedDb;
        sizedDb.Open(sizedDir);
        QCOMPARE(Count(sizedDb, "SELECT COUNT(*) FROM Call"), 30);
        // Too few comment lines and more contracts than items are raised and
        // lowered to what the rows need, and the tool says so.
        QVERIFY(Count(sizedDb, "SELECT COUNT(*) FROM CallComments") >= 30);
        QCOMPARE(Count(sizedDb, "SELECT COUNT(*) FROM ServiceContract"), 100);
        QVERIFY2(sized.Output.contains("Note:"), qPrintable(sized.Output));

        // A directory that holds rows is left alone.
        const QByteArray before = FileBytes(preset + "/Call.db");
        const TRun refused = RunTool({"workshop", preset});
        QCOMPARE(refused.ExitCode, 1);
        QVERIFY2(refused.Output.contains("already holds data"), qPrintable(refused.Output));
        QCOMPARE(FileBytes(preset + "/Call.db"), before);

        // One table with rows is enough; the missing files are not created.
        const QString partial = temp.Path() + "partial";
        QDir().mkpath(partial);
        {
            TDatabase own;
            own.Open(partial);
            own.Exec(QLatin1String(DMTables::FindTableDef("Worker")->CreateSql));
            own.Exec("INSERT INTO Worker (WorkerNR, Surname) VALUES ('W9', 'Own')");
        }
        QCOMPARE(RunTool({"small", partial}).ExitCode, 1);
        QCOMPARE(QDir(partial).entryList(QDir::Files), QStringList{"Worker.db"});

        // Arguments it cannot use.
        const QString badDir = temp.Path() + "bad";
        for (const QStringList& bad :
             {QStringList{"enormous", badDir}, {"small"}, {"small", badDir, "--calls", "many"}})
            QVERIFY2(RunTool(bad).ExitCode == 1, qPrintable(bad.join(' ')));
        QVERIFY(!QFileInfo::exists(badDir + "/Call.db"));
        QCOMPARE(RunTool({"--help"}).ExitCode, 0);
    }
};

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_DemoData.moc"
