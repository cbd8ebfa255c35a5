// The first start on a new database offers the demonstration database: Yes
// makes it beside the database folder and opens it, No keeps the empty
// database, and a database that has its tables is never asked about.

#include "data/DMGlobals.h"
#include "shell/UFirstStart.h"
#include "support/TestWindows.h"

#include <QtTest>

class TestUFirstStart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void TheFirstStartOffersTheDemonstration_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void TheFirstStartOffersTheDemonstration() {
        QFETCH(bool, yes);
        TestSupport::TTempDir dir;
        const QString userDir = dir.Path() + "database/";
        {
            TestWindows::TInstalledDialogs dialogs;
            TdmlGlobals dataModule;
            dataModule.SetDatabaseDir(userDir);
            dialogs.AnswerButton(yes ? mbYes : mbNo);
            QCOMPARE(OpenDatabaseAtStartup(dataModule, true), yes);
            QCOMPARE(dialogs.Requests().size(), 1);
            QVERIFY(dialogs.Requests().at(0).Text.contains("demonstration database"));
            QCOMPARE(dataModule.DatabaseDir(), yes ? dir.Path() + "demo-database/" : userDir);
            QCOMPARE(dataModule.QueryIsEmpty("SELECT * FROM Customer"), !yes);
            QCOMPARE(dataModule.QueryIsEmpty("SELECT * FROM Call"), !yes);
        }
        // The user's own database is there, empty, and asks nothing again.
        TestWindows::TInstalledDialogs dialogs;
        TdmlGlobals dataModule;
        dataModule.SetDatabaseDir(userDir);
        QVERIFY(!OpenDatabaseAtStartup(dataModule, true));
        QVERIFY(dataModule.QueryIsEmpty("SELECT * FROM Customer"));
        // Nor is a start after some tables went missing.
        QVERIFY(!UFirstStart::OfferDemoDatabase(dataModule, {"Call", "Worker"}));
        QCOMPARE(dialogs.Requests().size(), 0);
    }
};

QTEST_MAIN(TestUFirstStart)
#include "tst_UFirstStart.moc"
