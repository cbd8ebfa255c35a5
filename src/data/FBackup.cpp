#include "data/FBackup.h"

#include "data/DMGlobals.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"
#include "shell/UMSProgress.h"

#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

TfrmBackup::TfrmBackup(QWidget* parent, TdmlGlobals* dataModule, const QString& defaultFolder)
    : TArchiveDialog(parent, dataModule, defaultFolder, QStringLiteral("Database Backup"),
                     QStringLiteral("Backup Path"), QStringLiteral("Backup Progress"),
                     QStringLiteral("Backup")) {
    setObjectName(QStringLiteral("frmBackup"));
    connect(btnStart, &QPushButton::clicked, this, &TfrmBackup::btnBackupClick);
    connect(btnBrowse, &QToolButton::clicked, this, [this] {
        const QString folder =
            Dialogs().FolderName(QStringLiteral("Select Directory"), edtPath->text().trimmed());
        if (!folder.isEmpty())
            edtPath->setText(QDir::toNativeSeparators(folder));
    });
}

void TfrmBackup::btnBackupClick() {
    const QString folder = edtPath->text().trimmed();
    if (folder.isEmpty() || !QDir(folder).exists()) {
        ShowError("The specified backup folder does not exists.");
        return;
    }
    TMSProgress overall(prgOverall);
    TMSProgress current(prgCurrent);
    const QString fileName = BackupFileName(folder, QDateTime::currentDateTime());
    RunDisabled([&] {
        if (m_pDataModule)
            m_pDataModule->BackupDatabase(fileName, &overall, &current);
    });
    lblResult->setText(QStringLiteral("Backed up to %1").arg(QDir::toNativeSeparators(fileName)));
}
