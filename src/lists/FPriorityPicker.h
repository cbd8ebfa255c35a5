#pragma once

#include <QDialog>

class QSpinBox;
class QPushButton;

// Asks for a priority for the "by priority" call view.
class TfrmPriorityPicker : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPriorityPicker(QWidget* parent = nullptr);

    // Shows the picker on m_nPriority; on OK stores the chosen priority in
    // m_nPriority and returns true.
    bool Execute();

    int m_nPriority = 0;

    QSpinBox* edtPriority;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// The program's priority picker, set and cleared by TProgramWindows (UStartup);
// nullptr outside its lifetime.
extern TfrmPriorityPicker* frmPriorityPicker;
