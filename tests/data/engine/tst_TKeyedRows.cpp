// Rows held by key: the keys sorted in memory as SQL sorts them, whole rows
// read back by key a page at a time (with the statement's own parameters),
// the cases that cannot be held, and rows moved by writes.

#include "data/engine/TDatabase.h"
#include "data/engine/TFilterExpr.h"
#include "data/engine/TKeyedRows.h"
#include "support/TestSupport.h"

#include <QtTest>

using TestSupport::TTempDatabase;

namespace {

constexpr int Parts = 300; // more than two pages

// The parts table's columns as the statements below give them.
enum : int { PartNr, Maker, Name, Price, ColumnCount };

QString Table() {
    return "\"" + USqlDialect::TableAlias("Part") + "\".\"Part\"";
}

QString Inner(const QString& where = {}) {
    return "SELECT PartNr, Maker, Name, Price FROM " + Table() + where;
}

} // namespace

class TestTKeyedRows : public QObject {
    Q_OBJECT

    std::unique_ptr<TTempDatabase> m_pDb;

    // Whole rows as SQLite gives them, each as its cells' texts.
    QList<QStringList> BySql(const QString& sql, const TParams& params = {}) {
        auto statement = m_pDb->PrepareNative(sql);
        statement->Bind(params);
        return TestSupport::RowTexts(*statement);
    }
    static QStringList Texts(const QVariantList& record) {
        QStringList row;
        for (const QVariant& value : record)
            row << (value.isNull() ? QStringLiteral("<null>") : value.toString());
        return row;
    }
    static QList<QStringList> Records(TKeyedRows& rows) {
        QList<QStringList> all;
        for (qint64 row = 0; row < rows.Count(); ++row)
            all << Texts(rows.Record(row));
        return all;
    }
    // The first held column (the key's first) of every row, read from what is
    // held, each as a row of one cell.
    static QList<QStringList> Keys(const TKeyedRows& rows) {
        QList<QStringList> keys;
        for (qint64 row = 0; row < rows.Count(); ++row)
            keys.append({TKeyedRows::THeldRow(rows, row).Cell(rows.KeyColumns()[0]).ToText()});
        return keys;
    }
    // The parts' numbers in the order of `orderBy`.
    QList<QStringList> KeysBySql(const QString& orderBy) {
        return BySql("SELECT PartNr FROM " + Table() + " ORDER BY " + orderBy);
    }

private Q_SLOTS:
    // Parts inserted out of key order, their names alike but for letter case
    // (ASCII and beyond), some without a name or price.
    void init() {
        m_pDb = std::make_unique<TTempDatabase>();
        m_pDb->Exec("CREATE TABLE 'Part.db' (PartNr CHAR(10), Maker CHAR(10), Name CHAR(40), "
                    "Price INTEGER, PRIMARY KEY (PartNr))");
        m_pDb->ExecNative(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
            QString::number(Parts - 1) + ") INSERT INTO " + Table() +
            " SELECT printf('P%04d', i * 37 % " + QString::number(Parts) +
            "), printf('M%02d', i % 7), CASE i % 8 WHEN 0 THEN 'apple' WHEN 1 THEN 'Apple' "
            "WHEN 2 THEN NULL WHEN 3 THEN '\u00c9mile' WHEN 4 THEN '\u00e9mile' WHEN 5 THEN "
            "'zed' WHEN 6 THEN '' ELSE 'APPLE' END, CASE WHEN i % 9 = 0 THEN NULL ELSE i % 4 END "
            "FROM n");
    }

    void cleanup() { m_pDb.reset(); }

    void SortsLikeOrderByNoCaseThenTheKey() {
        for (const int column : {Name, Price}) {
            const QString name = column == Name ? "Name" : "Price";
            for (const bool descending : {false, true}) {
                TKeyedRows rows(*m_pDb, Inner(), {}, ColumnCount);
                QVERIFY(rows.Load({PartNr}, {column}, {}, column, descending));
                const QString order = name + " COLLATE NOCASE" + (descending ? " DESC" : "");
                QCOMPARE(Keys(rows), KeysBySql(order + ", PartNr"));
            }
        }
        // Sorted again by another held column, and by the key itself.
        TKeyedRows rows(*m_pDb, Inner(), {}, ColumnCount);
        QVERIFY(rows.Load({PartNr}, {Name, Price}, {}, Name, false));
        rows.Sort(Price, true);
        QCOMPARE(Keys(rows), KeysBySql("Price DESC, PartNr"));
        rows.Sort(PartNr, true);
        QCOMPARE(Keys(rows), KeysBySql("PartNr DESC"));
    }

    void WholeRowsAreReadBackByKey() {
        TKeyedRows rows(*m_pDb, Inner(), {}, ColumnCount);
        QVERIFY(rows.Load({PartNr}, {Name}, {}, Name, true));
        const QList<QStringList> expected =
            BySql(Inner(" ORDER BY Name COLLATE NOCASE DESC, PartNr"));
        QCOMPARE(Records(rows), expected);
        QCOMPARE(rows.Cell(Parts - 1, Maker).ToText(), expected.last()[Maker]);
        QVERIFY(rows.Cell(Parts, Maker).IsNull());
        QVERIFY(rows.Record(-1).isEmpty());

        // The held columns alone, without reading the table.
        QVERIFY(rows.Holds(Name) && !rows.Holds(Maker));
        const TKeyedRows::THeldRow held(rows, 5);
        QCOMPARE(held.Cell(PartNr).ToText(), expected[5][PartNr]);
        QVERIFY(held.Cell(Maker).IsNull());
    }

    // More rows than are kept read at once: pages read earlier are read again.
    void ManyPagesAreReadAgainWhenNeeded() {
        m_pDb->ExecNative("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE "
                          "i < 8999) INSERT INTO " +
                          Table() +
                          " SELECT printf('Q%05d', 8999 - i), 'M99', 'Name ' || i, i FROM n");
        TKeyedRows rows(*m_pDb, Inner(), {}, ColumnCount);
        QVERIFY(rows.Load({PartNr}, {Price}, {}, Price, false));
        const QList<QStringList> expected = BySql(Inner(" ORDER BY Price COLLATE NOCASE, PartNr"));
        QCOMPARE(rows.Count(), expected.size());
        QCOMPARE(Records(rows), expected);
        for (const qint64 row : {qint64(0), qint64(4711), rows.Count() - 1, qint64(1)})
            QCOMPARE(Texts(rows.Record(row)), expected[row]);
    }

    void TheStatementsParametersReachEveryRead() {
        const TParams params{{"M", "M03"}, {"P", 2}};
        const QString where = " WHERE Maker <> :M AND (Price IS NULL OR Price <> :P)";
        TKeyedRows rows(*m_pDb, Inner(where), params, ColumnCount);
        QVERIFY(rows.Load({PartNr}, {Name}, {}, Name, false));
        QCOMPARE(Records(rows),
                 BySql(Inner(where + " ORDER BY Name COLLATE NOCASE, PartNr"), params));
    }

    void AFilterKeepsOnlyThePassingRows() {
        TFilterExpr filter = TFilterExpr::Parse("Maker='M03' or Name='zed'");
        filter.Bind([](const QString& name, TFieldType& type) {
            type = TFieldType::String;
            return name.compare("Maker", Qt::CaseInsensitive) == 0 ? int(Maker) : int(Name);
        });
        TKeyedRows rows(*m_pDb, Inner(), {}, ColumnCount);
        QVERIFY(rows.Load({PartNr}, {Maker, Name}, filter, Name, true));
        QCOMPARE(Records(rows), BySql(Inner(" WHERE Maker = 'M03' OR Name = 'zed' ORDER BY Name "
                                            "COLLATE NOCASE DESC, PartNr")));
    }

    void AKeyOfTwoColumnsIsHeldWhenThePairsDiffer() {
        const QString inner = "SELECT Maker, PartNr, Name, Price FROM " + Table();
        TKeyedRows byMaker(*m_pDb, inner, {}, ColumnCount);
        QVERIFY(!byMaker.Load({0}, {Name}, {}, Name, false));
        QCOMPARE(byMaker.Count(), 0);

        TKeyedRows rows(*m_pDb, inner, {}, ColumnCount);
        QVERIFY(rows.Load({0, 1}, {Name}, {}, Name, false));
        QCOMPARE(Records(rows), BySql(inner + " ORDER BY Name COLLATE NOCASE, Maker, PartNr"));
    }

    void RowsThatCannotBeFoundByKeyAreNotHeld() {
        // A join repeats the key; a missing right-hand row gives a null key.
        TKeyedRows joined(*m_pDb,
                          "SELECT P.PartNr, Q.Maker, Q.Name, Q.Price FROM " + Table() + " P JOIN " +
                              Table() + " Q ON (Q.Maker = P.Maker)",
                          {}, ColumnCount);
        QVERIFY(!joined.Load({PartNr}, {Name}, {}, Name, false));
        QCOMPARE(joined.Count(), 0);
        // One null key among keys that differ.
        TKeyedRows oneNull(*m_pDb,
                           "SELECT Q.PartNr, P.Maker, P.Name, P.Price FROM " + Table() +
                               " P LEFT OUTER JOIN " + Table() +
                               " Q ON (Q.PartNr = P.PartNr AND P.PartNr <> 'P0000')",
                           {}, ColumnCount);
        QVERIFY(!oneNull.Load({PartNr}, {Name}, {}, Name, false));

        // Rows held by their rowid, read in another order (an index's),
        // close together or far apart; a repeated or other value refused.
        const QString withRowid = "SELECT PartNr, Maker, Name, Price, rowid * %1 FROM " + Table();
        for (const char* spread : {"1", "100000"}) {
            TKeyedRows byRowid(*m_pDb, withRowid.arg(spread), {}, ColumnCount + 1, 1);
            QVERIFY(byRowid.LoadInOrder(
                QString("SELECT rowid * %1 FROM %2 WHERE Maker = :M ORDER BY Name DESC")
                    .arg(spread, Table()),
                ColumnCount, {{"M", "M02"}}));
            QCOMPARE(Records(byRowid), BySql(Inner(" WHERE Maker = 'M02' ORDER BY rowid")));
            const qint64 last = BySql("SELECT max(rowid) * " + QString(spread) + " FROM " +
                                      Table() + " WHERE Maker = 'M02'")[0][0]
                                    .toLongLong();
            QCOMPARE(byRowid.RowOfOrderedKey(last), byRowid.Count() - 1);
            QCOMPARE(byRowid.RowOfOrderedKey(last + 1), -1);
        }
        TKeyedRows refused(*m_pDb, withRowid.arg(1), {}, ColumnCount + 1, 1);
        for (const char* sql :
             {"SELECT rowid % 7 FROM ", "SELECT rowid % 7 * 100000 FROM ", "SELECT PartNr FROM "}) {
            QVERIFY2(!refused.LoadInOrder(sql + Table(), ColumnCount, {}), sql);
            QCOMPARE(refused.Count(), 0);
        }
    }

    void AMultitudeOfKeysIsToldApart() {
        // More keys than the repeat check sorts whole: integers and texts,
        // all different, then one pair alike (40000 and 1).
        const QString numbers = "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n "
                                "WHERE x < 40000) SELECT %1, 'M', 'n', x FROM n";
        for (const char* key : {"x", "'K' || x", "x % 39999", "'K' || (x % 39999)"}) {
            TKeyedRows rows(*m_pDb, numbers.arg(key), {}, ColumnCount);
            const bool distinct = !QByteArray(key).contains('%');
            QCOMPARE(rows.Load({PartNr}, {Name}, {}, Name, false), distinct);
            QCOMPARE(rows.Count(), distinct ? 40000 : 0);
        }
    }

    void WrittenRowsTakeTheirPlaceAndAreReadFromTheTable() {
        TKeyedRows rows(*m_pDb, Inner(), {}, ColumnCount);
        QVERIFY(rows.Load({PartNr}, {Name}, {}, Name, false));
        const QList<QStringList> before = Records(rows);

        m_pDb->ExecNative("INSERT INTO " + Table() + " VALUES ('P9999', 'M01', 'new', 7)");
        rows.Insert(5, {"P9999", "M01", "new", 7});
        QCOMPARE(rows.Count(), Parts + 1);
        QCOMPARE(Texts(rows.Record(5)), QStringList({"P9999", "M01", "new", "7"}));
        QCOMPARE(Texts(rows.Record(6)), before[5]);

        // The table's values count, not the record's.
        m_pDb->ExecNative("UPDATE " + Table() +
                          " SET Name = 'renamed', Price = 8 "
                          "WHERE PartNr = 'P9999'");
        rows.Replace(5, {"P9999", "M01", "renamed", 0});
        QCOMPARE(Texts(rows.Record(5)), QStringList({"P9999", "M01", "renamed", "8"}));
        rows.Remove(5);
        QCOMPARE(Records(rows), before);

        // A row gone from the table behind the rows' back shows what is held.
        m_pDb->ExecNative("DELETE FROM " + Table() + " WHERE PartNr = '" + before[10][PartNr] +
                          "'");
        rows.Remove(0); // any write reads the pages anew
        QCOMPARE(rows.Cell(9, PartNr).ToText(), before[10][PartNr]);
        QVERIFY(rows.Cell(9, Maker).IsNull());
        QCOMPARE(Texts(rows.Record(10)), before[11]);
    }
};

QTEST_GUILESS_MAIN(TestTKeyedRows)
#include "tst_TKeyedRows.moc"
