#include "editors/FCallEdtr.h"

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "editors/UEditorLayout.h"
#include "shell/abstract/IProgramSettings.h"

#include <QDateTime>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace UEditorLayout;

namespace {

const QString Complete = QStringLiteral("Complete");

// The lookup queries: each takes its parameter from the field of the same
// name in the call table's current row.
const char* const SqlItem = "Select * \r\nFrom Item\r\nWhere SerialNr = :EquipmentSerialNr";
const char* const SqlCustomer = "Select * \r\nFrom Customer\r\nwhere CustomerID = :CustomerID";
const char* const SqlWorker = "Select WorkerNr, Name, Surname, (Name || ' ' || Surname) AS "
                              "FullName from Worker\r\nwhere WorkerNR = :WorkerNr";

// A page's first line, as a plain label over its fields.
QLabel* PageHeading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::RichText);
    label->setContentsMargins(0, 0, 0, 6);
    return label;
}

QGroupBox* Group(const QString& title, QLayout* layout, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setLayout(layout);
    return group;
}

} // namespace

TfrmCallEdtr* frmCallEdtr = nullptr;

TfrmCallEdtr::TfrmCallEdtr(TdmlGlobals* dataModule, QWidget* parent)
    : TfrmBaseEditor(parent), m_pDataModule(dataModule) {
    setObjectName(QStringLiteral("frmCallEdtr"));
    setWindowTitle(QStringLiteral("Call Editor"));

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

    m_sKindName = QStringLiteral("Call");
    if (dataModule) {
        m_pDataset = dataModule->tblCall;
        for (TQuery* query : {sqlItem, sqlCustomer, sqlWorker})
            query->SetMasterSource(dataModule->dsCall);
    }

    pgcMain = new QTabWidget(pnlClient);
    pgcMain->setObjectName(QStringLiteral("pgcMain"));
    pgcMain->addTab(MakeItemPage(), QStringLiteral("Item"));
    pgcMain->addTab(MakeDetailsPage(), QStringLiteral("Call Details"));
    pgcMain->addTab(MakeStatusPage(), QStringLiteral("Status"));
    auto* layout = new QVBoxLayout(pnlClient);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pgcMain);

    QStringList statuses = {QStringLiteral("New"), QStringLiteral("Busy"),
                            QStringLiteral("Pending"), QStringLiteral("Awaiting Parts"), Complete};
    if (g_pProgramSettings)
        statuses = g_pProgramSettings->GetStatusList().Lines();
    cbxStatus->SetItems(statuses);

    OnChanged(
        this, [this] { SetModified(true); }, edtItemSerialNr, edtBrand, edtModel, edtDescription,
        edtMeterReading, edtCustomerID, edtName, edtSurname, edtCompany, edtTel, edtCell, edtEmail,
        edtCallNr, dteStartDate, cmpPriority, edtOrderNr, edtJobcard, edtStorageArea, edtrProblem,
        edtrParts, cbxCallOut, edtWorkerNr, dteCompleted, edtBillTime);
    connect(cbxStatus, &TDBComboBox::Changed, this, [this] { cbxStatusChange(); });
    connect(chkBilled, &TDBCheckBox::Changed, this, [this] { chkBilledClick(); });

    btnOk->setDefault(true);
    if (dataModule) {
        dataModule->Attach(this);
        ReattachQueries();
    }
}

TfrmCallEdtr::~TfrmCallEdtr() {
    if (m_pDataModule)
        m_pDataModule->Detach(this);
}

QWidget* TfrmCallEdtr::MakeItemPage() {
    auto* page = new QWidget(pgcMain);
    TDataSource* call = m_pDataModule ? m_pDataModule->dsCall : nullptr;

    edtItemSerialNr = Bind(new TDBEdit(page), "edtItemSerialNr", call, "EquipmentSerialNr");
    edtBrand = Bind(new TDBEdit(page), "edtBrand", dsItem, "Brand");
    edtBrand->SetMaxLength(20);
    edtModel = Bind(new TDBEdit(page), "edtModel", dsItem, "Model");
    edtModel->SetMaxLength(20);
    edtDescription = Bind(new TDBMemo(page), "edtDescription", dsItem, "Description");
    edtDescription->setFixedHeight(kMemoHeight);
    edtDescription->setTabChangesFocus(true);
    edtMeterReading = Bind(new TDBEdit(page), "edtMeterReading", call, "MeterReading");
    edtMeterReading->SetCharSet(TDBEdit::TCharSet::Digits);
    QFormLayout* item = MakeForm();
    item->addRow(QStringLiteral("Item Serial #"), edtItemSerialNr);
    item->addRow(QStringLiteral("Brand/Make"), edtBrand);
    item->addRow(QStringLiteral("Model"), edtModel);
    item->addRow(QStringLiteral("Description"), edtDescription);
    item->addRow(QStringLiteral("Meter Reading"), edtMeterReading);

    edtCustomerID = Bind(new TDBEdit(page), "edtCustomerID", call, "CustomerID");
    edtCustomerID->SetCharCase(TDBEdit::TCharCase::Upper);
    edtName = Bind(new TDBEdit(page), "edtName", dsCustomer, "FirstName");
    edtSurname = Bind(new TDBEdit(page), "edtSurname", dsCustomer, "LastName");
    edtCompany = Bind(new TDBEdit(page), "edtCompany", dsCustomer, "CompanyName");
    edtTel = Bind(new TDBEdit(page), "edtTel", dsCustomer, "Tel");
    edtCell = Bind(new TDBEdit(page), "edtCell", dsCustomer, "Cell");
    edtEmail = Bind(new TDBEdit(page), "edtEmail", dsCustomer, "Email");
    QFormLayout* customer = MakeForm();
    customer->addRow(QStringLiteral("Customer ID"), edtCustomerID);
    customer->addRow(QStringLiteral("Name"), edtName);
    customer->addRow(QStringLiteral("Surname"), edtSurname);
    customer->addRow(QStringLiteral("Company"), edtCompany);
    customer->addRow(QStringLiteral("Tel"), edtTel);
    customer->addRow(QStringLiteral("Cell"), edtCell);
    customer->addRow(QStringLiteral("Email "), edtEmail);

    for (QWidget* field :
         {static_cast<QWidget*>(edtItemSerialNr), static_cast<QWidget*>(edtCustomerID)})
        field->setMinimumWidth(kFieldWidth * 3 / 4);
    auto* groups = new QHBoxLayout;
    groups->addWidget(Group(QStringLiteral("Item"), item, page), 1, Qt::AlignTop);
    groups->addWidget(Group(QStringLiteral("Customer"), customer, page), 1, Qt::AlignTop);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(PageHeading(
        QStringLiteral("Specify the <B>Item </B>and <B>Customer </B>that this call pertain to."),
        page));
    layout->addLayout(groups);
    layout->addStretch(1);
    return page;
}

QWidget* TfrmCallEdtr::MakeDetailsPage() {
    auto* page = new QWidget(pgcMain);
    TDataSource* call = m_pDataModule ? m_pDataModule->dsCall : nullptr;

    edtCallNr = Bind(new TDBEdit(page), "edtCallNr", call, "CallNr");
    // The number is given when the call is added.
    SetKeyReadOnly(edtCallNr, true);
    dteStartDate = Bind(new TDBDateTimePicker(TDBDateTimePicker::TKind::DateTime, page),
                        "dteStartDate", call, "Date_Time");
    cmpPriority = new TDBSpinEdit(page);
    cmpPriority->setRange(1, 5);
    Bind(cmpPriority, "cmpPriority", call, "Priority");
    edtOrderNr = Bind(new TDBEdit(page), "edtOrderNr", call, "OrderNumber");
    edtJobcard = Bind(new TDBEdit(page), "edtJobcard", call, "JobcardNumber");
    edtStorageArea = Bind(new TDBEdit(page), "edtStorageArea", call, "StorageArea");
    cbxCallOut =
        Bind(new TDBCheckBox(QStringLiteral("Callout"), page), "cbxCallOut", call, "Callout");
    QFormLayout* details = MakeForm();
    details->addRow(QStringLiteral("Call Number"), edtCallNr);
    details->addRow(QStringLiteral("Date/Time"), dteStartDate);
    details->addRow(QStringLiteral("Priority"), cmpPriority);
    details->addRow(QStringLiteral("Order #"), edtOrderNr);
    details->addRow(QStringLiteral("Jobcard #"), edtJobcard);
    details->addRow(QStringLiteral("Storage Area"), edtStorageArea);
    details->addRow(QString(), cbxCallOut);

    edtWorkerNr = Bind(new TDBEdit(page), "edtWorkerNr", call, "WorkerNr");
    edtWorkerNr->SetCharCase(TDBEdit::TCharCase::Upper);
    lblWorkerName = new TDBMarkupLabel(page);
    lblWorkerName->setObjectName(QStringLiteral("lblWorkerName"));
    lblWorkerName->SetDataSource(dsWorker);
    lblWorkerName->SetMarkup(QStringLiteral("<#FullName>"));
    QFormLayout* worker = MakeForm();
    worker->addRow(QStringLiteral("Worker #"), edtWorkerNr);
    worker->addRow(QString(), lblWorkerName);
    details->addRow(Group(QStringLiteral("Worker"), worker, page));

    edtrProblem = Bind(new TDBMemo(page), "edtrProblem", call, "ProblemDescr");
    edtrParts = Bind(new TDBMemo(page), "edtrParts", call, "PartsUsedReplaced");
    auto* texts = new QVBoxLayout;
    for (auto [memo, caption] : {std::pair{edtrProblem, "Problem Description"},
                                 std::pair{edtrParts, "Parts Used/Replaced"}}) {
        memo->setTabChangesFocus(true);
        memo->setFixedHeight(2 * kMemoHeight);
        auto* label = new QLabel(QLatin1String(caption), page);
        label->setBuddy(memo);
        texts->addWidget(label);
        texts->addWidget(memo);
    }
    texts->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(details, 1);
    columns->addSpacing(8);
    columns->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(PageHeading(QStringLiteral("Enter details for the call."), page));
    layout->addLayout(columns);
    layout->addStretch(1);
    return page;
}

QWidget* TfrmCallEdtr::MakeStatusPage() {
    auto* page = new QWidget(pgcMain);
    TDataSource* call = m_pDataModule ? m_pDataModule->dsCall : nullptr;

    cbxStatus = Bind(new TDBComboBox(page), "cbxStatus", call, "Status");
    dteCompleted = Bind(new TDBDateTimePicker(TDBDateTimePicker::TKind::DateTime, page),
                        "dteCompleted", call, "Date_TimeFinished");
    lblComplDT = new QLabel(QStringLiteral("Complete Date/Time"), page);
    lblComplDT->setObjectName(QStringLiteral("lblComplDT"));
    lblComplDT->setBuddy(dteCompleted);
    chkBilled = Bind(new TDBCheckBox(QStringLiteral("Billed"), page), "chkBilled", call, "Billed");
    edtBillTime = new TDBMaskEdit(page);
    edtBillTime->SetEditMask(QStringLiteral("!990:00:99;1;_"));
    Bind(edtBillTime, "edtBillTime", call, "BillTime");
    lblhms = new QLabel(QStringLiteral("(hours:minutes:seconds)"), page);
    lblhms->setObjectName(QStringLiteral("lblhms"));

    auto* billTime = new QHBoxLayout;
    billTime->addWidget(edtBillTime);
    billTime->addWidget(lblhms);
    billTime->addStretch(1);
    edtBillTime->setFixedWidth(edtBillTime->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 9 +
                               16);
    QFormLayout* status = MakeForm();
    status->addRow(QStringLiteral("Status"), cbxStatus);
    status->addRow(lblComplDT, dteCompleted);
    status->addRow(QString(), chkBilled);
    status->addRow(QStringLiteral("Bill Time"), billTime);
    status->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    cbxStatus->setMinimumWidth(kFieldWidth * 2 / 3);
    dteCompleted->setMinimumWidth(kFieldWidth * 2 / 3);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(PageHeading(QStringLiteral("Update the call status."), page));
    layout->addLayout(status);
    layout->addStretch(1);
    return page;
}

void TfrmCallEdtr::ReattachQueries() {
    if (!m_pDataModule)
        return;
    for (TQuery* query : {sqlItem, sqlCustomer, sqlWorker})
        m_pDataModule->ActivateDataSet(query);
}

void TfrmCallEdtr::Update(UAbstract::IObservableSubject* subject) {
    Q_UNUSED(subject);
    ReattachQueries();
}

void TfrmCallEdtr::showEvent(QShowEvent* event) {
    TfrmBaseEditor::showEvent(event);
    // Coming back from being minimised is not a new use of the editor.
    if (event->spontaneous())
        return;
    pgcMain->setCurrentIndex(0);
    FocusForUse(edtItemSerialNr);
    UpdateEnabledFields();
}

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
