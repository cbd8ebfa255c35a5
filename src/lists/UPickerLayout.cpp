#include "lists/UPickerLayout.h"

#include "shell/UApplication.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLayoutItem>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

void LayOutPicker(QDialog* dialog, QFormLayout* form, QPushButton*& btnOK,
                  QPushButton*& btnCancel) {
    auto* buttons = new QDialogButtonBox(dialog);
    btnOK = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    // accept() is virtual: a picker that checks its answer overrides it.
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);

    // Fields wide enough that the small box does not look cramped, and a
    // little air above the buttons.
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (int row = 0; row < form->rowCount(); ++row) {
        if (QLayoutItem* field = form->itemAt(row, QFormLayout::FieldRole);
            field && field->widget())
            field->widget()->setMinimumWidth(
                std::max(field->widget()->sizeHint().width(), 10 * dialog->fontMetrics().height()));
    }
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    // Wide enough that the title bar shows the whole caption.
    FitCaption(dialog);
}
