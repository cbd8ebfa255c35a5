#include "shell/FAbout.h"

#include "shell/UErrors.h"
#include "shell/files/UFiles.h"

#include <QCoreApplication>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

TfrmAbout* frmSplash = nullptr;

namespace {

const char* const Details = "<p align=\"center\">Service desk for field-service workshops:<br>"
                            "calls, customers, equipment,<br>service contracts and workers.</p>"
                            "<p align=\"center\">&copy; Tarnwick Software<br>"
                            "14 Quarry Lane, Ashbridge<br>"
                            "support@tarnwick-software.example</p>";

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About TK Korvane"));

    imgPicture = new QLabel(this);
    imgPicture->setObjectName(QStringLiteral("imgPicture"));
    imgPicture->setPixmap(QPixmap(QStringLiteral(":/korvane/korvane.png")));
    imgPicture->setAlignment(Qt::AlignCenter);
    imgPicture->setFixedSize(160, 160);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setTextFormat(Qt::RichText);
    lblTitle->setAlignment(Qt::AlignCenter);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    lblTitle->setFont(titleFont);
    QPalette titlePalette = lblTitle->palette();
    titlePalette.setColor(QPalette::WindowText, QColor(0x1f, 0x3e, 0x66));
    lblTitle->setPalette(titlePalette);
    auto* shadow = new QGraphicsDropShadowEffect(lblTitle);
    shadow->setOffset(1.5, 1.5);
    shadow->setBlurRadius(2);
    shadow->setColor(QColor(0, 0, 0, 70));
    lblTitle->setGraphicsEffect(shadow);

    lblDetails = new QLabel(this);
    lblDetails->setObjectName(QStringLiteral("lblDetails"));
    lblDetails->setTextFormat(Qt::RichText);
    lblDetails->setAlignment(Qt::AlignCenter);
    lblDetails->setText(QLatin1String(Details));

    // Clicks on the picture and the texts are the window's.
    for (QLabel* label : {imgPicture, lblTitle, lblDetails})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* text = new QVBoxLayout;
    text->addStretch();
    text->addWidget(lblTitle);
    text->addSpacing(8);
    text->addWidget(lblDetails);
    text->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 16, 24, 16);
    layout->setSpacing(16);
    layout->addWidget(imgPicture);
    layout->addLayout(text, 1);
    setFixedSize(540, 210);
}

QString TfrmAbout::TitleTemplate() {
    return QStringLiteral("<b>TK Korvane version %s</b>");
}

void TfrmAbout::reject() {
    if (!m_bSplash)
        QDialog::reject();
}

void TfrmAbout::showEvent(QShowEvent* event) {
    const QString version = GetVersionString(m_bSplash ? QStringLiteral("ProductVersion")
                                                       : QStringLiteral("FileVersion"),
                                             QCoreApplication::applicationFilePath());
    lblTitle->setText(UErrors::FormatMessage(TitleTemplate().toUtf8().constData(), version));

    if (const QScreen* shownOn = screen())
        move(shownOn->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void TfrmAbout::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !m_bSplash)
        accept();
    QDialog::mouseReleaseEvent(event);
}

void TfrmAbout::paintEvent(QPaintEvent* event) {
    // Without a frame of its own the window gets a light panel behind the
    // picture and a thin border, so that it stands out from what lies below.
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const QRect panel(0, 0, imgPicture->geometry().right() + 16, height());
    QLinearGradient gradient(panel.topLeft(), panel.bottomLeft());
    gradient.setColorAt(0, QColor(0xe4, 0xec, 0xf6));
    gradient.setColorAt(1, QColor(0xc9, 0xd8, 0xea));
    painter.fillRect(panel, gradient);
    painter.setPen(palette().color(QPalette::Midlight));
    painter.drawLine(panel.topRight(), panel.bottomRight());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    QDialog::paintEvent(event);
}
