#pragma once

// The editor of a service call. Its three pages hold the item and customer
// the call concerns, the call's own details with the assigned worker, and
// its status and billing. The item, customer and worker fields of the call
// show the matching rows through lookup queries that follow the call being
// edited.

#include "editors/FBaseEditor.h"
#include "shell/abstract/UAbstract.h"

#include <QPointer>

class QLabel;
class QTabWidget;
class TDataSource;
class TdmlGlobals;
class TDBCheckBox;
class TDBComboBox;
class TDBDateTimePicker;
class TDBEdit;
class TDBMarkupLabel;
class TDBMaskEdit;
class TDBMemo;
class TDBSpinEdit;
class TQuery;

class TfrmCallEdtr : public TfrmBaseEditor, public UAbstract::IObserver {
    Q_OBJECT
public:
    // Edits `dataModule`'s call table and follows its database being opened
    // and closed; without a module it has no dataset. The status list comes
    // from the main window's status list when there is one.
    explicit TfrmCallEdtr(TdmlGlobals* dataModule, QWidget* parent = nullptr);
    ~TfrmCallEdtr() override;

    // Opens the lookup queries while the database is open, closes them
    // otherwise.
    virtual void ReattachQueries();
    // The data module opened or closed the database.
    void Update(UAbstract::IObservableSubject* subject) override;

    QTabWidget* pgcMain;

    // Page "Item": the call's item and customer.
    TDBEdit* edtItemSerialNr;
    TDBEdit* edtBrand;
    TDBEdit* edtModel;
    TDBMemo* edtDescription;
    TDBEdit* edtMeterReading;
    TDBEdit* edtCustomerID;
    TDBEdit* edtName;
    TDBEdit* edtSurname;
    TDBEdit* edtCompany;
    TDBEdit* edtTel;
    TDBEdit* edtCell;
    TDBEdit* edtEmail;

    // Page "Call Details".
    TDBEdit* edtCallNr;
    TDBDateTimePicker* dteStartDate;
    TDBSpinEdit* cmpPriority;
    TDBEdit* edtOrderNr;
    TDBEdit* edtJobcard;
    TDBEdit* edtStorageArea;
    TDBMemo* edtrProblem;
    TDBMemo* edtrParts;
    TDBCheckBox* cbxCallOut;
    TDBEdit* edtWorkerNr;
    TDBMarkupLabel* lblWorkerName;

    // Page "Status".
    TDBComboBox* cbxStatus;
    QLabel* lblComplDT;
    TDBDateTimePicker* dteCompleted;
    TDBCheckBox* chkBilled;
    TDBMaskEdit* edtBillTime;
    QLabel* lblhms;

    // The call's item, customer and worker, following the call table's row.
    // The item and customer rows are shown, not edited, here.
    TQuery* sqlItem;
    TQuery* sqlCustomer;
    TQuery* sqlWorker;
    TDataSource* dsItem;
    TDataSource* dsCustomer;
    TDataSource* dsWorker;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* MakeItemPage();
    QWidget* MakeDetailsPage();
    QWidget* MakeStatusPage();
    // The completion time is open to change only for a complete call, the
    // bill time only for a billed one.
    void UpdateEnabledFields();
    void cbxStatusChange();
    void chkBilledClick();

    QPointer<TdmlGlobals> m_pDataModule;
};

// The program's call editor, set and cleared by TProgramWindows (UStartup);
// nullptr outside its lifetime.
extern TfrmCallEdtr* frmCallEdtr;
