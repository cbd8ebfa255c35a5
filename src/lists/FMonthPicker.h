#pragma once

#include <QDateTime>
#include <QDialog>

class QComboBox;
class QSpinBox;
class QPushButton;

// Asks for a month and a year for the "by month" call views.
class TfrmMonthPicker : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMonthPicker(QWidget* parent = nullptr);

    // Shows the picker on m_dtMonth; on OK m_dtMonth becomes the first day of
    // the chosen month at midnight and the result is true.
    bool Execute();

    QDateTime m_dtMonth;

    QComboBox* cbxMonth;
    QSpinBox* edtYear;
    QPushButton* btnOK;
    QPushButton* btnCancel;

public Q_SLOTS:
    void accept() override;
};

// The program's month picker, set and cleared by TProgramWindows (UStartup);
// nullptr outside its lifetime.
extern TfrmMonthPicker* frmMonthPicker;
