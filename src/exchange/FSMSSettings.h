#pragma once

// The SMS account settings: the user name and the password of the account,
// kept enciphered in the settings store as SMS_Username and SMS_Password.

#include <QDialog>

class QLineEdit;
class QPushButton;

// "SMS Settings": a fixed dialog with the two fields; OK and Cancel close it.
class TfrmSMSSettings : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSMSSettings(QWidget* owner = nullptr);

    QLineEdit* edtUsername;
    QLineEdit* edtPassword; // shows '*' for every character
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// The SMS Settings command: loads both values into a new dialog owned by
// `owner`, shows it modally, and saves both (enciphered; an empty value is
// stored empty) only when it closes with OK. While no setting was ever saved
// the store's error "Unable to load parameter 'SMS_Username' ..." is raised
// and the dialog is not shown.
void EditSMSSettings(QWidget* owner);
