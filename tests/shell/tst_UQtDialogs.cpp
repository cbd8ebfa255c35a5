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
    void MessageBoxShowsTheRequestAndMapsTheAnswer_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("press"); // a standard button, or 0 for Escape
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("answer");
        QTest::newRow("confirm, No")
            << int(TMsgKind::Confirmation) << (mbYes | mbNo) << int(QMessageBox::No)
            << int(QMessageBox::Question) << int(mbNo);
        QTest::newRow("error, Escape")
            << int(TMsgKind::Error) << int(mbOK) << 0 << int(QMessageBox::Critical) << int(mbOK);
        QTest::newRow("warning, Escape") << int(TMsgKind::Warning) << (mbYes | mbNo | mbCancel) << 0
                                         << int(QMessageBox::Warning) << int(mbCancel);
    }
    void MessageBoxShowsTheRequestAndMapsTheAnswer() {
        QFETCH(int, kind);
        QFETCH(int, buttons);
        QFETCH(int, press);
        QFETCH(int, icon);
        QFETCH(int, answer);
        QStringList shown;
        WhenShown<QMessageBox>([&](QMessageBox* box) {
            shown << QString::number(box->icon()) << box->windowTitle() << box->text()
                  << QString::number(box->textFormat());
            if (press)
                box->button(QMessageBox::StandardButton(press))->click();
            else
                QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(int(m_Dialogs.MessageBox(TMsgKind(kind), QStringLiteral("Caption"),
                                          QStringLiteral("Delete <b>all</b>?\r\nSure?"), buttons)),
                 answer);
        QCOMPARE(shown, (QStringList{QString::number(icon), "Caption", "Delete <b>all</b>?\nSure?",
                                     QString::number(Qt::PlainText)}));
    }

    void InputQueryChangesTheValueOnlyOnOk() {
        QString value = QStringLiteral("000001");
        for (const bool ok : {true, false}) {
            WhenShown<QInputDialog>([ok](QInputDialog* dialog) {
                dialog->setTextValue(dialog->textValue() + QStringLiteral("23"));
                ok ? dialog->accept() : dialog->reject();
            });
            QCOMPARE(
                m_Dialogs.InputQuery(QStringLiteral("Call #"), QStringLiteral("Number"), value),
                ok);
            QCOMPARE(value, QStringLiteral("00000123"));
        }
    }
};

QTEST_MAIN(TestUQtDialogs)
#include "tst_UQtDialogs.moc"
