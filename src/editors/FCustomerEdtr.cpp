#include "editors/FCustomerEdtr.h"

#include "data/DMGlobals.h"
#include "data/engine/TDataSetModel.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "data/engine/USqlDialect.h"
#include "editors/FReprEditor.h"
#include "editors/UEditorLayout.h"
#include "shell/UApplication.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"
#include "shell/abstract/IProgramSettings.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QUuid>
#include <QVBoxLayout>

using namespace UEditorLayout;

namespace {

const char* const Unit = "FCustomerEdtr";

const char* const IDTakenMessage = "The Customer ID you specified already exists.\nPlease choose a "
                                   "different Customer ID that is unique.";

// What "Same as physical" overwrote in the postal fields, put back when the
// user unchecks it.
QString s_sSavedPostalAddr;
QString s_sSavedPostalCode;

QString MessageOf(const std::exception& error) {
    if (const auto* e = dynamic_cast<const EError*>(&error))
        return e->Message();
    return QString::fromLocal8Bit(error.what());
}

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
    grdRepresentatives->horizontalHeader()->setDefaultSectionSize(95);

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
    pgcSelection->addTab(MakePage(contact, true), QStringLiteral("Contact Details"));
    QFormLayout* physical = MakeForm();
    physical->addRow(QStringLiteral("Address"), edtPhyAddr);
    physical->addRow(QStringLiteral("Code/ZIP"), edtPhyCode);
    physical->addRow(QStringLiteral("Country"), edtCountry1);
    pgcSelection->addTab(MakePage(physical, true), QStringLiteral("Physical Address"));
    QFormLayout* postal = MakeForm();
    postal->addRow(QStringLiteral("Address"), edtPOAddr);
    postal->addRow(QStringLiteral("Code/ZIP"), edtPOCode);
    postal->addRow(QStringLiteral("Country"), edtCountry2);
    postal->addRow(QString(), chkSameAsPhy);
    pgcSelection->addTab(MakePage(postal, true), QStringLiteral("Postal Address"));
    auto makeAction = [this](const char* name, const char* icon, const char* hint) {
        auto* action = new QAction(ProgramIcon(QLatin1String(icon)), QLatin1String(hint), this);
        action->setObjectName(QLatin1String(name));
        action->setToolTip(QLatin1String(hint));
        action->setEnabled(false);
        return action;
    };
    actNewRepr = makeAction("actNewRepr", "add", "New representative");
    actEditRepr = makeAction("actEditRepr", "edit", "Edit representative");
    actDeleteRepr = makeAction("actDeleteRepr", "delete", "Delete representative");
    connect(actNewRepr, &QAction::triggered, this, [this] { actNewReprExecute(); });
    connect(actEditRepr, &QAction::triggered, this, [this] { actEditReprExecute(); });
    connect(actDeleteRepr, &QAction::triggered, this, [this] { actDeleteReprExecute(); });
    connect(grdRepresentatives, &QTableView::doubleClicked, this, [this] {
        UpdateReprActions();
        if (actEditRepr->isEnabled())
            actEditRepr->trigger();
    });
    auto* commands = new QVBoxLayout;
    for (QAction* action : {actNewRepr, actEditRepr, actDeleteRepr}) {
        auto* button = new QToolButton(pnlClient);
        button->setObjectName(QStringLiteral("btn") + action->objectName().mid(3));
        button->setDefaultAction(action);
        button->setIconSize(QSize(24, 24));
        commands->addWidget(button);
    }
    commands->addStretch(1);
    auto* representatives = new QHBoxLayout;
    representatives->addWidget(grdRepresentatives, 1);
    representatives->addLayout(commands);
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

QWidget* TfrmCustomerEdtr::MakePage(QLayout* layout, bool atTop) {
    auto* page = new QWidget(pgcSelection);
    if (!atTop) {
        page->setLayout(layout);
        return page;
    }
    // A form's rows stay together at the top of a page taller than they are.
    auto* column = new QVBoxLayout(page);
    column->addLayout(layout);
    column->addStretch(1);
    return page;
}

void TfrmCustomerEdtr::EditModeChanged() {
    SetKeyReadOnly(edtCustomerID, m_bEditMode);
    // A new customer saved with Apply lists its own representatives from now on.
    if (m_bEditMode && isVisible())
        OpenRepresentatives(CurrentCustomerID());
}

bool TfrmCustomerEdtr::Validate() {
    const QString id = edtCustomerID->text();
    if (!m_bEditMode && id.trimmed().isEmpty())
        return Refuse("The Customer ID field cannot be empty.", edtCustomerID);
    if (edtName->text().isEmpty() && edtSurname->text().isEmpty() && edtCompany->text().isEmpty())
        return Refuse("You will need to supply at least a Name, Surname or Company name.");
    if (!m_bEditMode && m_pDataModule &&
        !m_pDataModule->QueryIsEmpty(
            QStringLiteral("Select CustomerID\r\nFrom Customer\r\nWhere CustomerID = '") +
            USqlDialect::EscapeQuotes(id) + QLatin1Char('\'')))
        return Refuse(IDTakenMessage, edtCustomerID);
    return true;
}

void TfrmCustomerEdtr::showEvent(QShowEvent* event) {
    TfrmBaseEditor::showEvent(event);
    // Coming back from being minimised is not a new use of the editor.
    if (event->spontaneous())
        return;
    pgcSelection->setCurrentIndex(0);
    m_bIDHoldsRepresentatives = false;
    EditModeChanged();
    m_bLoading = true;
    chkSameAsPhy->setChecked(false);
    m_bLoading = false;
    FocusForUse(edtCustomerID);

    // The grid lists this customer's representatives while the window is open.
    OpenRepresentatives(CurrentCustomerID());
    if (auto* dispatcher = QAbstractEventDispatcher::instance(thread()))
        m_IdleConnection = connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                                   [this] { UpdateReprActions(); });
    UpdateReprActions();
}

void TfrmCustomerEdtr::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) {
        disconnect(m_IdleConnection);
        if (m_pDataModule)
            m_pDataModule->sqlRepresentatives->Close();
        UpdateReprActions();
    }
    TfrmBaseEditor::hideEvent(event);
}

QString TfrmCustomerEdtr::CurrentCustomerID() const {
    if (!m_pDataset || !m_pDataset->Active())
        return {};
    return m_pDataset->FieldByName(QStringLiteral("CustomerID")).AsString();
}

void TfrmCustomerEdtr::OpenRepresentatives(const QString& customerID) {
    if (!m_pDataModule)
        return;
    TQuery* query = m_pDataModule->sqlRepresentatives;
    if (query->Active() && query->Param(QStringLiteral("ID")).toString() == customerID)
        return;
    query->Close();
    query->SetParam(QStringLiteral("ID"), customerID);
    m_pDataModule->OpenDataSet(query);
}

void TfrmCustomerEdtr::UpdateReprActions() {
    bool open = false;
    bool rows = false;
    try {
        if (m_pDataModule) {
            TQuery* query = m_pDataModule->sqlRepresentatives;
            open = query->Active();
            rows = open && !query->IsEmpty();
        }
    } catch (const std::exception&) {
        // A query that cannot be read offers nothing to edit.
    }
    actNewRepr->setEnabled(open);
    actEditRepr->setEnabled(rows);
    actDeleteRepr->setEnabled(rows);
}

void TfrmCustomerEdtr::SetRepresentativeKeys(TDataSet& dataSet) {
    dataSet.FieldByName(QStringLiteral("RecID"))
        .SetAsString(QUuid::createUuid().toString(QUuid::WithBraces).toUpper());
    dataSet.FieldByName(QStringLiteral("FK_Customer")).SetAsString(CurrentCustomerID());
}

// A customer being added is not in the table yet, but its representatives
// are saved at once, each under the ID typed for the customer. So that none
// ends up under a wrong customer, a representative is added only once that ID
// is typed and is not another customer's; the grid then lists what is kept
// under the ID (also what an earlier, cancelled attempt left there), and the
// ID stays as it is until the window closes. Cancelling the customer keeps
// its representatives under that ID: adding the customer again brings them
// back.
bool TfrmCustomerEdtr::NewCustomerTakesRepresentatives() {
    const QString id = CurrentCustomerID();
    if (id.trimmed().isEmpty()) {
        pgcSelection->setCurrentIndex(0);
        return Refuse("The Customer ID field cannot be empty.\nPlease type the ID of the new "
                      "customer before adding its representatives.",
                      edtCustomerID);
    }
    if (m_pDataModule->CustomerExists(id)) {
        pgcSelection->setCurrentIndex(0);
        return Refuse(IDTakenMessage, edtCustomerID);
    }
    OpenRepresentatives(id);
    return true;
}

void TfrmCustomerEdtr::actNewReprExecute() {
    if (!m_pDataModule)
        return;
    if (!m_bEditMode && !NewCustomerTakesRepresentatives())
        return;
    // Stays installed; it does nothing once this window is gone.
    m_pDataModule->sqlRepresentatives->AfterInsert = [self = QPointer(this)](TDataSet& dataSet) {
        if (self)
            self->SetRepresentativeKeys(dataSet);
    };
    RunReprEditor(false);
    if (!m_bEditMode && !m_bIDHoldsRepresentatives &&
        !m_pDataModule->sqlRepresentatives->IsEmpty()) {
        m_bIDHoldsRepresentatives = true;
        SetKeyReadOnly(edtCustomerID, true);
    }
}

void TfrmCustomerEdtr::actEditReprExecute() {
    if (m_pDataModule)
        RunReprEditor(true);
}

void TfrmCustomerEdtr::actDeleteReprExecute() {
    if (!m_pDataModule)
        return;
    TQuery* query = m_pDataModule->sqlRepresentatives;
    if (!query->Active() || query->IsEmpty())
        return;
    if (Dialogs().MessageBox(TMsgKind::Confirmation, QStringLiteral("Confirm"),
                             QStringLiteral("Delete selected representative?"),
                             mbYes | mbNo) != mbYes)
        return;
    try {
        m_pDataModule->DeleteRepresentative(query->FieldByName(QStringLiteral("RecID")).AsString());
    } catch (const std::exception& error) {
        ShowError("%s", MessageOf(error));
    }
    RefreshRepresentatives();
}

void TfrmCustomerEdtr::RunReprEditor(bool editMode) {
    if (!frmReprEditor) {
        DebugTrace(QStringLiteral("frmReprEditor is NULL"),
                   QStringLiteral("TfrmCustomerEdtr::RunReprEditor"), QLatin1String(Unit));
        return;
    }
    try {
        frmReprEditor->SetEditMode(editMode);
        frmReprEditor->Execute();
    } catch (const std::exception& error) {
        ShowError("%s", MessageOf(error));
    }
    RefreshRepresentatives();
}

void TfrmCustomerEdtr::RefreshRepresentatives() {
    try {
        TQuery* query = m_pDataModule->sqlRepresentatives;
        if (query->Active())
            query->Refresh();
    } catch (const std::exception& error) {
        ShowError("%s", MessageOf(error));
    }
    UpdateReprActions();
}

void TfrmCustomerEdtr::chkSameAsPhyClick() {
    SetModified(true);
    const bool same = chkSameAsPhy->isChecked();
    edtPOAddr->SetEnabled(!same);
    edtPOCode->SetEnabled(!same);
    edtCountry2->SetEnabled(!same);
    if (same) {
        s_sSavedPostalAddr = edtPOAddr->toPlainText();
        s_sSavedPostalCode = edtPOCode->text();
        edtPOAddr->setPlainText(edtPhyAddr->toPlainText());
        edtPOCode->setText(edtPhyCode->text());
    } else if (!m_bLoading) {
        edtPOAddr->setPlainText(s_sSavedPostalAddr);
        edtPOCode->setText(s_sSavedPostalCode);
    }
}
