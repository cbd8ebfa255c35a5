#include "lists/FServiceContractList.h"

#include "data/DMGlobals.h"
#include "data/engine/TField.h"
#include "data/engine/TQuery.h"
#include "lists/UDetailPanel.h"
#include "lists/UDetailQueries.h"
#include "lists/UListMenus.h"
#include "lists/UMarkupBox.h"

#include <QHBoxLayout>
#include <QMenu>

TfrmServiceContractList* frmServiceContractList = nullptr;

namespace {

const QString CustomerMarkup = QStringLiteral(
    "<B>Name:</B> <#FirstName>  <#LastName><BR><B>Company:</B> <#CompanyName><BR><BR><B>Tel:</B> "
    "<#Tel><BR><B>Fax:</B> <#Fax><BR><B>Cell:</B> <#Cell><BR><B>Email:</B> <#Email>");
const QString ItemMarkup =
    QStringLiteral("<B>Brand:</B> <#Brand><BR><B>Model:</B> <#Model><BR><BR><#Description>");

} // namespace

TfrmServiceContractList::TfrmServiceContractList(QWidget* owner, TdmlGlobals* dataModule,
                                                 IRecordEditor* editor)
    : TfrmDataList(owner, false) {
    setWindowTitle(QStringLiteral("Service Contracts"));
    SetTitle(QStringLiteral("Service Contracts"));
    m_pDataModule = dataModule;
    if (dataModule) {
        SetDataSet(dataModule->sqlServiceContract);
        // Matches on both the item serial number and the customer.
        m_pTableLink = dataModule->ServiceContractsAccess();
    }
    m_pEditor = editor;
    m_sSortKeyField = QStringLiteral("ItemSerialNr");
    SetRecordNames({QStringLiteral("service contract"), QStringLiteral("service contracts")});

    m_SearchBy.Add({QStringLiteral("Customer ID"), QStringLiteral("CustomerID"), false});
    m_SearchBy.Add({QStringLiteral("Serial #"), QStringLiteral("ItemSerialNr"), false});
    m_SearchBy.Add({QStringLiteral("Company"), QStringLiteral("CompanyName"), false});
    m_SearchBy.Add({QStringLiteral("Brand"), QStringLiteral("Brand"), false});
    m_SearchBy.Add({QStringLiteral("Model"), QStringLiteral("Model"), false});
    LoadSearchByEntries();

    SetColumn(QStringLiteral("CustomerID"), QStringLiteral("Customer ID"), 83);
    SetColumn(QStringLiteral("ItemSerialNr"), QStringLiteral("Serial #"), 73);
    SetColumn(QStringLiteral("ServiceType"), QStringLiteral("Service Type"), 87);
    SetColumn(QStringLiteral("StillValid"), QStringLiteral("Valid?"), 36);
    SetColumn(QStringLiteral("Comments"), QString(), 169);
    SetColumn(QStringLiteral("CompanyName"), QStringLiteral("Company"), 91);
    SetColumn(QStringLiteral("Brand"), QStringLiteral("Brand"), 90);
    SetColumn(QStringLiteral("Model"), QString(), 83);

    m_pDetails = new TDetailQueries(dataModule, m_pDataset, this);
    sqlCustomer = m_pDetails->Add(QStringLiteral("sqlCustomer"),
                                  {QStringLiteral("Select * "), QStringLiteral("From Customer"),
                                   QStringLiteral("where CustomerID = :CustomerID")});
    sqlItem = m_pDetails->Add(QStringLiteral("sqlItem"),
                              {QStringLiteral("Select * "), QStringLiteral("From Item"),
                               QStringLiteral("where SerialNr = :ItemSerialNr")});
    cmpServiceContractDetails = new TDetailPanel(this, QStringLiteral("cmpServiceContractDetails"));
    auto* page = new QWidget;
    auto* boxes = new QHBoxLayout(page);
    boxes->setContentsMargins(4, 4, 4, 4);
    boxCustomer = new TMarkupBox(QStringLiteral("Customer"), CustomerMarkup, page);
    boxCustomer->SetDataSet(sqlCustomer);
    boxItem = new TMarkupBox(QStringLiteral("Item"), ItemMarkup, page);
    boxItem->SetDataSet(sqlItem);
    boxes->addWidget(boxCustomer, 1);
    boxes->addWidget(boxItem, 1);
    cmpServiceContractDetails->AddTab(QStringLiteral("Details"), page);

    m_pMenus = new TListMenus(this);
    m_pMenus->AddRecordEntries(QStringLiteral("actAdd"), false);
    actGotoCustomer = m_pMenus->AddCommand(
        QStringLiteral("actGotoCustomer"),
        [this] {
            return m_pDataModule && CanEdit() &&
                   m_pDataModule->CustomerExists(CurrentValue(QStringLiteral("CustomerID")));
        },
        [this] {
            m_pDataModule->GotoRecord(TdmlGlobals::rkCustomer,
                                      CurrentValue(QStringLiteral("CustomerID")));
        });
    actGotoItem = m_pMenus->AddCommand(
        QStringLiteral("actGotoItem"),
        [this] {
            return m_pDataModule && CanEdit() &&
                   m_pDataModule->ItemExists(CurrentValue(QStringLiteral("ItemSerialNr")));
        },
        [this] {
            m_pDataModule->GotoRecord(TdmlGlobals::rkItem,
                                      CurrentValue(QStringLiteral("ItemSerialNr")));
        });
    QMenu* popup = m_pMenus->Popup();
    popup->addSeparator();
    QMenu* gotoMenu =
        m_pMenus->AddSubMenu(popup, QStringLiteral("miGoto"), QStringLiteral("Go To"));
    m_pMenus->AddHiddenEntry(QStringLiteral("View Contract Card"));
    QMenu* window = m_pMenus->WindowMenu(QStringLiteral("mnuServiceContracts"),
                                         QStringLiteral("ServiceContracts"));
    QMenu* windowGoto =
        m_pMenus->AddSubMenu(window, QStringLiteral("miGoto"), QStringLiteral("Goto"));
    for (QMenu* menu : {gotoMenu, windowGoto}) {
        m_pMenus->AddEntry(menu, actGotoCustomer, QStringLiteral("Customer"));
        m_pMenus->AddEntry(menu, actGotoItem, QStringLiteral("Item"));
    }
    connect(boxCustomer, &TMarkupBox::DoubleClicked, this, [this] { actGotoCustomer->Execute(); });
    connect(boxItem, &TMarkupBox::DoubleClicked, this, [this] { actGotoItem->Execute(); });

    if (dataModule)
        dataModule->Attach(this);
}

TfrmServiceContractList::~TfrmServiceContractList() {
    if (m_pDataModule)
        m_pDataModule->Detach(this);
}

void TfrmServiceContractList::RefreshDetails() {
    m_pDetails->Open();
}

void TfrmServiceContractList::CloseDetails() {
    m_pDetails->Close();
}

void TfrmServiceContractList::Update(UAbstract::IObservableSubject* /*subject*/) {
    m_pDetails->Activate();
}

QMenu* TfrmServiceContractList::WindowMenu() {
    return m_pMenus->WindowMenu();
}

bool TfrmServiceContractList::DeleteCurrentRecord() {
    return DeleteThroughDataModule(
        QStringLiteral("TfrmServiceContractList::DeleteCurrentRecord"),
        QStringLiteral("FServiceContractList"), [](TdmlGlobals& module, TDataSet& row) {
            module.DeleteServiceContract(row.FieldByName(QStringLiteral("ItemSerialNr")).AsString(),
                                         row.FieldByName(QStringLiteral("CustomerID")).AsString());
        });
}
