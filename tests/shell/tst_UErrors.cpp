#include "shell/UErrors.h"
#include "shell/UScriptedDialogs.h"

#include <QtTest>

namespace {

// The message of the EError that `raise` throws; fails the test on anything else.
template <typename F>
QString RaisedMessage(F raise) {
    try {
        raise();
    } catch (const EFatalError&) {
        return QStringLiteral("<fatal>");
    } catch (const EError& e) {
        if (QString::fromUtf8(e.what()) != e.Message())
            return QStringLiteral("<what() differs>");
        return e.Message();
    }
    return QStringLiteral("<nothing raised>");
}

} // namespace

class TestUErrors : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ThrowErrorRaisesAnOrdinaryError() {
        QCOMPARE(RaisedMessage([] {
                     ThrowError("Unable to save parameter '%s' to the registry.\r\nUnable to open "
                                "key '%s'",
                                "SMS_Username", QStringLiteral("Software\\Tarnwick"));
                 }),
                 QStringLiteral("Unable to save parameter 'SMS_Username' to the registry.\r\n"
                                "Unable to open key 'Software\\Tarnwick'"));
        const std::string kind = "Call";
        QCOMPARE(RaisedMessage(
                     [&] { ThrowError("%s editor %d: %s", kind, 42, QStringLiteral("Größe ✓")); }),
                 QStringLiteral("Call editor 42: Größe ✓"));
        QCOMPARE(RaisedMessage([] { throw EFatalError(QStringLiteral("Some tables")); }),
                 QStringLiteral("<fatal>"));
    }

    void MessagesAreCutTo2047Characters() {
        const QString exact(UErrors::MaxMessageLength, u'x');
        QCOMPARE(RaisedMessage([&] { ThrowError("%s", exact); }), exact);
        QCOMPARE(RaisedMessage([&] { ThrowError("%s!", exact); }), exact);
        QCOMPARE(UErrors::FormatMessage("ab%s", QString(3000, u'y')).size(),
                 UErrors::MaxMessageLength);
        // A character outside the BMP that would be split loses both halves.
        const QString pair = QString(UErrors::MaxMessageLength - 1, u'z') + QStringLiteral("😀");
        QCOMPARE(UErrors::FormatMessage("%s", pair), QString(UErrors::MaxMessageLength - 1, u'z'));
        QCOMPARE(UErrors::FormatMessage(std::string(3000, 'p').c_str()).size(),
                 UErrors::MaxMessageLength);
    }

    void PercentSigns() {
        // Without arguments the text is shown as written, "%%" aside.
        QCOMPARE(UErrors::FormatMessage("100% sure, 5%d"), QStringLiteral("100% sure, 5%d"));
        QCOMPARE(UErrors::FormatMessage("50%% off"), QStringLiteral("50% off"));
        QCOMPARE(UErrors::FormatMessage("%d%% of %s", 30, "rows"), QStringLiteral("30% of rows"));
    }

    void ShowErrorAndShowInfoShowOneOkBox() {
        TScriptedDialogs dialogs;
        TDialogsInstaller install(dialogs);
        dialogs.AnswerButton(mbOK);
        dialogs.AnswerButton(mbOK);
        dialogs.AnswerButton(mbOK);
        ShowError("The Customer ID field cannot be empty.");
        ShowInfo("Import complete.\r\n%d contacts imported.", 7);
        ShowError("Error during close:\r\n\r\n%s", QStringLiteral("disk full"));

        const QList<TDialogRequest>& r = dialogs.Requests();
        QCOMPARE(r.size(), 3);
        QCOMPARE(r[0].MsgKind, TMsgKind::Error);
        QCOMPARE(r[0].Caption, QStringLiteral("Error"));
        QCOMPARE(r[0].Text, QStringLiteral("The Customer ID field cannot be empty."));
        QCOMPARE(r[1].MsgKind, TMsgKind::Information);
        QCOMPARE(r[1].Caption, QStringLiteral("Information"));
        QCOMPARE(r[1].Text, QStringLiteral("Import complete.\r\n7 contacts imported."));
        QCOMPARE(r[2].Text, QStringLiteral("Error during close:\r\n\r\ndisk full"));
        for (const TDialogRequest& request : r)
            QCOMPARE(request.Buttons, mbOK);
        QCOMPARE(dialogs.UnexpectedCount(), 0);
    }

    void DebugTraceShowsNothing() {
        TScriptedDialogs dialogs;
        TDialogsInstaller install(dialogs);
        DebugTrace(QStringLiteral("No Current Data List"),
                   QStringLiteral("TfrmMain::actEditCurrentRecExecute"), QStringLiteral("FMain"));
        QVERIFY(dialogs.Requests().isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestUErrors)
#include "tst_UErrors.moc"
