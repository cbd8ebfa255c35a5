#include "editors/UCallEdtrPages.h"

#include "data/engine/TDataSetModel.h"
#include "data/engine/TQuery.h"
#include "editors/FCallEdtr.h"
#include "editors/UEditorLayout.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

using namespace UEditorLayout;

namespace {

// The comment lines, with the narrow first column left blank: it only marks
// the line the grid is on.
class TCommentsModel final : public TDataSetModel {
public:
    using TDataSetModel::TDataSetModel;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Vertical && role == Qt::DisplayRole)
            return {};
        return TDataSetModel::headerData(section, orientation, role);
    }
};

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

// A key field with its "..." button beside it.
QHBoxLayout* WithPickButton(QWidget* field, QToolButton*& button, const char* name,
                            QWidget* parent) {
    button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(QStringLiteral("..."));
    button->setFocusPolicy(Qt::NoFocus);
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(field, 1);
    row->addWidget(button);
    return row;
}

// A command that looks like a link: underlined text that does not take the
// keyboard.
QPushButton* Link(const char* name, const char* text, QWidget* parent) {
    auto* link = new QPushButton(QLatin1String(text), parent);
    link->setObjectName(QLatin1String(name));
    link->setFlat(true);
    link->setFocusPolicy(Qt::NoFocus);
    link->setAutoDefault(false);
    link->setCursor(Qt::PointingHandCursor);
    link->setStyleSheet(QStringLiteral(
        "QPushButton { border: none; padding: 0 4px; color: palette(link); "
        "text-decoration: underline; } QPushButton:disabled { color: palette(mid); }"));
    return link;
}

} // namespace

namespace UCallEdtrPages {

QWidget* MakeItemPage(TfrmCallEdtr& e, TDataSource* call) {
    auto* page = new QWidget(e.pgcMain);

    e.edtItemSerialNr = Bind(new TDBEdit(page), "edtItemSerialNr", call, "EquipmentSerialNr");
    e.edtBrand = Bind(new TDBEdit(page), "edtBrand", e.dsItem, "Brand");
    e.edtBrand->SetMaxLength(20);
    e.edtModel = Bind(new TDBEdit(page), "edtModel", e.dsItem, "Model");
    e.edtModel->SetMaxLength(20);
    e.edtDescription = Bind(new TDBMemo(page), "edtDescription", e.dsItem, "Description");
    e.edtDescription->setFixedHeight(kMemoHeight);
    e.edtDescription->setTabChangesFocus(true);
    e.edtMeterReading = Bind(new TDBEdit(page), "edtMeterReading", call, "MeterReading");
    e.edtMeterReading->SetCharSet(TDBEdit::TCharSet::Digits);
    QFormLayout* item = MakeForm();
    item->addRow(QStringLiteral("Item Serial #"),
                 WithPickButton(e.edtItemSerialNr, e.btnPickItem, "btnPickItem", page));
    item->addRow(QStringLiteral("Brand/Make"), e.edtBrand);
    item->addRow(QStringLiteral("Model"), e.edtModel);
    item->addRow(QStringLiteral("Description"), e.edtDescription);
    item->addRow(QStringLiteral("Meter Reading"), e.edtMeterReading);

    e.edtCustomerID = Bind(new TDBEdit(page), "edtCustomerID", call, "CustomerID");
    e.edtCustomerID->SetCharCase(TDBEdit::TCharCase::Upper);
    e.edtName = Bind(new TDBEdit(page), "edtName", e.dsCustomer, "FirstName");
    e.edtSurname = Bind(new TDBEdit(page), "edtSurname", e.dsCustomer, "LastName");
    e.edtCompany = Bind(new TDBEdit(page), "edtCompany", e.dsCustomer, "CompanyName");
    e.edtTel = Bind(new TDBEdit(page), "edtTel", e.dsCustomer, "Tel");
    e.edtCell = Bind(new TDBEdit(page), "edtCell", e.dsCustomer, "Cell");
    e.edtEmail = Bind(new TDBEdit(page), "edtEmail", e.dsCustomer, "Email");
    QFormLayout* customer = MakeForm();
    customer->addRow(QStringLiteral("Customer ID"),
                     WithPickButton(e.edtCustomerID, e.btnPickCustomer, "btnPickCustomer", page));
    customer->addRow(QStringLiteral("Name"), e.edtName);
    customer->addRow(QStringLiteral("Surname"), e.edtSurname);
    customer->addRow(QStringLiteral("Company"), e.edtCompany);
    customer->addRow(QStringLiteral("Tel"), e.edtTel);
    customer->addRow(QStringLiteral("Cell"), e.edtCell);
    customer->addRow(QStringLiteral("Email "), e.edtEmail);

    for (QWidget* field : std::initializer_list<QWidget*>{e.edtBrand, e.edtName})
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

QWidget* MakeDetailsPage(TfrmCallEdtr& e, TDataSource* call) {
    auto* page = new QWidget(e.pgcMain);

    e.edtCallNr = Bind(new TDBEdit(page), "edtCallNr", call, "CallNr");
    // The number is given when the call is added.
    SetKeyReadOnly(e.edtCallNr, true);
    e.dteStartDate = Bind(new TDBDateTimePicker(TDBDateTimePicker::TKind::DateTime, page),
                          "dteStartDate", call, "Date_Time");
    e.cmpPriority = new TDBSpinEdit(page);
    e.cmpPriority->setRange(1, 5);
    Bind(e.cmpPriority, "cmpPriority", call, "Priority");
    e.edtOrderNr = Bind(new TDBEdit(page), "edtOrderNr", call, "OrderNumber");
    e.edtJobcard = Bind(new TDBEdit(page), "edtJobcard", call, "JobcardNumber");
    e.edtStorageArea = Bind(new TDBEdit(page), "edtStorageArea", call, "StorageArea");
    e.cbxCallOut =
        Bind(new TDBCheckBox(QStringLiteral("Callout"), page), "cbxCallOut", call, "Callout");
    QFormLayout* details = MakeForm();
    details->addRow(QStringLiteral("Call Number"), e.edtCallNr);
    details->addRow(QStringLiteral("Date/Time"), e.dteStartDate);
    details->addRow(QStringLiteral("Priority"), e.cmpPriority);
    details->addRow(QStringLiteral("Order #"), e.edtOrderNr);
    details->addRow(QStringLiteral("Jobcard #"), e.edtJobcard);
    details->addRow(QStringLiteral("Storage Area"), e.edtStorageArea);
    details->addRow(QString(), e.cbxCallOut);

    e.edtWorkerNr = Bind(new TDBEdit(page), "edtWorkerNr", call, "WorkerNr");
    e.edtWorkerNr->SetCharCase(TDBEdit::TCharCase::Upper);
    e.lblWorkerName = new TDBMarkupLabel(page);
    e.lblWorkerName->setObjectName(QStringLiteral("lblWorkerName"));
    e.lblWorkerName->SetDataSource(e.dsWorker);
    e.lblWorkerName->SetMarkup(QStringLiteral("<#FullName>"));
    QFormLayout* worker = MakeForm();
    worker->addRow(QStringLiteral("Worker #"),
                   WithPickButton(e.edtWorkerNr, e.btnPickWorker, "btnPickWorker", page));
    worker->addRow(QString(), e.lblWorkerName);
    details->addRow(Group(QStringLiteral("Worker"), worker, page));

    e.edtrProblem = Bind(new TDBMemo(page), "edtrProblem", call, "ProblemDescr");
    e.edtrParts = Bind(new TDBMemo(page), "edtrParts", call, "PartsUsedReplaced");
    auto* texts = new QVBoxLayout;
    for (auto [memo, caption] : {std::pair{e.edtrProblem, "Problem Description"},
                                 std::pair{e.edtrParts, "Parts Used/Replaced"}}) {
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

QWidget* MakeStatusPage(TfrmCallEdtr& e, TDataSource* call) {
    auto* page = new QWidget(e.pgcMain);

    e.cbxStatus = Bind(new TDBComboBox(page), "cbxStatus", call, "Status");
    e.dteCompleted = Bind(new TDBDateTimePicker(TDBDateTimePicker::TKind::DateTime, page),
                          "dteCompleted", call, "Date_TimeFinished");
    e.lblComplDT = new QLabel(QStringLiteral("Complete Date/Time"), page);
    e.lblComplDT->setObjectName(QStringLiteral("lblComplDT"));
    e.lblComplDT->setBuddy(e.dteCompleted);
    e.chkBilled =
        Bind(new TDBCheckBox(QStringLiteral("Billed"), page), "chkBilled", call, "Billed");
    e.edtBillTime = new TDBMaskEdit(page);
    e.edtBillTime->SetEditMask(QStringLiteral("!990:00:99;1;_"));
    // Hour digits that are not there show as blanks ("  1:30:00"), as they
    // are stored, rather than as the mask's placeholder; so does the rest of
    // an empty time. Set before the field is bound, so nothing is written.
    e.edtBillTime->setInputMask(e.edtBillTime->inputMask().section(QLatin1Char(';'), 0, 0) +
                                QStringLiteral("; "));
    Bind(e.edtBillTime, "edtBillTime", call, "BillTime");
    e.lblhms = new QLabel(QStringLiteral("(hours:minutes:seconds)"), page);
    e.lblhms->setObjectName(QStringLiteral("lblhms"));

    auto* billTime = new QHBoxLayout;
    billTime->addWidget(e.edtBillTime);
    billTime->addWidget(e.lblhms);
    billTime->addStretch(1);
    e.edtBillTime->setFixedWidth(
        e.edtBillTime->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 9 + 16);
    QFormLayout* status = MakeForm();
    status->addRow(QStringLiteral("Status"), e.cbxStatus);
    status->addRow(e.lblComplDT, e.dteCompleted);
    status->addRow(QString(), e.chkBilled);
    status->addRow(QStringLiteral("Bill Time"), billTime);
    status->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    e.cbxStatus->setMinimumWidth(kFieldWidth * 2 / 3);
    e.dteCompleted->setMinimumWidth(kFieldWidth * 2 / 3);

    // The call's comment lines, oldest first.
    e.lnkAdd = Link("lnkAdd", "Add", page);
    e.lnkEdit = Link("lnkEdit", "Edit", page);
    e.lnkDelete = Link("lnkDelete", "Delete", page);
    auto* commands = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("Comments"), page);
    commands->addWidget(caption);
    commands->addStretch(1);
    commands->addWidget(e.lnkAdd);
    commands->addWidget(e.lnkEdit);
    commands->addWidget(e.lnkDelete);

    e.sqlComments->DefineField(QStringLiteral("ID")).SetVisible(false);
    e.sqlComments->DefineField(QStringLiteral("TAG")).SetVisible(false);
    e.sqlComments->DefineField(QStringLiteral("DateTime"))
        .SetDisplayLabel(QStringLiteral("Date/Time"));
    e.sqlComments->DefineField(QStringLiteral("LINE")).SetDisplayLabel(QStringLiteral("Comment"));
    auto* model = new TCommentsModel(page);
    model->SetDataSource(e.dsComments);
    e.grdComments = new QTableView(page);
    e.grdComments->setObjectName(QStringLiteral("grdComments"));
    e.grdComments->setModel(model);
    model->SetSelectionModel(e.grdComments->selectionModel());
    e.grdComments->setSelectionBehavior(QAbstractItemView::SelectRows);
    e.grdComments->setSelectionMode(QAbstractItemView::SingleSelection);
    e.grdComments->setEditTriggers(QAbstractItemView::NoEditTriggers);
    e.grdComments->setWordWrap(false);
    // The narrow unlabelled column marks the current line.
    e.grdComments->verticalHeader()->setFixedWidth(20);
    e.grdComments->verticalHeader()->setDefaultSectionSize(20);
    e.grdComments->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    e.grdComments->horizontalHeader()->setStretchLastSection(true);
    e.grdComments->horizontalHeader()->setDefaultSectionSize(
        e.grdComments->fontMetrics().horizontalAdvance(QStringLiteral("12/31/2026 12:59 PM")) + 16);
    e.grdComments->setMinimumHeight(7 * 20 + 4);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(PageHeading(QStringLiteral("Update the call status."), page));
    layout->addLayout(status);
    layout->addSpacing(6);
    layout->addLayout(commands);
    layout->addWidget(e.grdComments, 1);
    return page;
}

} // namespace UCallEdtrPages
