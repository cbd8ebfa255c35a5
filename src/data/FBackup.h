#pragma once

#include "data/UArchiveDialog.h"

// "Database Backup": writes the table files into a dated ZIP archive in the
// folder the user chooses.
class TfrmBackup : public TArchiveDialog {
    Q_OBJECT
public:
    // `defaultFolder` is offered each time the dialog is shown.
    TfrmBackup(QWidget* parent, TdmlGlobals* dataModule, const QString& defaultFolder);

    // "Backup": checks the folder, then backs the database up into it.
    void btnBackupClick();
};
