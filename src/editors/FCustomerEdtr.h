#pragma once

// The editor of a customer: identity, contact details, physical and postal
// address, the customer's representatives and notes. The customer ID is
// typed when the customer is added and cannot change later.
//
// Representatives are written through the representative editor
// (frmReprEditor) while this window is open, each saved on its own: one saved
// with OK stays even when the customer is then cancelled.

#include "editors/FBaseEditor.h"

class QAction;
class QCheckBox;
class QTabWidget;
class QTableView;
class TdmlGlobals;
class TDataSet;
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
    // A new customer needs an ID no other customer has; every customer
    // needs a name, a surname or a company name.
    bool Validate() override;

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
    // Representatives: the grid and its commands (buttons beside it; a
    // double-click on the grid edits).
    QTableView* grdRepresentatives;
    QAction* actNewRepr;
    QAction* actEditRepr;
    QAction* actDeleteRepr;
    // Notes
    TDBMemo* edtNotes;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The representatives' commands, and their enabled states (kept up to
    // date whenever the application is idle while the window is shown).
    void actNewReprExecute();
    void actEditReprExecute();
    void actDeleteReprExecute();
    void UpdateReprActions();
    // The new representative's keys: a new GUID and the customer's ID.
    void SetRepresentativeKeys(TDataSet& dataSet);
    // Whether representatives can be added to a customer that is not saved
    // yet; says why not and focuses the ID when they cannot.
    bool NewCustomerTakesRepresentatives();
    // Lists the representatives of the customer `customerID` in the grid.
    void OpenRepresentatives(const QString& customerID);
    QString CurrentCustomerID() const;
    // Runs the representative editor; then the grid is read again.
    void RunReprEditor(bool editMode);
    void RefreshRepresentatives();

    // "Same as physical": the postal address takes the physical one while
    // checked and gets back what it held when unchecked by the user.
    void chkSameAsPhyClick();
    // A page of pgcSelection holding `layout`, kept at its top when `atTop`.
    QWidget* MakePage(QLayout* layout, bool atTop = false);

    TdmlGlobals* m_pDataModule;
    TDataSetModel* m_pRepresentatives;
    // Set while the window is being prepared for showing: unchecking "Same
    // as physical" then restores nothing.
    bool m_bLoading = false;
    // Set once a representative has been added under the ID typed for a
    // customer that is not saved yet: the ID is then kept as it is.
    bool m_bIDHoldsRepresentatives = false;
    QMetaObject::Connection m_IdleConnection;
};

// The program's customer editor, set and cleared by TProgramWindows (UStartup);
// nullptr outside its lifetime.
extern TfrmCustomerEdtr* frmCustomerEdtr;
