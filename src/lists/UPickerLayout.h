#pragma once

class QDialog;
class QFormLayout;
class QPushButton;

// Lays out a picker dialog: its form of fields above an OK button (the
// default, accepting) and a Cancel button (rejecting), named btnOK and
// btnCancel. The dialog's caption must be set before: the dialog is made
// wide enough to show it whole.
void LayOutPicker(QDialog* dialog, QFormLayout* form, QPushButton*& btnOK, QPushButton*& btnCancel);
