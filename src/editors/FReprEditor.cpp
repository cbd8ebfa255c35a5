#include "editors/FReprEditor.h"

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "editors/UEditorLayout.h"

#include <QFormLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace UEditorLayout;

TfrmReprEditor* frmReprEditor = nullptr;

TfrmReprEditor::TfrmReprEditor(TdmlGlobals* dataModule, QWidget* parent) : TfrmBaseEditor(parent) {
    setObjectName(QStringLiteral("frmReprEditor"));
    setWindowTitle(QStringLiteral("Representative Editor"));
    m_sKindName = QStringLiteral("Representative");
    TDataSource* source = nullptr;
    if (dataModule) {
        m_pDataset = dataModule->sqlRepresentatives;
        source = dataModule->dsQRepresentatives;
    }
    auto edit = [&](const char* name, const char* field, int maxLength) {
        TDBEdit* control = Bind(new TDBEdit(pnlClient), name, source, field);
        control->SetMaxLength(maxLength);
        return control;
    };
    edtName = edit("edtName", "Name", 25);
    edtSurname = edit("edtSurname", "Surname", 25);
    edtCell = edit("edtCell", "Mobile", 20);
    edtEmail = edit("edtEmail", "Email", 60);
    edtFK = edit("edtFK", "FK_Customer", 20);
    edtFK->SetCharSet(TDBEdit::TCharSet::LettersAndDigits);
    edtFK->hide();
    OnChanged(
        this, [this] { SetModified(true); }, edtName, edtSurname, edtCell, edtEmail, edtFK);

    QFormLayout* form = MakeForm();
    form->addRow(QStringLiteral("Name"), edtName);
    form->addRow(QStringLiteral("Surname"), edtSurname);
    form->addRow(QStringLiteral("Cell"), edtCell);
    form->addRow(QStringLiteral("Email"), edtEmail);
    edtName->setMinimumWidth(kFieldWidth);

    auto* layout = new QVBoxLayout(pnlClient);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(form);

    // Unlike the other editors, Enter does not press OK here.
}

bool TfrmReprEditor::Validate() {
    if (!m_bEditMode && edtName->text().isEmpty() && edtSurname->text().isEmpty())
        return Refuse("You will need to supply the Name or Surname.");
    return true;
}

void TfrmReprEditor::showEvent(QShowEvent* event) {
    TfrmBaseEditor::showEvent(event);
    // Coming back from being minimised is not a new use of the editor.
    if (event->spontaneous())
        return;
    EditModeChanged();
    FocusForUse(edtName);
}
