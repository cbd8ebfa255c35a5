// The compact row store: every kind of value kept through inserts,
// replacements, removals and re-ordering, in bounded memory.

#include "data/engine/TRowStore.h"

#include <QtTest>

class TestTRowStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void KeepsEveryKindOfValueThroughInsertReplaceRemoveAndReorder() {
        TRowStore store(4);
        const QString longText(300, QChar(0x00e9)); // beyond one-byte lengths
        store.Append(QVariantList{"A", qint64(-5), 2.5, QVariant()});
        store.Append(QVariantList{"", qint64(1) << 40, QVariant(), longText});
        store.Insert(1, QVariantList{"mid", qint64(0), -0.5, QByteArray("\0x", 2)});
        QCOMPARE(store.Count(), 3);
        QCOMPARE(store.Record(0), (QVariantList{"A", qint64(-5), 2.5, QVariant()}));
        QCOMPARE(store.Value(1, 3), QVariant(QByteArray("\0x", 2)));
        QCOMPARE(store.Value(2, 1), QVariant(qint64(1) << 40));
        QCOMPARE(store.Value(2, 3).toString(), longText);
        QVERIFY(!store.Cell(2, 0).IsNull());
        QVERIFY(store.Cell(2, 0).IsBlank());
        QVERIFY(store.Cell(0, 3).IsNull());

        const quint64 first = store.RowId(0);
        store.Replace(1, QVariantList{"changed", qint64(7), QVariant(), "x"});
        QCOMPARE(store.Value(1, 0), QVariant("changed"));
        store.Permute({2, 1, 0});
        QCOMPARE(store.Find(first), 2);
        QCOMPARE(store.Value(0, 0), QVariant(""));
        store.Remove(1);
        QCOMPARE(store.Count(), 2);
        QCOMPARE(store.Value(1, 0), QVariant("A"));
        QCOMPARE(store.Cell(5, 0).Kind, TCell::Null);
    }

    void ManyReplacementsDoNotGrowWithoutBound() {
        TRowStore store(1);
        for (int i = 0; i < 1000; ++i)
            store.Append(QVariantList{QString(100, 'x')});
        const qint64 before = store.MemoryUsage();
        for (int round = 0; round < 200; ++round)
            for (int i = 0; i < 1000; ++i)
                store.Replace(i, QVariantList{QString(100, QChar('a' + round % 26))});
        QVERIFY2(store.MemoryUsage() < before + 16 * (1 << 20),
                 qPrintable(QString::number(store.MemoryUsage())));
        QCOMPARE(store.Value(999, 0), QVariant(QString(100, QChar('a' + 199 % 26))));
    }
};

QTEST_GUILESS_MAIN(TestTRowStore)
#include "tst_TRowStore.moc"
