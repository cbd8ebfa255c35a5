#include "editors/FBaseEditor.h"

#include "data/engine/TDataSet.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString MessageOf(const std::exception& error) {
    if (const auto* e = dynamic_cast<const EError*>(&error))
        return e->Message();
    return QString::fromLocal8Bit(error.what());
}

} // namespace

TfrmBaseEditor::TfrmBaseEditor(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmBaseEditor"));
    setWindowTitle(QStringLiteral("Base Editor"));
    // No resizing border: system menu, minimise and close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    pnlClient = new QWidget(this);
    pnlClient->setObjectName(QStringLiteral("pnlClient"));

    auto makeButton = [this](const char* name, const char* text) {
        auto* button = new QPushButton(QString::fromLatin1(text), this);
        button->setObjectName(QString::fromLatin1(name));
        // Derived editors choose their default button.
        button->setAutoDefault(false);
        return button;
    };
    btnApply = makeButton("btnApply", "Apply");
    btnOk = makeButton("btnOk", "OK");
    btnCancel = makeButton("btnCancel", "Cancel");
    btnApply->setEnabled(false);
    connect(btnApply, &QPushButton::clicked, this, [this] { btnApplyClick(); });
    connect(btnOk, &QPushButton::clicked, this, [this] { OkPressed(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { CancelPressed(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnApply);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(pnlClient, 1);
    layout->addLayout(buttons);
}

void TfrmBaseEditor::SetEditMode(bool editMode) {
    if (editMode == m_bEditMode)
        return;
    m_bEditMode = editMode;
    UpdateCaption();
    EditModeChanged();
}

void TfrmBaseEditor::SetModified(bool modified) {
    if (modified == m_bModified)
        return;
    m_bModified = modified;
    if (btnApply->isEnabled() != modified)
        btnApply->setEnabled(modified);
}

void TfrmBaseEditor::UpdateCaption() {
    setWindowTitle(m_bEditMode ? m_sKindName + QStringLiteral(" Properties")
                               : QStringLiteral("Add a new ") + m_sKindName);
}

bool TfrmBaseEditor::Validate() {
    return true;
}

void TfrmBaseEditor::EditModeChanged() {}

bool TfrmBaseEditor::Execute() {
    m_ModalResult = mrCancel;
    UpdateCaption();
    m_bApplied = false;
    if (!m_pDataset)
        ThrowError("Unable to show %s editor: No dataset object", m_sKindName);
    if (m_pDataset->State() != TDataSetState::Browse)
        ThrowError("Unable to open %s editor: Dataset not ready", m_sKindName);
    if (!m_bEditMode) {
        // The table's after-insert defaults run here.
        m_pDataset->Insert();
        m_bModified = false;
        SetModified(true);
    } else {
        if (m_pDataset->IsEmpty())
            ThrowError("Unable to open %s editor: Cannot edit at end of data", m_sKindName);
        m_pDataset->Edit();
        m_bModified = true;
        SetModified(false);
    }

    m_bOpen = true;
    try {
        Dialogs().ExecModal(this, [this] { return exec(); });
    } catch (...) {
        if (m_bOpen) {
            m_ModalResult = mrCancel;
            CloseQuery();
        }
        throw;
    }
    if (m_bOpen) {
        m_ModalResult = mrCancel;
        CloseQuery();
    }
    return m_ModalResult == mrOk;
}

void TfrmBaseEditor::accept() {
    if (m_bOpen)
        OkPressed();
    else
        QDialog::accept();
}

void TfrmBaseEditor::reject() {
    if (m_bOpen)
        CancelPressed();
    else
        QDialog::reject();
}

void TfrmBaseEditor::closeEvent(QCloseEvent* event) {
    if (!m_bOpen) {
        event->accept();
        return;
    }
    // The close box answers Cancel.
    m_ModalResult = mrCancel;
    if (CloseQuery())
        event->accept();
    else
        event->ignore();
}

void TfrmBaseEditor::OkPressed() {
    m_ModalResult = mrOk;
    btnOkClick();
    if (m_bOpen && m_ModalResult != mrNone)
        CloseQuery();
}

void TfrmBaseEditor::CancelPressed() {
    m_ModalResult = mrCancel;
    if (m_bOpen)
        CloseQuery();
}

void TfrmBaseEditor::btnOkClick() {
    try {
        if (!m_pDataset || !Validate()) {
            m_ModalResult = mrNone;
            return;
        }
        if (m_bEditMode && !m_bModified && !m_bApplied) {
            // An unchanged record is not written.
            m_pDataset->Cancel();
            m_ModalResult = mrCancel;
        } else {
            m_pDataset->Post();
        }
    } catch (const std::exception& error) {
        // A row that cannot be written stays open for the user to correct.
        m_ModalResult = mrNone;
        ShowError("%s", MessageOf(error));
    }
}

void TfrmBaseEditor::btnApplyClick() {
    try {
        if (!m_pDataset || !Validate())
            return;
        m_bApplied = true;
        m_pDataset->Post();
        m_pDataset->Edit();
        SetModified(false);
        SetEditMode(true);
    } catch (const std::exception& error) {
        ShowError("%s", MessageOf(error));
    }
}

bool TfrmBaseEditor::CloseQuery() {
    if (m_ModalResult != mrOk && m_ModalResult != mrCancel)
        return false;
    if (m_ModalResult == mrCancel)
        CancelPending();
    Finish();
    return true;
}

void TfrmBaseEditor::CancelPending() {
    if (!m_pDataset)
        return;
    const TDataSetState state = m_pDataset->State();
    if (state != TDataSetState::Insert && state != TDataSetState::Edit)
        return;
    try {
        m_pDataset->Cancel();
    } catch (const std::exception& error) {
        ShowError("Error during close:\r\n\r\n%s", MessageOf(error));
    } catch (...) {
        ShowError("Error during close:\r\n\r\n%s", QString());
    }
}

void TfrmBaseEditor::Finish() {
    m_bOpen = false;
    QDialog::done(m_ModalResult == mrOk ? QDialog::Accepted : QDialog::Rejected);
}

void TfrmBaseEditor::FocusForUse(QWidget* firstField) {
    if (m_bEditMode)
        btnOk->setFocus();
    else
        firstField->setFocus();
}
