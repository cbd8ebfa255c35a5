// Twenty years of a workshop: the lists must open, search and sort quickly,
// and stay modest in memory, on a database of KORVANE_SCALE_ROWS calls
// (100,000 unless set; 1,000,000 for the full size) with three comment lines
// per call. Times are printed; the checks allow for a busy test machine.

#include "data/engine/TDataSetModel.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QtTest>

using TestSupport::TTempDir;

namespace {

// Times and memory are checked only in optimized builds without sanitizers;
// the others run the same steps and print what they measure.
#if defined(__SANITIZE_ADDRESS__) || !defined(__OPTIMIZE__)
constexpr bool Measured = false;
#else
constexpr bool Measured = true;
#endif

const char* const CallList =
    "Select C.CallNr, C.WorkerNr, C.CustomerID, Z.CompanyName, C.EquipmentSerialNr,   "
    "(I.Brand || ' ' || I.Model || ' ' || I.Description) AS Item,\t"
    "(W.Name || ' ' || W.Surname) AS Worker,\tC.JobcardNumber, C.OrderNumber, C.Date_Time, "
    "C.Status, C.Priority, C.Billed\r\n"
    "FROM Call C\r\n"
    "LEFT OUTER JOIN Customer Z ON (C.CustomerID = Z.CustomerID)\r\n"
    "LEFT OUTER JOIN Item I ON (C.EquipmentSerialNr = I.SerialNr)\r\n"
    "LEFT OUTER JOIN Worker W ON (C.WorkerNr = W.WorkerNR)\r\n";
const char* const ItemList =
    "SELECT I.SerialNr, I.Brand, I.Model, I.Description, I.Owner, O.CompanyName, S.ServiceType "
    "\nFROM Item.DB I\nLEFT OUTER JOIN Customer O ON (I.Owner = O.CustomerID)\n"
    "LEFT OUTER JOIN ServiceContract S ON (I.SerialNr = S.ItemSerialNr)";
const char* const ContractList =
    "SELECT S.ItemSerialNr, S.CustomerID, S.ServiceType, S.StillValid, S.Comments, "
    "C.CompanyName, I.Brand, I.Model\nFROM ServiceContract.DB S\n"
    "LEFT OUTER JOIN Customer C ON (S.CustomerID = C.CustomerID)\n"
    "LEFT OUTER JOIN Item I ON (S.ItemSerialNr = I.SerialNr)";
const char* const WorkerList =
    "SELECT W.Name, W.Surname, W.IDNR, W.WorkerNR, COUNT (C.WorkerNR) AS CallCount\n"
    "FROM Worker.DB W \nLEFT OUTER JOIN CALL.DB C ON (W.WorkerNR = C.WorkerNR)\n"
    "GROUP BY W.Name, W.Surname, W.IDNR, W.WorkerNR";

qint64 RssMegabytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() / 1024;
    }
    return 0;
}

QString Native(const QString& table) {
    return QString("\"%1\".\"%2\"").arg(USqlDialect::TableAlias(table), table);
}

} // namespace

class TestTDataSetScale : public QObject {
    Q_OBJECT

    TTempDir m_Dir;
    TDatabase m_Db;
    qint64 m_Calls = 100000;
    double m_Scale = 1; // goals grow from 100k to 1M as given

    // The goal at this size, and the limit checked: a busy machine gets slack.
    qint64 Limit(qint64 goalAt100k, qint64 goalAt1M) const {
        if (!Measured)
            return std::numeric_limits<qint64>::max();
        const qint64 goal = m_Calls <= 100000 ? goalAt100k : goalAt1M;
        return goal * 4;
    }

    void Report(const char* what, qint64 ms, qint64 goal) {
        qInfo("%s: %lld ms (goal %lld ms) at %lld calls", what, ms, goal, m_Calls);
    }

private Q_SLOTS:
    void initTestCase() {
        if (const QByteArray rows = qgetenv("KORVANE_SCALE_ROWS"); !rows.isEmpty())
            m_Calls = rows.toLongLong();
        m_Db.Open(m_Dir.Path());
        for (const char* create :
             {"CREATE TABLE 'Call.db' (  CallNr CHAR(10),  CustomerID CHAR(20),  "
              "WorkerNr CHAR(10),  EquipmentSerialNr CHAR(20),  OrderNumber CHAR(10),  "
              "JobcardNumber CHAR(10),  Date_Time TIMESTAMP,  Status CHAR(20),  Priority INTEGER,  "
              "Date_TimeFinished TIMESTAMP,  ProblemDescr CHAR(254),  Comments CHAR(254),  "
              "PartsUsedReplaced CHAR(254),  BillTime CHAR(10),  Billed BOOLEAN,  Callout BOOLEAN, "
              " "
              "StorageArea CHAR(80),  MeterReading INTEGER,PRIMARY KEY (CallNr));",
              "CREATE TABLE 'CallComments.db' (  CallNr CHAR(10),  ID CHAR(40),  "
              "DateTime TIMESTAMP,  CommentLine CHAR(255),PRIMARY KEY (CallNr, ID));",
              "CREATE TABLE 'Customer.db' (  CustomerID CHAR(20),  LastName CHAR(20),  "
              "FirstName CHAR(20),  CompanyName CHAR(40),  Tel CHAR(25),  Email CHAR(50),"
              "PRIMARY KEY (CustomerID));",
              "CREATE TABLE 'Item.db' (  SerialNr CHAR(20),  Brand CHAR(40),  Model CHAR(30),  "
              "Description CHAR(254),  Owner CHAR(20),PRIMARY KEY (SerialNr));",
              "CREATE TABLE 'ServiceContract.db' (  ItemSerialNr CHAR(20),  CustomerID CHAR(20),  "
              "ServiceType CHAR(20),  Comments CHAR(254),  StillValid BOOLEAN,"
              "PRIMARY KEY (ItemSerialNr));",
              "CREATE TABLE 'Worker.db' (  WorkerNR CHAR(10),  Surname CHAR(20),  Name CHAR(20),  "
              "IDTypeIsPassport BOOLEAN,  CurrentlyEmployed BOOLEAN,  IDNr CHAR(13),"
              "PRIMARY KEY (WorkerNR));"})
            m_Db.Exec(QString::fromLatin1(create));
        const qint64 customers = std::max<qint64>(m_Calls / 50, 10);
        const qint64 items = std::max<qint64>(m_Calls / 20, 10);
        const QString rows = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                             "WHERE i < %1) ";
        QElapsedTimer timer;
        timer.start();
        m_Db.StartTransaction();
        m_Db.ExecNative((rows +
                         "INSERT INTO %2 (CustomerID, LastName, FirstName, CompanyName, Tel) "
                         "SELECT printf('CUST%05d', i), 'Last' || (i * 7919 % %1), 'First', "
                         "CASE i % 3 WHEN 0 THEN 'Acme ' WHEN 1 THEN 'bolt ' ELSE 'Carr ' END || "
                         "(i * 104729 % %1), '021 555' FROM n")
                            .arg(customers)
                            .arg(Native("Customer")));
        m_Db.ExecNative((rows + "INSERT INTO %2 SELECT printf('SN%07d', i), 'Brand' || (i % 40), "
                                "'Model' || (i % 300), 'Description of item ' || i, "
                                "printf('CUST%05d', i % %3 + 1) FROM n")
                            .arg(items)
                            .arg(Native("Item"))
                            .arg(customers));
        m_Db.ExecNative((rows + "INSERT INTO %2 SELECT printf('SN%07d', i), "
                                "printf('CUST%05d', i % %3 + 1), 'Full', '', 'True' FROM n "
                                "WHERE i % 2 = 0")
                            .arg(items)
                            .arg(Native("ServiceContract"))
                            .arg(customers));
        m_Db.ExecNative((rows + "INSERT INTO %2 SELECT printf('W%03d', i), 'Surname' || i, "
                                "'Name' || i, 'False', 'True', '' FROM n")
                            .arg(50)
                            .arg(Native("Worker")));
        m_Db.ExecNative(
            (rows + "INSERT INTO %2 (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, OrderNumber, "
                    "JobcardNumber, Date_Time, Status, Priority, Billed, Callout, MeterReading) "
                    "SELECT printf('%06d', i), printf('CUST%05d', (i * 7919) % %3 + 1), "
                    "printf('W%03d', i % 50 + 1), printf('SN%07d', (i * 15485863) % %4 + 1), "
                    "'ORD' || i, 'JC' || i, datetime('2004-01-01', '+' || (i * 5) || ' minutes'), "
                    "CASE i % 5 WHEN 0 THEN 'New' WHEN 1 THEN 'Busy' WHEN 2 THEN 'Pending' "
                    "WHEN 3 THEN 'Awaiting Parts' ELSE 'Complete' END, i % 5 + 1, "
                    "CASE WHEN i % 3 = 0 THEN 'True' ELSE 'False' END, 'False', 0 FROM n")
                .arg(m_Calls)
                .arg(Native("Call"))
                .arg(customers)
                .arg(items));
        m_Db.ExecNative((rows + "INSERT INTO %2 SELECT printf('%06d', i / 3 + 1), "
                                "printf('{%08X-0000-0000-0000-000000000000}', i), "
                                "datetime('2004-01-01', '+' || i || ' minutes'), "
                                "'Status changed to Busy' FROM n")
                            .arg(m_Calls * 3)
                            .arg(Native("CallComments")));
        m_Db.Commit();
        qInfo("database of %lld calls made in %lld ms", m_Calls, timer.elapsed());
    }

    void TheCallsListOpensSearchesAndSortsQuickly() {
        TQuery calls;
        calls.SetDatabase(&m_Db);
        calls.SetSQL(CallList);
        TDataSetModel model;
        model.SetFetchSize(40);
        QElapsedTimer timer;
        timer.start();
        calls.Open();
        model.SetDataSet(&calls);
        for (int row = 0; row < 40; ++row)
            model.data(model.index(row, 3));
        const qint64 open = timer.elapsed();
        Report("open and show 40 rows", open, m_Calls <= 100000 ? 100 : 300);
        QCOMPARE(model.rowCount(), 40);
        QVERIFY(open <= Limit(100, 300));

        // Typing a company name into the search box, one letter at a time.
        qint64 worst = 0;
        const QString typed = "carr 12";
        for (int n = 1; n <= typed.size(); ++n) {
            timer.restart();
            calls.Locate("CompanyName", typed.left(n),
                         TDataSet::CaseInsensitive | TDataSet::PartialKey);
            worst = std::max(worst, timer.elapsed());
        }
        Report("worst keystroke of a prefix search", worst, 16);
        QVERIFY(calls.FieldByName("CompanyName").AsString().startsWith("Carr 12"));
        // Typing on, once the rows are read.
        calls.FetchAll();
        worst = 0;
        // Including texts that match nothing, which look at every row.
        for (const char* text :
             {"b", "bo", "bol", "bolt", "bolt 9", "bolt 99", "bolt 99x", "x", "a", "ac"}) {
            timer.restart();
            calls.Locate("CompanyName", text, TDataSet::CaseInsensitive | TDataSet::PartialKey);
            worst = std::max(worst, timer.elapsed());
        }
        Report("worst keystroke once all rows are read", worst, 16);
        QVERIFY(worst <= Limit(16, 160));

        // Sorting a column: from SQL when not all rows are read, else in memory.
        const QString current = calls.FieldByName("CallNr").AsString();
        timer.restart();
        model.sort(model.ColumnOf("CompanyName"), Qt::DescendingOrder);
        const qint64 inMemory = timer.elapsed();
        Report("sort in memory", inMemory, m_Calls <= 100000 ? 300 : 2000);
        QCOMPARE(calls.FieldByName("CallNr").AsString(), current);
        QVERIFY(inMemory <= Limit(300, 2000));

        TQuery fresh;
        fresh.SetDatabase(&m_Db);
        fresh.SetSQL(CallList);
        fresh.Open();
        QVERIFY(fresh.Locate("CallNr", current));
        timer.restart();
        fresh.SortBy("Status");
        const qint64 bySql = timer.elapsed();
        Report("sort by SQL keeping the current row", bySql, m_Calls <= 100000 ? 300 : 2000);
        QCOMPARE(fresh.FieldByName("CallNr").AsString(), current);
        timer.restart();
        QCOMPARE(fresh.RecordCount(), m_Calls);
        Report("count", timer.elapsed(), 0);
    }

    void TablesFindRowsByKeyWithoutReadingThem() {
        TTable calls;
        calls.SetDatabase(&m_Db);
        calls.SetTableName("Call");
        TTable comments;
        comments.SetDatabase(&m_Db);
        comments.SetTableName("CallComments");
        QElapsedTimer timer;
        timer.start();
        calls.Open();
        comments.Open();
        Report("open two tables", timer.elapsed(), 0);
        timer.restart();
        for (qint64 i = 1; i <= 1000; ++i)
            QVERIFY(calls.Locate("CallNr",
                                 QString("%1").arg((i * 7919) % m_Calls + 1, 6, 10, QChar('0'))));
        const qint64 thousand = timer.elapsed();
        Report("1000 key lookups", thousand, 0);
        QVERIFY(thousand < Limit(500, 500));
        timer.restart();
        comments.Last();
        comments.Append();
        comments.FieldByName("CallNr").SetAsString(calls.FieldByName("CallNr").AsString());
        comments.FieldByName("ID").SetAsString("{FFFFFFFF-0000-0000-0000-000000000000}");
        comments.FieldByName("CommentLine").SetAsString("Call Created.");
        comments.Post();
        QCOMPARE(comments.FieldByName("CommentLine").AsString(), QString("Call Created."));
        Report("append a comment line", timer.elapsed(), 0);
    }

    void FiveListsStayModestInMemory() {
        const qint64 before = RssMegabytes();
        std::vector<std::unique_ptr<TQuery>> lists;
        for (const char* sql :
             {CallList, ItemList, ContractList, WorkerList, "Select * From Customer.DB"}) {
            lists.push_back(std::make_unique<TQuery>());
            lists.back()->SetDatabase(&m_Db);
            lists.back()->SetSQL(sql);
            lists.back()->Open();
        }
        // The worst case: every list read to its end.
        for (auto& list : lists)
            list->FetchAll();
        const qint64 after = RssMegabytes();
        const qint64 held = lists.front()->MemoryUsage() / (1 << 20);
        qInfo("process %lld MB (%lld MB before the lists, calls list holds %lld MB) at %lld "
              "calls",
              after, before, held, m_Calls);
        if (Measured)
            QVERIFY(after <= (m_Calls <= 100000 ? 150 : 400));
        QCOMPARE(lists[3]->RecordCount(), 50);
    }
};

QTEST_MAIN(TestTDataSetScale)
#include "tst_TDataSetScale.moc"
