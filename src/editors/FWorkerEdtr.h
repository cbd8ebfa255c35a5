#pragma once

// The editor of a worker: number, employment, name and identity number. The
// worker number is typed when the worker is added and cannot change later.

#include "editors/FBaseEditor.h"

class TdmlGlobals;
class TDBCheckBox;
class TDBEdit;

class TfrmWorkerEdtr : public TfrmBaseEditor {
    Q_OBJECT
public:
    // Edits `dataModule`'s worker table; without a module it has no dataset.
    explicit TfrmWorkerEdtr(TdmlGlobals* dataModule, QWidget* parent = nullptr);

    // The worker number is read-only exactly while changing a worker.
    void EditModeChanged() override;
    // A new worker needs a number no other worker has, and a name or a
    // surname; a changed worker is taken as it is.
    bool Validate() override;

    TDBEdit* edtWorkerNR;
    TDBCheckBox* chkEmployed;
    TDBEdit* edtName;
    TDBEdit* edtSurname;
    TDBEdit* edtID;
    TDBCheckBox* chkUsePassport;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TdmlGlobals* m_pDataModule; // not owned
};

// The program's worker editor, set and cleared by TProgramWindows (UStartup);
// nullptr outside its lifetime.
extern TfrmWorkerEdtr* frmWorkerEdtr;
