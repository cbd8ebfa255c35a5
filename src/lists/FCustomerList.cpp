#include "lists/FCustomerList.h"

#include "data/DMGlobals.h"
#include "data/engine/TField.h"
#include "data/engine/TQuery.h"
#include "lists/UDetailGrid.h"
#include "lists/UDetailPanel.h"
#include "lists/UDetailQueries.h"
#include "lists/UListMenus.h"
#include "shell/UErrors.h"

#include <QMenu>

TfrmCustomerList* frmCustomerList = nullptr;

TfrmCustomerList::TfrmCustomerList(QWidget* owner, TdmlGlobals* dataModule, IRecordEditor* editor,
                                   bool popupMode)
    : TfrmDataList(owner, popupMode) {
    setWindowTitle(QStringLiteral("Customers"));
    SetTitle(QStringLiteral("Customers"));
    m_pDataModule = dataModule;
    if (dataModule) {
        SetDataSet(dataModule->sqlCustomer);
        m_pTableLink = dataModule->CustomersAccess();
    }
    m_pEditor = editor;
    m_sSortKeyField = QStringLiteral("CustomerID");
    SetRecordNames({QStringLiteral("customer"), QStringLiteral("customers")});

    m_SearchBy.Add({QStringLiteral("Name"), QStringLiteral("FirstName"), false});
    m_SearchBy.Add({QStringLiteral("Surname"), QStringLiteral("LastName"), false});
    m_SearchBy.Add({QStringLiteral("Company"), QStringLiteral("CompanyName"), false});
    m_SearchBy.Add({QStringLiteral("Customer ID"), QStringLiteral("CustomerID"), false});
    LoadSearchByEntries();

    SetColumn(QStringLiteral("CustomerID"), QStringLiteral("Customer #"), 89);
    SetColumn(QStringLiteral("CompanyName"), QStringLiteral("Company"), 203);
    SetColumn(QStringLiteral("FirstName"), QStringLiteral("Name"), 86);
    SetColumn(QStringLiteral("LastName"), QStringLiteral("Surname"), 86);
    // The query reads every field of a customer; the rest follow these.
    SetColumn(QStringLiteral("Tel"), QStringLiteral("Telephone"), 90);
    SetColumn(QStringLiteral("Fax"), QStringLiteral("Fax"), 90);
    SetColumn(QStringLiteral("Cell"), QStringLiteral("Cellphone"), 90);
    SetColumn(QStringLiteral("Email"), QStringLiteral("E-mail"), 150);
    SetColumn(QStringLiteral("PhysicalAddr"), QStringLiteral("Physical Address"), 160);
    SetColumn(QStringLiteral("PhysicalCode"), QStringLiteral("Code"), 50);
    SetColumn(QStringLiteral("PostalAddr"), QStringLiteral("Postal Address"), 160);
    SetColumn(QStringLiteral("PostalCode"), QStringLiteral("Code"), 50);
    SetColumn(QStringLiteral("Country"), QStringLiteral("Country"), 100);
    SetColumn(QStringLiteral("Notes"), QStringLiteral("Notes"), 200);

    m_pMenus = new TListMenus(this);
    m_pMenus->AddRecordEntries(QStringLiteral("actAdd"), true);
    m_pMenus->Popup()->addSeparator();
    m_pMenus->AddHiddenEntry(QStringLiteral("View Customer Report"));
    if (popupMode)
        return;

    // The picker twin over the same query, owned by this list alone as its
    // child.
    frmPopup = new TfrmCustomerList(this, dataModule, editor, true);

    m_pDetails = new TDetailQueries(dataModule, m_pDataset, this);
    sqlItems4Customer = m_pDetails->Add(
        QStringLiteral("sqlItems4Customer"),
        {QStringLiteral("Select I.SerialNr, I.Brand, I.Model,  I.Description, S.ServiceType, "
                        "S.StillValid,S.Comments"),
         QStringLiteral("From Item I "),
         QStringLiteral("LEFT OUTER JOIN ServiceContract S ON (I.SerialNr = S.ItemSerialNr)"),
         QStringLiteral("WHERE I.Owner = :CustomerID")});
    sqlCalls4Customer = m_pDetails->Add(
        QStringLiteral("sqlCalls4Customer"),
        {QStringLiteral("Select C.CallNr, C.EquipmentSerialNr, C.JobcardNumber, C.OrderNumber, "
                        "C.WorkerNr, C.Date_Time, C.ProblemDescr, (W.Name || \" \" || W.Surname) "
                        "AS WorkerFullName"),
         QStringLiteral("FROM Call C"),
         QStringLiteral("LEFT OUTER JOIN Worker W ON (W.WorkerNr = C.WorkerNr)"),
         QStringLiteral("where C.CustomerID  = :CustomerID")});

    cmpCustomerListTabs = new TDetailPanel(this, QStringLiteral("cmpCustomerListTabs"));
    grdItems = new TDetailGrid(sqlItems4Customer);
    grdItems->setObjectName(QStringLiteral("grdItems"));
    grdItems->SetColumn(QStringLiteral("SerialNr"), QStringLiteral("Serial #"), 64);
    grdItems->SetColumn(QStringLiteral("Brand"), QString(), 88);
    grdItems->SetColumn(QStringLiteral("Model"), QString(), 83);
    grdItems->SetColumn(QStringLiteral("Description"), QString(), 77);
    grdItems->SetColumn(QStringLiteral("ServiceType"), QStringLiteral("Service Contract Type"),
                        118);
    grdItems->SetColumn(QStringLiteral("StillValid"), QStringLiteral("Valid?"), 35);
    grdItems->SetColumn(QStringLiteral("Comments"), QStringLiteral("Comments"), 134);
    cmpCustomerListTabs->AddTab(QStringLiteral("Items"), grdItems);
    grdCallHistory = new TDetailGrid(sqlCalls4Customer);
    grdCallHistory->setObjectName(QStringLiteral("grdCallHistory"));
    grdCallHistory->SetColumn(QStringLiteral("CallNr"), QStringLiteral("Call #"), 58);
    grdCallHistory->SetColumn(QStringLiteral("EquipmentSerialNr"), QStringLiteral("Serial #"), 63);
    grdCallHistory->SetColumn(QStringLiteral("JobcardNumber"), QStringLiteral("Jobcard #"), 59);
    grdCallHistory->SetColumn(QStringLiteral("WorkerFullName"), QStringLiteral("Worker"), 111);
    grdCallHistory->SetColumn(QStringLiteral("OrderNumber"), QStringLiteral("Order #"), 64);
    grdCallHistory->SetColumn(QStringLiteral("Date_Time"), QStringLiteral("Date"), 60);
    grdCallHistory->SetColumn(QStringLiteral("ProblemDescr"), QStringLiteral("Problem"), 350);
    cmpCustomerListTabs->AddTab(QStringLiteral("Customer Call History"), grdCallHistory);

    // A row of a detail grid leads to that item or call in its own list.
    const auto goTo = [this](TQuery* query, TdmlGlobals::TRecordKind kind, const char* key) {
        return [this, query, kind, key] {
            if (m_pDataModule && query->Active() && !query->IsEmpty())
                m_pDataModule->GotoRecord(kind, query->FieldByName(QLatin1String(key)).AsString());
        };
    };
    connect(grdItems, &TDetailGrid::RowDoubleClicked, this,
            goTo(sqlItems4Customer, TdmlGlobals::rkItem, "SerialNr"));
    connect(grdCallHistory, &TDetailGrid::RowDoubleClicked, this,
            goTo(sqlCalls4Customer, TdmlGlobals::rkCall, "CallNr"));

    if (dataModule)
        dataModule->Attach(this);
}

TfrmCustomerList::~TfrmCustomerList() {
    if (m_pDataModule && !m_bPopupMode)
        m_pDataModule->Detach(this);
}

void TfrmCustomerList::RefreshDetails() {
    if (m_pDetails)
        m_pDetails->Open();
}

void TfrmCustomerList::CloseDetails() {
    if (m_pDetails)
        m_pDetails->Close();
}

void TfrmCustomerList::Update(UAbstract::IObservableSubject* /*subject*/) {
    if (m_pDetails)
        m_pDetails->Activate();
}

bool TfrmCustomerList::DeleteCurrentRecord() {
    return DeleteThroughDataModule(
        QStringLiteral("TfrmCustomerList::DeleteCurrentRecord"), QStringLiteral("FCustomerList"),
        [](TdmlGlobals& module, TDataSet& row) {
            module.DeleteCustomer(row.FieldByName(QStringLiteral("CustomerID")).AsString());
        });
}

QString ExecuteCustomerList(QWidget* /*owner*/) {
    if (!frmCustomerList) {
        DebugTrace(QStringLiteral("frmCustomerList is Null"),
                   QStringLiteral("frmCustomerList::ExecuteCustomerList"),
                   QStringLiteral("FCustomerList"));
        return {};
    }
    return frmCustomerList->ExecutePopup(QStringLiteral("CustomerID"));
}
