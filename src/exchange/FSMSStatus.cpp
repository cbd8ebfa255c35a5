#include "exchange/FSMSStatus.h"

#include "shell/UDialogs.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

void ShowSMSStatus(QWidget* owner) {
    QDialog box(owner);
    box.setObjectName(QStringLiteral("frmSMSStatus"));
    box.setWindowTitle(QStringLiteral("SMS Status"));
    auto* icon = new QLabel(&box);
    const int size = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    icon->setPixmap(box.style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(size));
    icon->setAlignment(Qt::AlignTop);
    auto* text = new QLabel(QString::fromLatin1(SMSStatusText), &box);
    text->setObjectName(QStringLiteral("lblStatus"));
    text->setTextFormat(Qt::RichText);
    auto* ok = new QPushButton(QStringLiteral("Ok"), &box);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);

    auto* message = new QHBoxLayout;
    message->addWidget(icon);
    message->addSpacing(12);
    message->addWidget(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(&box);
    layout->addLayout(message);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Dialogs().ExecModal(&box, [&box] { return box.exec(); });
}
