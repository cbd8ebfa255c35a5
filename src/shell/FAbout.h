#pragma once

#include <QDialog>

class QLabel;

// The About window, which also serves as the splash window while the program
// starts: a borderless box centred on the screen with the program's picture
// on the left and its name, version and maker on the right. The version is
// the product version ("1.3") on the splash window and the file version
// ("1.3.1.0") in the About box. A click closes the About box; the splash
// window ignores clicks (and Escape) and is closed by the start-up.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    // The title line; "%s" takes the version.
    static QString TitleTemplate();

    bool IsSplash() const { return m_bSplash; }
    void SetSplash(bool splash) { m_bSplash = splash; }

    QLabel* imgPicture;
    QLabel* lblTitle;
    QLabel* lblDetails;

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_bSplash = false;
};

// The splash window of the start-up; nullptr once it is gone.
extern TfrmAbout* frmSplash;
