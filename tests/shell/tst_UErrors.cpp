#include "shell/UErrors.h"
#include "support/TestWindows.h"

#include <QtTest>

namespace {

// The message of the EError that `raise` throws, or a note of what happened instead.
template <typename F>
QString RaisedMessage(F raise) {
    try {
        raise();
    } catch (const EFatalError&) {
        return QStringLiteral("<fatal>");
    } catch (const EError& e) {
        return QString::fromUtf8(e.what()) == e.Message() ? e.Message() : "<what() differs>";
    }
    return QStringLiteral("<nothing raised>");
}

} // namespace

class TestUErrors : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void MessagesAreFormattedCutRaisedAndShown() {
        QCOMPARE(RaisedMessage([] {
                     ThrowError("Parameter '%s'\r\nkey '%s'", "SMS", QStringLiteral("Soft\\T"));
                 }),
                 QStringLiteral("Parameter 'SMS'\r\nkey 'Soft\\T'"));
        QCOMPARE(RaisedMessage([] {
                     ThrowError("%s %d: %s", std::string("Call"), 42, QStringLiteral("Größe ✓"));
                 }),
                 QStringLiteral("Call 42: Größe ✓"));

        // Messages are cut to 2047 characters.
        const QString exact(UErrors::MaxMessageLength, u'x');
        QCOMPARE(RaisedMessage([&] { ThrowError("%s!", exact); }), exact);
        // A character outside the BMP that would be split loses both halves.
        const QString pair = QString(UErrors::MaxMessageLength - 1, u'z') + QStringLiteral("😀");
        QCOMPARE(UErrors::FormatMessage("%s", pair), pair.left(UErrors::MaxMessageLength - 1));
        QCOMPARE(UErrors::FormatMessage(std::string(3000, 'p').c_str()).size(),
                 UErrors::MaxMessageLength);

        // Without arguments the text is taken as written, "%%" aside.
        QCOMPARE(UErrors::FormatMessage("100% sure, 5%d 50%%"),
                 QStringLiteral("100% sure, 5%d 50%"));
        QCOMPARE(UErrors::FormatMessage("%d%% of %s", 30, "rows"), QStringLiteral("30% of rows"));

        // ShowError and ShowInfo show one OK box each, DebugTrace none.
        TestWindows::TInstalledDialogs dialogs;
        dialogs.AnswerButton(mbOK);
        dialogs.AnswerButton(mbOK);
        ShowError("The Customer ID field cannot be empty.");
        DebugTrace(QStringLiteral("No Current Data List"), QStringLiteral("TfrmMain::X"),
                   QStringLiteral("FMain"));
        ShowInfo("Import complete.\r\n%d contacts imported.", 7);

        const QList<TDialogRequest>& r = dialogs.Requests();
        QCOMPARE(r.size(), 2);
        QCOMPARE(r[0].MsgKind, TMsgKind::Error);
        QCOMPARE(r[0].Text, QStringLiteral("The Customer ID field cannot be empty."));
        QCOMPARE(r[1].MsgKind, TMsgKind::Information);
        QCOMPARE(r[1].Text, QStringLiteral("Import complete.\r\n7 contacts imported."));
    }
};

QTEST_APPLESS_MAIN(TestUErrors)
#include "tst_UErrors.moc"
