#include "editors/FServiceContractEdtr.h"

#include "data/DMGlobals.h"
#include "data/engine/TTable.h"
#include "editors/UEditorLayout.h"

#include <QFormLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace UEditorLayout;

TfrmServiceContractEdtr* frmServiceContractEdtr = nullptr;

TfrmServiceContractEdtr::TfrmServiceContractEdtr(TdmlGlobals* dataModule, QWidget* parent)
    : TfrmBaseEditor(parent) {
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

    connect(edtItemSerialNr, &TDBEdit::Changed, this, [this] { ItemSerialChanged(); });
    OnChanged(
        this, [this] { CustomerIDChanged(); }, edtCustomerID, edtContractType, edtComments,
        edtHidItemSerial, edtHidCustomerID);
    connect(chkValid, &TDBCheckBox::Changed, this, [this] { SetModified(true); });

    QFormLayout* form = MakeForm();
    form->addRow(QStringLiteral("Item Serial #"), edtItemSerialNr);
    form->addRow(QStringLiteral("Customer ID"), edtCustomerID);
    form->addRow(QStringLiteral("Contract Type"), edtContractType);
    form->addRow(QStringLiteral("Comments"), edtComments);
    form->addRow(QString(), chkValid);
    edtItemSerialNr->setMinimumWidth(kFieldWidth);

    QVBoxLayout* layout =
        StackUnderHeading(pnlClient, QStringLiteral("contract-32.png"),
                          QStringLiteral("Enter the details of the service contract"));
    layout->addLayout(form);

    btnOk->setDefault(true);
}

void TfrmServiceContractEdtr::EditModeChanged() {
    SetKeyReadOnly(edtItemSerialNr, m_bEditMode);
    SetKeyReadOnly(edtCustomerID, m_bEditMode);
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
