#include "editors/FCustomerEdtr.h"

#include "data/DMGlobals.h"
#include "data/engine/TDataSetModel.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "editors/UEditorLayout.h"
#include "shell/UErrors.h"
#include "shell/abstract/IProgramSettings.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

using namespace UEditorLayout;

namespace {

const char* const Unit = "FCustomerEdtr";

// The representatives' rows, with the narrow first column left blank.
class TRepresentativesModel final : public TDataSetModel {
public:
    using TDataSetModel::TDataSetModel;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Vertical && role == Qt::DisplayRole)
            return {};
        return TDataSetModel::headerData(section, orientation, role);
    }
};

} // namespace

TfrmCustomerEdtr* frmCustomerEdtr = nullptr;

TfrmCustomerEdtr::TfrmCustomerEdtr(TdmlGlobals* dataModule, QWidget* parent)
    : TfrmBaseEditor(parent), m_pDataModule(dataModule) {
    setObjectName(QStringLiteral("frmCustomerEdtr"));
    setWindowTitle(QStringLiteral("Customer Editor"));
    m_sKindName = QStringLiteral("Customer");
    TDataSource* source = nullptr;
    if (dataModule) {
        m_pDataset = dataModule->tblCustomer;
        source = dataModule->dsCustomer;
    }
    auto edit = [&](const char* name, const char* field) {
        return Bind(new TDBEdit(pnlClient), name, source, field);
    };
    auto memo = [&](const char* name, const char* field) {
        TDBMemo* control = Bind(new TDBMemo(pnlClient), name, source, field);
        control->setFixedHeight(kMemoHeight);
        control->setTabChangesFocus(true);
        return control;
    };
    auto country = [&](const char* name) {
        TDBComboBox* combo = Bind(new TDBComboBox(pnlClient), name, source, "Country");
        combo->SetEditable(true);
        combo->SetItems({QStringLiteral("South Africa"), QStringLiteral("United Kingdom")});
        return combo;
    };

    edtCustomerID = edit("edtCustomerID", "CustomerID");
    edtCustomerID->SetCharCase(TDBEdit::TCharCase::Upper);
    edtCustomerID->SetPrompt(QStringLiteral("-- Enter Unique ID --"));
    edtName = edit("edtName", "FirstName");
    edtSurname = edit("edtSurname", "LastName");
    edtCompany = edit("edtCompany", "CompanyName");
    edtTel = edit("edtTel", "Tel");
    edtCell = edit("edtCell", "Cell");
    edtFax = edit("edtFax", "Fax");
    edtEmail = edit("edtEmail", "Email");
    edtPhyAddr = memo("edtPhyAddr", "PhysicalAddr");
    edtPhyCode = edit("edtPhyCode", "PhysicalCode");
    edtCountry1 = country("edtCountry1");
    edtPOAddr = memo("edtPOAddr", "PostalAddr");
    edtPOCode = edit("edtPOCode", "PostalCode");
    edtCountry2 = country("edtCountry2");
    chkSameAsPhy = new QCheckBox(QStringLiteral("Same as physical"), pnlClient);
    chkSameAsPhy->setObjectName(QStringLiteral("chkSameAsPhy"));
    edtNotes = memo("edtNotes", "Notes");
    edtNotes->setFixedHeight(5 * kMemoHeight / 2);

    if (g_pProgramSettings) {
        try {
            const QStringList countries = g_pProgramSettings->GetCountryList().Lines();
            edtCountry1->SetItems(countries);
            edtCountry2->SetItems(countries);
        } catch (const std::exception&) {
            // An unreadable country file leaves the two countries above.
            DebugTrace(QStringLiteral("Country list not loaded"),
                       QStringLiteral("TfrmCustomerEdtr::TfrmCustomerEdtr"), QLatin1String(Unit));
        }
    }

    OnChanged(
        this, [this] { SetModified(true); }, edtCustomerID, edtName, edtSurname, edtCompany, edtTel,
        edtCell, edtFax, edtEmail, edtPhyAddr, edtPhyCode, edtCountry1, edtPOAddr, edtPOCode,
        edtCountry2, edtNotes);
    connect(chkSameAsPhy, &QCheckBox::toggled, this, [this] { chkSameAsPhyClick(); });

    // The representatives of the customer, as the data module's query lists them.
    m_pRepresentatives = new TRepresentativesModel(this);
    if (dataModule) {
        TQuery* query = dataModule->sqlRepresentatives;
        query->DefineField(QStringLiteral("RecID")).SetVisible(false);
        query->DefineField(QStringLiteral("FK_Customer")).SetVisible(false);
        query->DefineField(QStringLiteral("Mobile")).SetDisplayLabel(QStringLiteral("Cell"));
        m_pRepresentatives->SetDataSource(dataModule->dsQRepresentatives);
    }
    grdRepresentatives = new QTableView(pnlClient);
    grdRepresentatives->setObjectName(QStringLiteral("grdRepresentatives"));
    grdRepresentatives->setModel(m_pRepresentatives);
    m_pRepresentatives->SetSelectionModel(grdRepresentatives->selectionModel());
    grdRepresentatives->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdRepresentatives->setSelectionMode(QAbstractItemView::SingleSelection);
    grdRepresentatives->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdRepresentatives->verticalHeader()->setFixedWidth(20);
    grdRepresentatives->verticalHeader()->setDefaultSectionSize(20);
    grdRepresentatives->horizontalHeader()->setStretchLastSection(true);
    grdRepresentatives->horizontalHeader()->setDefaultSectionSize(110);

    QFormLayout* identity = MakeForm();
    identity->addRow(QStringLiteral("Customer ID"), edtCustomerID);
    identity->addRow(QStringLiteral("Name"), edtName);
    identity->addRow(QStringLiteral("Surname"), edtSurname);
    identity->addRow(QStringLiteral("Company"), edtCompany);
    edtCustomerID->setMinimumWidth(kFieldWidth);

    pgcSelection = new QTabWidget(pnlClient);
    pgcSelection->setObjectName(QStringLiteral("pgcSelection"));
    // Wide enough for all five tabs side by side.
    pgcSelection->setMinimumWidth(540);
    QFormLayout* contact = MakeForm();
    contact->addRow(QStringLiteral("Tel"), edtTel);
    contact->addRow(QStringLiteral("Cell"), edtCell);
    contact->addRow(QStringLiteral("Fax"), edtFax);
    contact->addRow(QStringLiteral("Email "), edtEmail);
    pgcSelection->addTab(MakePage(contact), QStringLiteral("Contact Details"));
    QFormLayout* physical = MakeForm();
    physical->addRow(QStringLiteral("Address"), edtPhyAddr);
    physical->addRow(QStringLiteral("Code/ZIP"), edtPhyCode);
    physical->addRow(QStringLiteral("Country"), edtCountry1);
    pgcSelection->addTab(MakePage(physical), QStringLiteral("Physical Address"));
    QFormLayout* postal = MakeForm();
    postal->addRow(QStringLiteral("Address"), edtPOAddr);
    postal->addRow(QStringLiteral("Code/ZIP"), edtPOCode);
    postal->addRow(QStringLiteral("Country"), edtCountry2);
    postal->addRow(QString(), chkSameAsPhy);
    pgcSelection->addTab(MakePage(postal), QStringLiteral("Postal Address"));
    auto* representatives = new QVBoxLayout;
    representatives->addWidget(grdRepresentatives);
    pgcSelection->addTab(MakePage(representatives), QStringLiteral("Representatives"));
    auto* notes = new QVBoxLayout;
    notes->addWidget(edtNotes);
    pgcSelection->addTab(MakePage(notes), QStringLiteral("Notes"));

    QVBoxLayout* layout = StackUnderHeading(pnlClient, QStringLiteral("customer-32.png"),
                                            QStringLiteral("Enter the details of the customer"));
    layout->addLayout(identity);
    layout->addSpacing(4);
    layout->addWidget(pgcSelection);

    btnOk->setDefault(true);
}

QWidget* TfrmCustomerEdtr::MakePage(QLayout* layout) {
    auto* page = new QWidget(pgcSelection);
    page->setLayout(layout);
    return page;
}

void TfrmCustomerEdtr::EditModeChanged() {
    SetKeyReadOnly(edtCustomerID, m_bEditMode);
}

void TfrmCustomerEdtr::showEvent(QShowEvent* event) {
    TfrmBaseEditor::showEvent(event);
    // Coming back from being minimised is not a new use of the editor.
    if (event->spontaneous())
        return;
    pgcSelection->setCurrentIndex(0);
    EditModeChanged();
    m_bLoading = true;
    chkSameAsPhy->setChecked(false);
    m_bLoading = false;
    FocusForUse(edtCustomerID);

    // The grid lists this customer's representatives while the window is open.
    if (m_pDataModule && m_pDataset) {
        TQuery* query = m_pDataModule->sqlRepresentatives;
        query->Close();
        query->SetParam(QStringLiteral("ID"),
                        m_pDataset->FieldByName(QStringLiteral("CustomerID")).AsString());
        m_pDataModule->OpenDataSet(query);
    }
}

void TfrmCustomerEdtr::hideEvent(QHideEvent* event) {
    if (m_pDataModule && !event->spontaneous())
        m_pDataModule->sqlRepresentatives->Close();
    TfrmBaseEditor::hideEvent(event);
}

void TfrmCustomerEdtr::chkSameAsPhyClick() {
    SetModified(true);
    const bool same = chkSameAsPhy->isChecked();
    edtPOAddr->SetEnabled(!same);
    edtPOCode->SetEnabled(!same);
    edtCountry2->SetEnabled(!same);
    if (same) {
        m_sSavedPostalAddr = edtPOAddr->toPlainText();
        m_sSavedPostalCode = edtPOCode->text();
        edtPOAddr->setPlainText(edtPhyAddr->toPlainText());
        edtPOCode->setText(edtPhyCode->text());
    } else if (!m_bLoading) {
        edtPOAddr->setPlainText(m_sSavedPostalAddr);
        edtPOCode->setText(m_sSavedPostalCode);
    }
}
