#include "editors/FWorkerEdtr.h"

#include "data/DMGlobals.h"
#include "data/engine/TTable.h"
#include "data/engine/USqlDialect.h"
#include "editors/UEditorLayout.h"

#include <QFormLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace UEditorLayout;

TfrmWorkerEdtr* frmWorkerEdtr = nullptr;

TfrmWorkerEdtr::TfrmWorkerEdtr(TdmlGlobals* dataModule, QWidget* parent)
    : TfrmBaseEditor(parent), m_pDataModule(dataModule) {
    setObjectName(QStringLiteral("frmWorkerEdtr"));
    setWindowTitle(QStringLiteral("Worker Editor"));
    m_sKindName = QStringLiteral("Worker");
    TDataSource* source = nullptr;
    if (dataModule) {
        m_pDataset = dataModule->tblWorker;
        source = dataModule->dsWorker;
    }

    edtWorkerNR = Bind(new TDBEdit(pnlClient), "edtWorkerNR", source, "WorkerNR");
    edtWorkerNR->SetCharCase(TDBEdit::TCharCase::Upper);
    edtWorkerNR->SetPrompt(QStringLiteral("Enter Unique #"));
    chkEmployed = Bind(new TDBCheckBox(QStringLiteral("Currently Employed"), pnlClient),
                       "chkEmployed", source, "CurrentlyEmployed");
    edtName = Bind(new TDBEdit(pnlClient), "edtName", source, "Name");
    edtSurname = Bind(new TDBEdit(pnlClient), "edtSurname", source, "Surname");
    edtID = Bind(new TDBEdit(pnlClient), "edtID", source, "IDNr");
    edtID->SetCharSet(TDBEdit::TCharSet::LettersAndDigits);
    chkUsePassport = Bind(new TDBCheckBox(QStringLiteral("Use Passport Number"), pnlClient),
                          "chkUsePassport", source, "IDTypeIsPassport");
    OnChanged(
        this, [this] { SetModified(true); }, edtWorkerNR, chkEmployed, edtName, edtSurname, edtID,
        chkUsePassport);

    QFormLayout* form = MakeForm();
    form->addRow(QStringLiteral("Worker #"), edtWorkerNR);
    form->addRow(QString(), chkEmployed);
    form->addRow(QStringLiteral("Name"), edtName);
    form->addRow(QStringLiteral("Surname"), edtSurname);
    form->addRow(QStringLiteral("ID/Passport Number"), edtID);
    form->addRow(QString(), chkUsePassport);
    edtWorkerNR->setMinimumWidth(kFieldWidth);

    QVBoxLayout* layout = StackUnderHeading(pnlClient, QStringLiteral("worker-32.png"),
                                            QStringLiteral("Enter the details of the worker"));
    layout->addLayout(form);

    btnOk->setDefault(true);
}

void TfrmWorkerEdtr::EditModeChanged() {
    SetKeyReadOnly(edtWorkerNR, m_bEditMode);
}

bool TfrmWorkerEdtr::Validate() {
    if (m_bEditMode)
        return true;
    const QString number = edtWorkerNR->text();
    if (number.isEmpty())
        return Refuse("The Worker Number field can not be empty.", edtWorkerNR);
    if (edtName->text().isEmpty() && edtSurname->text().isEmpty())
        return Refuse("You will need to supply the Name or Surname.");
    if (m_pDataModule &&
        !m_pDataModule->QueryIsEmpty(QStringLiteral("select * from Worker where WorkerNr = '") +
                                     USqlDialect::EscapeQuotes(number) + QLatin1Char('\'')))
        return Refuse("An Worker with this worker number already exists!", edtWorkerNR);
    return true;
}

void TfrmWorkerEdtr::showEvent(QShowEvent* event) {
    TfrmBaseEditor::showEvent(event);
    // Coming back from being minimised is not a new use of the editor.
    if (event->spontaneous())
        return;
    EditModeChanged();
    FocusForUse(edtWorkerNR);
}
