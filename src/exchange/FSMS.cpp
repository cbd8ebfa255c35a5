#include "exchange/FSMS.h"

#include "exchange/FRecipients.h"
#include "shell/UDialogs.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int PartLength = 160;

} // namespace

TfrmSMS::TfrmSMS(QWidget* owner, TdmlGlobals* dataModule)
    : QDialog(owner), m_pDataModule(dataModule) {
    setObjectName(QStringLiteral("frmSMS"));
    setWindowTitle(QStringLiteral("Send SMS"));
    btnTo = new QPushButton(QStringLiteral("To:"), this);
    btnTo->setObjectName(QStringLiteral("btnTo"));
    btnTo->setFlat(true);
    btnTo->setAutoDefault(false);
    memRecipients = new QPlainTextEdit(this);
    memRecipients->setObjectName(QStringLiteral("memRecipients"));
    memRecipients->setFixedHeight(52);
    memMessage = new QPlainTextEdit(this);
    memMessage->setObjectName(QStringLiteral("memMessage"));
    lblCounter = new QLabel(CounterText(QString()), this);
    lblCounter->setObjectName(QStringLiteral("lblCounter"));
    btnSend = new QPushButton(QStringLiteral("Send"), this);
    btnSend->setObjectName(QStringLiteral("btnSend"));
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);

    connect(btnTo, &QPushButton::clicked, this, &TfrmSMS::btnToClick);
    connect(memMessage, &QPlainTextEdit::textChanged, this,
            [this] { lblCounter->setText(CounterText(memMessage->toPlainText())); });
    connect(btnSend, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(btnTo, 0, 0, Qt::AlignTop);
    grid->addWidget(memRecipients, 0, 1);
    grid->addWidget(memMessage, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblCounter);
    bottom->addStretch();
    bottom->addWidget(btnSend);
    bottom->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(bottom);
    setFixedSize(380, 300);
}

QString TfrmSMS::CounterText(const QString& message) {
    qsizetype length = 0;
    if (!message.isEmpty()) {
        const QStringList lines = message.split(QLatin1Char('\n'));
        for (const QString& line : lines)
            length += line.size() + 2;
    }
    return QStringLiteral("Message: %1(%2)")
        .arg(PartLength - length % PartLength)
        .arg(length / PartLength + 1);
}

void TfrmSMS::btnToClick() {
    TfrmRecipients recipients(this, m_pDataModule);
    Dialogs().ExecModal(&recipients, [&recipients] { return recipients.exec(); });
}
