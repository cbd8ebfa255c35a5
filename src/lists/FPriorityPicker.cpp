#include "lists/FPriorityPicker.h"

#include "lists/UPickerLayout.h"
#include "shell/UDialogs.h"

#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

TfrmPriorityPicker* frmPriorityPicker = nullptr;

TfrmPriorityPicker::TfrmPriorityPicker(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPriorityPicker"));
    setWindowTitle(QStringLiteral("Specify the priority"));

    edtPriority = new QSpinBox(this);
    edtPriority->setObjectName(QStringLiteral("edtPriority"));
    edtPriority->setRange(1, 15);
    edtPriority->setValue(1);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Priority"), edtPriority);

    LayOutPicker(this, form, btnOK, btnCancel);
}

bool TfrmPriorityPicker::Execute() {
    setResult(0);
    // The spin box keeps the value within its limits, so the first use (with
    // the stored 0) opens on the lowest priority.
    edtPriority->setValue(m_nPriority);
    if (Dialogs().ExecModal(this, [this] { return exec(); }) != QDialog::Accepted)
        return false;
    m_nPriority = edtPriority->value();
    return true;
}
