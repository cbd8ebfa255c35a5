// The backup and restore dialogs as a user meets them: what they refuse with
// which message, where a backup lands, and that a restore through the dialog
// brings the saved rows back.

#include "data/DMGlobals.h"
#include "data/FBackup.h"
#include "data/FRestore.h"
#include "support/TestDataModule.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

class TestFBackup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void BadPathsAreRefusedAndABackupRestoresFromTheTypedFolder() {
        TestSupport::TTempDataModule dml({"INSERT INTO Worker (WorkerNR) VALUES (\"W1\")"});
        const auto workers = [&dml] { return dml.Column("SELECT WorkerNR FROM Worker").join(','); };
        TestWindows::TInstalledDialogs dialogs;
        TfrmBackup backup(nullptr, &dml, dml.Root() + "backups/");
        TfrmRestore restore(nullptr, &dml, dml.Root() + "backups/");
        backup.show();
        restore.show();
        QCOMPARE(backup.edtPath->text(), dml.Root() + "backups/");

        // Bad paths are refused with their messages.
        for (const auto& [box, start, text, message] :
             {std::tuple{backup.edtPath, backup.btnStart, dml.Root() + "nowhere",
                         "The specified backup folder does not exists."},
              {restore.edtPath, restore.btnStart, "  ", "Please supply a file name"},
              {restore.edtPath, restore.btnStart, dml.Root() + "missing.zip",
               "The specified file does not exists."},
              {restore.edtPath, restore.btnStart, dml.Root(),
               "The specified file does not exists."}}) {
            dialogs.AnswerButton(mbOK);
            box->setText(text);
            start->click();
            QCOMPARE(dialogs.Requests().last().Text, message);
            QCOMPARE(dialogs.Requests().last().MsgKind, TMsgKind::Error);
        }
        QCOMPARE(QDir(dml.Root()).entryList({"*.zip"}, QDir::Files), QStringList());
        QCOMPARE(workers(), "W1");

        // A backup lands in the typed folder, blanks around it and no
        // separator at its end; it restores from there.
        const QString folder = dml.Root() + "my backups";
        QDir().mkpath(folder);
        backup.edtPath->setText("  " + folder + "  ");
        backup.btnStart->click();
        const QStringList made = QDir(folder).entryList({"KorvaneDB *.zip"}, QDir::Files);
        QCOMPARE(made.size(), 1);
        QVERIFY(backup.btnClose->isEnabled() && backup.btnStart->isEnabled() && backup.isVisible());
        dml.ExecSQL("INSERT INTO Worker (WorkerNR, Name) VALUES (\"W2\", \"Ravi\")");
        dialogs.AnswerFile(folder + "/" + made.first());
        restore.btnBrowse->click();
        restore.btnStart->click();
        QCOMPARE(workers(), "W1");

        // A failed restore gives the controls back.
        restore.edtPath->setText(TestSupport::WriteFile(dml.Root() + "bad.zip", "garbage"));
        QVERIFY(TestSupport::ErrorOf([&] { restore.btnRestoreClick(); }).contains("bad.zip"));
        QVERIFY(restore.btnStart->isEnabled() && restore.edtPath->isEnabled());
    }
};

QTEST_MAIN(TestFBackup)
#include "tst_FBackup.moc"
