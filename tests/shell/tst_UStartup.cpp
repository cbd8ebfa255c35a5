#include "data/DMGlobals.h"
#include "data/DMTables.h"
#include "data/engine/TDatabase.h"
#include "shell/FMain.h"
#include "shell/UScriptedDialogs.h"
#include "shell/USettings.h"
#include "shell/UStartup.h"
#include "support/TestSupport.h"

#include <QtTest>

using TestSupport::TTempDir;

class TestUStartup : public QObject {
    Q_OBJECT

    TTempDir m_Settings;

    // A main window that keeps its backups and settings in `dir`.
    static TfrmMain::TLocations Locations(const TTempDir& dir) {
        TfrmMain::TLocations locations;
        locations.BackupDir = dir.Path() + "backups";
        return locations;
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void FirstStartCreatesTheTablesAndKeepsExistingOnes() {
        TTempDir dir;
        const QString dbDir = dir.Path() + "database/";
        {
            // A folder that already holds the workers, with one row.
            QDir().mkpath(dbDir);
            TDatabase db;
            db.Open(dbDir);
            db.Exec(QString::fromLatin1(DMTables::FindTableDef("Worker")->CreateSql));
            db.Exec("INSERT INTO Worker (WorkerNR, Name) VALUES ('W1', 'Ann')");
        }
        TScriptedDialogs dialogs;
        TDialogsInstaller installed(dialogs);
        TdmlGlobals dataModule;
        dataModule.SetDatabaseDir(dbDir);
        TfrmMain frm(Locations(dir));
        frm.SetDataHooks(MakeDataHooks(frm, &dataModule));
        frm.show();
        QVERIFY(dataModule.DatabaseActive());
        for (const auto& def : DMTables::TableDefs())
            QVERIFY2(QFileInfo::exists(dbDir + def.File), def.File);
        QVERIFY(!dataModule.QueryIsEmpty("SELECT * FROM Worker WHERE WorkerNR = 'W1'"));
        QVERIFY(frm.DataHooks().IsDatabaseActive());
        QCOMPARE(dialogs.UnexpectedCount(), 0);
    }

    void MissingDataModuleIsFatal() {
        TfrmMain frm(Locations(m_Settings));
        const TfrmMain::TDataHooks hooks = MakeDataHooks(frm, nullptr);
        QVERIFY(!hooks.IsDatabaseActive());
        // No worker list yet: nobody to pick.
        QCOMPARE(hooks.PickWorker(), QString());
        try {
            hooks.OpenDatabase();
            QFAIL("no error without a data module");
        } catch (const EFatalError& e) {
            QCOMPARE(e.Message(), QString("Unable to find database module: Null instance."));
        }
    }
};

QTEST_MAIN(TestUStartup)
#include "tst_UStartup.moc"
