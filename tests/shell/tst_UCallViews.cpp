// The call views as texts. What each view shows on real calls, with its
// title, is tried in tst_FLists; here what the rows there cannot show.

#include "data/DMTables.h"
#include "shell/UCallViews.h"

#include <QtTest>

using namespace UCallViews;

class TestUCallViews : public QObject {
    Q_OBJECT
private:
    const QString Q = DMTables::SqlCallsListText();

    // The view that stands when the view's parameter is missing.
    TCallView AllCalls() const { return {"All Calls", Q, "", false}; }

private Q_SLOTS:
    // A parameter given to a view that takes none changes nothing (what each
    // status view filters is seen in the lists' test).
    void ParametersOnlyWhereTheViewTakesOne() {
        const TCallViewParameters parameters{"W01", QDate(2007, 3, 1), 3, true};
        for (int sub = 0; sub <= 6; ++sub)
            QCOMPARE(CallView(sub, Q, parameters), CallView(sub, Q));
        for (int sub : {int(cvAllCalls), 11, 42, -7})
            QCOMPARE(CallView(sub, Q), AllCalls());

        // Views that take a parameter show all calls without it.
        QVERIFY(Q.endsWith("\r\n")); // a clause appended starts a line of its own
        // A quote in the worker number cannot end the literal early.
        QCOMPARE(CallView(cvByWorker, Q, {.WorkerNr = "O'Neil"}).QueryText,
                 Q + "WHERE WorkerNr ='O''Neil'");
        QCOMPARE(CallView(cvByWorker, Q, {.WorkerNr = ""}), AllCalls());
        QCOMPARE(CallView(cvByMonth, Q, {}), AllCalls());
        QCOMPARE(CallView(cvCompleteByMonth, Q, {}), AllCalls());
        QCOMPARE(CallView(cvByPriority, Q, {.Priority = 3, .HasPriority = true}).QueryText,
                 Q + " WHERE Priority=3");
        QCOMPARE(CallView(cvByPriority, Q, {.Priority = 3}), AllCalls());
    }

    // Month texts are the program's stored form whatever the user's language.
    void MonthEndsOnItsLastDay_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        auto row = [](const char* name, QDate day, const char* start, const char* end) {
            QTest::newRow(name) << day << QString(start) << QString(end);
        };
        row("leap February", {2008, 2, 29}, "02/01/2008 00:00:00", "02/29/2008 23:59:59");
        row("century not leap", {1900, 2, 1}, "02/01/1900 00:00:00", "02/28/1900 23:59:59");
        row("December", {2009, 12, 31}, "12/01/2009 00:00:00", "12/31/2009 23:59:59");
    }
    void MonthEndsOnItsLastDay() {
        QFETCH(QDate, day);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
        const QStringList texts = {MonthStartText(day), MonthEndText(day)};
        QLocale::setDefault(QLocale::c());
        QCOMPARE(texts, QStringList({start, end}));
    }
};

QTEST_GUILESS_MAIN(TestUCallViews)
#include "tst_UCallViews.moc"
