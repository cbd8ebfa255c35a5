#include "data/engine/TRowStore.h"
#include "data/engine/UCellCompare.h"

#include <QtTest>

using UCellCompare::TSearchValue;

namespace {

bool Finds(const QVariant& search, const QVariant& stored, TFieldType type = TFieldType::String,
           bool caseInsensitive = false, bool partial = false) {
    QByteArray holder;
    return TSearchValue(search, type, caseInsensitive, partial)
        .Matches(TCell::FromVariant(stored, holder));
}

// Whether a text lies in one of the ranges, compared as the index would.
bool InRanges(const QString& text, const QList<TTextRange>& ranges, bool noCase) {
    QByteArray bytes = text.toUtf8();
    if (noCase)
        bytes = bytes.toLower(); // ASCII letters only, as NOCASE
    for (const TTextRange& range : ranges) {
        if (bytes >= range.From && (range.To.isEmpty() || bytes < range.To))
            return true;
    }
    return false;
}

int Compare(const QVariant& a, const QVariant& b) {
    QByteArray ha;
    QByteArray hb;
    return UCellCompare::Compare(TCell::FromVariant(a, ha), TCell::FromVariant(b, hb));
}

} // namespace

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

    void OrdersLikeTheNoCaseCollation() {
        QVERIFY(Compare(QVariant(), qint64(-100)) < 0);
        QVERIFY(Compare(qint64(10), 9.5) > 0);
        QVERIFY(Compare(qint64(999), "1") < 0); // numbers before text
        QVERIFY(Compare("apple", "Banana") < 0);
        QCOMPARE(Compare("ABC", "abc"), 0);
        QVERIFY(Compare("ab", "abc") < 0);
        QVERIFY(Compare("Z", QString(QChar(0x00e9))) < 0); // non-ASCII by code point
    }

    void SortKeysOrderAsTheComparisonDoes() {
        const QVariantList values{QVariant(),
                                  qint64(-7),
                                  qint64(0),
                                  -0.0,
                                  2.5,
                                  qint64(3),
                                  qint64(1) << 40,
                                  "",
                                  "a",
                                  "A",
                                  "ab",
                                  "aB c",
                                  "b",
                                  "Z",
                                  QString(QChar(0x00e9)),
                                  QByteArray("\0", 1),
                                  QByteArray()};
        auto key = [](const QVariant& v, bool descending, bool noCase = true) {
            QByteArray holder;
            std::string k;
            UCellCompare::AppendSortKey(k, TCell::FromVariant(v, holder), descending, noCase);
            return k;
        };
        auto sign = [](int c) { return c < 0 ? -1 : (c > 0 ? 1 : 0); };
        for (const QVariant& a : values) {
            for (const QVariant& b : values) {
                const int expected = sign(Compare(a, b));
                QCOMPARE(sign(key(a, false).compare(key(b, false))), expected);
                QCOMPARE(sign(key(a, true).compare(key(b, true))), -expected);
                // Two cells: by the first, then by the second (case kept).
                const std::string ka = key(a, false) + key("x", false, false);
                const std::string kb = key(b, false) + key("X", false, false);
                QCOMPARE(sign(ka.compare(kb)), expected != 0 ? expected : 1);
            }
        }
    }

    void LocateMatchesWholeOrPartialWithOrWithoutCase() {
        QVERIFY(Finds("Smith", "Smith"));
        QVERIFY(!Finds("smith", "Smith"));
        QVERIFY(Finds("smith", "Smith", TFieldType::String, true));
        QVERIFY(!Finds("Smi", "Smith"));
        QVERIFY(Finds("Smi", "Smith", TFieldType::String, false, true));
        QVERIFY(Finds("smi", "SMITHERS", TFieldType::String, true, true));
        QVERIFY(!Finds("smix", "SMITHERS", TFieldType::String, true, true));
        QVERIFY(!Finds("Smithers", "Smith", TFieldType::String, true, true));
        // Letters outside ASCII fold too.
        QVERIFY(Finds(QString::fromUtf8("\xc3\xa9t\xc3\xa9"),
                      QString::fromUtf8("\xc3\x89T\xc3\x89 2"), TFieldType::String, true, true));
        QVERIFY(!Finds(QString::fromUtf8("\xc3\xa9t\xc3\xa9"),
                       QString::fromUtf8("\xc3\x89T\xc3\x89"), TFieldType::String, false, false));
        // Blank finds blank; as a partial key it finds anything.
        QVERIFY(Finds("", QVariant()));
        QVERIFY(Finds(QVariant(), ""));
        QVERIFY(!Finds("", "x"));
        QVERIFY(Finds("", "x", TFieldType::String, false, true));
        // Numbers, booleans, times in their stored form.
        QVERIFY(Finds(5, qint64(5), TFieldType::Integer));
        QVERIFY(Finds("5.0", qint64(5), TFieldType::Integer));
        QVERIFY(Finds("12", qint64(123), TFieldType::Integer, false, true));
        QVERIFY(Finds(true, "True", TFieldType::Boolean));
        QVERIFY(Finds("false", "False", TFieldType::Boolean));
        QVERIFY(Finds(QDateTime(QDate(2024, 3, 1), QTime(8, 0)), "2024-03-01 08:00:00",
                      TFieldType::DateTime));
    }

    void IndexRangesHoldEveryTextASearchMatches() {
        // The ranges allow for the only characters beyond ASCII that fold to
        // an ASCII one; a change in Qt's folding tables must show here.
        QString foldingToAscii;
        for (char32_t c = 0x80; c < 0x110000; ++c) {
            const QString folded = QString::fromUcs4(&c, 1).toCaseFolded();
            if (!folded.isEmpty() && folded[0].unicode() < 0x80)
                foldingToAscii += QString::fromUcs4(&c, 1);
        }
        QCOMPARE(foldingToAscii, QString::fromUtf8("\u017f\u212a"));

        const QStringList texts = {"Smith",      "SMITHERS",    "smi",    "Sm",        "s",
                                   "\u017fmith", "\u212aelvin", "kelvin", "K\u00e9",   "\u00c9mile",
                                   "\u00e9mile", "Zed",         "",       "Smith & Co"};
        int asked = 0;
        for (const char* search : {"smi", "Smith", "kel", "k", "\u00e9mi", "S", "sMiTh "}) {
            for (const bool caseInsensitive : {false, true}) {
                for (const bool partial : {false, true}) {
                    for (const bool noCase : {false, true}) {
                        const TSearchValue value(QString::fromUtf8(search), TFieldType::String,
                                                 caseInsensitive, partial);
                        QList<TTextRange> ranges;
                        if (!value.TextRanges(noCase, ranges))
                            continue;
                        ++asked;
                        for (const QString& text : texts) {
                            QByteArray holder;
                            if (value.Matches(TCell::FromVariant(text, holder)))
                                QVERIFY2(InRanges(text, ranges, noCase),
                                         qPrintable(QString("%1 for %2").arg(text, search)));
                        }
                    }
                }
            }
        }
        QCOMPARE(asked, 52); // all but a search beginning beyond ASCII, without regard to case
        QList<TTextRange> ranges;
        QVERIFY(!TSearchValue("", TFieldType::String, true, true).TextRanges(true, ranges));
        QVERIFY(!TSearchValue(5, TFieldType::Integer, false, false).TextRanges(false, ranges));
    }
};

QTEST_GUILESS_MAIN(TestTRowStore)
#include "tst_TRowStore.moc"
