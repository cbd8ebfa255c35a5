#include "data/DMTables.h"

#include <QtTest>

// The SQL texts themselves; how they run is tried in tst_USqlDialect.
class TestDMTables : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void TablesInCreationOrder() {
        QStringList names;
        for (const DMTables::TTableDef& def : DMTables::TableDefs()) {
            names.append(QString::fromLatin1(def.Name));
            QCOMPARE(QString::fromLatin1(def.File), QString::fromLatin1(def.Name) + ".db");
            QVERIFY2(QString::fromLatin1(def.CreateSql)
                         .startsWith(QStringLiteral("CREATE TABLE '%1' (  ").arg(def.File)),
                     def.CreateSql);
            QVERIFY2(QString::fromLatin1(def.CreateSql).endsWith(QLatin1String("));")),
                     def.CreateSql);
        }
        QCOMPARE(names, QStringList({"Call", "CallComments", "Customer", "Item", "Representative",
                                     "ServiceContract", "StateTimes", "Worker"}));
    }

    void FindsTablesByAnySpelling() {
        const DMTables::TTableDef* item = DMTables::FindTableDef(QStringLiteral("Item"));
        QVERIFY(item);
        QCOMPARE(DMTables::FindTableDef(QStringLiteral("ITEM.DB")), item);
        QCOMPARE(DMTables::FindTableDef(QStringLiteral("item.db")), item);
        QCOMPARE(QString::fromLatin1(DMTables::FindTableDef(QStringLiteral("callcomments"))->Name),
                 QStringLiteral("CallComments"));
        QVERIFY(!DMTables::FindTableDef(QStringLiteral("Items")));
        QVERIFY(!DMTables::FindTableDef(QStringLiteral(".db")));
    }

    void CallQueryLayout() {
        const QStringList lines = DMTables::SqlCallText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 8);
        for (int i = 0; i < lines.size(); ++i)
            QVERIFY2(lines[i].startsWith(QLatin1Char('\t')) == (i >= 1 && i <= 3),
                     qPrintable(lines[i]));
        QCOMPARE(lines[2], QStringLiteral("\t(W.Name || \" \"|| W.Surname) AS Worker, "));
        QVERIFY(!DMTables::SqlCallText().contains(QLatin1Char('\r')));
    }

    // The call views append their WHERE clause straight after the last line.
    void CallsListTextEndsEveryLine() {
        const QString text = DMTables::SqlCallsListText();
        QVERIFY(text.endsWith(QLatin1String("W.WorkerNR)\r\n")));
        QStringList lines = text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.size(), 5);
        QCOMPARE(text.count(QLatin1Char('\n')), text.count(QStringLiteral("\r\n")));
        QVERIFY(lines[0].contains(QLatin1String("C.EquipmentSerialNr,   (I.Brand")));
        QVERIFY(lines[0].endsWith(QLatin1String(", C.Priority, C.Billed")));
        QCOMPARE(lines[0].count(QLatin1Char('\t')), 2);
        // Same tables and joins as sqlCall.
        const QStringList callLines = DMTables::SqlCallText().split(QLatin1Char('\n'));
        QCOMPARE(lines.mid(1), callLines.mid(4));
    }
};

QTEST_GUILESS_MAIN(TestDMTables)
#include "tst_DMTables.moc"
