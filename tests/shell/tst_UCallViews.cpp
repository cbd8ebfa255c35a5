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
    void StatusViewsFilterTheWholeQuery_data() {
        QTest::addColumn<int>("sub");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        auto row = [](const char* name, int sub, const char* title, const char* filter) {
            QTest::newRow(name) << sub << QString(title) << QString(filter);
        };
        row("New", 0, "New Calls", "Status='New'");
        row("Busy", 1, "Busy Calls", "Status='Busy'");
        row("Pending", 2, "Incomplete Calls", "Status='Pending'");
        row("Awaiting parts", 3, "Calls awaiting parts", "Status='Awaiting Parts'");
        row("Complete", 4, "Complete Calls", "Status='Complete'");
        row("Not complete", 5, "Calls not complete", "Status<>'Complete'");
        row("Not billed", 6, "Complete but not billed Calls",
            "Status='Complete'and Billed='False'");
    }
    void StatusViewsFilterTheWholeQuery() {
        QFETCH(int, sub);
        QFETCH(QString, title);
        QFETCH(QString, filter);
        // A parameter given to a view that takes none changes nothing.
        TCallViewParameters parameters{"W01", QDate(2007, 3, 1), 3, true};
        QCOMPARE(CallView(sub, Q, parameters), (TCallView{title, Q, filter, true}));
    }

    void CallsNodeAndUnknownIndexesShowAllCalls() {
        for (int sub : {int(cvAllCalls), 11, 42, -7})
            QCOMPARE(CallView(sub, Q), AllCalls());
    }

    void ByWorkerAppendsAClauseOnALineOfItsOwn() {
        QVERIFY(Q.endsWith("\r\n"));
        const TCallView view = CallView(cvByWorker, Q, {.WorkerNr = "W01"});
        QCOMPARE(view, (TCallView{"Calls by worker", Q + "WHERE WorkerNr ='W01'", "", false}));

        // A quote in the worker number cannot end the literal early.
        QCOMPARE(CallView(cvByWorker, Q, {.WorkerNr = "O'Neil"}).QueryText,
                 Q + "WHERE WorkerNr ='O''Neil'");

        QCOMPARE(CallView(cvByWorker, Q, {.WorkerNr = ""}), AllCalls());
    }

    void MonthViewsCoverTheWholeMonth() {
        const TCallView march = CallView(cvByMonth, Q, {.Month = QDate(2007, 3, 17)});
        QCOMPARE(march, (TCallView{"Calls by month",
                                   Q + " WHERE Date_Time BETWEEN '03/01/2007 00:00:00' AND "
                                       "'03/31/2007 23:59:59'",
                                   "", false}));

        const TCallView completed = CallView(cvCompleteByMonth, Q, {.Month = QDate(2007, 3, 1)});
        QCOMPARE(completed, (TCallView{"Completed Calls by month",
                                       Q + " WHERE (Date_Time BETWEEN '03/01/2007 00:00:00' AND "
                                           "'03/31/2007 23:59:59') AND (Status='Complete')",
                                       "", false}));

        QCOMPARE(CallView(cvByMonth, Q, {}), AllCalls());
        QCOMPARE(CallView(cvCompleteByMonth, Q, {}), AllCalls());
    }

    void MonthEndsOnItsLastDay_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::newRow("leap February") << QDate(2008, 2, 29) << "02/01/2008 00:00:00"
                                       << "02/29/2008 23:59:59";
        QTest::newRow("century not leap") << QDate(1900, 2, 1) << "02/01/1900 00:00:00"
                                          << "02/28/1900 23:59:59";
        QTest::newRow("December") << QDate(2009, 12, 31) << "12/01/2009 00:00:00"
                                  << "12/31/2009 23:59:59";
    }
    void MonthEndsOnItsLastDay() {
        QFETCH(QDate, day);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QCOMPARE(MonthStartText(day), start);
        QCOMPARE(MonthEndText(day), end);
    }

    void MonthTextsIgnoreTheUsersLanguage() {
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
        const QString end = MonthEndText(QDate(2007, 3, 5));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(end, QString("03/31/2007 23:59:59"));
    }

    void ByPriorityComparesWithTheNumber() {
        QCOMPARE(CallView(cvByPriority, Q, {.Priority = 3, .HasPriority = true}),
                 (TCallView{"Calls by priotity", Q + " WHERE Priority=3", "", false}));
        QCOMPARE(CallView(cvByPriority, Q, {.Priority = 3}), AllCalls());
    }
};

QTEST_GUILESS_MAIN(TestUCallViews)
#include "tst_UCallViews.moc"
