#include "exchange/FSMSSettings.h"

#include "shell/UDialogs.h"
#include "shell/USettings.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QScopeGuard>

namespace {

const QString UsernameValue = QStringLiteral("SMS_Username");
const QString PasswordValue = QStringLiteral("SMS_Password");

} // namespace

TfrmSMSSettings::TfrmSMSSettings(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmSMSSettings"));
    setWindowTitle(QStringLiteral("SMS Settings"));
    edtUsername = new QLineEdit(this);
    edtUsername->setObjectName(QStringLiteral("edtUsername"));
    edtPassword = new QLineEdit(this);
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    edtPassword->setEchoMode(QLineEdit::Password);
    edtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Username"), edtUsername);
    fields->addRow(QStringLiteral("Password"), edtPassword);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    edtUsername->setMinimumWidth(200);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void EditSMSSettings(QWidget* owner) {
    TfrmSMSSettings dialog(owner);
    OpenSettingsStore();
    const auto close = qScopeGuard([] { CloseSettingsStore(); });
    dialog.edtUsername->setText(LoadParameter(UsernameValue, {}, true, false));
    dialog.edtPassword->setText(LoadParameter(PasswordValue, {}, true, false));
    if (Dialogs().ExecModal(&dialog, [&dialog] { return dialog.exec(); }) != QDialog::Accepted)
        return;
    SaveParameter(UsernameValue, dialog.edtUsername->text(), {}, true, false);
    SaveParameter(PasswordValue, dialog.edtPassword->text(), {}, true, false);
}
