#include "shell/FAbout.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

using TestSupport::ShownText;

class TestFAbout : public QObject {
    Q_OBJECT
private:
    // A click on the middle of `target` as the window system delivers it.
    static void Click(TfrmAbout& window, QWidget* target) {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                          target->mapTo(&window, target->rect().center()));
    }

private Q_SLOTS:
    void SplashIgnoresClicksAboutBoxClosesOnOne() {
        TfrmAbout splash;
        splash.SetSplash(true);
        QVERIFY(TestWindows::ShowExposed(splash));
        QCOMPARE(ShownText(splash.lblTitle->text()), QString("TK Korvane version 1.3"));

        for (QWidget* target : {splash.imgPicture, splash.lblTitle, splash.lblDetails})
            Click(splash, target);
        QTest::keyClick(&splash, Qt::Key_Escape);
        QVERIFY(splash.isVisible());

        // The About box is centred, shows the file version and closes on a click.
        for (int target = 0; target < 3; ++target) {
            TfrmAbout about;
            QVERIFY(TestWindows::ShowExposed(about));
            QCOMPARE(ShownText(about.lblTitle->text()), QString("TK Korvane version 1.3.1.0"));
            // Shown centred on the screen.
            const QPoint offset =
                about.geometry().center() - about.screen()->availableGeometry().center();
            QVERIFY2(offset.manhattanLength() <= 2,
                     qPrintable(QString("off by %1,%2").arg(offset.x()).arg(offset.y())));
            Click(about,
                  QList<QWidget*>{about.lblTitle, about.imgPicture, about.lblDetails}[target]);
            QVERIFY(!about.isVisible());
            QCOMPARE(about.result(), int(QDialog::Accepted));
        }
    }
};

QTEST_MAIN(TestFAbout)
#include "tst_FAbout.moc"
