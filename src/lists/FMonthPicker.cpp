#include "lists/FMonthPicker.h"

#include "lists/UPickerLayout.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>

TfrmMonthPicker* frmMonthPicker = nullptr;

namespace {
// The date-time value zero: 30 December 1899, midnight.
QDateTime ZeroDateTime() {
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}
} // namespace

TfrmMonthPicker::TfrmMonthPicker(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_dtMonth(ZeroDateTime()) {
    setObjectName(QStringLiteral("frmMonthPicker"));
    setWindowTitle(QStringLiteral("Pick a month"));

    cbxMonth = new QComboBox(this);
    cbxMonth->setObjectName(QStringLiteral("cbxMonth"));
    cbxMonth->addItems({QStringLiteral("January"), QStringLiteral("February"),
                        QStringLiteral("March"), QStringLiteral("April"), QStringLiteral("May"),
                        QStringLiteral("June"), QStringLiteral("July"), QStringLiteral("August"),
                        QStringLiteral("September"), QStringLiteral("October"),
                        QStringLiteral("November"), QStringLiteral("December")});
    cbxMonth->setCurrentIndex(-1);

    edtYear = new QSpinBox(this);
    edtYear->setObjectName(QStringLiteral("edtYear"));
    edtYear->setRange(1900, 3000);
    edtYear->setSingleStep(1);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Month"), cbxMonth);
    form->addRow(QStringLiteral("Year"), edtYear);

    LayOutPicker(this, form, btnOK, btnCancel);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

bool TfrmMonthPicker::Execute() {
    setResult(0);
    // The month's name in the user's language picks the item; an item text in
    // another language matches nothing and the user must choose.
    const QString name = QLocale().monthName(m_dtMonth.date().month(), QLocale::LongFormat);
    int index = -1;
    for (int i = 0; i < cbxMonth->count(); ++i) {
        if (cbxMonth->itemText(i).compare(name, Qt::CaseInsensitive) == 0) {
            index = i;
            break;
        }
    }
    cbxMonth->setCurrentIndex(index);
    edtYear->setValue(m_dtMonth.date().year());

    if (Dialogs().ExecModal(this, [this] { return exec(); }) != QDialog::Accepted)
        return false;
    m_dtMonth = QDateTime(QDate(edtYear->value(), cbxMonth->currentIndex() + 1, 1), QTime(0, 0));
    return true;
}

void TfrmMonthPicker::accept() {
    if (cbxMonth->currentIndex() < 0) {
        ShowError("Please select a month.");
        setResult(0);
        return;
    }
    QDialog::accept();
}
