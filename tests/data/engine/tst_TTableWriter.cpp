// The writing of single rows to a table file: rows found by their key (also
// a key of two columns, in key order rather than column order) or, in a
// table without one, by rowid; blank text written as ''; a write that would
// take a key twice refused as such.

#include "data/engine/TDatabase.h"
#include "data/engine/TTableWriter.h"
#include "support/TestSupport.h"

#include <QtTest>

using TestSupport::TTempDatabase;

namespace {

// The message of the EDatabaseError `action` raises, and whether it names a
// duplicate key; "<no error>" when it raises none.
struct TFailure {
    QString Message = QStringLiteral("<no error>");
    bool DuplicateKey = false;
};

TFailure Failure(const std::function<void()>& action) {
    TFailure failure;
    try {
        action();
    } catch (const EDatabaseError& e) {
        failure.Message = e.Message();
        failure.DuplicateKey = e.IsDuplicateKey();
    }
    return failure;
}

} // namespace

class TestTTableWriter : public QObject {
    Q_OBJECT

    std::unique_ptr<TTempDatabase> m_pDb;

    // The rows of a table as the file holds them, NULL as "<null>", in rowid order.
    QStringList Stored(const QString& table, const QString& columns) {
        TTableWriter writer(*m_pDb, table);
        auto statement = m_pDb->PrepareNative(
            QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(columns, writer.Qualified()));
        QStringList rows;
        for (const QStringList& row : TestSupport::RowTexts(*statement))
            rows << row.join(QLatin1Char('|'));
        return rows;
    }

private Q_SLOTS:
    void init() {
        m_pDb = std::make_unique<TTempDatabase>();
        m_pDb->Exec("CREATE TABLE 'Call.db' (CallNr CHAR(10), Status CHAR(20), Priority INTEGER, "
                    "Billed BOOLEAN, PRIMARY KEY (CallNr))");
        // The key's columns in another order than the table's.
        m_pDb->Exec("CREATE TABLE 'Line.db' (CallNr CHAR(10), Text CHAR(40), Nr INTEGER, "
                    "PRIMARY KEY (Nr, CallNr))");
        m_pDb->Exec("CREATE TABLE 'StateTimes.db' (CallNR CHAR(10), State CHAR(20))");
    }

    void cleanup() { m_pDb.reset(); }

    void ReadsTheTablesLayoutWhateverItsNameIsWrittenLike() {
        for (const char* name : {"Call", "'Call.db'", "\"CALL.DB\"", " call.db "})
            QCOMPARE(TTableWriter::PlainName(name).toLower(), QString("call"));
        TTableWriter calls(*m_pDb, "'Call.db'");
        QCOMPARE(calls.Table(), QString("Call"));
        QCOMPARE(calls.IndexOf("PRIORITY"), 2);
        QCOMPARE(calls.IndexOf("Colour"), -1);
        QCOMPARE(calls.KeyColumns(), QList<int>({0}));

        TTableWriter lines(*m_pDb, "Line");
        QCOMPARE(lines.KeyColumns(), QList<int>({2, 0}));
        QVERIFY(!TTableWriter(*m_pDb, "StateTimes").HasKey());

        QVERIFY_THROWS_EXCEPTION(EDatabaseError, TTableWriter(*m_pDb, "Customer")); // no file
    }

    void InsertsUpdatesAndDeletesTheRowOfAKey() {
        TTableWriter calls(*m_pDb, "Call");
        // Text columns not given are blank, not NULL; others stay NULL.
        const QVariantList first = calls.Insert({0, 2}, {"000001", 3});
        QCOMPARE(first, QVariantList({"000001", "", qint64(3), QVariant()}));
        calls.Insert({0, 1}, {"000002", "New"});
        QCOMPARE(calls.IdentityOf(first), QVariantList({"000001"}));
        QCOMPARE(calls.Read({"000001"}), first);
        QVERIFY(calls.Read({"000404"}).isEmpty());

        // Only the given columns of only that row change; NULL text is blank.
        QCOMPARE(calls.Update({"000001"}, {1, 3}, {"Busy", "True"}),
                 QVariantList({"000001", "Busy", qint64(3), "True"}));
        calls.Update({"000002"}, {1}, {QVariant()});
        QCOMPARE(Stored("Call", "CallNr, Status, Priority, Billed"),
                 QStringList({"000001|Busy|3|True", "000002||<null>|<null>"}));

        // A new key: the row read back is the row under its new key.
        QCOMPARE(calls.Update({"000001"}, {0}, {"000009"}),
                 QVariantList({"000009", "Busy", qint64(3), "True"}));
        QVERIFY(calls.Read({"000001"}).isEmpty());
        // Nothing given, nothing written: the row as it is.
        QCOMPARE(calls.Update({"000009"}, {}, {}).value(0), QVariant("000009"));

        calls.Delete({"000009"});
        QCOMPARE(Stored("Call", "CallNr"), QStringList({"000002"}));
        // A row that is gone cannot be changed.
        const TFailure gone = Failure([&] { calls.Update({"000009"}, {1}, {"New"}); });
        QVERIFY2(gone.Message.contains("someone else"), qPrintable(gone.Message));
        QVERIFY(!gone.DuplicateKey);
    }

    void AKeyOfTwoColumnsNamesOneRow() {
        TTableWriter lines(*m_pDb, "Line");
        lines.Insert({0, 1, 2}, {"000001", "first of 1", 1});
        const QVariantList second = lines.Insert({0, 1, 2}, {"000001", "second of 1", 2});
        lines.Insert({0, 1, 2}, {"000002", "first of 2", 1});
        QCOMPARE(lines.IdentityOf(second), QVariantList({qint64(2), "000001"}));

        // Identity order: the key's columns in key order, Nr before CallNr.
        const auto texts = [&](bool descending) {
            auto ordered =
                m_pDb->PrepareNative(QStringLiteral("SELECT Text FROM %1 ORDER BY %2")
                                         .arg(lines.Qualified(), lines.OrderList(descending)));
            QStringList all;
            for (const QStringList& row : TestSupport::RowTexts(*ordered))
                all << row[0];
            return all;
        };
        QCOMPARE(texts(false), QStringList({"first of 1", "first of 2", "second of 1"}));
        QCOMPARE(texts(true), QStringList({"second of 1", "first of 2", "first of 1"}));

        lines.Update({qint64(1), "000001"}, {1}, {"changed"});
        lines.Delete({qint64(1), "000002"});
        QCOMPARE(Stored("Line", "CallNr, Nr, Text"),
                 QStringList({"000001|1|changed", "000001|2|second of 1"}));
        QCOMPARE(lines.Read({qint64(2), "000001"}), second);
    }

    void ATableWithoutKeyIsWrittenByRowid() {
        TTableWriter times(*m_pDb, "StateTimes");
        // Two rows alike: told apart by the rowid appended to each.
        const QVariantList first = times.Insert({0, 1}, {"000001", "New"});
        const QVariantList second = times.Insert({0, 1}, {"000001", "New"});
        QCOMPARE(first.size(), 3);
        QVERIFY(first[2] != second[2]);
        QCOMPARE(times.IdentityOf(second), QVariantList({second[2]}));

        QCOMPARE(times.Update(times.IdentityOf(second), {1}, {"Busy"}),
                 QVariantList({"000001", "Busy", second[2]}));
        QCOMPARE(times.FindRowId({0, 1}, {"000001", "New"}), first[2].toLongLong());
        QCOMPARE(times.FindRowId({1}, {"Complete"}), -1);
        times.Delete(times.IdentityOf(first));
        QCOMPARE(Stored("StateTimes", "CallNR, State"), QStringList({"000001|Busy"}));

        // A blank looked for finds NULL and '' alike.
        m_pDb->ExecNative("INSERT INTO " + times.Qualified() +
                          " (CallNR, State) VALUES ('000002', NULL)");
        const qint64 blank = times.FindRowId({0, 1}, {"000002", ""});
        QVERIFY(blank > 0);
        QCOMPARE(times.Read({blank}), QVariantList({"000002", QVariant(), blank}));
    }

    void TakingAKeyTwiceIsRefusedAsADuplicate() {
        TTableWriter calls(*m_pDb, "Call");
        calls.Insert({0, 1}, {"000001", "New"});
        calls.Insert({0, 1}, {"000002", "Busy"});
        const TFailure inserted = Failure([&] { calls.Insert({0, 1}, {"000001", "Pending"}); });
        QVERIFY2(inserted.DuplicateKey, qPrintable(inserted.Message));
        const TFailure renamed = Failure([&] { calls.Update({"000002"}, {0}, {"000001"}); });
        QVERIFY2(renamed.DuplicateKey, qPrintable(renamed.Message));
        QCOMPARE(Stored("Call", "CallNr, Status"), QStringList({"000001|New", "000002|Busy"}));

        TTableWriter lines(*m_pDb, "Line");
        lines.Insert({0, 2}, {"000001", 1});
        lines.Insert({0, 2}, {"000002", 1}); // one column alike is no duplicate
        QVERIFY(Failure([&] { lines.Insert({0, 2}, {"000002", 1}); }).DuplicateKey);
        QCOMPARE(Stored("Line", "CallNr, Nr"), QStringList({"000001|1", "000002|1"}));
    }
};

QTEST_GUILESS_MAIN(TestTTableWriter)
#include "tst_TTableWriter.moc"
