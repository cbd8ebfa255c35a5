#include "shell/FMain.h"

#include <QtTest>

class TestFMain : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ShowsTheMainWindowWithItsTitle() {
        TfrmMain frm;
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        QCOMPARE(frm.windowTitle(), QStringLiteral("TK Korvane"));
    }
};

QTEST_MAIN(TestFMain)
#include "tst_FMain.moc"
