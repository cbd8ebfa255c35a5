// Tables: key order over many rows, Locate by key and otherwise, writing
// through, and tables with a composite key or none.

#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "support/TestSupport.h"

#include <QtTest>

using TestSupport::OpenTable;
using TestSupport::TTempDatabase;

namespace {

QString Nr(int n) {
    return QString("%1").arg(n, 6, 10, QChar('0'));
}

} // namespace

class TestTTable : public QObject {
    Q_OBJECT

    // A new database for every test, its tables empty.
    std::unique_ptr<TTempDatabase> m_pDb;

    void Fill(int calls) {
        m_pDb->StartTransaction();
        // Inserted out of key order, so file order and key order differ.
        for (int i = calls; i >= 1; --i)
            m_pDb->Exec("INSERT INTO Call (CallNr, CustomerID, Status, Billed) "
                        "VALUES (:N, :C, :S, :B)",
                        {{"N", Nr(i)},
                         {"C", i % 2 ? "ACME" : "bolt"},
                         {"S", i % 3 ? "New" : "Complete"},
                         {"B", i % 5 == 0}});
        m_pDb->Commit();
    }

    QString Current(TDataSet& ds) { return ds.FieldByName("CallNr").AsString(); }

private Q_SLOTS:
    void init() {
        m_pDb = std::make_unique<TTempDatabase>();
        m_pDb->Exec("CREATE TABLE 'Call.db' (CallNr CHAR(10), CustomerID CHAR(20), "
                    "Status CHAR(20), Billed BOOLEAN, PRIMARY KEY (CallNr));");
        m_pDb->Exec("CREATE TABLE 'CallComments.db' (CallNr CHAR(10), ID CHAR(40), "
                    "DateTime TIMESTAMP, CommentLine CHAR(255), PRIMARY KEY (CallNr, ID));");
        m_pDb->Exec("CREATE TABLE 'StateTimes.db' (CallNR CHAR(10), State CHAR(20));");
    }

    void cleanup() { m_pDb.reset(); }

    void PagesThroughManyRowsInKeyOrder() {
        Fill(2000);
        const auto tbl = OpenTable(*m_pDb, "'CALL.db'");
        QStringList expected, forward, backward;
        for (int n = 1; n <= 2000; ++n)
            expected << Nr(n);
        for (; !tbl->Eof(); tbl->Next())
            forward << Current(*tbl);
        for (tbl->Last(); !tbl->Bof(); tbl->Prior())
            backward.prepend(Current(*tbl));
        QCOMPARE(forward, expected);
        QCOMPARE(backward, expected);
        QVERIFY(tbl->Locate("CallNr", Nr(1500)));
        QCOMPARE(tbl->RecNo(), 1500);
        tbl->Prior();
        QCOMPARE(Current(*tbl), Nr(1499));
        QCOMPARE(tbl->RecNo(), 1499);
        tbl->SetRecNo(77);
        QCOMPARE(Current(*tbl), Nr(77));
        // Views read rows by position without moving the table.
        QCOMPARE(tbl->RowsAvailable(), 2000);
        QCOMPARE(tbl->RowValue(1999, 0), QVariant(Nr(2000)));
        QCOMPARE(tbl->RowValue(64, 0), QVariant(Nr(65)));
        QCOMPARE(tbl->RowValue(65, 0), QVariant(Nr(66)));
        QCOMPARE(Current(*tbl), Nr(77));

        tbl->SetFilter("CustomerID='bolt' and Status='Complete'");
        tbl->SetFiltered(true);
        QCOMPARE(Current(*tbl), Nr(78)); // the next row that passes
        QCOMPARE(tbl->RecordCount(), 333);
        QCOMPARE(tbl->RecNo(), 13);
        tbl->Last();
        QCOMPARE(Current(*tbl), Nr(1998));
        QCOMPARE(tbl->RowValue(1, 0), QVariant(Nr(12)));
    }

    void LocatesByKeyAndByOtherFields() {
        Fill(300);
        const auto tbl = OpenTable(*m_pDb, "Call");
        tbl->Last();
        QVERIFY(tbl->Locate("CallNr", Nr(42)));
        QCOMPARE(Current(*tbl), Nr(42));
        QVERIFY(!tbl->Locate("CallNr", "42"));
        QCOMPARE(Current(*tbl), Nr(42));
        // The first in key order, whatever the file order.
        QVERIFY(tbl->Locate("CustomerID", "BOLT", TDataSet::CaseInsensitive));
        QCOMPARE(Current(*tbl), Nr(2));
        QVERIFY(tbl->Locate("CustomerID;Status", QVariantList{"ACME", "Complete"}));
        QCOMPARE(Current(*tbl), Nr(3));
        QVERIFY(tbl->Locate("Status", "comp", TDataSet::CaseInsensitive | TDataSet::PartialKey));
        QCOMPARE(Current(*tbl), Nr(3));
        QVERIFY(tbl->Locate("Billed;CustomerID", QVariantList{true, "ACME"}));
        QCOMPARE(Current(*tbl), Nr(5));
        QVERIFY(tbl->Locate("CallNr", "0001", TDataSet::PartialKey));
        QCOMPARE(Current(*tbl), Nr(100));
        QVERIFY(!tbl->Locate("Status", "Pending"));
        QCOMPARE(Current(*tbl), Nr(100));
        QCOMPARE(tbl->RecNo(), 100);
    }

    void WritesThroughAndStaysOnTheWrittenRow() {
        Fill(10);
        const auto tbl = OpenTable(*m_pDb, "Call");
        QVERIFY(tbl->Locate("CallNr", Nr(3)));
        tbl->Insert();
        tbl->FieldByName("CallNr").SetAsString("000007A");
        tbl->Post();
        QCOMPARE(Current(*tbl), QString("000007A")); // in its key position
        tbl->Next();
        QCOMPARE(Current(*tbl), Nr(8));
        tbl->Prior();
        tbl->Prior();
        QCOMPARE(Current(*tbl), Nr(7));

        // Changing the key moves the row to its new place.
        tbl->Edit();
        tbl->FieldByName("CallNr").SetAsString("000099");
        tbl->Post();
        QCOMPARE(Current(*tbl), QString("000099"));
        QCOMPARE(tbl->RecNo(), 11);
        QVERIFY(tbl->Eof() == false);
        tbl->Next();
        QVERIFY(tbl->Eof());

        // Deleting moves to the next row, or the previous one at the end.
        QVERIFY(tbl->Locate("CallNr", Nr(5)));
        tbl->Delete();
        QCOMPARE(Current(*tbl), Nr(6));
        tbl->Last();
        tbl->Delete();
        QCOMPARE(Current(*tbl), Nr(10));
        QCOMPARE(tbl->RecordCount(), 9);

        // A row posted outside the filter leaves the view.
        tbl->SetFilter("Status='New'");
        tbl->SetFiltered(true);
        tbl->First();
        QCOMPARE(Current(*tbl), Nr(1));
        tbl->Edit();
        tbl->FieldByName("Status").SetAsString("Busy");
        tbl->Post();
        QCOMPARE(Current(*tbl), Nr(2));

        tbl->EmptyTable();
        QVERIFY(tbl->IsEmpty());
        QCOMPARE(tbl->RecordCount(), 0);
        tbl->Close();
        Fill(3);
        tbl->EmptyTable(); // closed
        tbl->Open();
        QVERIFY(tbl->IsEmpty());
    }

    void CompositeKeysAndKeylessTablesWork() {
        const auto comments = OpenTable(*m_pDb, "CallComments");
        QCOMPARE(comments->KeyFields(), QStringList({"CallNr", "ID"}));
        m_pDb->StartTransaction(); // posts join the caller's transaction
        for (int call = 3; call >= 1; --call) {
            for (int line = 100; line >= 1; --line) { // many lines of one call
                comments->Append();
                comments->FieldByName("DateTime").SetAsDateTime(QDateTime::currentDateTime());
                comments->FieldByName("ID").SetAsString(
                    QString("{%1}").arg(line, 3, 10, QChar('0')));
                comments->FieldByName("CallNr").SetAsString(Nr(call));
                comments->FieldByName("CommentLine").SetAsString("Call Created.");
                comments->Post();
            }
        }
        m_pDb->Commit();
        QCOMPARE(comments->FieldByName("ID").AsString(), QString("{001}"));
        QCOMPARE(comments->RecNo(), 1);
        int rows = 0;
        QString last;
        for (comments->First(); !comments->Eof(); comments->Next(), ++rows) {
            const QString key =
                comments->FieldByName("CallNr").AsString() + comments->FieldByName("ID").AsString();
            QVERIFY(key > last);
            last = key;
        }
        QCOMPARE(rows, 300);
        QVERIFY(comments->Locate("CallNr;ID", QStringList{Nr(2), "{050}"}));
        QCOMPARE(comments->RecNo(), 150);

        const auto times = OpenTable(*m_pDb, "StateTimes");
        QVERIFY(times->KeyFields().isEmpty());
        for (const char* state : {"New", "Busy", "New"}) {
            times->Append();
            times->FieldByName("State").SetAsString(state);
            times->Post();
        }
        times->First();
        times->Next();
        const TBookmark mark = times->GetBookmark();
        times->Edit();
        times->FieldByName("CallNR").SetAsString(Nr(1));
        times->Post();
        times->First();
        times->GotoBookmark(mark);
        QCOMPARE(times->FieldByName("CallNR").AsString(), Nr(1));
        times->Delete();
        QCOMPARE(times->RecordCount(), 2);
        QCOMPARE(times->FieldByName("State").AsString(), QString("New"));
    }
};

QTEST_MAIN(TestTTable)
#include "tst_TTable.moc"
