#pragma once

// The editor of a service contract: the contract that covers one item of one
// customer. The item and the customer are given when the contract is added
// and cannot change later.

#include "editors/FBaseEditor.h"

class QToolButton;
class TdmlGlobals;
class TDBCheckBox;
class TDBEdit;
class TDBMemo;

class TfrmServiceContractEdtr : public TfrmBaseEditor {
    Q_OBJECT
public:
    // Edits `dataModule`'s service contract table; without a module it has no
    // dataset.
    explicit TfrmServiceContractEdtr(TdmlGlobals* dataModule, QWidget* parent = nullptr);

    // The item and customer fields are read-only exactly while changing a
    // contract; they can be picked from their lists only while adding.
    void EditModeChanged() override;
    // A new contract needs a known customer and a known item of that
    // customer, not covered by a contract yet; a changed contract is taken
    // as it is.
    bool Validate() override;

    TDBEdit* edtItemSerialNr;
    TDBEdit* edtCustomerID;
    // "...": pick the item (and with it its owner) or the customer.
    QToolButton* btnItemSerialNr;
    QToolButton* btnCustomerID;
    TDBEdit* edtContractType;
    TDBMemo* edtComments;
    TDBCheckBox* chkValid;
    // Never shown: bound to the same columns as the two key fields, they
    // carry what is typed or picked there into the row.
    TDBEdit* edtHidItemSerial;
    TDBEdit* edtHidCustomerID;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ItemSerialChanged();
    void CustomerIDChanged();
    void btnItemSerialNrClick();
    void btnCustomerIDClick();

    TdmlGlobals* m_pDataModule; // not owned
};

// The program's service contract editor, set and cleared by TProgramWindows (UStartup);
// nullptr outside its lifetime.
extern TfrmServiceContractEdtr* frmServiceContractEdtr;
