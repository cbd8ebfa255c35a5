// The real dialogs, under the program's own application object, as the
// program shows them.

#include "shell/UApplication.h"
#include "shell/UQtDialogs.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

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

// The caption the next modal T shows and whether the window is wide enough to
// show it whole beside its buttons (some 100 pixels for icon, minimise,
// maximise and close).
struct TSeen {
    QString Caption;
    bool Fits = false;
};
template <typename T>
void SeeWhenShown(TSeen& seen, std::function<void(T*)> close) {
    WhenShown<T>([&seen, close](T* window) {
        seen.Caption = ShownCaption(*window);
        seen.Fits = window->width() >= CaptionTextWidth(seen.Caption) + 100;
        close(window);
    });
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
    // and shows that caption whole.
    void BoxesAndWindowsNameTheProgramOnceAndShowTheirWholeCaption() {
        const QString longCaption =
            QStringLiteral("Delete the customer with every call, item and contract of theirs");
        TSeen seen;
        for (const QString& caption : {QStringLiteral("TK Korvane"), longCaption}) {
            SeeWhenShown<QMessageBox>(
                seen, [](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
            m_Dialogs.MessageBox(TMsgKind::Information, caption, QStringLiteral("Sure?"), mbOK);
            QCOMPARE(seen.Caption, ProgramCaption(caption));
            QCOMPARE(seen.Caption.count(QStringLiteral("TK Korvane")), 1);
            QVERIFY2(seen.Fits, qPrintable(seen.Caption));
        }
        SeeWhenShown<QInputDialog>(seen, [](QInputDialog* dialog) { dialog->reject(); });
        QString value;
        m_Dialogs.InputQuery(longCaption, QStringLiteral("Number"), value);
        QCOMPARE(seen.Caption, longCaption + " - TK Korvane");
        QVERIFY2(seen.Fits, qPrintable(seen.Caption));

        // A modal window names the program only while shown.
        QDialog dialog;
        dialog.setWindowTitle("Pick a month");
        SeeWhenShown<QDialog>(seen, [](QDialog* window) { window->accept(); });
        QCOMPARE(m_Dialogs.ExecModal(&dialog, [&dialog] { return dialog.exec(); }),
                 int(QDialog::Accepted));
        QCOMPARE(seen.Caption, QString("Pick a month - TK Korvane"));
        QVERIFY(seen.Fits);
        // The window's own title is its own again.
        QCOMPARE(dialog.windowTitle(), QString("Pick a month"));

        // An input box changes the value only on OK.
        value = QStringLiteral("000001");
        for (const bool ok : {true, false}) {
            WhenShown<QInputDialog>([ok](QInputDialog* input) {
                input->setTextValue(input->textValue() + QStringLiteral("23"));
                ok ? input->accept() : input->reject();
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
