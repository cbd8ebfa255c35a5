// The SMS windows: the settings kept enciphered, the compose window's
// counter, the recipients, the status box, and the hidden SMS menu's commands.

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "exchange/FRecipients.h"
#include "exchange/FSMS.h"
#include "exchange/FSMSSettings.h"
#include "exchange/FSMSStatus.h"
#include "shell/FMain.h"
#include "shell/USettings.h"
#include "shell/UStartup.h"
#include "support/TestDataModule.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

class TestFSMS : public QObject {
    Q_OBJECT

    TestSupport::TTempDir m_Dir;

    QString Stored(const QString& name) const {
        QSettings file(m_Dir.Path() + "user/Tarnwick/Korvane.ini", QSettings::IniFormat);
        return file.value("Software/Tarnwick/Korvane/1.x/" + name, "<none>").toString();
    }

private Q_SLOTS:
    void initTestCase() { TestWindows::UseTestSettings(m_Dir); }

    void TheCounterCountsLineBreaksAndParts() {
        for (const auto& [name, message, counter] :
             {std::tuple{"empty", QString(), "160(1)"},
              {"3 characters", "abc", "155(1)"},
              {"158 fill the part", QString(158, 'x'), "160(2)"},
              {"159", QString(159, 'x'), "159(2)"},
              {"two lines", "ab\ncd", "152(1)"},
              {"an empty last line", "ab\n", "154(1)"},
              {"three parts", QString(318, 'x'), "160(3)"}}) {
            const QString shown = TfrmSMS::CounterText(message);
            QVERIFY2(shown == QString("Message: ") + counter, qPrintable(name + (": " + shown)));
        }
    }

    void TheWindowsTheirSettingsAndTheHiddenMenuThatRunsThem() {
        TestWindows::TInstalledDialogs dialogs;
        TfrmSMS sms(nullptr, nullptr);
        sms.memMessage->setPlainText("Your unit is ready.");
        QCOMPARE(sms.lblCounter->text(), "Message: 139(1)");
        // "To:" shows the recipients and copies nothing back.
        dialogs.AnswerModal(QDialog::Accepted);
        sms.btnTo->click();
        QCOMPARE(dialogs.Requests().last().WindowClass, "TfrmRecipients");
        QVERIFY(sms.memRecipients->toPlainText().isEmpty());
        sms.btnSend->click();
        QCOMPARE(sms.result(), int(QDialog::Accepted));

        // The hidden SMS menu runs the windows.
        TfrmMain main(TestWindows::Locations(m_Dir.Path()));
        main.SetDataHooks(MakeDataHooks(main, nullptr));
        QVERIFY(!main.menuBar()->findChild<QMenu*>("miSMS")->menuAction()->isVisible());

        QString status;
        dialogs.AnswerModal([&status](QObject* window) {
            auto* box = qobject_cast<QDialog*>(window);
            status = box->findChild<QLabel*>("lblStatus")->text();
            box->findChild<QPushButton*>("btnOk")->click();
            return box->result();
        });
        main.actSMSStatus->trigger();
        QCOMPARE(status, "<B>Connection: </B>Not Active<BR><B>Credits: </B>Unknown");

        dialogs.AnswerModal(QDialog::Rejected);
        main.actSMSSend->trigger();
        QCOMPARE(dialogs.Requests().last().WindowClass, "TfrmSMS");
        QVERIFY(dialogs.Requests().last().Window.isNull() ||
                dialogs.Requests().last().Window->parent() == &main);

        // The recipients are the customers with a mobile number.
        TestSupport::TTempDataModule dml(
            {"INSERT INTO Customer (CustomerID, FirstName, Cell) VALUES ('C1', 'Zola', '082 1'), "
             "('C2', 'Anna', ''), ('C3', 'Ben', '083 3'), ('C4', 'Cara', NULL)"});
        TfrmRecipients recipients(nullptr, &dml);
        QVERIFY(TestWindows::ShowExposed(recipients));
        const QAbstractItemModel* model = recipients.grdContacts->model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(0, 1).data().toString(), "Ben");
        QCOMPARE(model->index(1, 1).data().toString(), "Zola");
        recipients.edtSearch->setText("zo");
        QCOMPARE(recipients.sqlRecipients()->FieldByName("CustomerID").AsString(), "C1");
        recipients.btnAdd->click();
        recipients.btnRemove->click();
        QCOMPARE(recipients.grdSelected->rowCount(), 0);
        recipients.btnCancel->click();
        QCOMPARE(recipients.result(), int(QDialog::Rejected));

        // The settings are kept enciphered. Nothing saved yet: the store's
        // error, and no dialog.
        dialogs.Clear();
        QCOMPARE(TestSupport::ErrorOf([] { EditSMSSettings(nullptr); }),
                 QString("Unable to load parameter 'SMS_Username' from the registry.\r\n"
                         "Unable to open key 'Software\\Tarnwick\\Korvane\\1.x\\'"));
        QVERIFY(dialogs.Requests().isEmpty());

        OpenSettingsStore();
        SaveParameter("SMS_Username", "workshop", {}, true, false);
        CloseSettingsStore();
        // OK saves both, enciphered (the cipher itself: tst_USettings).
        dialogs.AnswerModal([](QObject* window) {
            auto* settings = qobject_cast<TfrmSMSSettings*>(window);
            if (settings->edtUsername->text() != "workshop")
                return int(QDialog::Rejected);
            settings->edtUsername->setText("field-service");
            settings->edtPassword->setText("s3cret");
            settings->btnOK->click();
            return settings->result();
        });
        EditSMSSettings(nullptr);
        const QString password = Stored("SMS_Password");
        QVERIFY(Stored("SMS_Username").size() == 32 && password.size() == 16);

        // Read back deciphered; a cleared password is kept by OK only, empty.
        QStringList shown;
        for (const bool ok : {false, true}) {
            dialogs.AnswerModal([&shown, ok](QObject* window) {
                auto* settings = qobject_cast<TfrmSMSSettings*>(window);
                shown << settings->edtUsername->text() << settings->edtPassword->text();
                shown << (settings->edtPassword->echoMode() == QLineEdit::Password ? "masked"
                                                                                   : "shown");
                settings->edtPassword->clear();
                (ok ? settings->btnOK : settings->btnCancel)->click();
                return settings->result();
            });
            EditSMSSettings(nullptr);
            QCOMPARE(Stored("SMS_Password"), ok ? QString("") : password);
        }
        QCOMPARE(shown, QStringList({"field-service", "s3cret", "masked", "field-service", "s3cret",
                                     "masked"}));
    }
};

QTEST_MAIN(TestFSMS)
#include "tst_FSMS.moc"
