#pragma once

// The editor of a customer: identity, contact details, physical and postal
// address, the customer's representatives and notes. The customer ID is
// typed when the customer is added and cannot change later.

#include "editors/FBaseEditor.h"

class QCheckBox;
class QTabWidget;
class QTableView;
class TdmlGlobals;
class TDataSetModel;
class TDBComboBox;
class TDBEdit;
class TDBMemo;

class TfrmCustomerEdtr : public TfrmBaseEditor {
    Q_OBJECT
public:
    // Edits `dataModule`'s customer table and lists its representatives
    // query; without a module it has no dataset. Both country lists come
    // from the main window's country list when there is one.
    explicit TfrmCustomerEdtr(TdmlGlobals* dataModule, QWidget* parent = nullptr);

    // The customer ID is read-only exactly while changing a customer.
    void EditModeChanged() override;

    TDBEdit* edtCustomerID;
    TDBEdit* edtName;
    TDBEdit* edtSurname;
    TDBEdit* edtCompany;
    QTabWidget* pgcSelection;
    // Contact Details
    TDBEdit* edtTel;
    TDBEdit* edtCell;
    TDBEdit* edtFax;
    TDBEdit* edtEmail;
    // Physical Address
    TDBMemo* edtPhyAddr;
    TDBEdit* edtPhyCode;
    TDBComboBox* edtCountry1;
    // Postal Address
    TDBMemo* edtPOAddr;
    TDBEdit* edtPOCode;
    TDBComboBox* edtCountry2;
    QCheckBox* chkSameAsPhy;
    // Representatives
    QTableView* grdRepresentatives;
    // Notes
    TDBMemo* edtNotes;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // "Same as physical": the postal address takes the physical one while
    // checked and gets back what it held when unchecked by the user.
    void chkSameAsPhyClick();
    QWidget* MakePage(QLayout* layout);

    TdmlGlobals* m_pDataModule;
    TDataSetModel* m_pRepresentatives;
    // Set while the window is being prepared for showing: unchecking "Same
    // as physical" then restores nothing.
    bool m_bLoading = false;
    QString m_sSavedPostalAddr;
    QString m_sSavedPostalCode;
};

// The program's customer editor, set and cleared by TProgramWindows (UStartup);
// nullptr outside its lifetime.
extern TfrmCustomerEdtr* frmCustomerEdtr;
