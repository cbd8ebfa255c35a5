// The order of stored values, which must be the order SQLite gives with
// ORDER BY value COLLATE NOCASE, key (a query sorted in memory and one sorted
// by SQL show the same rows), and the matching rules of Locate.

#include "data/engine/TRowStore.h"
#include "data/engine/UCellCompare.h"
#include "support/TestSupport.h"

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

// Values of every kind, with ties in letter case, numbers equal as integer
// and as float, number-like texts and texts beyond ASCII.
QVariantList MixedValues() {
    QVariantList values = {QVariant(), qint64(-7), qint64(0), -0.0,
                           2.5,        qint64(3),  3.0,       qint64(1) << 40};
    // The Kelvin sign is not folded by NOCASE.
    for (const char* text : {"", "a", "A", "ab", "aB", "b", "Z", "z", "10", "9", "k", "\u212a",
                             "\u00e9mile", "\u00c9mile", "Zed"})
        values << QString::fromUtf8(text);
    return values << QByteArray("\0", 1) << QByteArray("A") << QByteArray("a");
}

// A value as an SQL literal of its own kind.
QString Literal(const QVariant& value) {
    if (value.isNull())
        return QStringLiteral("NULL");
    if (value.typeId() == QMetaType::LongLong)
        return QString::number(value.toLongLong());
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'e', 17); // a REAL, every digit kept
    if (value.typeId() == QMetaType::QByteArray)
        return "X'" + QString::fromLatin1(value.toByteArray().toHex()) + "'";
    return "'" + value.toString().replace('\'', "''") + "'";
}

// The rows in the order SQLite gives them for `orderBy` over the columns
// v0, v1, ... (ties by i, the order they were read in): element i is the row
// that comes i-th.
std::vector<qint64> SqliteOrder(const QList<QVariantList>& rows, const QString& orderBy) {
    QStringList names = {"i"};
    QStringList values;
    for (int c = 0; c < rows.value(0).size(); ++c)
        names << QStringLiteral("v%1").arg(c);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QStringList literals = {QString::number(i)};
        for (const QVariant& value : rows[i])
            literals << Literal(value);
        values << "(" + literals.join(", ") + ")";
    }
    TestSupport::TTempDatabase db;
    auto select = db.PrepareNative("WITH t(" + names.join(", ") + ") AS (VALUES " +
                                   values.join(", ") + ") SELECT i FROM t ORDER BY " + orderBy);
    std::vector<qint64> order;
    while (select->Step())
        order.push_back(select->Integer(0));
    return order;
}

std::vector<qint64> StoreOrder(const QList<QVariantList>& rows, const QList<int>& columns,
                               bool descending) {
    TRowStore store(int(rows.value(0).size()));
    for (const QVariantList& row : rows)
        store.Append(row);
    return UCellCompare::SortedOrder(store, columns, descending);
}

} // namespace

class TestUCellCompare : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every value against every other, each several times under keys that
    // differ in letter case (the key compares as it is), both directions, and
    // without a key (ties stay in the order the rows were read). The sort goes
    // by sort keys, which the next test holds to Compare, pair by pair:
    // together they hold Compare to SQLite's order.
    void SortsAsSqliteOrdersByNoCaseThenKey() {
        const QVariantList values = MixedValues();
        QList<QVariantList> rows;
        for (int copy = 0; copy < 3; ++copy) {
            for (qsizetype i = 0; i < values.size(); ++i) {
                const QString key = QStringLiteral("%1%2")
                                        .arg(QChar((i + copy) % 2 ? 'K' : 'k'))
                                        .arg((values.size() - i) * 3 + copy, 3, 10, QChar('0'));
                rows.append({values[i], key});
            }
        }
        QCOMPARE(StoreOrder(rows, {0, 1}, false), SqliteOrder(rows, "v0 COLLATE NOCASE, v1"));
        QCOMPARE(StoreOrder(rows, {0, 1}, true), SqliteOrder(rows, "v0 COLLATE NOCASE DESC, v1"));
        QCOMPARE(StoreOrder(rows, {0}, false), SqliteOrder(rows, "v0 COLLATE NOCASE, i"));
        QCOMPARE(StoreOrder(rows, {0}, true), SqliteOrder(rows, "v0 COLLATE NOCASE DESC, i"));
    }

    void SortKeysOrderAsTheComparisonDoes() {
        QVariantList values = MixedValues();
        values << QByteArray("\0", 1) + "x" << QByteArray("\xff");
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
        QVERIFY(Finds("kelvin", QString::fromUtf8("\u212aelvin"), TFieldType::String, true));
        // Blank finds blank; as a partial key it finds anything.
        QVERIFY(Finds("", QVariant()));
        QVERIFY(Finds(QVariant(), ""));
        QVERIFY(!Finds("", "x"));
        QVERIFY(Finds("", "x", TFieldType::String, false, true));
        // Numbers, booleans, times in their stored form.
        QVERIFY(Finds(5, qint64(5), TFieldType::Integer));
        QVERIFY(Finds("5.0", qint64(5), TFieldType::Integer));
        QVERIFY(Finds(5, "5.0", TFieldType::Integer)); // a number stored as text
        QVERIFY(!Finds(5, "5 apples", TFieldType::Integer));
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

QTEST_GUILESS_MAIN(TestUCellCompare)
#include "tst_UCellCompare.moc"
