// The real dialogs, under the program's own application object, as the
// program shows them.

#include "shell/UApplication.h"
#include "shell/UQtDialogs.h"
#include "support/TestSupport.h"
#include "support/TestWindows.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using TestWindows::CaptionTextWidth;
using TestWindows::ShownCaption;

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
        QCOMPARE(shown, (QStringList{QString::number(icon), "Caption - TK Korvane",
                                     "Delete <b>all</b>?\nSure?", QString::number(Qt::PlainText)}));
    }

    // Every box and window shown names the program once in its title bar,
    // and is wide enough to show that caption whole beside the window's
    // buttons (some 100 pixels for icon, minimise, maximise and close).
    void BoxesNameTheProgramOnceAndShowTheirWholeCaption() {
        const QString longCaption =
            QStringLiteral("Delete the customer with every call, item and contract of theirs");
        for (const QString& caption : {QStringLiteral("TK Korvane"), longCaption}) {
            QString shown;
            int width = 0;
            WhenShown<QMessageBox>([&](QMessageBox* box) {
                shown = ShownCaption(*box);
                width = box->width();
                box->button(QMessageBox::Ok)->click();
            });
            m_Dialogs.MessageBox(TMsgKind::Information, caption, QStringLiteral("Sure?"), mbOK);
            QCOMPARE(shown, ProgramCaption(caption));
            QCOMPARE(shown.count(QStringLiteral("TK Korvane")), 1);
            QVERIFY2(width >= CaptionTextWidth(shown) + 100,
                     qPrintable(QStringLiteral("%1 px for \"%2\"").arg(width).arg(shown)));
        }

        QString shown;
        int width = 0;
        WhenShown<QInputDialog>([&](QInputDialog* dialog) {
            shown = ShownCaption(*dialog);
            width = dialog->width();
            dialog->reject();
        });
        QString value;
        m_Dialogs.InputQuery(longCaption, QStringLiteral("Number"), value);
        QCOMPARE(shown, longCaption + " - TK Korvane");
        QVERIFY2(width >= CaptionTextWidth(shown) + 100, qPrintable(QString::number(width)));
    }

    void ModalWindowsNameTheProgramWhileShown() {
        QDialog dialog;
        dialog.setWindowTitle("Pick a month");
        QString shown;
        int width = 0;
        WhenShown<QDialog>([&](QDialog* window) {
            shown = ShownCaption(*window);
            width = window->width();
            window->accept();
        });
        QCOMPARE(m_Dialogs.ExecModal(&dialog, [&dialog] { return dialog.exec(); }),
                 int(QDialog::Accepted));
        QCOMPARE(shown, QString("Pick a month - TK Korvane"));
        QVERIFY2(width >= CaptionTextWidth(shown) + 100, qPrintable(QString::number(width)));
        // The window's own title is its own again.
        QCOMPARE(dialog.windowTitle(), QString("Pick a month"));
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

int main(int argc, char* argv[]) {
    TKorvaneApplication app(argc, argv);
    TestUQtDialogs test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_UQtDialogs.moc"
