#include "data/engine/TDatabase.h"
#include "data/engine/TFilterExpr.h"

#include <QtTest>

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
    void TheCallViewFiltersSelectExactlyTheirRows() {
        const QVariantList newCall{"New", "False", qint64(1)};
        const QVariantList busy{"Busy", "False", qint64(2)};
        const QVariantList completeBilled{"Complete", "True", qint64(1)};
        const QVariantList completeUnbilled{"Complete", "False", qint64(3)};
        const QVariantList awaiting{"Awaiting Parts", Null, qint64(1)};

        QVERIFY(Passes("Status='New'", newCall));
        QVERIFY(!Passes("Status='New'", busy));
        // Exact: neither another case nor a longer text.
        QVERIFY(!Passes("Status='new'", newCall));
        QVERIFY(!Passes("Status='Awaiting'", awaiting));
        QVERIFY(Passes("Status='Awaiting Parts'", awaiting));

        QVERIFY(Passes("Status<>'Complete'", newCall));
        QVERIFY(!Passes("Status<>'Complete'", completeBilled));

        // The text as the views write it, without a blank before "and".
        const QString notBilled = "Status='Complete'and Billed='False'";
        QVERIFY(Passes(notBilled, completeUnbilled));
        QVERIFY(!Passes(notBilled, completeBilled));
        QVERIFY(!Passes(notBilled, newCall));
    }

    void CombinesWithPrecedenceParenthesesAndNot() {
        const QVariantList busy{"Busy", "False", qint64(2)};
        // AND binds tighter than OR.
        QVERIFY(Passes("Status='New' OR Status='Busy' AND Priority=2", busy));
        QVERIFY(!Passes("(Status='New' OR Status='Busy') AND Priority=3", busy));
        QVERIFY(Passes("NOT (Status='New')", busy));
        QVERIFY(Passes("status = \"Busy\" and PRIORITY >= 2 and priority < 3", busy));
        QVERIFY(Passes("[Status]='Busy'", busy));
        QVERIFY(Passes("Status='It''s'", {"It's", Null, Null}));
    }

    void ComparesNumbersAsNumbersAndBlanksAsEmpty() {
        QVERIFY(Passes("Priority=2", {"x", Null, qint64(2)}));
        QVERIFY(Passes("Priority='2'", {"x", Null, qint64(2)}));
        QVERIFY(Passes("Priority>9", {"x", Null, qint64(10)})); // not "10" < "9"
        QVERIFY(Passes("Status=''", {Null, Null, Null}));
        QVERIFY(Passes("Status=''", {"", Null, Null}));
        QVERIFY(Passes("Status=NULL", {"", Null, Null}));
        QVERIFY(Passes("Status<>NULL", {"New", Null, Null}));
        QVERIFY(!Passes("Billed='False'", {"New", Null, Null}));
        QVERIFY(Passes("Billed='false'", {"New", "False", Null}));
    }

    void ReadsOnlyPlainDecimalTextAsANumber() {
        const QVariantList one{"x", Null, qint64(1)};
        QVERIFY(!Passes("Priority='nan'", one));
        QVERIFY(Passes("Priority<>'nan'", one));
        QVERIFY(!Passes("Priority='NaN'", one));
        QVERIFY(!Passes("Priority=1", {"x", Null, "nan"}));
        QVERIFY(Passes("Priority<>1", {"x", Null, "nan"}));
        QVERIFY(!Passes("Priority='0x1'", one));
        // Numbers still: blanks around, a sign, a point, an exponent.
        QVERIFY(Passes("Priority=' 1 '", one));
        QVERIFY(Passes("Priority='+1.0'", one));
        QVERIFY(Passes("Priority='1e0'", one));
        QVERIFY(Passes("Priority='.1e1'", one));
        QVERIFY(Passes("Priority<'+2'", one));   // though as texts "1" > "+2"
        QVERIFY(Passes("Priority>'1E-1'", one)); // and "1" < "1E-1"
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
        try {
            TFilterExpr::Parse("Status='50%1");
            QFAIL("no error");
        } catch (const EDatabaseError& e) {
            QCOMPARE(e.Message(),
                     QString("Invalid filter \"Status='50%1\": unterminated text at position 8"));
        }
        try {
            TFilterExpr::Parse("Status=%2");
            QFAIL("no error");
        } catch (const EDatabaseError& e) {
            QCOMPARE(e.Message(),
                     QString("Invalid filter \"Status=%2\": unexpected '%' at position 8"));
        }
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
            try {
                TFilterExpr::Parse(deep);
                QFAIL("no error");
            } catch (const EDatabaseError& e) {
                QVERIFY(e.Message().startsWith("Invalid filter"));
                QVERIFY(e.Message().contains("nested too deeply"));
            }
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
