// Queries: filters of the call views, Locate, sorting, parameters and
// master/detail, live queries and refreshing.

#include "data/engine/TDataSource.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "support/TestSupport.h"

#include <QtTest>

using TestSupport::TTempDir;

namespace {

const char* const CreateCall =
    "CREATE TABLE 'Call.db' (  CallNr CHAR(10),  CustomerID CHAR(20),  WorkerNr CHAR(10),  "
    "EquipmentSerialNr CHAR(20),  Date_Time TIMESTAMP,  Status CHAR(20),  Priority INTEGER,  "
    "Billed BOOLEAN,PRIMARY KEY (CallNr));";
const char* const CreateCustomer =
    "CREATE TABLE 'Customer.db' (  CustomerID CHAR(20),  LastName CHAR(20),  "
    "FirstName CHAR(20),  CompanyName CHAR(40),PRIMARY KEY (CustomerID));";
const char* const CreateRepresentative =
    "CREATE TABLE 'Representative.db' (  RecID CHAR(40),  FK_Customer CHAR(20),  "
    "Name CHAR(25),  Surname CHAR(25),  Mobile CHAR(20),  Email CHAR(60),PRIMARY KEY (RecID));";

// The calls view's list, as the lists show it.
const char* const CallList = "Select C.CallNr, C.CustomerID, Z.CompanyName, C.Status, "
                             "C.Priority, C.Billed\r\n"
                             "FROM Call C\r\n"
                             "LEFT OUTER JOIN Customer Z ON (C.CustomerID = Z.CustomerID)\r\n";

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

    TTempDir m_Dir;
    TDatabase m_Db;

    void Call(const QString& nr, const QString& customer, const QString& status, int priority,
              bool billed) {
        m_Db.Exec("INSERT INTO Call (CallNr, CustomerID, Status, Priority, Billed) "
                  "VALUES (:N, :C, :S, :P, :B)",
                  {{"N", nr}, {"C", customer}, {"S", status}, {"P", priority}, {"B", billed}});
    }
    void Customer(const QString& id, const QString& last, const QString& company) {
        m_Db.Exec("INSERT INTO Customer (CustomerID, LastName, CompanyName) VALUES (:I, :L, :C)",
                  {{"I", id}, {"L", last}, {"C", company}});
    }
    void Representative(const QString& id, const QString& customer, const QString& name) {
        m_Db.Exec("INSERT INTO Representative (RecID, FK_Customer, Name) VALUES (:I, :C, :N)",
                  {{"I", id}, {"C", customer}, {"N", name}});
    }
    TQuery* Query(const QString& sql) {
        auto* query = new TQuery(this);
        query->SetDatabase(&m_Db);
        query->SetSQL(sql);
        return query;
    }

private Q_SLOTS:
    void cleanup() { qDeleteAll(findChildren<TQuery*>()); }

    void initTestCase() {
        m_Db.Open(m_Dir.Path());
        m_Db.Exec(QString::fromLatin1(CreateCall));
        m_Db.Exec(QString::fromLatin1(CreateCustomer));
        m_Db.Exec(QString::fromLatin1(CreateRepresentative));
        m_Db.StartTransaction();
        Customer("ACME", "Smith", "Acme Ltd");
        Customer("BOLT", "smithers", "Bolt & Nut");
        Customer("CARR", "Carr", "Carr's Cars");
        Call("000001", "ACME", "New", 2, false);
        Call("000002", "BOLT", "Complete", 1, true);
        Call("000003", "ACME", "Complete", 3, false);
        Call("000004", "CARR", "Busy", 1, false);
        Call("000005", "BOLT", "New", 3, false);
        Call("000006", "NOBODY", "Pending", 2, false);
        Representative("{R1}", "ACME", "Ann");
        Representative("{R2}", "ACME", "Bob");
        Representative("{R3}", "BOLT", "Cid");
        m_Db.Commit();
    }

    void TheViewFiltersApplyToTheRowsTheQueryReturns() {
        TQuery* q = Query(CallList);
        q->SetFilter("Status='New'");
        q->SetFiltered(true);
        q->Open();
        QCOMPARE(Column(*q, "CallNr"), QStringList({"000001", "000005"}));
        QCOMPARE(q->RecordCount(), 2);

        // Changing the filter of an open query applies it at once.
        q->SetFilter("Status<>'Complete'");
        QCOMPARE(Column(*q, "CallNr"), QStringList({"000001", "000004", "000005", "000006"}));
        q->SetFilter("Status='Complete'and Billed='False'");
        QCOMPARE(Column(*q, "CallNr"), QStringList({"000003"}));
        QVERIFY(q->Filtered());
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
        TQuery* q = Query(CallList);
        q->Open();
        q->Last();
        QVERIFY(q->Locate("CustomerID", "BOLT"));
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000002"));
        QVERIFY(q->Locate("CustomerID;Status", QVariantList{"BOLT", "New"}));
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000005"));
        QVERIFY(q->Locate("CustomerID;Status", QStringList{"ACME", "Complete"}));
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000003"));
        // Not found: the row stays.
        QVERIFY(!q->Locate("CustomerID", "bolt"));
        QVERIFY(!q->Locate("CustomerID", "BOL"));
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000003"));
        QVERIFY(q->Locate("CustomerID", "bolt", TDataSet::CaseInsensitive));
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000002"));
        QVERIFY(q->Locate("CompanyName", "carr", TDataSet::CaseInsensitive | TDataSet::PartialKey));
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000004"));
        QVERIFY(q->Locate("Priority", 3));
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000003"));
        // A call without customer has a blank company.
        QVERIFY(q->Locate("CompanyName", ""));
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000006"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q->Locate("CustomerID;Status", "ACME"));

        // The first in the order the rows are shown in.
        q->SortBy("CallNr", Qt::DescendingOrder);
        QVERIFY(q->Locate("CustomerID", "ACME"));
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000003"));
        // With a filter only rows that pass count.
        q->SetFilter("Status='New'");
        q->SetFiltered(true);
        QVERIFY(q->Locate("CustomerID", "ACME"));
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000001"));
    }

    void SortingReordersAndKeepsTheCurrentRow() {
        TQuery* q = Query(CallList);
        q->Open();
        QCOMPARE(q->KeyFields(), QStringList({"CallNr"}));
        QVERIFY(q->Locate("CallNr", "000004"));
        q->SortBy("CompanyName");
        // Ties go by key; the blank company first; letter case ignored.
        QCOMPARE(Column(*q, "CallNr"),
                 QStringList({"000006", "000001", "000003", "000002", "000005", "000004"}));
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000004"));
        QCOMPARE(q->SortField(), QString("CompanyName"));

        // Once every row is read, sorting happens in memory with the same order.
        q->FetchAll();
        q->SortBy("Priority", Qt::DescendingOrder);
        QCOMPARE(Column(*q, "CallNr"),
                 QStringList({"000003", "000005", "000001", "000006", "000002", "000004"}));
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000004"));
        TQuery* bySql = Query(CallList);
        bySql->SortBy("Priority", Qt::DescendingOrder);
        bySql->Open();
        QCOMPARE(Column(*bySql, "CallNr"), Column(*q, "CallNr"));

        // The order survives re-opening; ClearSort returns to the query's own.
        q->Close();
        q->Open();
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000003"));
        q->ClearSort();
        QCOMPARE(Column(*q, "CallNr").first(), QString("000001"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q->SortBy("Colour"));
    }

    void ParametersAndAMasterChooseTheDetailRows() {
        TTable customers;
        customers.SetDatabase(&m_Db);
        customers.SetTableName("Customer.DB");
        TDataSource dsCustomer(&customers);

        TQuery* reps = Query("Select * \r\nFrom Representative.DB\r\nWhere :ID = FK_Customer");
        QCOMPARE(reps->ParamNames(), QStringList({"ID"}));
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
        QVERIFY(reps->IsLive());
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

        TQuery* check = Query("SELECT RecID, Surname FROM Representative ORDER BY RecID");
        check->Open();
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
        TQuery* plain = Query("SELECT * FROM Representative");
        plain->Open();
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
        TQuery* q = Query("SELECT CallNr, Status FROM Call ORDER BY CallNr");
        q->Open();
        QVERIFY(q->Locate("CallNr", "000004"));
        Call("000000", "ACME", "New", 1, false);
        q->Refresh();
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000004"));
        QCOMPARE(q->RecNo(), 5);
        QCOMPARE(q->RecordCount(), 7);
        m_Db.Exec("DELETE FROM Call WHERE CallNr = '000004'");
        q->Refresh();
        // Gone: the row that took its place.
        QCOMPARE(q->FieldByName("CallNr").AsString(), QString("000005"));
        m_Db.Exec("DELETE FROM Call WHERE CallNr = '000000'");
        Call("000004", "CARR", "Busy", 1, false);
        // ExecSQL runs statements with the query's parameters.
        TQuery* upd = Query("UPDATE Call SET Status = :S WHERE CallNr = :N");
        upd->SetParam("S", "Pending");
        upd->SetParam("N", "000004");
        QCOMPARE(upd->ExecSQL(), 1);
        m_Db.Exec("UPDATE Call SET Status = 'Busy' WHERE CallNr = '000004'");
    }
};

QTEST_MAIN(TestTQuery)
#include "tst_TQuery.moc"
