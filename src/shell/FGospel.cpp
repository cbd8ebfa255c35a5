#include "shell/FGospel.h"

#include "shell/UDialogs.h"
#include "shell/files/UFiles.h"

#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

TUrlOpener& Opener() {
    static TUrlOpener opener;
    return opener;
}

constexpr int PictureWidth = 200;
constexpr int PictureHeight = 150;

} // namespace

bool OpenExternalUrl(const QUrl& url) {
    if (const TUrlOpener& opener = Opener())
        return opener(url);
    return QDesktopServices::openUrl(url);
}

TUrlOpener SetExternalUrlOpener(TUrlOpener opener) {
    TUrlOpener previous = std::move(Opener());
    Opener() = std::move(opener);
    return previous;
}

TfrmGospel::TfrmGospel(QWidget* parent, const QString& pictureDir)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("frmGospel"));
    setWindowTitle(QStringLiteral("About Life"));

    auto* pnlCaption = new QFrame(this);
    pnlCaption->setObjectName(QStringLiteral("pnlCaption"));
    pnlCaption->setFrameShape(QFrame::StyledPanel);
    pnlCaption->setAutoFillBackground(true);
    QPalette captionPalette = pnlCaption->palette();
    captionPalette.setColor(QPalette::Window, QColor(0xe4, 0xec, 0xf6));
    captionPalette.setColor(QPalette::WindowText, QColor(0x1f, 0x3e, 0x66));
    pnlCaption->setPalette(captionPalette);
    lblTitle = new QLabel(pnlCaption);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setTextFormat(Qt::RichText);
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setText(
        QStringLiteral("<p align=\"center\"><b><big>Good work, well kept</big></b><br>"
                       "Sharp tools, a tidy bench, a van that starts, the hour kept "
                       "and a handshake when the job is done.</p>"));
    lblTitle->setWordWrap(true);
    auto* captionLayout = new QVBoxLayout(pnlCaption);
    captionLayout->setContentsMargins(12, 8, 12, 8);
    captionLayout->addWidget(lblTitle);

    auto* strip = new QWidget;
    strip->setObjectName(QStringLiteral("pnlPictures"));
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(8, 8, 8, 8);
    stripLayout->setSpacing(12);
    const QStringList files = PictureFiles();
    const QStringList captions = PictureCaptions();
    for (int i = 0; i < files.size(); ++i) {
        auto* picture = new QLabel(strip);
        picture->setObjectName(QStringLiteral("imgPicture%1").arg(i + 1));
        picture->setFixedSize(PictureWidth, PictureHeight);
        picture->setFrameShape(QFrame::StyledPanel);
        picture->setAlignment(Qt::AlignCenter);
        const QPixmap pixmap(pictureDir + files[i]);
        if (!pixmap.isNull())
            picture->setPixmap(pixmap.scaled(picture->contentsRect().size(), Qt::KeepAspectRatio,
                                             Qt::SmoothTransformation));
        picture->setToolTip(captions[i]);
        auto* caption = new QLabel(captions[i], strip);
        caption->setAlignment(Qt::AlignCenter);
        auto* column = new QVBoxLayout;
        column->setSpacing(4);
        column->addWidget(picture);
        column->addWidget(caption);
        stripLayout->addLayout(column);
        imgPictures << picture;
    }

    scbPictures = new QScrollArea(this);
    scbPictures->setObjectName(QStringLiteral("scbPictures"));
    scbPictures->setWidget(strip);
    scbPictures->setWidgetResizable(false);
    scbPictures->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scbPictures->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    strip->adjustSize();
    scbPictures->setFixedHeight(strip->sizeHint().height() +
                                scbPictures->horizontalScrollBar()->sizeHint().height() +
                                2 * scbPictures->frameWidth());

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    layout->addWidget(pnlCaption);
    layout->addWidget(scbPictures);
    layout->addLayout(buttons);
    setFixedSize(3 * PictureWidth + 4 * 12 + 24, sizeHint().height());
}

QString TfrmGospel::DefaultPictureDir() {
    return UFiles::ShippedFile(QStringLiteral("life")) + QLatin1Char('/');
}

QStringList TfrmGospel::PictureFiles() {
    return {QStringLiteral("tools.png"), QStringLiteral("bench.png"), QStringLiteral("van.png"),
            QStringLiteral("clock.png"), QStringLiteral("handshake.png")};
}

QStringList TfrmGospel::PictureCaptions() {
    return {QStringLiteral("Tools cared for"), QStringLiteral("A tidy bench"),
            QStringLiteral("Out to the customer"), QStringLiteral("On time"),
            QStringLiteral("A job well done")};
}

QUrl TfrmGospel::Address() {
    return QUrl(QStringLiteral("https://www.osha.gov/hand-power-tools"));
}

void TfrmGospel::Run(QWidget* owner) {
    {
        TfrmGospel window(owner);
        Dialogs().ExecModal(&window, [&window] { return window.exec(); });
    }
    OpenExternalUrl(Address());
}

void TfrmGospel::showEvent(QShowEvent* event) {
    if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr)
        move(owner->geometry().center() - rect().center());
    QDialog::showEvent(event);
}
