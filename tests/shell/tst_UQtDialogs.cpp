#include "shell/UQtDialogs.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

namespace {

// Runs `act` on the modal dialog of class T as soon as it is shown.
template <typename T>
void WhenShown(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

} // namespace

class TestUQtDialogs : public QObject {
    Q_OBJECT
private:
    TQtDialogs m_Dialogs;

private Q_SLOTS:
    void MessageBoxShowsKindCaptionTextAndButtons() {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title, text;
        QMessageBox::StandardButtons buttons;
        WhenShown<QMessageBox>([&](QMessageBox* box) {
            icon = box->icon();
            title = box->windowTitle();
            text = box->text();
            buttons = box->standardButtons();
            box->button(QMessageBox::No)->click();
        });
        const TMsgButton answer =
            m_Dialogs.MessageBox(TMsgKind::Confirmation, QStringLiteral("Confirm"),
                                 QStringLiteral("Delete <b>all</b>?\r\nSure?"), mbYes | mbNo);
        QCOMPARE(answer, mbNo);
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(title, QStringLiteral("Confirm"));
        QCOMPARE(text, QStringLiteral("Delete <b>all</b>?\nSure?"));
        QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
    }

    void EscapeClosesWithoutAChoice_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("answer");
        QTest::newRow("error, OK")
            << int(TMsgKind::Error) << int(mbOK) << int(QMessageBox::Critical) << int(mbOK);
        QTest::newRow("warning, Yes No")
            << int(TMsgKind::Warning) << (mbYes | mbNo) << int(QMessageBox::Warning) << int(mbNo);
        QTest::newRow("information, Yes No Cancel")
            << int(TMsgKind::Information) << (mbYes | mbNo | mbCancel)
            << int(QMessageBox::Information) << int(mbCancel);
    }
    void EscapeClosesWithoutAChoice() {
        QFETCH(int, kind);
        QFETCH(int, buttons);
        QFETCH(int, icon);
        QFETCH(int, answer);
        int shownIcon = -1;
        WhenShown<QMessageBox>([&](QMessageBox* box) {
            shownIcon = box->icon();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(int(m_Dialogs.MessageBox(TMsgKind(kind), QStringLiteral("Caption"),
                                          QStringLiteral("Text"), buttons)),
                 answer);
        QCOMPARE(shownIcon, icon);
    }

    void InputQueryChangesTheValueOnlyOnOk() {
        QString initial;
        WhenShown<QInputDialog>([&](QInputDialog* dialog) {
            initial = dialog->textValue();
            dialog->setTextValue(QStringLiteral("000123"));
            dialog->accept();
        });
        QString value = QStringLiteral("000001");
        QVERIFY(m_Dialogs.InputQuery(QStringLiteral("Provide Call #"), QStringLiteral("Number"),
                                     value));
        QCOMPARE(initial, QStringLiteral("000001"));
        QCOMPARE(value, QStringLiteral("000123"));

        WhenShown<QInputDialog>([](QInputDialog* dialog) {
            dialog->setTextValue(QStringLiteral("999"));
            dialog->reject();
        });
        QVERIFY(!m_Dialogs.InputQuery(QString(), QString(), value));
        QCOMPARE(value, QStringLiteral("000123"));
    }

    void ExecModalRunsTheWindow() {
        QCOMPARE(m_Dialogs.ExecModal(nullptr, [] { return 7; }), 7);
    }

    void InstallPutsTheRealDialogsInForce() {
        InstallQtDialogs();
        QVERIFY(dynamic_cast<TQtDialogs*>(&Dialogs()));
        SetDialogs(nullptr);
    }
};

QTEST_MAIN(TestUQtDialogs)
#include "tst_UQtDialogs.moc"
