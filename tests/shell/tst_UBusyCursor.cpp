#include "shell/UBusyCursor.h"

#include <QtTest>
#include <QtWidgets>
#include <stdexcept>

namespace {
bool s_bHeadlessWorks = false;
}

class TestUBusyCursor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void NestsIsRestoredWhenAnExceptionPassesAndWorksWithoutAnApplication() {
        QVERIFY(s_bHeadlessWorks); // tried in main, before the application object
        try {
            TBusyCursor outer;
            { TBusyCursor inner; }
            const QCursor* cursor = QGuiApplication::overrideCursor();
            QVERIFY(TBusyCursor::IsBusy() && cursor && cursor->shape() == Qt::WaitCursor);
            throw std::runtime_error("failed");
        } catch (const std::runtime_error&) {
        }
        QVERIFY(!TBusyCursor::IsBusy());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

int main(int argc, char* argv[]) {
    {
        TBusyCursor busy;
        s_bHeadlessWorks = TBusyCursor::IsBusy();
    }
    s_bHeadlessWorks = s_bHeadlessWorks && !TBusyCursor::IsBusy();
    QApplication app(argc, argv);
    TestUBusyCursor test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_UBusyCursor.moc"
