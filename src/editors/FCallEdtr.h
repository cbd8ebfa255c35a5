#pragma once

// The editor of a service call. Its three pages hold the item and customer
// the call concerns, the call's own details with the assigned worker, and
// its status, billing and comment lines. The item, customer and worker fields
// of the call show the matching rows through lookup queries that follow the
// call being edited.
//
// A serial number or customer ID typed in is looked up when the application
// is next idle; one that is not known is created, with nothing but its key
// (an item also with the customer shown as its owner), when the keyboard
// leaves its field, and an item made that way is given the call's customer
// as owner when the window closes. Every change of status is written down as
// a comment line ("Status changed to Busy") when the call is validated, just
// before it is saved; comment lines added, changed or deleted here are
// written at once, whether or not the call is saved afterwards.

#include "editors/FBaseEditor.h"
#include "shell/UVidaz.h"
#include "shell/abstract/UAbstract.h"

#include <QPointer>
#include <QStringList>
#include <memory>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;
class QToolButton;
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
class TDBTableAccess;
class TQuery;

class TfrmCallEdtr : public TfrmBaseEditor, public UAbstract::IObserver {
    Q_OBJECT
public:
    // Edits `dataModule`'s call table and follows its database being opened
    // and closed; without a module it has no dataset. The status list comes
    // from the main window's status list when there is one.
    explicit TfrmCallEdtr(TdmlGlobals* dataModule, QWidget* parent = nullptr);
    ~TfrmCallEdtr() override;

    // The six checks of a call, in order: a known customer, a free call
    // number while adding, a known worker when one is named; then the status
    // comment line when the status changed since the window opened or was
    // last validated.
    bool Validate() override;
    // Nothing changes with the mode: the call number is never typed.
    void EditModeChanged() override;

    // Opens the lookup queries while the database is open, closes them
    // otherwise.
    virtual void ReattachQueries();
    // Runs the lookups that typing asked for, once the application is idle.
    virtual void ProcessPendingLookups();
    // The data module opened or closed the database.
    void Update(UAbstract::IObservableSubject* subject) override;

    // Shows the item with the typed serial number, taking its owner as the
    // call's customer; false when there is no such item.
    bool LookUpItem();
    // The owner of the item `serialNr` becomes the call's customer, when it
    // has one.
    void TakeOwnerFromItem(const QString& serialNr);
    // Shows the customer with the typed ID; false when there is none.
    bool LookUpCustomer();

    // The call card of the calls list's current call, and of the call being
    // edited.
    void PrintCurrentCallCard();
    void PrintCallCard();
    // Where the card's banner is read from; the library beside the
    // executable unless set.
    void SetVidazLibrary(const QString& path) { m_sVidazLibrary = path; }

    QTabWidget* pgcMain;

    // Page "Item": the call's item and customer.
    TDBEdit* edtItemSerialNr;
    QToolButton* btnPickItem;
    TDBEdit* edtBrand;
    TDBEdit* edtModel;
    TDBMemo* edtDescription;
    TDBEdit* edtMeterReading;
    TDBEdit* edtCustomerID;
    QToolButton* btnPickCustomer;
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
    QToolButton* btnPickWorker;
    TDBMarkupLabel* lblWorkerName;

    // Page "Status".
    TDBComboBox* cbxStatus;
    QLabel* lblComplDT;
    TDBDateTimePicker* dteCompleted;
    TDBCheckBox* chkBilled;
    TDBMaskEdit* edtBillTime;
    QLabel* lblhms;
    QPushButton* lnkAdd;
    QPushButton* lnkEdit;
    QPushButton* lnkDelete;
    QTableView* grdComments;

    // Beside the window's own buttons.
    QPushButton* btnCallCard;

    // The call's item, customer, worker, comment lines and service contract,
    // following the call table's row. The item and customer rows are shown,
    // not edited, here.
    TQuery* sqlItem;
    TQuery* sqlCustomer;
    TQuery* sqlWorker;
    TQuery* sqlComments;
    TQuery* sqlServiceContract;
    TDataSource* dsItem;
    TDataSource* dsCustomer;
    TDataSource* dsWorker;
    TDataSource* dsComments;
    TDataSource* dsServiceContract;

    // Defers the lookups of typed keys to the next idle moment.
    QTimer* timIdle;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The completion time is open to change only for a complete call, the
    // bill time only for a billed one.
    void UpdateEnabledFields();
    void cbxStatusChange();
    void chkBilledClick();
    void edtItemSerialNrChange();
    void edtCustomerIDChange();
    // What leaving the serial number or customer ID field does: the lookup
    // still owed, then the record created when the key is not known.
    void ItemFieldLeft();
    void CustomerFieldLeft();
    void btnPickItemClick();
    void btnPickCustomerClick();
    void btnPickWorkerClick();
    void btnCallCardClick();
    // Comment lines of the call.
    void lnkAddClick();
    void lnkDeleteClick();
    bool EditComment();
    // Reads the lookup queries that read one of the `tables` again.
    void TablesChanged(const QStringList& tables);
    // Closes `query` and opens it on the call's current row.
    void Reopen(TQuery* query);
    // Shows `message` on `page`, with the keyboard on `control`.
    bool RefuseOnPage(int page, QWidget* control, const char* message);
    // The call's field `name`; empty without a dataset.
    QString CallField(const char* name) const;
    void SetCallField(const char* name, const QString& value);

    QPointer<TdmlGlobals> m_pDataModule;
    QString m_sVidazLibrary = UVidaz::DefaultLibraryPath();
    std::unique_ptr<TDBTableAccess> m_pCommentsLink;
    // The status when the window was shown or the call last validated.
    QString m_sLastStatus;
    // Set while the editor itself puts a key into the call.
    bool m_bSettingKey = false;
    // The item made from the serial number field, and the customer ID the
    // field showed last, which becomes its owner when the window closes.
    QString m_sCreatedSerial;
    QString m_sShownCustomerID;
};

// The program's call editor, set and cleared by TProgramWindows (UStartup);
// nullptr outside its lifetime.
extern TfrmCallEdtr* frmCallEdtr;
