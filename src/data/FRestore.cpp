#include "data/FRestore.h"

#include "data/DMGlobals.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"
#include "shell/UMSProgress.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

TfrmRestore::TfrmRestore(QWidget* parent, TdmlGlobals* dataModule, const QString& defaultFolder)
    : TArchiveDialog(parent, dataModule, defaultFolder, QStringLiteral("Database Restore"),
                     QStringLiteral("Backup File"), QStringLiteral("Restore Progress"),
                     QStringLiteral("Restore")) {
    setObjectName(QStringLiteral("frmRestore"));
    const QString hint = QStringLiteral("Enter filename or click browse button");
    edtPath->setToolTip(hint);
    edtPath->setPlaceholderText(hint);
    connect(btnStart, &QPushButton::clicked, this, &TfrmRestore::btnRestoreClick);
    connect(btnBrowse, &QToolButton::clicked, this, [this] {
        const QString file =
            Dialogs().OpenFileName(QStringLiteral("Select the Backup File"),
                                   edtPath->text().trimmed(), QStringLiteral("ZIP files (*.zip)"));
        if (!file.isEmpty())
            edtPath->setText(QDir::toNativeSeparators(file));
    });
}

void TfrmRestore::btnRestoreClick() {
    const QString file = edtPath->text().trimmed();
    if (file.isEmpty()) {
        ShowError("Please supply a file name");
        edtPath->setFocus();
        return;
    }
    if (!QFileInfo(file).isFile()) {
        ShowError("The specified file does not exists.");
        return;
    }
    TMSProgress overall(prgOverall);
    TMSProgress current(prgCurrent);
    RunDisabled([&] {
        if (m_pDataModule)
            m_pDataModule->RestoreDatabase(file, &overall, &current);
    });
    lblResult->setText(QStringLiteral("Restored from %1").arg(QDir::toNativeSeparators(file)));
}
