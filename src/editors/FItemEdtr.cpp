#include "editors/FItemEdtr.h"

#include "data/DMGlobals.h"
#include "data/engine/TTable.h"
#include "data/engine/USqlDialect.h"
#include "editors/UEditorLayout.h"
#include "lists/FCustomerList.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

using namespace UEditorLayout;

TfrmItemEdtr* frmItemEdtr = nullptr;

TfrmItemEdtr::TfrmItemEdtr(TdmlGlobals* dataModule, QWidget* parent)
    : TfrmBaseEditor(parent), m_pDataModule(dataModule) {
    setObjectName(QStringLiteral("frmItemEdtr"));
    setWindowTitle(QStringLiteral("Item Editor"));
    m_sKindName = QStringLiteral("Item");
    TDataSource* source = nullptr;
    if (dataModule) {
        m_pDataset = dataModule->tblItem;
        source = dataModule->dsItem;
    }

    edtSerialNr = Bind(new TDBEdit(pnlClient), "edtSerialNr", source, "SerialNr");
    edtOwner = Bind(new TDBEdit(pnlClient), "edtOwner", source, "Owner");
    edtOwner->SetCharCase(TDBEdit::TCharCase::Upper);
    btnOwner = new QToolButton(pnlClient);
    btnOwner->setObjectName(QStringLiteral("btnOwner"));
    btnOwner->setText(QStringLiteral("..."));
    btnOwner->setToolTip(QStringLiteral("Pick the owner from the customers"));
    btnOwner->setFixedWidth(16);
    connect(btnOwner, &QToolButton::clicked, this, [this] { btnOwnerClick(); });
    edtBrand = Bind(new TDBEdit(pnlClient), "edtBrand", source, "Brand");
    edtBrand->SetMaxLength(20);
    edtModel = Bind(new TDBEdit(pnlClient), "edtModel", source, "Model");
    edtModel->SetMaxLength(20);
    edtDescription = Bind(new TDBMemo(pnlClient), "edtDescription", source, "Description");
    edtDescription->setFixedHeight(kMemoHeight);
    edtDescription->setTabChangesFocus(true);
    OnChanged(
        this, [this] { SetModified(true); }, edtSerialNr, edtOwner, edtBrand, edtModel,
        edtDescription);

    QFormLayout* form = MakeForm();
    form->addRow(QStringLiteral("Serial #"), edtSerialNr);
    auto* owner = new QHBoxLayout;
    owner->setSpacing(2);
    owner->addWidget(edtOwner, 1);
    owner->addWidget(btnOwner);
    form->addRow(QStringLiteral("Owner"), owner);
    form->addRow(QStringLiteral("Brand/Make"), edtBrand);
    form->addRow(QStringLiteral("Model"), edtModel);
    form->addRow(QStringLiteral("Description"), edtDescription);
    // Not the owner, whose row also holds its button: the window keeps its
    // width whether the button is shown or not.
    edtSerialNr->setMinimumWidth(kFieldWidth);

    QVBoxLayout* layout = StackUnderHeading(pnlClient, QStringLiteral("item-32.png"),
                                            QStringLiteral("Enter the details of the item"));
    layout->addLayout(form);

    btnOk->setDefault(true);
}

void TfrmItemEdtr::EditModeChanged() {
    SetKeyReadOnly(edtSerialNr, m_bEditMode);
    SetKeyReadOnly(edtOwner, m_bEditMode);
    btnOwner->setVisible(!m_bEditMode);
}

void TfrmItemEdtr::btnOwnerClick() {
    const QString id = ExecuteCustomerList(this);
    if (id.isEmpty())
        return;
    if (m_pDataset && (m_pDataset->State() == TDataSetState::Insert ||
                       m_pDataset->State() == TDataSetState::Edit))
        m_pDataset->FieldByName(QStringLiteral("Owner")).SetAsString(id);
    edtOwner->setText(id);
}

bool TfrmItemEdtr::Validate() {
    if (m_bEditMode)
        return true;
    const auto quoted = [](const QString& key) {
        return USqlDialect::EscapeQuotes(key) + QLatin1Char('\'');
    };
    const QString serial = edtSerialNr->text();
    if (serial.isEmpty())
        return Refuse("The Serial Number field can not be empty.", edtSerialNr);
    if (m_pDataModule &&
        !m_pDataModule->QueryIsEmpty(QStringLiteral("select * from Item where SerialNr = '") +
                                     quoted(serial)))
        return Refuse("An item with this serial number already exists!", edtSerialNr);
    const QString owner = edtOwner->text();
    if (owner.isEmpty())
        return Refuse("The Owner field can not be empty.", edtOwner);
    if (m_pDataModule &&
        m_pDataModule->QueryIsEmpty(QStringLiteral("select * from Customer where CustomerID = '") +
                                    quoted(owner)))
        return Refuse("The Customer specified as the owner could not be found!\r\nPlease add "
                      "this customer first or specify a different Customer ID",
                      edtOwner);
    return true;
}

void TfrmItemEdtr::showEvent(QShowEvent* event) {
    TfrmBaseEditor::showEvent(event);
    // Coming back from being minimised is not a new use of the editor.
    if (event->spontaneous())
        return;
    EditModeChanged();
    FocusForUse(edtSerialNr);
}
