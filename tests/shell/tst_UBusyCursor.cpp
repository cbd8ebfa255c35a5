#include "shell/UBusyCursor.h"

#include <QApplication>
#include <QtTest>
#include <stdexcept>

namespace {

bool s_bHeadlessBusy = false;
bool s_bHeadlessRestored = false;

Qt::CursorShape OverrideShape() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

} // namespace

class TestUBusyCursor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void WorksWithoutAnApplicationObject() {
        QVERIFY(s_bHeadlessBusy);
        QVERIFY(s_bHeadlessRestored);
    }

    void NestedGuardsRestoreTheCursor() {
        QVERIFY(!TBusyCursor::IsBusy());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        {
            TBusyCursor outer;
            QCOMPARE(OverrideShape(), Qt::WaitCursor);
            {
                TBusyCursor inner;
                QVERIFY(TBusyCursor::IsBusy());
            }
            QVERIFY(TBusyCursor::IsBusy());
            QCOMPARE(OverrideShape(), Qt::WaitCursor);
        }
        QVERIFY(!TBusyCursor::IsBusy());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void RestoredWhenAnExceptionPasses() {
        // A cursor set by someone else stays in place.
        QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
        try {
            TBusyCursor busy;
            throw std::runtime_error("failed");
        } catch (const std::runtime_error&) {
        }
        QVERIFY(!TBusyCursor::IsBusy());
        QCOMPARE(OverrideShape(), Qt::CrossCursor);
        QGuiApplication::restoreOverrideCursor();
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

int main(int argc, char* argv[]) {
    {
        TBusyCursor busy;
        s_bHeadlessBusy = TBusyCursor::IsBusy();
    }
    s_bHeadlessRestored = !TBusyCursor::IsBusy();
    QApplication app(argc, argv);
    TestUBusyCursor test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_UBusyCursor.moc"
