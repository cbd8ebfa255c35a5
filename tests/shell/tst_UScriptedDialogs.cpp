#include "support/UScriptedDialogs.h"

#include <QtTest>
#include <QtWidgets>

class TestUScriptedDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void AnswersInScriptOrderCancelsWhatDoesNotFitAndNests() {
        TScriptedDialogs dialogs;
        TDialogsInstaller install(dialogs);
        dialogs.AnswerButton(mbYes);
        dialogs.AnswerInput(true, QStringLiteral("000123"));
        dialogs.AnswerFile(QStringLiteral("/tmp/x.zip"));
        dialogs.AnswerModal([](QObject* window) {
            window->findChild<QLineEdit*>()->setText(QStringLiteral("typed"));
            return int(QDialog::Accepted);
        });

        QCOMPARE(Dialogs().MessageBox(TMsgKind::Warning, QStringLiteral("Warning"),
                                      QStringLiteral("Sure?"), mbYes | mbNo),
                 mbYes);
        QString number = QStringLiteral("initial");
        QVERIFY(Dialogs().InputQuery(QStringLiteral("Call #"), QStringLiteral("Number:"), number));
        QCOMPARE(number, QStringLiteral("000123"));
        QCOMPARE(Dialogs().SaveFileName({}, QStringLiteral("/home"), QStringLiteral("Zip (*.zip)")),
                 QStringLiteral("/tmp/x.zip"));

        auto* dialog = new QDialog;
        auto* edit = new QLineEdit(dialog);
        QCOMPARE(Dialogs().ExecModal(dialog, [] { return -1; }), int(QDialog::Accepted));
        QCOMPARE(edit->text(), QStringLiteral("typed"));

        delete dialog;
        // The rest of what was asked is read back by the tests of the program.
        const QList<TDialogRequest>& r = dialogs.Requests();
        QCOMPARE(r.size(), 4);
        QCOMPARE(r[0].Caption, QStringLiteral("Warning"));
        QCOMPARE(r[1].Value, QStringLiteral("initial"));
        QCOMPARE(r[2].Kind, TDialogKind::SaveFile);
        QCOMPARE(r[2].Filter, QStringLiteral("Zip (*.zip)"));
        QCOMPARE(dialogs.UnexpectedCount(), 0);

        // Cleared, it answers unfitting requests as cancelled and counts them.
        dialogs.Clear();
        QCOMPARE(dialogs.MessageBox(TMsgKind::Confirmation, {}, {}, mbYes | mbNo | mbCancel),
                 mbCancel);
        QCOMPARE(dialogs.MessageBox(TMsgKind::Confirmation, {}, {}, mbYes | mbNo), mbNo);
        QString value = QStringLiteral("kept");
        QVERIFY(!dialogs.InputQuery({}, {}, value));
        QCOMPARE(value, QStringLiteral("kept"));
        QCOMPARE(dialogs.ExecModal(nullptr, [] { return 1; }), 0);

        // An answer of another kind, or a button the box lacks, stays queued.
        dialogs.AnswerFile(QStringLiteral("/tmp/in.csv"));
        QCOMPARE(dialogs.MessageBox(TMsgKind::Information, {}, {}, mbOK), mbOK);
        QCOMPARE(dialogs.OpenFileName({}, {}, {}), QStringLiteral("/tmp/in.csv"));
        dialogs.AnswerButton(mbYes);
        QCOMPARE(dialogs.MessageBox(TMsgKind::Error, {}, {}, mbOK), mbOK);
        QCOMPARE(dialogs.PendingAnswers(), 1);
        QCOMPARE(dialogs.UnexpectedCount(), 6);
        QVERIFY(!dialogs.Requests().back().Expected);

        // An installer brings back the seam before it; both seams live
        // throughout, so neither address can be taken for the other.
        TScriptedDialogs inner;
        {
            TDialogsInstaller nested(inner);
            QCOMPARE(&Dialogs(), &inner);
        }
        QCOMPARE(&Dialogs(), &dialogs);
    }
};

QTEST_MAIN(TestUScriptedDialogs)
#include "tst_UScriptedDialogs.moc"
