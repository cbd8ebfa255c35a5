#include "data/engine/UQuerySql.h"

#include <QtTest>

using namespace UQuerySql;

// The statements a query derives from its own are only ever run where they
// are known to give the same rows; these cases are the ones that must not be
// taken for such statements.
class TestUQuerySql : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void TheClosingOrderIsOnlyTheOuterOneAtTheEnd() {
        const QString sql =
            "SELECT a, (SELECT b FROM t ORDER BY b) AS x, 'ORDER BY z' FROM s -- ORDER BY w\n"
            "ORDER BY COALESCE(a, x), \"c d\" DESC";
        const TClosingOrder order = ClosingOrder(sql);
        QCOMPARE(sql.mid(order.At, 8), QString("ORDER BY"));
        QCOMPARE(order.Terms, QStringList({"COALESCE(a, x)", "\"c d\" DESC"}));

        QCOMPARE(ClosingOrder("SELECT a FROM s ORDER BY a LIMIT 10").At, -1);
        QCOMPARE(ClosingOrder("SELECT a FROM (SELECT a FROM s ORDER BY a)").At, -1);
        QCOMPARE(ClosingOrder("SELECT a FROM s WHERE a = 'x ORDER BY a'").At, -1);
    }

    void TheOrderIsTurnedRoundOnlyWhenItTakesInTheKey() {
        const QString sql = "SELECT C.Nr, C.Name FROM Call C ORDER BY C.Name, \"Nr\" DESC";
        const TClosingOrder order = ClosingOrder(sql);
        const QList<QStringList> key{{"Nr", "CallNr"}};
        QCOMPARE(
            ReversedSql(sql, order, key, 64),
            QString("SELECT C.Nr, C.Name FROM Call C ORDER BY C.Name DESC, \"Nr\" ASC LIMIT 64"));
        // The key by the name its table gives it.
        QVERIFY(!ReversedSql(sql, order, {{"Number", "NR"}}, 64).isEmpty());
        // The key not among the terms: ties would come out in no known order.
        QVERIFY(ReversedSql(sql, order, {{"Nr", "CallNr"}, {"Line", "Line"}}, 64).isEmpty());
        // A term that is an expression cannot be turned round by its name.
        const QString lowered = "SELECT Nr FROM Call ORDER BY lower(Name), Nr";
        QVERIFY(ReversedSql(lowered, ClosingOrder(lowered), key, 64).isEmpty());
        QVERIFY(ReversedSql("SELECT Nr FROM Call", {}, key, 64).isEmpty());
    }

    void OnlyAFirstTableWithLeftJoinsGivesItsRowidsInOrder() {
        const TRowidSql joined =
            RowidSql("SELECT C.CallNr, W.Name FROM \"db_call\".\"Call\" AS C\n"
                     "LEFT OUTER JOIN \"db_worker\".\"Worker\" W ON W.Id = C.Worker");
        QCOMPARE(joined.Table, QString("Call"));
        QCOMPARE(joined.Rows,
                 QString("SELECT C.CallNr, W.Name, \"C\".rowid FROM \"db_call\".\"Call\" AS C\n"
                         "LEFT OUTER JOIN \"db_worker\".\"Worker\" W ON W.Id = C.Worker"));
        QCOMPARE(joined.InOrder,
                 QString("SELECT \"C\".rowid FROM \"db_call\".\"Call\" AS C\n"
                         "LEFT OUTER JOIN \"db_worker\".\"Worker\" W ON W.Id = C.Worker"));
        QCOMPARE(joined.Alone, QString("SELECT \"C\".rowid FROM \"db_call\".\"Call\" AS C"));
        QCOMPARE(RowidSql("select CallNr from Call").InOrder,
                 QString("SELECT \"Call\".rowid from Call"));

        const char* refused[] = {
            "SELECT DISTINCT CallNr FROM Call",
            "SELECT CallNr FROM Call WHERE Status = 'open'",
            "SELECT C.CallNr FROM Call C JOIN Worker W ON W.Id = C.Worker",
            "SELECT C.CallNr FROM Call C, Worker W",
            "SELECT C.CallNr FROM Call C RIGHT JOIN Worker W ON W.Id = C.Worker",
            "SELECT C.CallNr FROM Call C UNION SELECT CallNr FROM OldCall",
            "SELECT CallNr FROM Call INDEXED BY CallByNr",
            // A clause straight after an unaliased first table is no alias.
            "SELECT CallNr FROM Call GROUP BY CallNr",
            "SELECT CallNr FROM Call LIMIT 10",
            "SELECT CallNr FROM Call WINDOW w AS (ORDER BY CallNr)",
        };
        for (const char* sql : refused)
            QVERIFY2(RowidSql(sql).Rows.isEmpty(), sql);
    }

    void ParameterNamesOutsideQuotesOnceEach() {
        QCOMPARE(ParamNames("SELECT * FROM Call WHERE Nr = :Nr AND Note <> ':Not' "
                            "AND \"a:b\" = :nr OR Worker = :Worker_2"),
                 QStringList({"Nr", "Worker_2"}));
    }

    void AUnionInsideTextIsNoCompound() {
        QVERIFY(IsCompound("SELECT a FROM s union all SELECT a FROM t"));
        QVERIFY(!IsCompound("SELECT a FROM s WHERE a = 'UNION' OR \"EXCEPT\" = 1"));
        QVERIFY(!IsCompound("SELECT Reunion FROM s"));
    }
};

QTEST_GUILESS_MAIN(TestUQuerySql)
#include "tst_UQuerySql.moc"
