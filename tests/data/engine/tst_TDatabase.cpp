#include "data/DMTables.h"
#include "data/engine/TDatabase.h"
#include "support/TestSupport.h"

#include <QtTest>
#include <sqlite3.h>

using TestSupport::ErrorOf;
using TestSupport::RowTexts;
using TestSupport::TTempDatabase;
using TestSupport::TTempDir;

namespace {
const char* const CreateItem = DMTables::FindTableDef("Item")->CreateSql;
const char* const CreateCall =
    "CREATE TABLE 'Call.db' (CallNr CHAR(10), Date_Time TIMESTAMP, Billed BOOLEAN, "
    "Priority INTEGER, PRIMARY KEY (CallNr));";

QStringList IndexNames(TDatabase& db, const QString& table) {
    QStringList names;
    for (const TDatabase::TIndexInfo& index : db.Indexes(table))
        names << index.Name + ":" + index.FirstColumn + ":" + index.Collation;
    names.sort();
    return names;
}

// The first column of the rows `sql` gives, as texts.
QStringList Column(TDatabase& db, const QString& sql) {
    QStringList values;
    for (const QStringList& row : RowTexts(*db.Prepare(sql)))
        values << row.value(0);
    return values;
}
} // namespace

class TestTDatabase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void CreatesOneFilePerTableThatOthersCanRead() {
        TTempDir dir;
        {
            TDatabase db;
            db.Open(dir.Path());
            db.Exec(QString::fromLatin1(CreateItem));
            db.Exec(QString::fromLatin1(CreateCall));
            QVERIFY(db.TableFileExists("ITEM"));
            QCOMPARE(db.Exec("INSERT INTO Item (SerialNr, Brand) VALUES (:S, :B)",
                             {{"s", "SN-1"}, {"B", "Acme"}}),
                     1);
            // Creating a table whose file exists is refused, the file left alone.
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, db.Exec(QString::fromLatin1(CreateItem)));
        }
        // The row outlived the connection and the plain command-line tool reads it.
        QProcess cli;
        cli.start("sqlite3", {dir.Path() + "Item.db", "SELECT SerialNr, Brand FROM Item"});
        QVERIFY(cli.waitForFinished());
        QCOMPARE(QString::fromUtf8(cli.readAllStandardOutput()).trimmed(), QString("SN-1|Acme"));

        TDatabase again;
        again.Open(dir.Path());
        QCOMPARE(Column(again, "SELECT Brand FROM Item.DB WHERE SerialNr = 'SN-1'"),
                 QStringList({"Acme"}));
    }

    void BindsValuesInTheirStoredForm() {
        TTempDatabase db;
        db.Exec(QString::fromLatin1(CreateCall));
        const QDateTime when(QDate(2024, 2, 29), QTime(13, 5, 9));
        db.Exec("INSERT INTO Call (CallNr, Date_Time, Billed, Priority) VALUES (:N, :D, :B, :P)",
                {{"N", "000001"}, {"D", when}, {"B", false}, {"P", 3}});
        auto st = db.Prepare("SELECT Date_Time, Billed, Priority FROM Call");
        QVERIFY(st->Step());
        QCOMPARE(st->Text(0) + " " + st->Text(1), QString("2024-02-29 13:05:09 False"));
        QCOMPARE(st->Value(2), QVariant(qint64(3)));
    }

    // Stored stamps read without the time zone; anything else is refused and
    // left to the slower reader.
    void StampsAreReadAtFixedPlaces() {
        const struct {
            const char* Text;
            bool Read;
            QDateTime Expected;
        } cases[] = {
            {"2024-02-29 13:05:09", true, {QDate(2024, 2, 29), QTime(13, 5, 9)}},
            {" 2024-02-29T23:59:59 ", true, {QDate(2024, 2, 29), QTime(23, 59, 59)}},
            {"2024-02-29", true, {QDate(2024, 2, 29), QTime(0, 0)}},
            {"2023-02-29 10:00:00", false, {}}, // no such day
            {"2024-02-29 24:00:00", false, {}},
            {"2024-2-29 10:00:00", false, {}},
            {"2024-02-29 10:00", false, {}},
            {"2024/02/29 10:00:00", false, {}},
            {"", false, {}},
        };
        for (const auto& c : cases) {
            QDate date;
            QTime time;
            QCOMPARE(UStorage::ParseStamp(c.Text, date, time), c.Read);
            if (c.Read)
                QCOMPARE(QDateTime(date, time), c.Expected);
        }
    }

    void ReportsBadFilesAndStatementsClearly() {
        TTempDir dir;
        TDatabase db;
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, db.Open(dir.Path() + "missing"));
        db.Open(dir.Path());
        QFile junk(dir.Path() + "Worker.db");
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write(QByteArray(4096, 'x')) == 4096);
        junk.close();
        const QString damaged =
            ErrorOf<EDatabaseError>([&] { db.Prepare("SELECT * FROM Worker"); });
        QVERIFY2(damaged.contains("Worker.db") && damaged.contains("not a database"),
                 qPrintable(damaged));
        const QString missing =
            ErrorOf<EDatabaseError>([&] { db.Prepare("SELECT * FROM Customer"); });
        QVERIFY2(missing.contains("Customer") && missing != "<no error>", qPrintable(missing));
        db.Exec(QString::fromLatin1(CreateItem));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, db.Prepare("SELECT Nope FROM Item"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, db.Prepare("DELETE FROM Item; DELETE FROM Item"));
    }

    void LockedFileFailsInsteadOfHanging() {
        TTempDir dir;
        TDatabase db;
        db.Open(dir.Path());
        db.Exec(QString::fromLatin1(CreateItem));
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open((dir.Path() + "Item.db").toUtf8(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        const QString locked =
            ErrorOf<EDatabaseError>([&] { db.Exec("INSERT INTO Item (SerialNr) VALUES ('B')"); });
        QVERIFY2(locked.contains("locked"), qPrintable(locked));
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(db.Exec("INSERT INTO Item (SerialNr) VALUES ('B')"), 1);
    }

    void RunsTheProgramsOwnStatementsOnAFreshDirectory() {
        TTempDatabase db;
        for (const auto& def : DMTables::TableDefs())
            db.Exec(QString::fromLatin1(def.CreateSql));
        // A second connection: its first statement names a table it has not
        // seen yet, and the date literal must still be stored as a date.
        TDatabase fresh;
        fresh.Open(db.Dir());
        fresh.Exec("INSERT INTO Call (CallNr, WorkerNr, Date_Time) VALUES (\"000001\", \"W1\", "
                   "\"03/31/2007 23:59:59\")");
        fresh.Exec("INSERT INTO Worker (WorkerNR, Name, Surname) VALUES ('W1', 'Ann', 'Lee')");
        QCOMPARE(Column(fresh, "SELECT Date_Time FROM Call"), QStringList({"2007-03-31 23:59:59"}));

        // Counting a worker's calls walks the index on the worker column.
        QVERIFY(IndexNames(fresh, "Call").contains("Call_Worker:WorkerNr:BINARY"));
        auto plan = fresh.PrepareNative("EXPLAIN QUERY PLAN " +
                                        fresh.Prepare(DMTables::SqlWorkerText())->Sql());
        QString steps;
        while (plan->Step())
            steps += plan->Text(3) + "\n";
        QVERIFY2(steps.contains("Call_Worker") && !steps.contains("AUTOMATIC"), qPrintable(steps));
        QCOMPARE(RowTexts(*fresh.Prepare(DMTables::SqlWorkerText())).value(0).value(4),
                 QString("1"));
    }

    void MakesTheDeclaredIndexesOnNewAndOldFiles() {
        TTempDir dir;
        // A file from before the table had indexes.
        sqlite3* raw = nullptr;
        QCOMPARE(sqlite3_open((dir.Path() + "Part.db").toUtf8(), &raw), SQLITE_OK);
        QCOMPARE(sqlite3_exec(raw,
                              "CREATE TABLE Part (PartNr CHAR(10), Maker CHAR(20), Name CHAR(40), "
                              "PRIMARY KEY (PartNr)); INSERT INTO Part VALUES ('P1', 'M', 'Nut')",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(raw);
        TDatabase::DeclareIndexes("PART", {{"Part_Maker", "Maker, PartNr"},
                                           {"Part_Name", "Name COLLATE NOCASE"},
                                           {"Part_Colour", "Colour"}});
        TDatabase::DeclareIndexes("Gear", {{"Gear_Kind", "Kind"}});
        TDatabase db;
        db.Open(dir.Path());
        // One on a column the file lacks is left out; the table still opens.
        QCOMPARE(IndexNames(db, "Part"),
                 QStringList({"Part_Maker:Maker:BINARY", "Part_Name:Name:NOCASE",
                              "sqlite_autoindex_Part_1:PartNr:BINARY"}));
        QVERIFY(db.Prepare("SELECT Name FROM Part WHERE Maker = 'M'")->Step());
        // A new file gets its indexes with the table.
        db.Exec("CREATE TABLE 'Gear.db' (GearNr CHAR(10), Kind CHAR(10), PRIMARY KEY (GearNr))");
        QCOMPARE(IndexNames(db, "gear"),
                 QStringList({"Gear_Kind:Kind:BINARY", "sqlite_autoindex_Gear_1:GearNr:BINARY"}));
        TDatabase::DeclareIndexes("Part", {});
        TDatabase::DeclareIndexes("Gear", {});
    }

    void TransactionsSpanTableFiles() {
        TTempDatabase db;
        db.Exec(QString::fromLatin1(CreateItem));
        db.Exec(QString::fromLatin1(CreateCall));
        db.StartTransaction();
        db.Exec("INSERT INTO Item (SerialNr) VALUES ('X')");
        db.Exec("INSERT INTO Call (CallNr) VALUES ('1')");
        QVERIFY(db.InTransaction());
        db.Rollback();
        QVERIFY(!db.InTransaction());
        QCOMPARE(Column(db, "SELECT COUNT(*) FROM Item"), QStringList({"0"}));
    }

    void MappedReadsCoverTablesAttachedMeanwhileAndEndWithTheLast() {
        TTempDatabase db;
        db.Exec(QString::fromLatin1(CreateItem));
        db.Exec("INSERT INTO Item (SerialNr) VALUES ('X')");
        const auto mapped = [&](const char* table) {
            return Column(db,
                          QString("PRAGMA \"%1\".mmap_size").arg(USqlDialect::TableAlias(table)))
                       .value(0)
                       .toLongLong() > 0;
        };
        QVERIFY(!mapped("Item"));
        {
            TDatabase::TMappedReads outer(db);
            QVERIFY(mapped("Item"));
            db.Exec(QString::fromLatin1(CreateCall));
            QVERIFY(mapped("Call"));
            { TDatabase::TMappedReads inner(db); }
            QVERIFY(mapped("Item"));
            QCOMPARE(Column(db, "SELECT SerialNr FROM Item"), QStringList({"X"}));
        }
        QVERIFY(!mapped("Item"));
        QVERIFY(!mapped("Call"));
    }
};

QTEST_GUILESS_MAIN(TestTDatabase)
#include "tst_TDatabase.moc"
