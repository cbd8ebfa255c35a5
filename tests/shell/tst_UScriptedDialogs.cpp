#include "shell/UScriptedDialogs.h"

#include <QDialog>
#include <QLineEdit>
#include <QtTest>

class TestUScriptedDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void AnswersInScriptOrderAndRecordsRequests() {
        TScriptedDialogs dialogs;
        TDialogsInstaller install(dialogs);
        dialogs.AnswerButton(mbYes);
        dialogs.AnswerInput(true, QStringLiteral("000123"));
        dialogs.AnswerFile(QStringLiteral("/tmp/x.zip"));
        dialogs.AnswerFile(QString());

        QCOMPARE(Dialogs().MessageBox(TMsgKind::Warning, QStringLiteral("Warning"),
                                      QStringLiteral("Sure?"), mbYes | mbNo),
                 mbYes);
        QString number = QStringLiteral("initial");
        QVERIFY(Dialogs().InputQuery(QStringLiteral("Provide Call #"), QStringLiteral("Number:"),
                                     number));
        QCOMPARE(number, QStringLiteral("000123"));
        QCOMPARE(Dialogs().SaveFileName(QStringLiteral("Save"), QStringLiteral("/home"),
                                        QStringLiteral("Zip (*.zip)")),
                 QStringLiteral("/tmp/x.zip"));
        QCOMPARE(Dialogs().FolderName(QStringLiteral("Folder"), QStringLiteral("/")), QString());

        const QList<TDialogRequest>& r = dialogs.Requests();
        QCOMPARE(r.size(), 4);
        QCOMPARE(r[0].Kind, TDialogKind::MessageBox);
        QCOMPARE(r[0].MsgKind, TMsgKind::Warning);
        QCOMPARE(r[0].Caption, QStringLiteral("Warning"));
        QCOMPARE(r[0].Text, QStringLiteral("Sure?"));
        QCOMPARE(r[0].Buttons, mbYes | mbNo);
        QCOMPARE(r[1].Kind, TDialogKind::InputQuery);
        QCOMPARE(r[1].Text, QStringLiteral("Number:"));
        QCOMPARE(r[1].Value, QStringLiteral("initial"));
        QCOMPARE(r[2].Kind, TDialogKind::SaveFile);
        QCOMPARE(r[2].Value, QStringLiteral("/home"));
        QCOMPARE(r[2].Filter, QStringLiteral("Zip (*.zip)"));
        QCOMPARE(r[3].Kind, TDialogKind::Folder);
        QCOMPARE(dialogs.UnexpectedCount(), 0);
        QCOMPARE(dialogs.PendingAnswers(), 0);
    }

    void UnscriptedRequestsAreCancelledAndCounted() {
        TScriptedDialogs dialogs;
        QCOMPARE(dialogs.MessageBox(TMsgKind::Confirmation, {}, {}, mbYes | mbNo | mbCancel),
                 mbCancel);
        QCOMPARE(dialogs.MessageBox(TMsgKind::Confirmation, {}, {}, mbYes | mbNo), mbNo);
        QCOMPARE(dialogs.MessageBox(TMsgKind::Error, {}, {}, mbOK), mbOK);
        QString value = QStringLiteral("kept");
        QVERIFY(!dialogs.InputQuery({}, {}, value));
        QCOMPARE(value, QStringLiteral("kept"));
        QCOMPARE(dialogs.OpenFileName({}, {}, {}), QString());
        QDialog window;
        QCOMPARE(dialogs.ExecModal(&window, [] { return 1; }), 0);
        QCOMPARE(dialogs.UnexpectedCount(), 6);
        QVERIFY(!dialogs.Requests().back().Expected);
    }

    void AnswerThatDoesNotFitStaysInTheScript() {
        TScriptedDialogs dialogs;
        dialogs.AnswerFile(QStringLiteral("/tmp/in.csv"));
        // A box where a file dialog was scripted.
        QCOMPARE(dialogs.MessageBox(TMsgKind::Information, {}, {}, mbOK), mbOK);
        QCOMPARE(dialogs.PendingAnswers(), 1);
        QCOMPARE(dialogs.OpenFileName({}, {}, {}), QStringLiteral("/tmp/in.csv"));

        // A button the box does not offer.
        dialogs.AnswerButton(mbYes);
        QCOMPARE(dialogs.MessageBox(TMsgKind::Error, {}, {}, mbOK), mbOK);
        QCOMPARE(dialogs.UnexpectedCount(), 2);
        QCOMPARE(dialogs.PendingAnswers(), 1);
        dialogs.Clear();
        QCOMPARE(dialogs.PendingAnswers(), 0);
        QVERIFY(dialogs.Requests().isEmpty());
    }

    void ModalHandlerWorksOnTheWindow() {
        TScriptedDialogs dialogs;
        dialogs.AnswerModal([](QObject* window) {
            window->findChild<QLineEdit*>()->setText(QStringLiteral("typed"));
            return int(QDialog::Accepted);
        });
        auto* dialog = new QDialog;
        dialog->setWindowTitle(QStringLiteral("Restore"));
        auto* edit = new QLineEdit(dialog);
        bool execCalled = false;
        const int result = dialogs.ExecModal(dialog, [&] {
            execCalled = true;
            return 0;
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(!execCalled);
        QCOMPARE(edit->text(), QStringLiteral("typed"));
        const TDialogRequest& request = dialogs.Requests().at(0);
        QCOMPARE(request.Kind, TDialogKind::Modal);
        QCOMPARE(request.WindowClass, QStringLiteral("QDialog"));
        QCOMPARE(request.Caption, QStringLiteral("Restore"));
        delete dialog;
        QVERIFY(request.Window.isNull()); // no dangling pointer left behind
    }

    void InstallersNestAndRestore() {
        IDialogs& before = Dialogs();
        TScriptedDialogs outer, inner;
        {
            TDialogsInstaller installOuter(outer);
            {
                TDialogsInstaller installInner(inner);
                QCOMPARE(&Dialogs(), &inner);
            }
            QCOMPARE(&Dialogs(), &outer);
        }
        QCOMPARE(&Dialogs(), &before);
    }
};

QTEST_MAIN(TestUScriptedDialogs)
#include "tst_UScriptedDialogs.moc"
