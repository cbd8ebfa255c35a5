#pragma once

// The editor of an item of equipment. The serial number and the owner are
// given when the item is added and cannot change later.

#include "editors/FBaseEditor.h"

class QToolButton;
class TdmlGlobals;
class TDBEdit;
class TDBMemo;

class TfrmItemEdtr : public TfrmBaseEditor {
    Q_OBJECT
public:
    // Edits `dataModule`'s item table; without a module it has no dataset.
    explicit TfrmItemEdtr(TdmlGlobals* dataModule, QWidget* parent = nullptr);

    // The serial number and the owner are read-only exactly while changing
    // an item; the owner can be picked from the customers only while adding.
    void EditModeChanged() override;
    // A new item needs a serial number no other item has and an owner that
    // is a known customer; a changed item is taken as it is.
    bool Validate() override;

    TDBEdit* edtSerialNr;
    TDBEdit* edtOwner;
    // "...": picks the owner from the customer list.
    QToolButton* btnOwner;
    TDBEdit* edtBrand;
    TDBEdit* edtModel;
    TDBMemo* edtDescription;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnOwnerClick();

    TdmlGlobals* m_pDataModule; // not owned
};

// The program's item editor, set and cleared by TProgramWindows (UStartup);
// nullptr outside its lifetime.
extern TfrmItemEdtr* frmItemEdtr;
