#include "data/UArchiveDialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TArchiveDialog::TArchiveDialog(QWidget* parent, TdmlGlobals* dataModule, const QString& defaultPath,
                               const QString& caption, const QString& pathLabel,
                               const QString& groupTitle, const QString& startCaption)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_pDataModule(dataModule),
      m_sDefaultPath(defaultPath) {
    setWindowTitle(caption);

    edtPath = new QLineEdit(this);
    edtPath->setObjectName(QStringLiteral("edtPath"));
    edtPath->setMinimumWidth(320);
    btnBrowse = new QToolButton(this);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    btnBrowse->setText(QStringLiteral("..."));
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(edtPath, 1);
    pathRow->addWidget(btnBrowse);

    grpProgress = new QGroupBox(groupTitle, this);
    prgCurrent = new QProgressBar(grpProgress);
    prgCurrent->setObjectName(QStringLiteral("prgCurrent"));
    prgOverall = new QProgressBar(grpProgress);
    prgOverall->setObjectName(QStringLiteral("prgOverall"));
    auto* bars = new QFormLayout(grpProgress);
    bars->addRow(QStringLiteral("Current Table"), prgCurrent);
    bars->addRow(QStringLiteral("Overall"), prgOverall);

    lblResult = new QLabel(this);
    lblResult->setObjectName(QStringLiteral("lblResult"));
    lblResult->setWordWrap(true);

    btnStart = new QPushButton(startCaption, this);
    btnStart->setObjectName(QStringLiteral("btnStart"));
    btnStart->setDefault(true);
    btnClose = new QPushButton(QStringLiteral("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnStart);
    buttons->addWidget(btnClose);

    auto* form = new QFormLayout;
    form->addRow(pathLabel, pathRow);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(grpProgress);
    layout->addWidget(lblResult);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TArchiveDialog::showEvent(QShowEvent* event) {
    edtPath->setText(m_sDefaultPath);
    prgCurrent->setValue(0);
    prgOverall->setValue(0);
    lblResult->clear();
    QDialog::showEvent(event);
}

void TArchiveDialog::RunDisabled(const std::function<void()>& work) {
    const QList<QWidget*> controls{btnClose, edtPath, btnBrowse, btnStart};
    const auto enable = [&controls](bool on) {
        for (QWidget* control : controls)
            control->setEnabled(on);
    };
    lblResult->clear();
    enable(false);
    try {
        work();
    } catch (...) {
        enable(true);
        throw;
    }
    enable(true);
}
