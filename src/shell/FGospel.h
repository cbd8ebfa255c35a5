#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;
class QScrollArea;

// The "About Life" window: a fixed box centred on the main window with a
// caption panel holding a title, a scroll box of five pictures of a
// workshop's good habits and an OK button. Once it has closed, the program
// opens a page on the care and safe use of tools in the default browser.
class TfrmGospel : public QDialog {
    Q_OBJECT
public:
    // The five pictures are read from `pictureDir` (ending in '/'); by
    // default the folder "life" beside the program. A missing picture leaves
    // its frame empty.
    explicit TfrmGospel(QWidget* parent = nullptr, const QString& pictureDir = DefaultPictureDir());

    static QString DefaultPictureDir();
    // The pictures' file names and captions, in the order they are shown.
    static QStringList PictureFiles();
    static QStringList PictureCaptions();
    // The page opened after the window closes.
    static QUrl Address();

    // Shows the window modally over `owner` (through the dialog seam), then
    // opens Address() with OpenExternalUrl.
    static void Run(QWidget* owner);

    QLabel* lblTitle;
    QScrollArea* scbPictures;
    QList<QLabel*> imgPictures;
    QPushButton* btnOK;

protected:
    void showEvent(QShowEvent* event) override;
};

// Opens `url` in the user's default browser. The opener can be replaced
// (tests put one there that only notes the address); SetExternalUrlOpener
// returns the one in force before, and an empty one restores the browser.
bool OpenExternalUrl(const QUrl& url);
using TUrlOpener = std::function<bool(const QUrl&)>;
TUrlOpener SetExternalUrlOpener(TUrlOpener opener);
