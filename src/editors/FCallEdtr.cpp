#include "editors/FCallEdtr.h"

#include "data/DBTableAccess.h"
#include "data/DMGlobals.h"
#include "data/UChangeTracker.h"
#include "data/UDMStatements.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "editors/FCallCommentEdtr.h"
#include "editors/UCallEdtrPages.h"
#include "editors/UEditorLayout.h"
#include "exchange/RCallCard.h"
#include "lists/FCustomerList.h"
#include "lists/FItemList.h"
#include "lists/FWorkerList.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"
#include "shell/UVidaz.h"
#include "shell/abstract/IProgramSettings.h"

#include <QDateTime>
#include <QFocusEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

using namespace UEditorLayout;
using UDMStatements::Dq;
using UDMStatements::Format;
using UDMStatements::Sq;

namespace {

const QString Unit = QStringLiteral("FCallEdtr");
const QString Complete = QStringLiteral("Complete");

// The pages, in the order Validate names them.
enum : int { pgItem = 0, pgDetails = 1, pgStatus = 2 };

// The lookup queries: each takes its parameters from the fields of the same
// names in the call table's current row.
const char* const SqlItem = "Select * \r\n"
                            "From Item\r\n"
                            "Where SerialNr = :EquipmentSerialNr";
const char* const SqlCustomer = "Select * \r\n"
                                "From Customer\r\n"
                                "where CustomerID = :CustomerID";
const char* const SqlWorker =
    "Select WorkerNr, Name, Surname, (Name || ' ' || Surname) AS FullName from Worker\r\n"
    "where WorkerNR = :WorkerNr";
const char* const SqlComments =
    "SELECT C.ID, C.DateTime, C.DateTime AS TAG, C.CommentLine AS LINE\r\n"
    "FROM CallComments C\r\n"
    "WHERE C.CallNr = :CallNr\r\n"
    "ORDER BY C.DateTime";
const char* const SqlServiceContract = "Select * from ServiceContract\r\n"
                                       "Where ItemSerialNr = :EquipmentSerialNr\r\n"
                                       "AND\r\n"
                                       "CustomerID = :CustomerID";

// What typing a serial number or customer ID has asked for; one editor
// window uses them at a time. "Focused": the keyboard is in the field;
// "changed": a lookup is owed; "unknown": the last lookup found nothing, so
// leaving the field creates the record; "created": an item was made from
// the serial number and gets its owner when the window closes.
bool s_bItemFocused = false;
bool s_bItemChanged = false;
bool s_bItemUnknown = false;
bool s_bItemCreated = false;
bool s_bCustomerFocused = false;
bool s_bCustomerChanged = false;
bool s_bCustomerUnknown = false;

void ResetLookupFlags() {
    s_bItemFocused = s_bItemChanged = s_bItemUnknown = false;
    s_bCustomerFocused = s_bCustomerChanged = s_bCustomerUnknown = false;
}

} // namespace

TfrmCallEdtr* frmCallEdtr = nullptr;

TfrmCallEdtr::TfrmCallEdtr(TdmlGlobals* dataModule, QWidget* parent)
    : TfrmBaseEditor(parent), m_pDataModule(dataModule) {
    setObjectName(QStringLiteral("frmCallEdtr"));
    setWindowTitle(QStringLiteral("Call Editor"));
    m_sLastStatus.clear();

    auto lookup = [&](const char* name, const char* sql, TDataSource*& source) {
        auto* query = new TQuery(this);
        query->setObjectName(QLatin1String(name));
        query->SetSQL(QLatin1String(sql));
        source = new TDataSource(query, this);
        return query;
    };
    sqlItem = lookup("sqlItem", SqlItem, dsItem);
    sqlCustomer = lookup("sqlCustomer", SqlCustomer, dsCustomer);
    sqlWorker = lookup("sqlWorker", SqlWorker, dsWorker);
    sqlComments = lookup("sqlComments", SqlComments, dsComments);
    sqlServiceContract = lookup("sqlServiceContract", SqlServiceContract, dsServiceContract);
    m_pCommentsLink = std::make_unique<TDBTableAccess>(
        sqlComments, dataModule ? dataModule->tblCallComments : nullptr, QStringLiteral("ID"));

    m_sKindName = QStringLiteral("Call");
    if (dataModule) {
        m_pDataset = dataModule->tblCall;
        for (TQuery* query : {sqlItem, sqlCustomer, sqlWorker, sqlComments, sqlServiceContract})
            query->SetMasterSource(dataModule->dsCall);
    }

    timIdle = new QTimer(this);
    timIdle->setObjectName(QStringLiteral("timIdle"));
    timIdle->setInterval(1);
    timIdle->setSingleShot(true);
    connect(timIdle, &QTimer::timeout, this, [this] { ProcessPendingLookups(); });

    pgcMain = new QTabWidget(pnlClient);
    pgcMain->setObjectName(QStringLiteral("pgcMain"));
    TDataSource* call = dataModule ? dataModule->dsCall : nullptr;
    pgcMain->addTab(UCallEdtrPages::MakeItemPage(*this, call), QStringLiteral("Item"));
    pgcMain->addTab(UCallEdtrPages::MakeDetailsPage(*this, call), QStringLiteral("Call Details"));
    pgcMain->addTab(UCallEdtrPages::MakeStatusPage(*this, call), QStringLiteral("Status"));
    // The window keeps one size whichever page is in front.
    int tallest = 0;
    for (int page = 0; page < pgcMain->count(); ++page)
        tallest = qMax(tallest, pgcMain->widget(page)->sizeHint().height());
    for (int page = 0; page < pgcMain->count(); ++page)
        pgcMain->widget(page)->setMinimumHeight(tallest);
    auto* layout = new QVBoxLayout(pnlClient);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pgcMain);

    QStringList statuses = {QStringLiteral("New"), QStringLiteral("Busy"),
                            QStringLiteral("Pending"), QStringLiteral("Awaiting Parts"), Complete};
    if (g_pProgramSettings)
        statuses = g_pProgramSettings->GetStatusList().Lines();
    cbxStatus->SetItems(statuses);

    OnChanged(
        this, [this] { SetModified(true); }, edtBrand, edtModel, edtDescription, edtMeterReading,
        edtName, edtSurname, edtCompany, edtTel, edtCell, edtEmail, edtCallNr, dteStartDate,
        cmpPriority, edtOrderNr, edtJobcard, edtStorageArea, edtrProblem, edtrParts, cbxCallOut,
        edtWorkerNr, dteCompleted, edtBillTime);
    connect(edtItemSerialNr, &TDBEdit::Changed, this, [this] { edtItemSerialNrChange(); });
    connect(edtCustomerID, &TDBEdit::Changed, this, [this] { edtCustomerIDChange(); });
    connect(cbxStatus, &TDBComboBox::Changed, this, [this] { cbxStatusChange(); });
    connect(chkBilled, &TDBCheckBox::Changed, this, [this] { chkBilledClick(); });
    edtItemSerialNr->installEventFilter(this);
    edtCustomerID->installEventFilter(this);
    connect(btnPickItem, &QToolButton::clicked, this, [this] { btnPickItemClick(); });
    connect(btnPickCustomer, &QToolButton::clicked, this, [this] { btnPickCustomerClick(); });
    connect(btnPickWorker, &QToolButton::clicked, this, [this] { btnPickWorkerClick(); });
    connect(lnkAdd, &QPushButton::clicked, this, [this] { lnkAddClick(); });
    connect(lnkEdit, &QPushButton::clicked, this, [this] { EditComment(); });
    connect(lnkDelete, &QPushButton::clicked, this, [this] { lnkDeleteClick(); });
    connect(grdComments, &QTableView::doubleClicked, this, [this] { EditComment(); });

    // The call card's button stands at the bottom left, on the row of the
    // window's own buttons.
    btnCallCard = new QPushButton(QStringLiteral("Call Card"), this);
    btnCallCard->setObjectName(QStringLiteral("btnCallCard"));
    btnCallCard->setAutoDefault(false);
    connect(btnCallCard, &QPushButton::clicked, this, [this] { btnCallCardClick(); });
    ButtonRow()->insertWidget(0, btnCallCard);

    btnOk->setDefault(true);
    if (dataModule) {
        dataModule->Attach(this);
        connect(dataModule, &TdmlGlobals::TablesChanged, this,
                [this](const QStringList& tables) { TablesChanged(tables); });
        ReattachQueries();
    }
}

TfrmCallEdtr::~TfrmCallEdtr() {
    if (m_pDataModule)
        m_pDataModule->Detach(this);
}

// ---------------------------------------------------------------------------
// Queries

void TfrmCallEdtr::ReattachQueries() {
    if (!m_pDataModule)
        return;
    for (TQuery* query : {sqlItem, sqlCustomer, sqlWorker, sqlComments, sqlServiceContract})
        m_pDataModule->ActivateDataSet(query);
}

void TfrmCallEdtr::Update(UAbstract::IObservableSubject* subject) {
    Q_UNUSED(subject);
    ReattachQueries();
}

void TfrmCallEdtr::TablesChanged(const QStringList& tables) {
    // What a query showed stays when it cannot be read; the next change
    // reads it again.
    if (TChangeTracker::RefreshReaders(
            {sqlItem, sqlCustomer, sqlWorker, sqlComments, sqlServiceContract},
            TChangeTracker::Keys(tables)))
        DebugTrace(QStringLiteral("a lookup was not refreshed"),
                   QStringLiteral("TfrmCallEdtr::TablesChanged"), Unit);
}

void TfrmCallEdtr::Reopen(TQuery* query) {
    query->Close();
    if (m_pDataModule)
        m_pDataModule->ActivateDataSet(query);
}

QString TfrmCallEdtr::CallField(const char* name) const {
    return m_pDataset ? m_pDataset->FieldByName(QLatin1String(name)).AsString() : QString();
}

void TfrmCallEdtr::SetCallField(const char* name, const QString& value) {
    if (!m_pDataset)
        return;
    // A key the editor puts in is not typed: it asks for no lookup.
    const bool setting = std::exchange(m_bSettingKey, true);
    try {
        m_pDataset->FieldByName(QLatin1String(name)).SetAsString(value);
    } catch (...) {
        m_bSettingKey = setting;
        throw;
    }
    m_bSettingKey = setting;
}

// ---------------------------------------------------------------------------
// Showing and closing

void TfrmCallEdtr::EditModeChanged() {}

void TfrmCallEdtr::showEvent(QShowEvent* event) {
    TfrmBaseEditor::showEvent(event);
    // Coming back from being minimised is not a new use of the editor.
    if (event->spontaneous())
        return;
    pgcMain->setCurrentIndex(pgItem);
    ResetLookupFlags();
    if (!m_bEditMode && m_pDataset) {
        dteStartDate->SetValue(QDateTime::currentDateTime());
        const int fresh = cbxStatus->findText(QStringLiteral("New"));
        if (fresh >= 0)
            cbxStatus->setCurrentIndex(fresh);
    }
    FocusForUse(edtItemSerialNr);
    UpdateEnabledFields();
    m_sLastStatus = CallField("Status");
    m_sShownCustomerID = edtCustomerID->text();
    m_sCreatedSerial.clear();
}

void TfrmCallEdtr::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) {
        timIdle->stop();
        // The item made from a typed serial number belongs to the customer
        // the call named last.
        if (s_bItemCreated && m_pDataModule) {
            s_bItemCreated = false;
            try {
                m_pDataModule->ExecSQL(
                    Format("UPDATE ITEM.DB \r\nSET Owner = '%s' \r\nWHERE (SerialNr = '%s')",
                           {Sq(m_sShownCustomerID), Sq(m_sCreatedSerial)}));
            } catch (const std::exception&) {
                ShowError("The new item \"%s\" could not be given its owner \"%s\".",
                          m_sCreatedSerial, m_sShownCustomerID);
            }
        }
        s_bItemCreated = false;
        ResetLookupFlags();
    }
    TfrmBaseEditor::hideEvent(event);
}

// ---------------------------------------------------------------------------
// Checks

bool TfrmCallEdtr::RefuseOnPage(int page, QWidget* control, const char* message) {
    pgcMain->setCurrentIndex(page);
    return Refuse(message, control);
}

bool TfrmCallEdtr::Validate() {
    if (!m_pDataset || !m_pDataModule)
        return true;
    // Enter presses OK without leaving the field: what leaving it does
    // comes first.
    if (s_bItemFocused)
        ItemFieldLeft();
    if (s_bCustomerFocused)
        CustomerFieldLeft();

    const QString customerID = CallField("CustomerID");
    if (customerID.isEmpty())
        return RefuseOnPage(pgItem, edtCustomerID,
                            "The Customer ID field can not be empty.\nPlease specifiy the ID of "
                            "the Customer that the call pertain to.");
    if (m_pDataModule->QueryIsEmpty(QStringLiteral("select * from Customer where CustomerID = '") +
                                    Sq(customerID) + QLatin1Char('\'')))
        return RefuseOnPage(pgItem, edtCustomerID,
                            "A customer could not be found for the Customer ID that you "
                            "specified.\nPlease add this Customer first or specify a different "
                            "Customer ID.");
    const QString callNr = CallField("CallNr");
    if (!m_bEditMode) {
        if (callNr.isEmpty())
            return RefuseOnPage(pgDetails, edtCallNr,
                                "The Call Number field can not be empty.\nPlease specifiy an "
                                "unique ID for this call.");
        if (!m_pDataModule->QueryIsEmpty(QStringLiteral("select * from Call where CallNr = '") +
                                         Sq(callNr) + QLatin1Char('\'')))
            return RefuseOnPage(pgDetails, edtCallNr,
                                "A Call with the specified Call Number already exist.\r\nPlease "
                                "specify a unique number for this call.");
    }
    const QString workerNr = CallField("WorkerNr");
    if (!workerNr.isEmpty() &&
        m_pDataModule->QueryIsEmpty(QStringLiteral("select * from Worker where WorkerNr = '") +
                                    Sq(workerNr) + QLatin1Char('\'')))
        return RefuseOnPage(pgDetails, edtWorkerNr,
                            "A worker could not be found for the Worker Number that you "
                            "specified.\nPlease add this Worker first or specify a different "
                            "Worker Nr.");

    // The change of status is written down before the call is saved.
    const QString status = CallField("Status");
    if (status != m_sLastStatus) {
        m_sLastStatus = status;
        m_pDataModule->AddCallComment(callNr, QStringLiteral("Status changed to ") + status);
        m_pCommentsLink->RefreshQuery();
    }
    return true;
}

// ---------------------------------------------------------------------------
// Status and billing

void TfrmCallEdtr::UpdateEnabledFields() {
    const bool complete = cbxStatus->currentText() == Complete;
    dteCompleted->SetEnabled(complete);
    lblComplDT->setEnabled(complete);
    const bool billed = chkBilled->isChecked();
    edtBillTime->SetEnabled(billed);
    lblhms->setEnabled(billed);
}

void TfrmCallEdtr::cbxStatusChange() {
    UpdateEnabledFields();
    // The call is finished now, every time it is set to complete.
    if (cbxStatus->currentText() == Complete)
        dteCompleted->SetValue(QDateTime::currentDateTime());
    SetModified(true);
}

void TfrmCallEdtr::chkBilledClick() {
    SetModified(true);
    UpdateEnabledFields();
}

// ---------------------------------------------------------------------------
// Typed item and customer keys

bool TfrmCallEdtr::eventFilter(QObject* watched, QEvent* event) {
    const bool item = watched == edtItemSerialNr;
    if ((item || watched == edtCustomerID) &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window or a popup taking the keyboard for a while is not
        // leaving the field.
        const bool away = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        if (event->type() == QEvent::FocusIn)
            (item ? s_bItemFocused : s_bCustomerFocused) = true;
        else if (!away) {
            (item ? s_bItemFocused : s_bCustomerFocused) = false;
            if (isVisible())
                item ? ItemFieldLeft() : CustomerFieldLeft();
        }
    }
    return TfrmBaseEditor::eventFilter(watched, event);
}

void TfrmCallEdtr::edtItemSerialNrChange() {
    SetModified(true);
    if (s_bItemFocused && !m_bSettingKey) {
        s_bItemChanged = true;
        timIdle->start();
    }
}

void TfrmCallEdtr::edtCustomerIDChange() {
    SetModified(true);
    m_sShownCustomerID = edtCustomerID->text();
    if (s_bCustomerFocused && !m_bSettingKey) {
        s_bCustomerChanged = true;
        timIdle->start();
    }
}

void TfrmCallEdtr::ProcessPendingLookups() {
    timIdle->stop();
    if (s_bItemFocused && s_bItemChanged) {
        s_bItemChanged = false;
        LookUpItem();
    }
    if (s_bCustomerFocused && s_bCustomerChanged) {
        s_bCustomerChanged = false;
        LookUpCustomer();
    }
}

bool TfrmCallEdtr::LookUpItem() {
    sqlItem->Close();
    s_bItemUnknown = true;
    const QString serial = edtItemSerialNr->text();
    if (serial.isEmpty() || !m_pDataModule)
        return false;
    try {
        if (m_pDataModule->QueryIsEmpty(
                Format("Select SerialNr from Item where SerialNr = '%s'", {Sq(serial)})))
            return false;
        SetCallField("EquipmentSerialNr", serial);
        Reopen(sqlItem);
        s_bItemUnknown = false;
        TakeOwnerFromItem(serial);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TfrmCallEdtr::TakeOwnerFromItem(const QString& serialNr) {
    if (!m_pDataModule)
        return;
    try {
        QString owner;
        {
            std::unique_ptr<TQuery> query = m_pDataModule->CreateQuery(
                Format("Select Owner from Item where SerialNr = '%s'", {Sq(serialNr)}), true);
            if (!query->IsEmpty())
                owner = query->FieldByName(QStringLiteral("Owner")).AsString();
        }
        if (owner.isEmpty())
            return;
        SetCallField("CustomerID", owner);
        Reopen(sqlCustomer);
    } catch (const std::exception&) {
        DebugTrace(QStringLiteral("No owner taken from %1").arg(serialNr),
                   QStringLiteral("TfrmCallEdtr::TakeOwnerFromItem"), Unit);
    }
}

bool TfrmCallEdtr::LookUpCustomer() {
    sqlCustomer->Close();
    s_bCustomerUnknown = true;
    const QString customerID = edtCustomerID->text();
    if (!m_pDataModule)
        return false;
    try {
        if (m_pDataModule->QueryIsEmpty(Format(
                "Select CustomerID from Customer where CustomerID = '%s'", {Sq(customerID)})))
            return false;
        SetCallField("CustomerID", customerID);
        Reopen(sqlCustomer);
        s_bCustomerUnknown = false;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TfrmCallEdtr::ItemFieldLeft() {
    if (s_bItemChanged) {
        s_bItemChanged = false;
        LookUpItem();
    }
    if (!s_bItemUnknown)
        return;
    s_bItemUnknown = false;
    // An emptied field makes nothing.
    const QString serial = edtItemSerialNr->text();
    if (serial.isEmpty() || !m_pDataModule)
        return;
    try {
        if (!m_pDataModule->ItemExists(serial)) {
            m_pDataModule->ExecSQL(
                Format("INSERT INTO \"ITEM.DB\" (SerialNR, Owner) VALUES (\"%s\", \"%s\")",
                       {Dq(serial), Dq(edtCustomerID->text())}));
            s_bItemCreated = true;
            m_sCreatedSerial = serial;
        }
        Reopen(sqlItem);
    } catch (const std::exception&) {
        ShowError("The item \"%s\" could not be added.", serial);
    }
}

void TfrmCallEdtr::CustomerFieldLeft() {
    if (s_bCustomerChanged) {
        s_bCustomerChanged = false;
        LookUpCustomer();
    }
    if (!s_bCustomerUnknown)
        return;
    s_bCustomerUnknown = false;
    const QString customerID = edtCustomerID->text();
    if (customerID.isEmpty() || !m_pDataModule)
        return;
    try {
        if (!m_pDataModule->CustomerExists(customerID))
            m_pDataModule->ExecSQL(Format(
                "INSERT INTO \"Customer.DB\" (CustomerID) VALUES (\"%s\")", {Dq(customerID)}));
        Reopen(sqlCustomer);
    } catch (const std::exception&) {
        ShowError("The customer \"%s\" could not be added.", customerID);
    }
}

// ---------------------------------------------------------------------------
// Pick buttons

void TfrmCallEdtr::btnPickItemClick() {
    if (!m_pDataset)
        return;
    const QString serial = ExecuteItemList(this);
    if (serial.isEmpty())
        return;
    SetCallField("EquipmentSerialNr", serial);
    Reopen(sqlItem);
    // A picked item is known: nothing is made for it.
    s_bItemUnknown = false;
    TakeOwnerFromItem(serial);
}

void TfrmCallEdtr::btnPickCustomerClick() {
    if (!m_pDataset)
        return;
    const QString customerID = ExecuteCustomerList(this);
    if (!customerID.isEmpty())
        SetCallField("CustomerID", customerID);
    LookUpCustomer();
}

void TfrmCallEdtr::btnPickWorkerClick() {
    if (!m_pDataset)
        return;
    const QString workerNr = ExecuteWorkerList(this);
    if (workerNr.isEmpty())
        return;
    SetCallField("WorkerNr", workerNr);
    Reopen(sqlWorker);
}

// ---------------------------------------------------------------------------
// Comment lines

void TfrmCallEdtr::lnkAddClick() {
    if (!m_pDataModule || !m_pDataset)
        return;
    try {
        const QString id =
            m_pDataModule->AddCallComment(CallField("CallNr"), QStringLiteral("Enter Comment"));
        m_pCommentsLink->RefreshQuery();
        if (EditComment())
            return;
        // Cancelled: the placeholder goes again.
        TTable* comments = m_pDataModule->tblCallComments;
        if (comments->Locate(QStringLiteral("ID"), id))
            comments->Delete();
        m_pCommentsLink->RefreshQuery();
    } catch (const std::exception&) {
        ShowError("The comment line could not be added.");
    }
}

bool TfrmCallEdtr::EditComment() {
    if (!m_pDataModule || !sqlComments->Active() || sqlComments->IsEmpty())
        return false;
    // Made for this one use and gone afterwards.
    auto dialog = std::make_unique<TfrmCallCommentEdtr>(this);
    dialog->SetComment(sqlComments->FieldByName(QStringLiteral("LINE")).AsString(),
                       sqlComments->FieldByName(QStringLiteral("DateTime")).AsDateTime());
    TfrmCallCommentEdtr* shown = dialog.get();
    if (Dialogs().ExecModal(shown, [shown] { return shown->exec(); }) != QDialog::Accepted)
        return false;
    if (!m_pCommentsLink->SyncTableToQuery()) {
        ShowError("Record not found!");
        return false;
    }
    TTable* comments = m_pDataModule->tblCallComments;
    try {
        comments->Edit();
        comments->FieldByName(QStringLiteral("CommentLine")).SetAsString(shown->Comment());
        comments->FieldByName(QStringLiteral("DateTime")).SetAsDateTime(shown->Stamp());
        comments->Post();
    } catch (const std::exception&) {
        if (comments->State() != TDataSetState::Browse)
            comments->Cancel();
        ShowError("The comment line could not be saved.");
        return false;
    }
    m_pCommentsLink->RefreshQuery();
    return true;
}

void TfrmCallEdtr::lnkDeleteClick() {
    if (!m_pDataModule || !sqlComments->Active() || sqlComments->IsEmpty())
        return;
    if (Dialogs().MessageBox(TMsgKind::Confirmation, QStringLiteral("Confirm"),
                             QStringLiteral("Delete the selected comment?"), mbYes | mbNo) != mbYes)
        return;
    if (!m_pCommentsLink->SyncTableToQuery()) {
        ShowError("Record not found!");
        return;
    }
    try {
        m_pDataModule->tblCallComments->Delete();
    } catch (const std::exception&) {
        ShowError("The comment line could not be deleted.");
    }
    m_pCommentsLink->RefreshQuery();
}

// ---------------------------------------------------------------------------
// The call card

void TfrmCallEdtr::btnCallCardClick() {
    // The card shows the call as saved: Apply first, then the card, whether
    // or not the call could be saved.
    if (btnApply->isEnabled())
        btnApply->click();
    PrintCallCard();
}

void TfrmCallEdtr::PrintCurrentCallCard() {
    if (!m_pDataModule)
        return;
    m_pDataModule->CallsAccess()->SyncTableToQuery();
    PrintCallCard();
}

void TfrmCallEdtr::PrintCallCard() {
    if (!m_pDataModule || !m_pDataset)
        return;
    // The call read afresh from its file, beside the row and the lookups,
    // which follow the call table's current row.
    const std::unique_ptr<TQuery> sqlReport =
        m_pDataModule->CreateQuery(QStringLiteral("Select * From Call.DB Where CallNr = '") +
                                       Sq(CallField("CallNr")) + QLatin1Char('\''),
                                   true);
    const RCallCard::TSources sources{sqlReport.get(), m_pDataset,         sqlCustomer,
                                      sqlItem,         sqlServiceContract, sqlWorker};
    UReportDrawing::PrintPreview(
        RCallCard::BuildDocument(sources, RCallCard::Banner(m_sVidazLibrary), RCallCard::RunDate()),
        this);
}
