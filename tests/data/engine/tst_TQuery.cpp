// Queries: filters of the call views, Locate, sorting, parameters and
// master/detail, live queries, refreshing, and the ways a query avoids
// reading every row (sorting by key, Last, asking an index before a Locate).

#include "data/DMTables.h"
#include "data/engine/TDataSource.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "support/TestSupport.h"

#include <QtTest>

using TestSupport::TTempDatabase;

namespace {

// The calls view's list, as the lists show it.
const char* const CallList = "Select C.CallNr, C.CustomerID, Z.CompanyName, C.Status, "
                             "C.Priority, C.Billed\r\n"
                             "FROM Call C\r\n"
                             "LEFT OUTER JOIN Customer Z ON (C.CustomerID = Z.CustomerID)\r\n";

// 700 parts (more than a few pages of every kind), inserted out of key order,
// from 31 makers whose names differ in letter case, are blank or missing.
const char* const PartList = "SELECT P.PartNr, P.Maker, M.Company, P.Name FROM Part P\n"
                             "LEFT OUTER JOIN Maker M ON (P.Maker = M.MakerID)";
constexpr int Parts = 700;

// Every cell of every row, read by position as a grid reads them.
QStringList Cells(TDataSet& ds) {
    QStringList cells;
    if (ds.CanFetchMore())
        static_cast<TQuery&>(ds).FetchAll();
    for (qint64 row = 0; row < ds.RowsAvailable(); ++row) {
        QStringList line;
        for (int c = 0; c < ds.FieldCount(); ++c)
            line << ds.RowValue(row, c).toString();
        cells << line.join('|');
    }
    return cells;
}

QStringList Column(TDataSet& ds, const QString& field) {
    QStringList values;
    ds.DisableControls();
    const TBookmark mark = ds.GetBookmark();
    ds.First();
    while (!ds.Eof()) {
        values << ds.FieldByName(field).AsString();
        ds.Next();
    }
    if (!mark.IsNull())
        ds.GotoBookmark(mark);
    ds.EnableControls();
    return values;
}

} // namespace

class TestTQuery : public QObject {
    Q_OBJECT

    // A new database for every test: the workshop's few calls, customers and
    // representatives, and the parts with their makers.
    std::unique_ptr<TTempDatabase> m_pDb;

    QString Nr(TDataSet& ds, const char* field = "CallNr") {
        return ds.FieldByName(field).AsString();
    }
    TQuery* Query(const QString& sql) {
        auto* query = new TQuery(this);
        query->SetDatabase(m_pDb.get());
        query->SetSQL(sql);
        return query;
    }
    TQuery* Opened(const QString& sql) {
        TQuery* query = Query(sql);
        query->Open();
        return query;
    }
    // The parts in the order SQLite gives for `order`.
    QStringList PartsBy(const QString& order) {
        return Cells(*Opened(PartList + QString("\nORDER BY ") + order));
    }

private Q_SLOTS:
    void initTestCase() {
        TDatabase::DeclareIndexes("Maker", {{"Maker_Company", "Company COLLATE NOCASE"}});
    }
    void cleanupTestCase() { TDatabase::DeclareIndexes("Maker", {}); }

    void init() {
        m_pDb = std::make_unique<TTempDatabase>();
        for (const char* table : {"Call", "Customer", "Representative"})
            m_pDb->Exec(QString::fromLatin1(DMTables::FindTableDef(table)->CreateSql));
        m_pDb->Exec("INSERT INTO Customer (CustomerID, LastName, CompanyName) VALUES "
                    "('ACME', 'Smith', 'Acme Ltd'), ('BOLT', 'smithers', 'Bolt & Nut'), "
                    "('CARR', 'Carr', 'Carr''s Cars')");
        m_pDb->Exec(
            "INSERT INTO Call (CallNr, CustomerID, Status, Priority, Billed) VALUES "
            "('000001', 'ACME', 'New', 2, FALSE), ('000002', 'BOLT', 'Complete', 1, TRUE), "
            "('000003', 'ACME', 'Complete', 3, FALSE), ('000004', 'CARR', 'Busy', 1, FALSE), "
            "('000005', 'BOLT', 'New', 3, FALSE), ('000006', 'NOBODY', 'Pending', 2, FALSE)");
        m_pDb->Exec("INSERT INTO Representative (RecID, FK_Customer, Name) VALUES "
                    "('{R1}', 'ACME', 'Ann'), ('{R2}', 'ACME', 'Bob'), ('{R3}', 'BOLT', 'Cid')");

        m_pDb->Exec("CREATE TABLE 'Maker.db' (MakerID CHAR(10), Company CHAR(40), "
                    "PRIMARY KEY (MakerID))");
        m_pDb->Exec("CREATE TABLE 'Part.db' (PartNr CHAR(10), Maker CHAR(10), Name CHAR(40), "
                    "PRIMARY KEY (PartNr))");
        const QStringList companies = {"Acme",       "acme",       "ACME Two",    "",    "Bolt",
                                       "bolt & nut", "\u00c9mile", "\u212Aelvin", "Zed", "zed"};
        m_pDb->StartTransaction();
        for (int m = 1; m <= 30; ++m)
            m_pDb->Exec("INSERT INTO Maker (MakerID, Company) VALUES (:I, :C)",
                        {{"I", QString("M%1").arg(m, 2, 10, QChar('0'))},
                         {"C", companies[m % companies.size()]}});
        m_pDb->Commit();
        m_pDb->ExecNative(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
            QString::number(Parts - 1) + ") INSERT INTO \"" + USqlDialect::TableAlias("Part") +
            "\".\"Part\" SELECT printf('P%04d', i * 37 % 700), "
            "printf('M%02d', i % 31), 'Part ' || i FROM n");
    }

    void cleanup() {
        qDeleteAll(findChildren<TQuery*>());
        m_pDb.reset();
    }

    void TheViewFiltersApplyToTheRowsTheQueryReturns() {
        TQuery* q = Query(CallList);
        q->SetFilter("Status='New'");
        q->SetFiltered(true);
        q->Open();
        QCOMPARE(Column(*q, "CallNr"), QStringList({"000001", "000005"}));

        // Changing the filter of an open query applies it at once.
        q->SetFilter("Status<>'Complete'");
        QCOMPARE(Column(*q, "CallNr"), QStringList({"000001", "000004", "000005", "000006"}));
        q->SetFilter("Status='Complete'and Billed='False'");
        QCOMPARE(Column(*q, "CallNr"), QStringList({"000003"}));
        q->SetFiltered(false);
        QCOMPARE(q->RecordCount(), 6);

        // A filter that cannot be read changes nothing; one naming an unknown
        // field cannot be applied.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q->SetFilter("Status='New"));
        QCOMPARE(q->Filter(), QString("Status='Complete'and Billed='False'"));
        q->SetFilter("Colour='Red'");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q->SetFiltered(true));
        QVERIFY(!q->Filtered());
        QCOMPARE(q->RecordCount(), 6);
    }

    void LocateFindsTheFirstMatchInTheCurrentOrder() {
        TQuery* q = Opened(CallList);
        q->Last();
        QVERIFY(q->Locate("CustomerID", "BOLT"));
        QCOMPARE(Nr(*q), QString("000002"));
        QVERIFY(q->Locate("CustomerID;Status", QVariantList{"BOLT", "New"}));
        QCOMPARE(Nr(*q), QString("000005"));
        QVERIFY(q->Locate("CustomerID;Status", QStringList{"ACME", "Complete"}));
        QCOMPARE(Nr(*q), QString("000003"));
        // Not found: the row stays.
        QVERIFY(!q->Locate("CustomerID", "bolt"));
        QCOMPARE(Nr(*q), QString("000003"));
        QVERIFY(q->Locate("CompanyName", "carr", TDataSet::CaseInsensitive | TDataSet::PartialKey));
        QCOMPARE(Nr(*q), QString("000004"));
        // A call without customer has a blank company.
        QVERIFY(q->Locate("CompanyName", ""));
        QCOMPARE(Nr(*q), QString("000006"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q->Locate("CustomerID;Status", "ACME"));

        // The first in the order the rows are shown in.
        q->SortBy("CallNr", Qt::DescendingOrder);
        QVERIFY(q->Locate("CustomerID", "ACME"));
        QCOMPARE(Nr(*q), QString("000003"));
        // With a filter only rows that pass count.
        q->SetFilter("Status='New'");
        q->SetFiltered(true);
        QVERIFY(q->Locate("CustomerID", "ACME"));
        QCOMPARE(Nr(*q), QString("000001"));
    }

    void SortingReordersAndKeepsTheCurrentRow() {
        TQuery* q = Opened(CallList);
        QCOMPARE(q->KeyFields(), QStringList({"CallNr"}));
        QVERIFY(q->Locate("CallNr", "000004"));
        q->SortBy("CompanyName");
        // Ties go by key; the blank company first; letter case ignored.
        QCOMPARE(Column(*q, "CallNr"),
                 QStringList({"000006", "000001", "000003", "000002", "000005", "000004"}));
        QCOMPARE(Nr(*q), QString("000004"));

        // Once every row is read, sorting happens in memory with the same order
        // and keeps the current row too.
        TQuery* read = Opened(CallList);
        read->FetchAll();
        QVERIFY(read->Locate("CallNr", "000004"));
        read->SortBy("CompanyName");
        QVERIFY(!read->HeldByKey());
        QCOMPARE(Nr(*read), QString("000004"));
        QCOMPARE(Column(*read, "CallNr"), Column(*q, "CallNr"));

        // The order survives re-opening; ClearSort returns to the query's own.
        q->SortBy("Priority", Qt::DescendingOrder);
        q->Close();
        q->Open();
        QCOMPARE(Nr(*q), QString("000003"));
        q->ClearSort();
        QCOMPARE(Column(*q, "CallNr").first(), QString("000001"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q->SortBy("Colour"));
    }

    void SortedRowsAreHeldByKeyAndReadInPages() {
        TQuery* q = Opened(PartList);
        QVERIFY(q->Locate("PartNr", "P0074")); // the third row read
        q->SortBy("Company");
        QVERIFY(q->HeldByKey());
        QCOMPARE(Nr(*q, "PartNr"), QString("P0074"));
        QCOMPARE(q->RowsAvailable(), Parts);
        QVERIFY(!q->CanFetchMore());
        QCOMPARE(Cells(*q), PartsBy("M.Company COLLATE NOCASE, P.PartNr"));
        QCOMPARE(q->RecNo() - 1, qint64(Cells(*q).indexOf(QRegularExpression("^P0074\\|.*"))));
        q->SortBy("Company", Qt::DescendingOrder);
        const QStringList descending = PartsBy("M.Company COLLATE NOCASE DESC, P.PartNr");
        QCOMPARE(Cells(*q), descending);
        // A column that is not held is read for every row once, then searched.
        QVERIFY(q->Locate("Name", "part 69", TDataSet::CaseInsensitive | TDataSet::PartialKey));
        QCOMPARE(q->RecNo(), descending.indexOf(QRegularExpression("^([^|]*\\|){3}Part 69")) + 1);
        QVERIFY(q->Locate("PartNr", "P0074"));
        // Back to the key: the held keys are sorted again, no statement runs.
        q->SortBy("PartNr");
        QCOMPARE(Cells(*q), PartsBy("P.PartNr"));
        QCOMPARE(Nr(*q, "PartNr"), QString("P0074"));
        QCOMPARE(q->RecNo(), 75);
        q->Last();
        QCOMPARE(Nr(*q, "PartNr"), QString("P0699"));
        q->MoveBy(-300);
        QCOMPARE(Nr(*q, "PartNr"), QString("P0399"));

        // The filter looks at held columns; a change of filter keeps the order.
        q->SortBy("Name");
        q->SetFilter("Maker='M07' or Company='Zed'");
        q->SetFiltered(true);
        QCOMPARE(Cells(*q),
                 PartsBy("P.Name COLLATE NOCASE, P.PartNr")
                     .filter(QRegularExpression("^P\\d+\\|(M07\\|[^|]*|[^|]*\\|Zed)\\|")));
        QVERIFY(q->Locate("Company", "zed", TDataSet::CaseInsensitive));
        QCOMPARE(q->FieldByName("Company").AsString(), QString("Zed"));
        QVERIFY(!q->Locate("Maker", "M09"));

        // A refresh reads the keys again and stays on the row.
        const QString current = Nr(*q, "PartNr");
        m_pDb->Exec("UPDATE Part SET Name = 'Renamed' WHERE PartNr = :N", {{"N", current}});
        q->Refresh();
        QVERIFY(q->HeldByKey());
        QCOMPARE(Nr(*q, "PartNr"), current);
        QCOMPARE(q->FieldByName("Name").AsString(), QString("Renamed"));
    }

    void RowsWithAKeyOfTwoColumnsAreReadByBoth() {
        m_pDb->Exec("CREATE TABLE 'Line.db' (PartNr CHAR(10), Nr INTEGER, Text CHAR(20), "
                    "PRIMARY KEY (PartNr, Nr))");
        m_pDb->ExecNative("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE "
                          "i < 299) INSERT INTO \"" +
                          USqlDialect::TableAlias("Line") +
                          "\".\"Line\" SELECT printf('P%04d', i % 7), i / 7, "
                          "CASE i % 3 WHEN 0 THEN 'a' WHEN 1 THEN 'B' ELSE 'c' END FROM n");
        TQuery* q = Opened("SELECT * FROM Line");
        q->SortBy("Text", Qt::DescendingOrder);
        QVERIFY(q->HeldByKey());
        QCOMPARE(
            Cells(*q),
            Cells(*Opened("SELECT * FROM Line ORDER BY Text COLLATE NOCASE DESC, PartNr, Nr")));
    }

    void RowsWithoutATellingKeyAreSortedBySql() {
        // Every maker once per part: the key repeats.
        TQuery* q = Opened("SELECT M.MakerID, M.Company, P.PartNr FROM Maker M\n"
                           "LEFT OUTER JOIN Part P ON (P.Maker = M.MakerID)");

        q->SortBy("Company");
        QVERIFY(!q->HeldByKey());
        QCOMPARE(Column(*q, "MakerID"),
                 Column(*Opened("SELECT M.MakerID FROM Maker M LEFT OUTER JOIN Part P ON "
                                "(P.Maker = M.MakerID) ORDER BY M.Company COLLATE NOCASE, "
                                "M.MakerID"),
                        "MakerID"));
    }

    void ASortedLiveQueryWritesThroughAndKeepsItsPlaces() {
        TQuery* parts = Query("SELECT * FROM Part WHERE Maker <> 'M00'");
        parts->SetRequestLive(true);
        parts->SortBy("Name", Qt::DescendingOrder);
        parts->Open();
        QVERIFY(parts->HeldByKey() && parts->IsLive());
        const qint64 count = parts->RecordCount();
        parts->MoveBy(200);
        const QString deleted = Nr(*parts, "PartNr");
        parts->Edit();
        parts->FieldByName("Name").SetAsString("Renamed");
        parts->Post();
        QCOMPARE(parts->RecNo(), 201);
        QCOMPARE(parts->FieldByName("Name").AsString(), QString("Renamed"));
        QCOMPARE(parts->RowValue(200, 2), QVariant("Renamed"));
        parts->Delete();
        QCOMPARE(parts->RecNo(), 201);
        QVERIFY(Nr(*parts, "PartNr") != deleted);
        parts->Append();
        parts->FieldByName("PartNr").SetAsString("P9999");
        parts->FieldByName("Maker").SetAsString("M01");
        parts->Post();
        QCOMPARE(parts->RecNo(), count);
        QCOMPARE(parts->RowValue(count - 1, 1), QVariant("M01"));
        parts->Refresh();
        QCOMPARE(Nr(*parts, "PartNr"), QString("P9999"));
        QVERIFY(!parts->Locate("PartNr", deleted));
    }

    void LastReadsTheEndWithoutTheRest() {
        for (const char* sql : {"SELECT PartNr, Name FROM Part ORDER BY PartNr",
                                "SELECT P.PartNr FROM Part P ORDER BY P.Maker DESC, P.PartNr DESC",
                                "SELECT PartNr FROM Part ORDER BY Maker", "SELECT PartNr FROM Part",
                                "SELECT PartNr FROM Part WHERE Name <> '%1'"}) {
            TQuery* all = Opened(sql);
            const QStringList expected = Column(*all, "PartNr");
            TQuery* q = Opened(sql);
            q->Last();
            QVERIFY2(q->RowsAvailable() < Parts, sql);
            QVERIFY(q->Eof() && !q->Bof());
            QCOMPARE(q->RecNo(), Parts);
            QCOMPARE(Nr(*q, "PartNr"), expected.last());
            q->Prior();
            QCOMPARE(Nr(*q, "PartNr"), expected[Parts - 2]);
            QCOMPARE(q->MoveBy(-100), -100);
            QCOMPARE(Nr(*q, "PartNr"), expected[Parts - 102]);
            q->Last();
            q->Next();
            QVERIFY(q->Eof());
            QCOMPARE(Column(*q, "PartNr"), expected);
        }
        // A filter is applied as rows are read: Last reads them all.
        TQuery* q = Query("SELECT PartNr, Maker FROM Part ORDER BY PartNr");
        q->SetFilter("Maker='M03'");
        q->SetFiltered(true);
        q->Open();
        q->Last();
        QCOMPARE(q->RecNo(), q->RecordCount());
        const QString last = Nr(*q, "PartNr");
        QCOMPARE(Column(*q, "PartNr").last(), last);
    }

    void LocateAsksAnIndexBeforeReadingOn() {
        TQuery* q = Opened(PartList);
        const qint64 read = q->RowsAvailable();
        const auto prefix = TDataSet::CaseInsensitive | TDataSet::PartialKey;
        QVERIFY(!q->Locate("Company", "zz", prefix));
        QVERIFY(!q->Locate("Company", "acmex", prefix));
        QVERIFY(!q->Locate("PartNr", "p9", prefix)); // the key's own index
        QCOMPARE(q->RowsAvailable(), read);
        // Still found, each by a fresh query: letters in either case,
        // characters beyond ASCII that fold to the typed letter (the Kelvin
        // sign), text beyond ASCII, keys by the key's index.
        for (const char* text : {"ACME t", "kelv", "\u00e9m", "p06"}) {
            TQuery* fresh = Opened(PartList);
            QVERIFY2(fresh->Locate(text[0] == 'p' ? "PartNr" : "Company", text, prefix), text);
        }
        QVERIFY(q->Locate("Company", "Zed"));
        q->SortBy("Name");
        QVERIFY(!q->Locate("Company", "zz", prefix));
        // In a query of several SELECTs a column's rows come from more tables
        // than the one SQLite names for it.
        TQuery* both = Opened("SELECT Company FROM Maker UNION ALL SELECT Name FROM Part");
        QVERIFY(both->Locate("Company", "part 69", prefix));
    }

    void AFarLocateByKeyReadsOnlyTheKeys() {
        TQuery* all = Opened(PartList);
        const QStringList order = Column(*all, "PartNr"); // the table's order, not the key's
        const QStringList cells = Cells(*all);
        QStringList byKey = order;
        byKey.sort();
        QVERIFY(order != byKey);

        TQuery* q = Opened(PartList);
        const int at = 600;
        QVERIFY(q->Locate("PartNr", order[at]));
        QVERIFY(q->HeldByKey());
        QCOMPARE(q->RecNo(), at + 1);
        QCOMPARE(q->RecordCount(), Parts);
        QCOMPARE(q->FieldByName("Name").AsString(), cells[at].section('|', 3));
        q->Next();
        QCOMPARE(Nr(*q, "PartNr"), order[at + 1]);
        q->Prior();
        q->Prior();
        QCOMPARE(Nr(*q, "PartNr"), order[at - 1]);
        QCOMPARE(q->RecNo(), at);
        // A search in other letter case, by prefix, and a key that is not there.
        QVERIFY(q->Locate("PartNr", order[10].toLower(), TDataSet::CaseInsensitive));
        QCOMPARE(q->RecNo(), 11);
        QVERIFY(!q->Locate("PartNr", "P9999"));
        // The key and another field, as a record of two fields is gone to:
        // held by key too, and only that row is read whole.
        const QString maker = cells[650].section('|', 1, 1);
        TQuery* pair = Opened(PartList);
        QVERIFY(!pair->Locate("PartNr;Maker", QStringList{order[650], maker + "x"}));
        QVERIFY(pair->HeldByKey());
        QVERIFY(pair->Locate("Maker;PartNr", QStringList{maker, order[650]}));
        QCOMPARE(pair->RecNo(), 651);
        // A search on a column the keys do not hold reads that column for
        // every row, still in the statement's order.
        const QString name = cells[at + 5].section('|', 3);
        QVERIFY(q->Locate("Name", name));
        QCOMPARE(q->FieldByName("Name").AsString(), name);
        QCOMPARE(Cells(*q), cells);
        QCOMPARE(Column(*q, "PartNr"), order);
        // A column read so for a search and then sorted by: ties go by the
        // key, not by the table's order.
        QVERIFY(q->Locate("Company", "Bolt"));
        q->SortBy("Company");
        const QStringList byCompany = PartsBy("M.Company COLLATE NOCASE, P.PartNr");
        QCOMPARE(Cells(*q), byCompany);
        QVERIFY(q->Locate("PartNr", order[10]));
        QCOMPARE(q->RecNo(), byCompany.indexOf(QRegularExpression("^" + order[10] + "\\|.*")) + 1);
        q->ClearSort();
        // A later sort is by key as ever, and keeps the current row.
        QVERIFY(q->Locate("PartNr", order[at]));
        q->SortBy("Company");
        QCOMPARE(Cells(*q), byCompany);
        QCOMPARE(Nr(*q, "PartNr"), order[at]);
        q->ClearSort();
        QCOMPARE(Cells(*q), cells);
        QCOMPARE(Nr(*q, "PartNr"), order[at]);

        // Two keys alike but for their letter case, the later one looked for
        // first: the first in the statement's order is found.
        for (const char* nr : {"X0001", "x0001"})
            m_pDb->ExecNative("INSERT INTO \"" + USqlDialect::TableAlias("Part") +
                              "\".\"Part\" (PartNr, Name) VALUES ('" + nr + "', 'late')");
        TQuery* late = Opened(PartList);
        QVERIFY(late->Locate("PartNr", "x0001", TDataSet::CaseInsensitive));
        QVERIFY(late->HeldByKey());
        QCOMPARE(Nr(*late, "PartNr"), QString("X0001"));
        QCOMPARE(late->RecNo(), Parts + 1);
        QVERIFY(late->Locate("PartNr", "x0001"));
        QCOMPARE(late->RecNo(), Parts + 2);
    }

    void AFarLocateReadsOnWhenTheOrderIsNotKnown() {
        TQuery* all = Opened(PartList);
        const QStringList order = Column(*all, "PartNr");
        const QString far = order[650];
        // A join that repeats rows, a WHERE, and a narrower index read in its
        // own order: the keys of the first table do not give the rows.
        for (const char* sql :
             {"SELECT P.PartNr, Q.Name FROM Part P\n"
              "LEFT OUTER JOIN Part Q ON (Q.Maker = P.Maker)",
              "SELECT PartNr, Name FROM Part WHERE Name <> 'x'", "SELECT P.PartNr FROM Part P"}) {
            TQuery* expected = Opened(sql);
            const QStringList rows = Column(*expected, "PartNr");
            TQuery* q = Opened(sql);
            QVERIFY2(q->Locate("PartNr", far), sql);
            QVERIFY2(!q->HeldByKey(), sql);
            QCOMPARE(q->RecNo(), rows.indexOf(far) + 1);
        }
        // The table read in its order no longer starts with the rows the
        // statement gave: a row put before them since it ran.
        TQuery* q = Opened(PartList);
        // The same for the end of a list without a key.
        TQuery* keyless = Opened("SELECT P.Name, M.Company FROM Part P\n"
                                 "LEFT OUTER JOIN Maker M ON (P.Maker = M.MakerID)");
        m_pDb->ExecNative("INSERT INTO \"" + USqlDialect::TableAlias("Part") +
                          "\".\"Part\" (rowid, PartNr, Name) VALUES (-1, 'P9999', 'new')");
        QVERIFY(q->Locate("PartNr", far));
        QVERIFY(!q->HeldByKey());
        QCOMPARE(q->RecNo(), 651);
        q->Next();
        QCOMPARE(Nr(*q, "PartNr"), order[651]);
        keyless->Last();
        QVERIFY(!keyless->HeldByKey());
        QCOMPARE(keyless->FieldByName("Name").AsString(), Column(*all, "Name").last());
    }

    void ParametersAndAMasterChooseTheDetailRows() {
        TTable customers;
        customers.SetDatabase(m_pDb.get());
        customers.SetTableName("Customer.DB");
        TDataSource dsCustomer(&customers);

        TQuery* reps = Query("Select * \r\nFrom Representative.DB\r\nWhere :ID = FK_Customer");
        reps->SetParam("id", "BOLT");
        reps->Open();
        QCOMPARE(Column(*reps, "Name"), QStringList({"Cid"}));

        // Without a matching field in the master the set value stays in force.
        reps->SetMasterSource(&dsCustomer);
        customers.Open();
        QCOMPARE(Column(*reps, "Name"), QStringList({"Cid"}));

        TQuery* calls = Query("SELECT CallNr FROM Call WHERE CustomerID = :CustomerID "
                              "ORDER BY CallNr");
        calls->SetMasterSource(&dsCustomer);
        calls->Open();
        QCOMPARE(Column(*calls, "CallNr"), QStringList({"000001", "000003"}));
        customers.Next();
        QCOMPARE(Column(*calls, "CallNr"), QStringList({"000002", "000005"}));
        QVERIFY(customers.Locate("CustomerID", "CARR"));
        QCOMPARE(Column(*calls, "CallNr"), QStringList({"000004"}));
        // Display updates of the master held back: the detail waits too.
        customers.DisableControls();
        customers.First();
        QCOMPARE(Column(*calls, "CallNr"), QStringList({"000004"}));
        customers.EnableControls();
        QCOMPARE(Column(*calls, "CallNr"), QStringList({"000001", "000003"}));
        // A new master row has no calls.
        customers.Append();
        QVERIFY(calls->IsEmpty());
        customers.FieldByName("CustomerID").SetAsString("BOLT");
        QCOMPARE(calls->RecordCount(), 2);
        customers.Cancel();
        customers.Close();
        QVERIFY(calls->IsEmpty());
    }

    void ALiveQueryWritesThroughToItsTable() {
        TQuery* reps = Query("Select * \r\nFrom Representative.DB\r\nWhere :ID = FK_Customer");
        reps->SetRequestLive(true);
        reps->SetParam("ID", "ACME");
        reps->Open();
        QCOMPARE(reps->KeyFields(), QStringList({"RecID"}));
        QVERIFY(reps->Locate("Name", "Bob"));
        reps->Edit();
        reps->FieldByName("Surname").SetAsString("Builder");
        reps->Post();
        QCOMPARE(reps->FieldByName("Name").AsString(), QString("Bob"));
        QCOMPARE(reps->RecNo(), 2);

        reps->Append();
        reps->FieldByName("RecID").SetAsString("{R9}");
        reps->FieldByName("FK_Customer").SetAsString("ACME");
        reps->FieldByName("Name").SetAsString("Dee");
        reps->Post();
        QCOMPARE(reps->RecNo(), 3);
        QCOMPARE(reps->RecordCount(), 3);
        QCOMPARE(reps->FieldByName("Mobile").StoredValue(), QVariant(QString(""))); // as stored

        QVERIFY(reps->Locate("Name", "Ann"));
        reps->Delete();
        QCOMPARE(reps->FieldByName("Name").AsString(), QString("Bob"));

        TQuery* check = Opened("SELECT RecID, Surname FROM Representative ORDER BY RecID");
        QCOMPARE(Column(*check, "RecID"), QStringList({"{R2}", "{R3}", "{R9}"}));
        QCOMPARE(Column(*check, "Surname").first(), QString("Builder"));

        // A join, or a query without the key, is not live; nor is a plain query.
        TQuery* join = Query(CallList);
        join->SetRequestLive(true);
        join->Open();
        QVERIFY(!join->IsLive() && !join->CanModify());
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, join->Edit());
        TQuery* noKey = Query("SELECT Name FROM Representative");
        noKey->SetRequestLive(true);
        noKey->Open();
        QVERIFY(!noKey->IsLive());
        TQuery* plain = Opened("SELECT * FROM Representative");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, plain->Delete());
        // Expressions in a live query are read-only.
        TQuery* expr = Query("SELECT RecID, (Name || '!') AS Shout FROM Representative");
        expr->SetRequestLive(true);
        expr->Open();
        QVERIFY(expr->IsLive());
        expr->Edit();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, expr->FieldByName("Shout").SetAsString("x"));
        expr->Cancel();
    }

    void RefreshSeesNewRowsAndStaysOnTheRow() {
        TQuery* q = Opened("SELECT CallNr, Status FROM Call ORDER BY CallNr");
        QVERIFY(q->Locate("CallNr", "000004"));
        m_pDb->Exec("INSERT INTO Call (CallNr, CustomerID) VALUES ('000000', 'ACME')");
        q->Refresh();
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000004"));
        QCOMPARE(q->RecNo(), 5);
        QCOMPARE(q->RecordCount(), 7);
        m_pDb->Exec("DELETE FROM Call WHERE CallNr = '000004'");
        q->Refresh();
        // Gone: the row that took its place.
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000005"));

        // ExecSQL runs statements with the query's parameters.
        TQuery* upd = Query("UPDATE Call SET Status = :S WHERE CallNr = :N");
        upd->SetParam("S", "Pending");
        upd->SetParam("N", "000005");
        QCOMPARE(upd->ExecSQL(), 1);
        q->Refresh();
        QCOMPARE(q->FieldByName("Status").AsString(), QString("Pending"));
    }

    void ALivePostedRowThatNoLongerPassesTheFilterLeaves() {
        TQuery* q = Query("SELECT * FROM Call");
        q->SetRequestLive(true);
        q->SetFilter("Status<>'Complete'");
        q->SetFiltered(true);
        q->Open();
        q->Edit();
        q->FieldByName("Status").SetAsString("Awaiting Parts");
        q->Post();
        QCOMPARE(Nr(*q), QString("000001"));
        q->Edit();
        q->FieldByName("Status").SetAsString("Complete");
        q->Post();
        QCOMPARE(Nr(*q), QString("000004"));
        QCOMPARE(q->RecordCount(), 3);
    }
};

QTEST_MAIN(TestTQuery)
#include "tst_TQuery.moc"
