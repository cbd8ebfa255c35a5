#include "data/engine/TDatabase.h"
#include "data/engine/TFilterExpr.h"
#include "support/TestSupport.h"

#include <QtTest>

using TestSupport::ErrorOf;

namespace {

// Rows of the calls view: Status (text), Billed (boolean), Priority (integer).
const QStringList Names{"Status", "Billed", "Priority"};
const QList<TFieldType> Types{TFieldType::String, TFieldType::Boolean, TFieldType::Integer};

TFilterExpr Bound(const QString& text) {
    TFilterExpr expr = TFilterExpr::Parse(text);
    expr.Bind([](const QString& name, TFieldType& type) {
        for (int i = 0; i < Names.size(); ++i) {
            if (Names[i].compare(name, Qt::CaseInsensitive) == 0) {
                type = Types[i];
                return i;
            }
        }
        return -1;
    });
    return expr;
}

bool Passes(const QString& filter, const QVariantList& row) {
    return Bound(filter).Matches(TRecordRow(row));
}

const QVariant Null;

} // namespace

class TestTFilterExpr : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void Selects_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QVariantList>("row");
        QTest::addColumn<bool>("passes");
        const QVariantList newCall{"New", "False", qint64(1)};
        const QVariantList busy{"Busy", "False", qint64(2)};
        const QVariantList completeBilled{"Complete", "True", qint64(1)};
        const QVariantList awaiting{"Awaiting Parts", Null, qint64(1)};
        const QVariantList one{"x", Null, qint64(1)};
        const QVariantList nan{"x", Null, "nan"};
        // The text as the views write it, without a blank before "and".
        const QString notBilled = "Status='Complete'and Billed='False'";
        const struct {
            const char* tag;
            QString filter;
            QVariantList row;
            bool passes;
        } rows[] = {
            // The call views' filters select exactly their rows; texts are
            // compared exactly: neither another case nor a longer text.
            {"equal", "Status='New'", newCall, true},
            {"not equal", "Status='New'", busy, false},
            {"other case", "Status='new'", newCall, false},
            {"prefix", "Status='Awaiting'", awaiting, false},
            {"with blank", "Status='Awaiting Parts'", awaiting, true},
            {"<>", "Status<>'Complete'", newCall, true},
            {"<> same", "Status<>'Complete'", completeBilled, false},
            {"view: unbilled", notBilled, {"Complete", "False", qint64(3)}, true},
            {"view: billed", notBilled, completeBilled, false},
            {"view: new", notBilled, newCall, false},
            // AND binds tighter than OR.
            {"precedence", "Status='New' OR Status='Busy' AND Priority=2", busy, true},
            {"parentheses", "(Status='New' OR Status='Busy') AND Priority=3", busy, false},
            {"NOT", "NOT (Status='New')", busy, true},
            {"names in any case", "status = \"Busy\" and PRIORITY >= 2 and priority < 3", busy,
             true},
            {"brackets", "[Status]='Busy'", busy, true},
            // Both sides read one column: the first cell read must stay valid.
            {"one field twice", "Status=[Status] and Status<>'Complete'", busy, true},
            {"doubled quote", "Status='It''s'", {"It's", Null, Null}, true},
            // Numbers as numbers, blanks as empty.
            {"number", "Priority=2", {"x", Null, qint64(2)}, true},
            {"number as text", "Priority='2'", {"x", Null, qint64(2)}, true},
            {"not \"10\" < \"9\"", "Priority>9", {"x", Null, qint64(10)}, true},
            {"NULL is empty", "Status=''", {Null, Null, Null}, true},
            {"empty", "Status=''", {"", Null, Null}, true},
            {"=NULL", "Status=NULL", {"", Null, Null}, true},
            {"<>NULL", "Status<>NULL", {"New", Null, Null}, true},
            {"NULL boolean", "Billed='False'", {"New", Null, Null}, false},
            {"boolean any case", "Billed='false'", {"New", "False", Null}, true},
            // Only plain decimal text is a number (how the text is read: tst_TDataSet).
            {"nan", "Priority='nan'", one, false},
            {"<> nan", "Priority<>'nan'", one, true},
            {"NaN", "Priority='NaN'", one, false},
            {"nan cell", "Priority=1", nan, false},
            {"<> nan cell", "Priority<>1", nan, true},
            {"sign, point", "Priority='+1.0'", one, true},
            {"leading point", "Priority='.1e1'", one, true},
            {"though \"1\" > \"+2\"", "Priority<'+2'", one, true},
            {"though \"1\" < \"1E-1\"", "Priority>'1E-1'", one, true},
        };
        for (const auto& r : rows)
            QTest::newRow(r.tag) << r.filter << r.row << r.passes;
    }

    void Selects() {
        QFETCH(QString, filter);
        QFETCH(QVariantList, row);
        QFETCH(bool, passes);
        QCOMPARE(Passes(filter, row), passes);
    }

    void RefusesTextItCannotRead() {
        for (const char* text :
             {"Status=", "Status='New", "Status 'New'", "(Status='New'", "Status='New' AND",
              "'New'='New'", "Status='New' Billed='x'", "Status # 'New'"})
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, TFilterExpr::Parse(text));
        QVERIFY(TFilterExpr::Parse("  ").IsEmpty());
        QVERIFY(TFilterExpr::Parse("  ").Matches(TRecordRow({})));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, Bound("Nothing='x'"));
        QCOMPARE(TFilterExpr::Parse("Status='a' or (Billed='b' and status='c')").FieldNames(),
                 QStringList({"Status", "Billed"}));
    }

    void TheMessageQuotesTheFilterAsWritten() {
        // A "%1" of the filter's own stays as it is.
        QCOMPARE(ErrorOf<EDatabaseError>([] { TFilterExpr::Parse("Status='50%1"); }),
                 QString("Invalid filter \"Status='50%1\": unterminated text at position 8"));
        QCOMPARE(ErrorOf<EDatabaseError>([] { TFilterExpr::Parse("Status=%2"); }),
                 QString("Invalid filter \"Status=%2\": unexpected '%' at position 8"));
    }

    void RefusesDeepNestingAndReadsLongChains() {
        const QVariantList newCall{"New", "False", qint64(1)};
        const QString status = "Status='New'";
        // Up to 200 levels of parentheses and NOT.
        QVERIFY(Passes(QString("(").repeated(200) + status + QString(")").repeated(200), newCall));
        QVERIFY(Passes(QString("NOT ").repeated(200) + status, newCall));
        QVERIFY(!Passes(QString("NOT ").repeated(199) + status, newCall));
        QVERIFY(
            Passes(QString("(NOT ").repeated(100) + status + QString(")").repeated(100), newCall));
        for (const QString& deep :
             {QString("(").repeated(201) + status + QString(")").repeated(201),
              QString("NOT ").repeated(201) + status,
              QString("(NOT ").repeated(101) + status + QString(")").repeated(101),
              QString("(").repeated(10000) + status + QString(")").repeated(10000),
              QString("NOT ").repeated(10000) + status, QString("(").repeated(10000)}) {
            const QString error = ErrorOf<EDatabaseError>([&] { TFilterExpr::Parse(deep); });
            QVERIFY(error.startsWith("Invalid filter") && error.contains("nested too deeply"));
        }

        // Long chains of AND and OR are no deeper than one comparison.
        const QVariantList secondPriority{"New", "False", qint64(2)};
        const TFilterExpr ands =
            Bound(QString("Status='New' AND ").repeated(100000) + "Priority=1");
        QVERIFY(ands.Matches(TRecordRow(newCall)));
        QVERIFY(!ands.Matches(TRecordRow(secondPriority)));
        const TFilterExpr ors = Bound(QString("Status='Busy' OR ").repeated(100000) + "Priority=1");
        QVERIFY(ors.Matches(TRecordRow(newCall)));
        QVERIFY(!ors.Matches(TRecordRow(secondPriority)));
        const TFilterExpr mixed =
            Bound(QString("(Status='Busy' OR Priority=1) AND ").repeated(20000) + "Billed='False'");
        QVERIFY(mixed.Matches(TRecordRow(newCall)));
        QVERIFY(!mixed.Matches(TRecordRow(secondPriority)));
        QCOMPARE(mixed.FieldNames(), QStringList({"Status", "Priority", "Billed"}));
    }
};

QTEST_GUILESS_MAIN(TestTFilterExpr)
#include "tst_TFilterExpr.moc"
