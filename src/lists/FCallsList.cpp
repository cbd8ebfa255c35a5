#include "lists/FCallsList.h"

#include "data/DMGlobals.h"
#include "data/engine/TField.h"
#include "data/engine/TQuery.h"
#include "lists/UDetailPanel.h"
#include "lists/UDetailQueries.h"
#include "lists/UListMenus.h"
#include "lists/UMarkupBox.h"

#include <QHBoxLayout>
#include <QMenu>

TfrmCallsList* frmCallsList = nullptr;

namespace {

const QString CustomerMarkup = QStringLiteral(
    "<B>Name:</B> <#FirstName>  <#LastName><BR><B>Company:</B> <#CompanyName><BR><BR><B>Tel:</B> "
    "<#Tel><BR><B>Fax:</B> <#Fax><BR><B>Cell:</B> <#Cell><BR><B>Email:</B> <#Email>");
const QString ItemMarkup =
    QStringLiteral("<B>Brand:</B> <#Brand><BR><B>Model:</B> <#Model><BR><B>Meter "
                   "Reading:</B><#MeterReading><BR><BR><#Description>");
const QString ServiceMarkup =
    QStringLiteral("<B>Worker: </B><#Name> <#Surname><BR><B>S. Contract: "
                   "</B><#ServiceType><BR><BR><B>Problem:</B> <#Problem>");

} // namespace

TfrmCallsList::TfrmCallsList(QWidget* owner, TdmlGlobals* dataModule, IRecordEditor* editor)
    : TfrmDataList(owner, false) {
    setWindowTitle(QStringLiteral("Calls"));
    SetTitle(QStringLiteral("Calls"));
    m_pDataModule = dataModule;
    if (dataModule) {
        // The grid shows the columns below and no others.
        for (const char* hidden : {"WorkerNr", "Billed"})
            dataModule->sqlCall->DefineField(QLatin1String(hidden)).SetVisible(false);
        SetDataSet(dataModule->sqlCall);
        m_pTableLink = dataModule->CallsAccess();
    }
    m_pEditor = editor;
    m_sSortKeyField = QStringLiteral("CallNr");
    SetRecordNames({QStringLiteral("call"), QStringLiteral("calls")});

    m_SearchBy.Add({QStringLiteral("Call #"), QStringLiteral("CallNr"), false});
    m_SearchBy.Add({QStringLiteral("Customer"), QStringLiteral("CustomerID"), false});
    m_SearchBy.Add({QStringLiteral("Company"), QStringLiteral("CompanyName"), false});
    m_SearchBy.Add({QStringLiteral("Serial #"), QStringLiteral("EquipmentSerialNr"), false});
    m_SearchBy.Add({QStringLiteral("Jobcard #"), QStringLiteral("JobcardNumber"), false});
    LoadSearchByEntries();

    SetColumn(QStringLiteral("CallNr"), QStringLiteral("Call #"), 57);
    SetColumn(QStringLiteral("CustomerID"), QStringLiteral("Customer"), 60);
    SetColumn(QStringLiteral("CompanyName"), QStringLiteral("Company"), 96);
    SetColumn(QStringLiteral("EquipmentSerialNr"), QStringLiteral("Serial #"), 66);
    SetColumn(QStringLiteral("Item"), QStringLiteral("Item"), 100);
    SetColumn(QStringLiteral("JobcardNumber"), QStringLiteral("Jobcard #"), 64);
    SetColumn(QStringLiteral("Worker"), QStringLiteral("Worker"), 87);
    SetColumn(QStringLiteral("OrderNumber"), QStringLiteral("Order #"), 50);
    SetColumn(QStringLiteral("Status"), QString(), 67);
    SetColumn(QStringLiteral("Priority"), QString(), 41);
    SetColumn(QStringLiteral("Date_Time"), QStringLiteral("Date"), 64);

    // The details of the current call.
    m_pDetails = new TDetailQueries(dataModule, m_pDataset, this);
    sqlCustomer = m_pDetails->Add(QStringLiteral("sqlCustomer"),
                                  {QStringLiteral("Select * "), QStringLiteral("From Customer"),
                                   QStringLiteral("where CustomerID = :CustomerID")});
    sqlItem = m_pDetails->Add(QStringLiteral("sqlItem"),
                              {QStringLiteral("Select * "), QStringLiteral("From Item"),
                               QStringLiteral("where SerialNr = :EquipmentSerialNr")});
    sqlService = m_pDetails->Add(
        QStringLiteral("sqlService"),
        {QStringLiteral("SELECT C.ProblemDescr AS Problem, C.CustomerID, C.WorkerNr, "
                        "C.EquipmentSerialNr, S.ServiceType, W.Name, W.Surname"),
         QStringLiteral("FROM Call C"),
         QStringLiteral("FULL OUTER JOIN Worker W ON (C.WorkerNr = W.WorkerNR)"),
         QStringLiteral("FULL OUTER JOIN ServiceContract S ON ((C.EquipmentSerialNr = "
                        "S.ItemSerialNr) AND (C.CustomerID = S.CustomerID))"),
         QStringLiteral("Where (C.CallNr = :CallNr)")});

    cmpCallDetails = new TDetailPanel(this, QStringLiteral("cmpCallDetails"));
    auto* page = new QWidget;
    auto* boxes = new QHBoxLayout(page);
    boxes->setContentsMargins(4, 4, 4, 4);
    boxCustomer = new TMarkupBox(QStringLiteral("Customer"), CustomerMarkup, page);
    boxItem = new TMarkupBox(QStringLiteral("Item"), ItemMarkup, page);
    boxService = new TMarkupBox(QStringLiteral("Service"), ServiceMarkup, page);
    boxCustomer->SetDataSet(sqlCustomer);
    boxItem->SetDataSet(sqlItem);
    boxService->SetDataSet(sqlService);
    for (TMarkupBox* box : {boxCustomer, boxItem, boxService})
        boxes->addWidget(box, 1);
    cmpCallDetails->AddTab(QStringLiteral("Call Details"), page);

    // Commands and menus.
    m_pMenus = new TListMenus(this);
    m_pMenus->AddRecordEntries(QStringLiteral("actAdd"), false);
    const auto canGo = [this](const std::function<bool(TdmlGlobals&)>& exists) {
        return [this, exists] { return m_pDataModule && CanEdit() && exists(*m_pDataModule); };
    };
    const auto go = [this](TdmlGlobals::TRecordKind kind, const char* first,
                           const char* second = nullptr) {
        return [this, kind, first, second] {
            if (m_pDataModule)
                m_pDataModule->GotoRecord(kind, CurrentValue(QLatin1String(first)),
                                          second ? CurrentValue(QLatin1String(second)) : QString());
        };
    };
    actGotoCustomer = m_pMenus->AddCommand(
        QStringLiteral("actGotoCustomer"), canGo([this](TdmlGlobals& module) {
            return module.CustomerExists(CurrentValue(QStringLiteral("CustomerID")));
        }),
        go(TdmlGlobals::rkCustomer, "CustomerID"));
    actGotoItem = m_pMenus->AddCommand(
        QStringLiteral("actGotoItem"), canGo([this](TdmlGlobals& module) {
            return module.ItemExists(CurrentValue(QStringLiteral("EquipmentSerialNr")));
        }),
        go(TdmlGlobals::rkItem, "EquipmentSerialNr"));
    actGotoServiceContract = m_pMenus->AddCommand(
        QStringLiteral("actGotoServiceContract"), canGo([this](TdmlGlobals& module) {
            return module.ServiceContractExists(CurrentValue(QStringLiteral("EquipmentSerialNr")),
                                                CurrentValue(QStringLiteral("CustomerID")));
        }),
        go(TdmlGlobals::rkServiceContract, "EquipmentSerialNr", "CustomerID"));
    actGotoWorker = m_pMenus->AddCommand(
        QStringLiteral("actGotoWorker"), canGo([this](TdmlGlobals& module) {
            return module.WorkerExists(CurrentValue(QStringLiteral("WorkerNr")));
        }),
        go(TdmlGlobals::rkWorker, "WorkerNr"));
    actViewCallCard = m_pMenus->AddCommand(
        QStringLiteral("actViewCallCard"), [this] { return m_CallCard && CanEdit(); },
        [this] {
            if (m_CallCard)
                m_CallCard();
        });

    QMenu* popup = m_pMenus->Popup();
    popup->addSeparator();
    QMenu* gotoMenu =
        m_pMenus->AddSubMenu(popup, QStringLiteral("miGoto"), QStringLiteral("Go to"));
    QMenu* window = m_pMenus->WindowMenu(QStringLiteral("mnuCalls"), QStringLiteral("Calls"));
    m_pMenus->AddEntry(window, actViewCallCard, QStringLiteral("View Call Card"));
    QMenu* windowGoto =
        m_pMenus->AddSubMenu(window, QStringLiteral("miGoto"), QStringLiteral("Goto"));
    for (QMenu* menu : {gotoMenu, windowGoto}) {
        m_pMenus->AddEntry(menu, actGotoCustomer, QStringLiteral("Customer"));
        m_pMenus->AddEntry(menu, actGotoItem, QStringLiteral("Item"));
        m_pMenus->AddEntry(menu, actGotoServiceContract, QStringLiteral("Service Contract"));
        m_pMenus->AddEntry(menu, actGotoWorker, QStringLiteral("Worker"));
    }
    m_pMenus->AddEntry(popup, actViewCallCard, QStringLiteral("View Call Card"));

    connect(boxCustomer, &TMarkupBox::DoubleClicked, this, [this] { actGotoCustomer->Execute(); });
    connect(boxItem, &TMarkupBox::DoubleClicked, this, [this] { actGotoItem->Execute(); });
    connect(boxService, &TMarkupBox::DoubleClicked, this,
            [this] { actGotoServiceContract->Execute(); });

    if (dataModule)
        dataModule->Attach(this);
}

TfrmCallsList::~TfrmCallsList() {
    if (m_pDataModule)
        m_pDataModule->Detach(this);
}

bool TfrmCallsList::CanPrint() {
    return m_CallCard && CanEdit();
}

void TfrmCallsList::Print() {
    actViewCallCard->Execute();
}

bool TfrmCallsList::DeleteCurrentRecord() {
    return DeleteThroughDataModule(
        QStringLiteral("TfrmCallsList::DeleteCurrentRecord"), QStringLiteral("FCallsList"),
        [](TdmlGlobals& module, TDataSet& row) {
            module.DeleteCall(row.FieldByName(QStringLiteral("CallNr")).AsString());
        });
}

void TfrmCallsList::RefreshDetails() {
    m_pDetails->Open();
}

void TfrmCallsList::CloseDetails() {
    m_pDetails->Close();
}

void TfrmCallsList::Update(UAbstract::IObservableSubject* /*subject*/) {
    m_pDetails->Activate();
}

QMenu* TfrmCallsList::WindowMenu() {
    return m_pMenus->WindowMenu();
}

bool TfrmCallsList::ShowsAllRecords() const {
    if (!m_pDataset || !m_pDataModule)
        return true;
    if (m_pDataset->Filtered() && !m_pDataset->Filter().isEmpty())
        return false;
    // The views of some calls add a WHERE to the calls list's query.
    return !m_pDataModule->sqlCall->SQL().contains(QLatin1String("WHERE"), Qt::CaseInsensitive);
}
