#include "lists/FItemList.h"

#include "data/DMGlobals.h"
#include "data/engine/TField.h"
#include "data/engine/TQuery.h"
#include "exchange/RHistory.h"
#include "lists/UDetailGrid.h"
#include "lists/UDetailPanel.h"
#include "lists/UDetailQueries.h"
#include "lists/UListMenus.h"
#include "lists/UMarkupBox.h"
#include "shell/UErrors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>

TfrmItemList* frmItemList = nullptr;

namespace {

const QString OwnerMarkup = QStringLiteral(
    "<B>Name:</B> <#FirstName>  <#LastName><BR><B>Company:</B> <#CompanyName><BR><BR><B>Tel:</B> "
    "<#Tel><BR><B>Fax:</B> <#Fax><BR><B>Cell:</B> <#Cell><BR><B>Email:</B> <#Email>");
const QString ContractMarkup =
    QStringLiteral("<B>Valid? </B><#StillValid><BR><B>Service Type:</B><#ServiceType><BR><BR><B>"
                   "Comments:</B><#Comments>");

} // namespace

TfrmItemList::TfrmItemList(QWidget* owner, TdmlGlobals* dataModule, IRecordEditor* editor,
                           bool popupMode)
    : TfrmDataList(owner, popupMode) {
    setWindowTitle(QStringLiteral("Items "));
    SetTitle(QStringLiteral("Items"));
    m_pDataModule = dataModule;
    if (dataModule) {
        SetDataSet(dataModule->sqlItem);
        m_pTableLink = dataModule->ItemsAccess();
    }
    m_pEditor = editor;
    m_sSortKeyField = QStringLiteral("SerialNr");
    SetRecordNames({QStringLiteral("item"), QStringLiteral("items")});

    m_SearchBy.Add({QStringLiteral("Serial #"), QStringLiteral("SerialNr"), false});
    m_SearchBy.Add({QStringLiteral("Owner ID"), QStringLiteral("Owner"), false});
    m_SearchBy.Add({QStringLiteral("Company"), QStringLiteral("CompanyName"), false});
    m_SearchBy.Add({QStringLiteral("Brand"), QStringLiteral("Brand"), false});
    m_SearchBy.Add({QStringLiteral("Model"), QStringLiteral("Model"), false});
    LoadSearchByEntries();

    SetColumn(QStringLiteral("SerialNr"), QStringLiteral("Serial #"), 81);
    SetColumn(QStringLiteral("Brand"), QStringLiteral("Brand"), 83);
    SetColumn(QStringLiteral("Model"), QString(), 83);
    SetColumn(QStringLiteral("Owner"), QStringLiteral("Owner ID"), 80);
    SetColumn(QStringLiteral("CompanyName"), QStringLiteral("Company"), 109);
    SetColumn(QStringLiteral("Description"), QString(), 191);
    SetColumn(QStringLiteral("ServiceType"), QStringLiteral("Contract"), 73);

    m_pMenus = new TListMenus(this);
    m_pMenus->AddRecordEntries(QStringLiteral("actNew"), true);
    actGotoCustomer = m_pMenus->AddCommand(
        QStringLiteral("actGotoCustomer"),
        [this] {
            return m_pDataModule && CanEdit() &&
                   m_pDataModule->CustomerExists(CurrentValue(QStringLiteral("Owner")));
        },
        [this] {
            m_pDataModule->GotoRecord(TdmlGlobals::rkCustomer,
                                      CurrentValue(QStringLiteral("Owner")));
        });
    actGotoServiceContract = m_pMenus->AddCommand(
        QStringLiteral("actGotoServiceContract"),
        [this] {
            return m_pDataModule && CanEdit() &&
                   m_pDataModule->ServiceContractExists(CurrentValue(QStringLiteral("SerialNr")),
                                                        CurrentValue(QStringLiteral("Owner")));
        },
        [this] {
            m_pDataModule->GotoRecord(TdmlGlobals::rkServiceContract,
                                      CurrentValue(QStringLiteral("SerialNr")),
                                      CurrentValue(QStringLiteral("Owner")));
        });
    QMenu* popup = m_pMenus->Popup();
    popup->addSeparator();
    QMenu* miGoto = m_pMenus->AddSubMenu(popup, QStringLiteral("miGoto"), QStringLiteral("Go to"));
    miGoto->menuAction()->setVisible(!popupMode);
    m_pMenus->AddEntry(miGoto, actGotoCustomer, QStringLiteral("Owner"));
    m_pMenus->AddEntry(miGoto, actGotoServiceContract, QStringLiteral("Service Contract"));
    m_pMenus->AddHiddenEntry(QStringLiteral("View Item Report"));
    if (popupMode)
        return;

    QMenu* window = m_pMenus->WindowMenu(QStringLiteral("mnuItems"), QStringLiteral("Items"));
    QMenu* windowGoto =
        m_pMenus->AddSubMenu(window, QStringLiteral("miGoto"), QStringLiteral("Goto"));
    m_pMenus->AddEntry(windowGoto, actGotoCustomer, QStringLiteral("Customer"));
    m_pMenus->AddEntry(windowGoto, actGotoServiceContract, QStringLiteral("Service Contract"));

    // The picker twin over the same query, owned by this list alone as its
    // child.
    frmPopup = new TfrmItemList(this, dataModule, editor, true);

    m_pDetails = new TDetailQueries(dataModule, m_pDataset, this);
    sqlRelatedCalls = m_pDetails->Add(
        QStringLiteral("sqlRelatedCalls"),
        {QStringLiteral("Select C.CallNr, C.JobcardNumber, C.OrderNumber, C.WorkerNr, "
                        "C.Date_Time, C.ProblemDescr, (W.Name || \" \" || W.Surname) AS "
                        "WorkerFullName"),
         QStringLiteral("FROM Call C"),
         QStringLiteral("LEFT OUTER JOIN Worker W ON (W.WorkerNr = C.WorkerNr)"),
         QStringLiteral("Where EquipmentSerialNr =  :SerialNr")});
    sqlOwner = m_pDetails->Add(QStringLiteral("sqlOwner"),
                               {QStringLiteral("Select * "), QStringLiteral("From Customer"),
                                QStringLiteral("Where CustomerID = :Owner")});
    sqlServiceContract =
        m_pDetails->Add(QStringLiteral("sqlServiceContract"),
                        {QStringLiteral("Select * "), QStringLiteral("From ServiceContract"),
                         QStringLiteral("Where ItemSerialNr = :SerialNr")});

    cmpItemListTabs = new TDetailPanel(this, QStringLiteral("cmpItemListTabs"));
    auto* page = new QWidget;
    auto* boxes = new QHBoxLayout(page);
    boxes->setContentsMargins(4, 4, 4, 4);
    boxOwner = new TMarkupBox(QStringLiteral("Owner"), OwnerMarkup, page);
    boxOwner->SetDataSet(sqlOwner);
    boxServiceContract = new TMarkupBox(QStringLiteral("Service Contract"), ContractMarkup, page);
    boxServiceContract->SetEmptyText(QStringLiteral("No Contract..."));
    boxServiceContract->SetDataSet(sqlServiceContract);
    boxes->addWidget(boxOwner, 1);
    boxes->addWidget(boxServiceContract, 1);
    cmpItemListTabs->AddTab(QStringLiteral("Item Details"), page);
    grdCalls = new TDetailGrid(sqlRelatedCalls);
    grdCalls->setObjectName(QStringLiteral("grdCalls"));
    grdCalls->SetColumn(QStringLiteral("CallNr"), QStringLiteral("Call #"), 62);
    grdCalls->SetColumn(QStringLiteral("JobcardNumber"), QStringLiteral("Jobcard #"), 64);
    grdCalls->SetColumn(QStringLiteral("OrderNumber"), QStringLiteral("Order #"), 64);
    grdCalls->SetColumn(QStringLiteral("WorkerFullName"), QStringLiteral("Worker"), 81);
    grdCalls->SetColumn(QStringLiteral("Date_Time"), QStringLiteral("Date"), 69);
    grdCalls->SetColumn(QStringLiteral("ProblemDescr"), QStringLiteral("Problem"), 300);
    cmpItemListTabs->AddTab(QStringLiteral("Item Call History"), grdCalls);

    connect(boxOwner, &TMarkupBox::DoubleClicked, this, [this] { actGotoCustomer->Execute(); });
    connect(boxServiceContract, &TMarkupBox::DoubleClicked, this,
            [this] { actGotoServiceContract->Execute(); });
    connect(grdCalls, &TDetailGrid::RowDoubleClicked, this, [this] {
        if (m_pDataModule && sqlRelatedCalls->Active() && !sqlRelatedCalls->IsEmpty())
            m_pDataModule->GotoRecord(
                TdmlGlobals::rkCall,
                sqlRelatedCalls->FieldByName(QStringLiteral("CallNr")).AsString());
    });

    if (dataModule)
        dataModule->Attach(this);
}

TfrmItemList::~TfrmItemList() {
    if (m_pDataModule && !m_bPopupMode)
        m_pDataModule->Detach(this);
}

bool TfrmItemList::CanPrint() {
    return m_pDataset && rptHistory && !m_pDataset->IsEmpty();
}

QString TfrmItemList::ItemText(const QString& serialNr, const QString& brand, const QString& model,
                               const QString& description) {
    QString text = serialNr;
    if (!brand.isEmpty())
        text += QStringLiteral(", ") + brand;
    if (!model.isEmpty())
        text += QLatin1Char(' ') + model;
    if (!description.isEmpty())
        text += QStringLiteral(" (") + description + QLatin1Char(')');
    return text;
}

void TfrmItemList::Print() {
    if (!rptHistory || !m_pDataset || !sqlRelatedCalls || m_pDataset->IsEmpty())
        return;
    // The owner box must show this item's owner, not wait for the next idle.
    IdleUpdate();
    const auto field = [](TDataSet* dataSet, const char* name) {
        if (!dataSet || !dataSet->Active() || dataSet->IsEmpty())
            return QString();
        const TField* found = dataSet->FindField(QString::fromLatin1(name));
        return found ? found->AsString() : QString();
    };
    const QString item = ItemText(field(m_pDataset, "SerialNr"), field(m_pDataset, "Brand"),
                                  field(m_pDataset, "Model"), field(m_pDataset, "Description"));
    const QString owner =
        field(sqlOwner, "FirstName") + QLatin1Char(' ') + field(sqlOwner, "LastName");
    rptHistory->Run(sqlRelatedCalls->SQL(), item, owner, field(sqlOwner, "CompanyName"));
}

void TfrmItemList::RefreshDetails() {
    if (m_pDetails)
        m_pDetails->Open();
}

void TfrmItemList::CloseDetails() {
    if (m_pDetails)
        m_pDetails->Close();
}

void TfrmItemList::Update(UAbstract::IObservableSubject* /*subject*/) {
    if (m_pDetails)
        m_pDetails->Activate();
}

QMenu* TfrmItemList::WindowMenu() {
    return m_pMenus->WindowMenu();
}

void TfrmItemList::GridClick() {
    MakeCurrent();
}

bool TfrmItemList::DeleteCurrentRecord() {
    return DeleteThroughDataModule(
        QStringLiteral("TfrmItemList::DeleteCurrentRecord"), QStringLiteral("FItemList"),
        [](TdmlGlobals& module, TDataSet& row) {
            module.DeleteItem(row.FieldByName(QStringLiteral("SerialNr")).AsString());
        });
}

QString ExecuteItemList(QWidget* /*owner*/) {
    if (!frmItemList) {
        DebugTrace(QStringLiteral("frmItemList is Null"),
                   QStringLiteral("frmItemList::ExecuteItemList"), QStringLiteral("FItemList"));
        return {};
    }
    return frmItemList->ExecutePopup(QStringLiteral("SerialNr"));
}
