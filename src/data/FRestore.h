#pragma once

#include "data/UArchiveDialog.h"

// "Database Restore": puts the table files of a backup archive back into the
// database folder, replacing the tables the archive holds.
class TfrmRestore : public TArchiveDialog {
    Q_OBJECT
public:
    // `defaultFolder` is offered each time the dialog is shown.
    TfrmRestore(QWidget* parent, TdmlGlobals* dataModule, const QString& defaultFolder);

    // "Restore": checks the file name, then restores from that archive.
    void btnRestoreClick();
};
