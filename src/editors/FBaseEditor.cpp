#include "editors/FBaseEditor.h"

#include "data/engine/TDataSet.h"
#include "data/engine/TField.h"
#include "editors/UDBControls.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString MessageOf(const std::exception& error) {
    if (const auto* e = dynamic_cast<const EError*>(&error))
        return e->Message();
    return QString::fromLocal8Bit(error.what());
}

// How the key fields are named in messages: on their own ("The customer ID
// cannot be empty.") and after the record kind ("A customer with the ID ...",
// "A service contract for the item ...").
struct TKeyWords {
    const char* Field;
    const char* Alone;
    const char* AfterKind;
    const char* Preposition;
};

constexpr TKeyWords KeyWords[] = {
    {"CallNr", "call number", "number", "with"},
    {"CustomerID", "customer ID", "ID", "with"},
    {"SerialNr", "serial number", "serial number", "with"},
    {"WorkerNr", "worker number", "number", "with"},
    {"ItemSerialNr", "item serial number", "item", "for"},
    {"RecID", "record ID", "record ID", "with"},
};

const TKeyWords* WordsFor(const QString& field) {
    for (const TKeyWords& words : KeyWords) {
        if (field.compare(QLatin1String(words.Field), Qt::CaseInsensitive) == 0)
            return &words;
    }
    return nullptr;
}

QString Alone(const QString& field) {
    const TKeyWords* words = WordsFor(field);
    return words ? QString::fromLatin1(words->Alone) : field;
}

// "a customer", "an item".
QString WithArticle(const QString& kind) {
    const QString lower = kind.toLower();
    const bool vowel = !lower.isEmpty() && QStringLiteral("aeiou").contains(lower.front());
    return (vowel ? QStringLiteral("an ") : QStringLiteral("a ")) + lower;
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
    m_pButtonRow = buttons;
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
        // The table's after-insert defaults run here; the user may decline
        // to give what a new record needs (a call number), and then nothing
        // is created.
        try {
            m_pDataset->Insert();
        } catch (const EAbort&) {
            return false;
        }
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
        if (!m_pDataset || !Validate() || !KeysFilled()) {
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
        PostFailed(error);
    }
}

void TfrmBaseEditor::btnApplyClick() {
    try {
        if (!m_pDataset || !Validate() || !KeysFilled())
            return;
        m_pDataset->Post();
        m_bApplied = true;
        m_pDataset->Edit();
        SetModified(false);
        SetEditMode(true);
    } catch (const std::exception& error) {
        PostFailed(error);
    }
}

bool TfrmBaseEditor::KeysFilled() {
    for (const QString& key : m_pDataset->KeyFields()) {
        const TField* field = m_pDataset->FindField(key);
        if (!field || !field->AsString().trimmed().isEmpty())
            continue;
        ShowError("The %s cannot be empty.", Alone(key));
        FocusField(key);
        return false;
    }
    return true;
}

void TfrmBaseEditor::PostFailed(const std::exception& error) {
    const auto* refused = dynamic_cast<const EDatabaseError*>(&error);
    if (!refused) {
        ShowError("%s", MessageOf(error));
        return;
    }
    const QStringList keys = m_pDataset ? m_pDataset->KeyFields() : QStringList();
    if (refused->IsDuplicateKey() && !keys.isEmpty()) {
        QStringList named;
        for (const QString& key : keys) {
            const TKeyWords* words = WordsFor(key);
            named << QStringLiteral("the %1 \"%2\"")
                         .arg(words ? QString::fromLatin1(words->AfterKind) : key,
                              m_pDataset->FieldByName(key).AsString());
        }
        // "A customer with the ID "C1" already exists."; "A service contract
        // for the item "S1" already exists."
        const TKeyWords* first = WordsFor(keys.first());
        const QString preposition = keys.size() == 1 && first
                                        ? QString::fromLatin1(first->Preposition)
                                        : QStringLiteral("for");
        QString message = WithArticle(m_sKindName) + QLatin1Char(' ') + preposition +
                          QLatin1Char(' ') + named.join(QStringLiteral(" and ")) +
                          QStringLiteral(" already exists.");
        message[0] = message[0].toUpper();
        ShowError("%s", message);
        FocusField(keys.first());
    } else if (refused->IsConstraint()) {
        ShowError("The %s cannot be saved: one of its values is missing or not allowed.",
                  m_sKindName.toLower());
    } else {
        ShowError("The %s could not be saved:\r\n\r\n%s", m_sKindName.toLower(),
                  refused->Message());
    }
}

void TfrmBaseEditor::FocusField(const QString& fieldName) {
    const QList<QWidget*> widgets = findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        const auto* control = dynamic_cast<const TDBControl*>(widget);
        if (!control || control->DataField().compare(fieldName, Qt::CaseInsensitive) != 0)
            continue;
        // Bring forward the page that holds it.
        QWidget* child = widget;
        for (QWidget* parent = widget->parentWidget(); parent && parent != this;
             parent = parent->parentWidget()) {
            if (auto* pages = qobject_cast<QTabWidget*>(parent))
                pages->setCurrentWidget(child);
            if (!qobject_cast<QStackedWidget*>(parent))
                child = parent;
        }
        widget->setFocus();
        return;
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

bool TfrmBaseEditor::Refuse(const char* message, QWidget* control) {
    ShowError("%s", QString::fromLatin1(message));
    if (control)
        control->setFocus();
    return false;
}
