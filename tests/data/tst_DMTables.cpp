#include "data/DMTables.h"

#include <QtTest>

// The table definitions; how their statements run is tried in tst_USqlDialect.
class TestDMTables : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void TablesAreFoundByAnySpellingAndTheCallsListEndsEveryLine() {
        const DMTables::TTableDef* item = DMTables::FindTableDef(QStringLiteral("Item"));
        QVERIFY(item);
        QCOMPARE(DMTables::FindTableDef(QStringLiteral("ITEM.DB")), item);
        QCOMPARE(DMTables::FindTableDef(QStringLiteral("callcomments"))->Name, "CallComments");
        QVERIFY(!DMTables::FindTableDef(QStringLiteral("Items")));
        QVERIFY(!DMTables::FindTableDef(QStringLiteral(".db")));

        // The call views append their WHERE clause straight after the last line.
        const QString text = DMTables::SqlCallsListText();
        QVERIFY(text.endsWith(QLatin1String("\r\n")));
        QCOMPARE(text.count(QLatin1Char('\n')), text.count(QStringLiteral("\r\n")));
        QVERIFY(!DMTables::SqlCallText().contains(QLatin1Char('\r')));
    }
};

QTEST_GUILESS_MAIN(TestDMTables)
#include "tst_DMTables.moc"
