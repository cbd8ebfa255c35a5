// The backup and restore dialogs as a user meets them: what they refuse with
// which message, where a backup lands, and that a restore through the dialog
// brings the saved rows back.

#include "data/DMGlobals.h"
#include "data/FBackup.h"
#include "data/FRestore.h"
#include "data/engine/TQuery.h"
#include "support/TestSupport.h"
#include "support/TestWindows.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestFBackup : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSupport::TTempDir> m_pDir;
    std::unique_ptr<TdmlGlobals> m_pDml;

    QString Workers() {
        std::unique_ptr<TQuery> query = m_pDml->CreateQuery("SELECT WorkerNR FROM Worker", true);
        QStringList values;
        for (; !query->Eof(); query->Next())
            values << query->Field(0)->AsString();
        return values.join(',');
    }

private Q_SLOTS:
    void init() {
        m_pDir = std::make_unique<TestSupport::TTempDir>();
        m_pDml = std::make_unique<TdmlGlobals>();
        QDir().mkpath(m_pDir->Path() + "database");
        m_pDml->SetDatabaseDir(m_pDir->Path() + "database");
        m_pDml->CreateMissingTables();
        m_pDml->SetDatabaseActive(true);
        m_pDml->ExecSQL("INSERT INTO Worker (WorkerNR, Name) VALUES (\"W1\", \"Sipho\")");
    }

    void cleanup() {
        m_pDml.reset();
        m_pDir.reset();
    }

    void ABackupLandsInTheTypedFolderAndRestoresFromThere() {
        TestWindows::TInstalledDialogs dialogs;
        const QString folder = m_pDir->Path() + "my backups";
        QDir().mkpath(folder);

        TfrmBackup backup(nullptr, m_pDml.get(), m_pDir->Path() + "backups/");
        backup.show();
        QCOMPARE(backup.edtPath->text(), m_pDir->Path() + "backups/");
        // Blanks around the folder and no separator at its end.
        backup.edtPath->setText("  " + folder + "  ");
        backup.btnStart->click();
        const QStringList made = QDir(folder).entryList({"KorvaneDB *.zip"}, QDir::Files);
        QCOMPARE(made.size(), 1);
        QVERIFY(backup.btnClose->isEnabled() && backup.btnStart->isEnabled());
        QVERIFY(backup.isVisible());
        QVERIFY(m_pDml->DatabaseActive());

        m_pDml->ExecSQL("INSERT INTO Worker (WorkerNR, Name) VALUES (\"W2\", \"Ravi\")");
        TfrmRestore restore(nullptr, m_pDml.get(), m_pDir->Path() + "backups/");
        restore.show();
        dialogs.AnswerFile(folder + "/" + made.first());
        restore.btnBrowse->click();
        QCOMPARE(dialogs.Requests().last().Caption, QString("Select the Backup File"));
        restore.btnStart->click();
        QCOMPARE(Workers(), QString("W1"));
        QVERIFY(m_pDml->DatabaseActive());
    }

    void BadPathsAreRefusedWithTheirMessages() {
        TestWindows::TInstalledDialogs dialogs;
        TfrmBackup backup(nullptr, m_pDml.get(), m_pDir->Path() + "backups/");
        TfrmRestore restore(nullptr, m_pDml.get(), m_pDir->Path() + "backups/");
        backup.show();
        restore.show();
        const struct {
            QLineEdit* Box;
            QPushButton* Start;
            QString Text;
            QString Message;
        } cases[] = {
            {backup.edtPath, backup.btnStart, m_pDir->Path() + "nowhere",
             "The specified backup folder does not exists."},
            {restore.edtPath, restore.btnStart, "  ", "Please supply a file name"},
            {restore.edtPath, restore.btnStart, m_pDir->Path() + "missing.zip",
             "The specified file does not exists."},
            {restore.edtPath, restore.btnStart, m_pDir->Path(),
             "The specified file does not exists."},
        };
        for (const auto& c : cases) {
            dialogs.AnswerButton(mbOK);
            c.Box->setText(c.Text);
            c.Start->click();
            QCOMPARE(dialogs.Requests().last().Text, c.Message);
            QCOMPARE(dialogs.Requests().last().MsgKind, TMsgKind::Error);
        }
        QCOMPARE(QDir(m_pDir->Path()).entryList({"*.zip"}, QDir::Files), QStringList());
        QCOMPARE(Workers(), QString("W1"));
    }

    void AFailedRestoreGivesTheControlsBack() {
        TestWindows::TInstalledDialogs dialogs;
        const QString bad = m_pDir->Path() + "bad.zip";
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("garbage");
        file.close();
        TfrmRestore restore(nullptr, m_pDml.get(), m_pDir->Path());
        restore.show();
        restore.edtPath->setText(bad);
        QVERIFY(TestSupport::ErrorOf([&] { restore.btnRestoreClick(); }).contains("bad.zip"));
        QVERIFY(restore.btnStart->isEnabled() && restore.edtPath->isEnabled());
        QVERIFY(!m_pDml->DatabaseActive());
    }
};

QTEST_MAIN(TestFBackup)
#include "tst_FBackup.moc"
