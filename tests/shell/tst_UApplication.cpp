#include "shell/UApplication.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>
#include <stdexcept>

using TestWindows::ShownCaption;

// Runs the application's event loop until something quits it or the
// timeout does; true when the loop ended before the timeout.
static bool RunLoop(int timeoutMs = 5000) {
    const int timedOut = -99;
    QTimer safety;
    safety.setSingleShot(true);
    safety.callOnTimeout([] { QCoreApplication::exit(timedOut); });
    safety.start(timeoutMs);
    return QCoreApplication::exec() != timedOut;
}

class TestUApplication : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What the title bar of the main window reads, with whatever the window
    // system is given beyond the window's own title; the program's icon.
    void CaptionNamesTheProgramOnceOrdinaryErrorsAreShown() {
        QVERIFY(!QGuiApplication::windowIcon().isNull());
        TestSupport::TTempDir dir;
        TestWindows::UseTestSettings(dir);
        TestWindows::TInstalledDialogs dialogs;
        TfrmMain frm(TestWindows::Locations(dir.Path()));
        QVERIFY(TestWindows::ShowExposed(frm));
        QCOMPARE(ShownCaption(frm), QString("TK Korvane"));

        // A maximised list puts its title in brackets after the program's.
        auto* list = new QWidget;
        list->setWindowTitle("Calls");
        QMdiSubWindow* child = frm.mdiMain->addSubWindow(list);
        child->showMaximized();
        QCOMPARE(ShownCaption(frm), QString("TK Korvane - [Calls]"));
        list->setWindowTitle("Customers");
        QCOMPARE(ShownCaption(frm), QString("TK Korvane - [Customers]"));
        child->showNormal();
        QCOMPARE(ShownCaption(frm), QString("TK Korvane"));

        // Ordinary errors are shown and the program and its idle hook go on.
        for (int i = 0; i < 3; ++i)
            dialogs.AnswerButton(mbOK);
        QTimer::singleShot(0, [] { ThrowError("Customer %s not found.", "C1"); });
        QTimer::singleShot(0, [] { throw std::runtime_error("disk full"); });
        QTimer::singleShot(0, [] { throw 42; });
        bool stillRunning = false;
        QTimer::singleShot(50, [&stillRunning] {
            stillRunning = true;
            QCoreApplication::quit();
        });
        QVERIFY(RunLoop());
        QVERIFY(stillRunning);
        QVERIFY(!TerminationRequested());

        const auto& requests = dialogs.Requests();
        QCOMPARE(requests.size(), 3);
        QCOMPARE(requests[0].Text, QString("Customer C1 not found."));
        QCOMPARE(requests[1].Text, QString("disk full"));
        QVERIFY(!requests[2].Text.isEmpty());
        for (const TDialogRequest& request : requests)
            QCOMPARE(request.MsgKind, TMsgKind::Error);

        // The idle hook runs whenever the loop waits, and survives an error.
        dialogs.AnswerButton(mbOK);
        auto* app = static_cast<TKorvaneApplication*>(QCoreApplication::instance());
        int calls = 0;
        const auto off = qScopeGuard([app] { app->SetIdleHandler({}); });
        app->SetIdleHandler([&calls] {
            if (++calls == 1)
                ThrowError("Details could not be refreshed.");
        });
        // A timer that fires now and then: the loop waits in between.
        QTimer ticks;
        ticks.start(10);
        QVERIFY(RunLoop(100) == false);
        QVERIFY2(calls > 2, qPrintable(QString::number(calls)));
        QCOMPARE(dialogs.Requests().size(), 4);
        QCOMPARE(dialogs.Requests()[3].Text, QString("Details could not be refreshed."));

        app->SetIdleHandler({});
        const int before = calls;
        RunLoop(50);
        QCOMPARE(calls, before);
    }

    // Last: the program is on its way out afterwards.
    void FatalErrorIsShownAndEndsTheProgram() {
        TestWindows::TInstalledDialogs dialogs;
        dialogs.AnswerButton(mbOK);
        bool afterwards = false;
        QTimer::singleShot(0, [] { throw EFatalError("Unable to find database module."); });
        QTimer::singleShot(200, [&afterwards] { afterwards = true; });
        QVERIFY(RunLoop());
        QVERIFY(!afterwards);
        QVERIFY(TerminationRequested());

        QCOMPARE(dialogs.Requests().size(), 1);
        const TDialogRequest& box = dialogs.Requests()[0];
        QCOMPARE(box.MsgKind, TMsgKind::Error);
        QVERIFY2(box.Text.startsWith("Unable to find database module.\r\n\r\n"),
                 qPrintable(box.Text));

        // A fatal error before the loop runs stops the loop as soon as it starts.
        dialogs.AnswerButton(mbOK);
        HandleException(std::make_exception_ptr(EFatalError("Too early.")));
        QVERIFY(RunLoop(2000));
    }
};

int main(int argc, char* argv[]) {
    TKorvaneApplication app(argc, argv);
    TestUApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_UApplication.moc"
