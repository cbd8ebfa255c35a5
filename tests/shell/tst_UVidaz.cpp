#include "shell/UErrors.h"
#include "shell/UVidaz.h"
#include "support/TestSupport.h"

#include <QtTest>
#include <cerrno>

class TestUVidaz : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ShippedLibraryHasTheCallStatesAndABannerOthersErrors() {
        QString text;
        int code = -1;
        QVERIFY(UVidaz::LoadStringResource(1000, 255, text, code));
        QCOMPARE(code, 0);
        QCOMPARE(text, QString("New\r\nBusy\r\nPending\r\nAwaiting Parts\r\nComplete\r\n"));
        QVERIFY(UVidaz::LoadStringResource(1001, 255, text, code));
        QVERIFY(text.isEmpty());
        // The buffer size limits what is read.
        QVERIFY(UVidaz::LoadStringResource(1000, 8, text, code));
        QCOMPARE(text, QString("New\r\nBus"));

        QImage banner;
        QVERIFY(UVidaz::LoadBitmapResource("Banner", banner, code));
        QVERIFY(!banner.isNull());
        QVERIFY(banner.width() > banner.height());
        QVERIFY_THROWS_EXCEPTION(EError, UVidaz::LoadBitmapResource("Logo", banner, code));

        // A missing library gives an error code, and nothing stale.
        TestSupport::TTempDir dir;
        QVERIFY(!UVidaz::LoadStringResource(1000, 255, text, code, dir.Path() + "Vidaz"));
        QCOMPARE(code, ENOENT);
        QVERIFY(text.isEmpty());
        QVERIFY(!UVidaz::LoadBitmapResource("Banner", banner, code, dir.Path() + "Vidaz"));
        QVERIFY(banner.isNull());

        // A file of that name that is no library.
        TestSupport::WriteFile(dir.Path() + "libVidaz.so", "not a library");
        QVERIFY(!UVidaz::LoadStringResource(1000, 255, text, code, dir.Path() + "Vidaz"));
        QCOMPARE(code, ENOEXEC);

        // A library without content (its empty status list is the main window's test).
        const QString empty = QCoreApplication::applicationDirPath() + "/vidaz-empty/Vidaz";
        QVERIFY_THROWS_EXCEPTION(EError, UVidaz::LoadBitmapResource("Banner", banner, code, empty));
    }
};

QTEST_GUILESS_MAIN(TestUVidaz)
#include "tst_UVidaz.moc"
