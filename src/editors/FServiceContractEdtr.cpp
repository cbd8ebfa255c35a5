#include "editors/FServiceContractEdtr.h"

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "data/engine/USqlDialect.h"
#include "editors/UEditorLayout.h"
#include "lists/FCustomerList.h"
#include "lists/FItemList.h"
#include "shell/UErrors.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

using namespace UEditorLayout;

namespace {

// `key` between single quotes in a statement.
QString Quoted(const QString& key) {
    return QLatin1Char('\'') + USqlDialect::EscapeQuotes(key) + QLatin1Char('\'');
}

// A key field with its "..." button beside it.
QHBoxLayout* WithPickButton(QWidget* field, QToolButton* button) {
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(field, 1);
    row->addWidget(button);
    return row;
}

} // namespace

TfrmServiceContractEdtr* frmServiceContractEdtr = nullptr;

TfrmServiceContractEdtr::TfrmServiceContractEdtr(TdmlGlobals* dataModule, QWidget* parent)
    : TfrmBaseEditor(parent), m_pDataModule(dataModule) {
    setObjectName(QStringLiteral("frmServiceContractEdtr"));
    setWindowTitle(QStringLiteral("Service Contract Editor"));
    m_sKindName = QStringLiteral("Service Contract");
    TDataSource* source = nullptr;
    if (dataModule) {
        m_pDataset = dataModule->tblServiceContract;
        source = dataModule->dsServiceContract;
    }

    edtItemSerialNr = Bind(new TDBEdit(pnlClient), "edtItemSerialNr", source, "ItemSerialNr");
    edtItemSerialNr->SetCharCase(TDBEdit::TCharCase::Upper);
    edtCustomerID = Bind(new TDBEdit(pnlClient), "edtCustomerID", source, "CustomerID");
    edtCustomerID->SetCharCase(TDBEdit::TCharCase::Upper);
    edtContractType = Bind(new TDBEdit(pnlClient), "edtContractType", source, "ServiceType");
    edtComments = Bind(new TDBMemo(pnlClient), "edtComments", source, "Comments");
    edtComments->setFixedHeight(kMemoHeight);
    edtComments->setTabChangesFocus(true);
    chkValid = Bind(new TDBCheckBox(QStringLiteral("Contract still valid?"), pnlClient), "chkValid",
                    source, "StillValid");
    edtHidItemSerial = Bind(new TDBEdit(pnlClient), "edtHidItemSerial", source, "ItemSerialNr");
    edtHidCustomerID = Bind(new TDBEdit(pnlClient), "edtHidCustomerID", source, "CustomerID");
    edtHidItemSerial->hide();
    edtHidCustomerID->hide();

    auto pickButton = [this](const char* name, const char* hint) {
        auto* button = new QToolButton(pnlClient);
        button->setObjectName(QLatin1String(name));
        button->setText(QStringLiteral("..."));
        button->setToolTip(QLatin1String(hint));
        button->setFixedWidth(16);
        return button;
    };
    btnItemSerialNr = pickButton("btnItemSerialNr", "Pick the item from the items");
    btnCustomerID = pickButton("btnCustomerID", "Pick the customer from the customers");
    connect(btnItemSerialNr, &QToolButton::clicked, this, [this] { btnItemSerialNrClick(); });
    connect(btnCustomerID, &QToolButton::clicked, this, [this] { btnCustomerIDClick(); });

    connect(edtItemSerialNr, &TDBEdit::Changed, this, [this] { ItemSerialChanged(); });
    OnChanged(
        this, [this] { CustomerIDChanged(); }, edtCustomerID, edtContractType, edtComments,
        edtHidItemSerial, edtHidCustomerID);
    connect(chkValid, &TDBCheckBox::Changed, this, [this] { SetModified(true); });

    QFormLayout* form = MakeForm();
    form->addRow(QStringLiteral("Item Serial #"), WithPickButton(edtItemSerialNr, btnItemSerialNr));
    form->addRow(QStringLiteral("Customer ID"), WithPickButton(edtCustomerID, btnCustomerID));
    form->addRow(QStringLiteral("Contract Type"), edtContractType);
    form->addRow(QStringLiteral("Comments"), edtComments);
    form->addRow(QString(), chkValid);
    // Not a key field, whose row also holds its button: the window keeps its
    // width whether the buttons are shown or not.
    edtContractType->setMinimumWidth(kFieldWidth);

    QVBoxLayout* layout =
        StackUnderHeading(pnlClient, QStringLiteral("contract-32.png"),
                          QStringLiteral("Enter the details of the service contract"));
    layout->addLayout(form);

    btnOk->setDefault(true);
}

void TfrmServiceContractEdtr::EditModeChanged() {
    SetKeyReadOnly(edtItemSerialNr, m_bEditMode);
    SetKeyReadOnly(edtCustomerID, m_bEditMode);
    btnItemSerialNr->setVisible(!m_bEditMode);
    btnCustomerID->setVisible(!m_bEditMode);
}

bool TfrmServiceContractEdtr::Validate() {
    if (m_bEditMode)
        return true;
    const QString customer = edtCustomerID->text();
    const QString serial = edtItemSerialNr->text();
    if (customer.isEmpty())
        return Refuse("The Customer ID field can not be empty.\nPlease specifiy the ID of the "
                      "Customer that the contract pertain to.",
                      edtCustomerID);
    if (serial.isEmpty())
        return Refuse("The 'Item Serial Number' field can not be empty.\nPlease specify the "
                      "serial number of the item that this contract pertain to.",
                      edtItemSerialNr);
    if (!m_pDataModule)
        return true;
    if (m_pDataModule->QueryIsEmpty(QStringLiteral("select * from Customer where CustomerID = ") +
                                    Quoted(customer)))
        return Refuse("A customer could not be found for the Customer ID that you "
                      "specified.\nPlease add this Customer first or specify a different "
                      "Customer ID.",
                      edtCustomerID);
    if (m_pDataModule->QueryIsEmpty(QStringLiteral("select * from Item where SerialNr = ") +
                                    Quoted(serial)))
        return Refuse("An item could not be found for the 'Item Serial Number' that you "
                      "specified.\nPlease add this Item first or specify a new serial number.",
                      edtItemSerialNr);
    if (m_pDataModule->QueryIsEmpty(QStringLiteral("select * from Item where SerialNr = ") +
                                    Quoted(serial) + QStringLiteral(" and Owner = ") +
                                    Quoted(customer)))
        return Refuse("This Item does not seem to belong to the specified Customer.",
                      edtItemSerialNr);
    if (!m_pDataModule->QueryIsEmpty(
            QStringLiteral("select * from ServiceContract where ItemSerialNr = ") + Quoted(serial) +
            QStringLiteral(" and CustomerID = ") + Quoted(customer)))
        return Refuse("A service contract for the Customer and Item you specified already exist!");
    return true;
}

void TfrmServiceContractEdtr::showEvent(QShowEvent* event) {
    TfrmBaseEditor::showEvent(event);
    // Coming back from being minimised is not a new use of the editor.
    if (event->spontaneous())
        return;
    EditModeChanged();
    FocusForUse(edtItemSerialNr);
}

void TfrmServiceContractEdtr::ItemSerialChanged() {
    SetModified(true);
    if (edtHidItemSerial->text() != edtItemSerialNr->text())
        edtHidItemSerial->setText(edtItemSerialNr->text());
}

void TfrmServiceContractEdtr::CustomerIDChanged() {
    SetModified(true);
    if (edtHidCustomerID->text() != edtCustomerID->text())
        edtHidCustomerID->setText(edtCustomerID->text());
}

void TfrmServiceContractEdtr::btnCustomerIDClick() {
    const QString id = ExecuteCustomerList(this);
    if (id.isEmpty())
        return;
    edtCustomerID->setText(id);
    edtHidCustomerID->setText(id);
}

void TfrmServiceContractEdtr::btnItemSerialNrClick() {
    const QString serial = ExecuteItemList(this);
    if (serial.isEmpty())
        return;
    edtItemSerialNr->setText(serial);
    edtHidItemSerial->setText(serial);
    if (!m_pDataModule)
        return;
    // The contract is for the item's owner, as far as it can be read.
    QString owner;
    try {
        auto query = m_pDataModule->CreateQuery(
            UErrors::FormatMessage("Select Owner from Item where SerialNr = '%s'",
                                   USqlDialect::EscapeQuotes(serial)),
            true);
        if (!query->Eof())
            owner = query->FieldByName(QStringLiteral("Owner")).AsString();
    } catch (const std::exception&) {
        return;
    }
    if (owner.isEmpty())
        return;
    edtCustomerID->setText(owner);
    edtHidCustomerID->setText(owner);
}
