#include "lists/FMonthPicker.h"
#include "lists/FPriorityPicker.h"
#include "shell/UApplication.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

class TestFPickers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void MonthPickerShowsTheGivenMonthAndReturnsTheFirstOfTheChosenOne() {
        TestWindows::TInstalledDialogs dialogs;
        TfrmMonthPicker picker;
        picker.m_dtMonth = QDateTime(QDate(2007, 3, 14), QTime(10, 30));
        QString shownMonth;
        int shownYear = 0;
        dialogs.AnswerModal([&](QObject* window) {
            auto* p = qobject_cast<TfrmMonthPicker*>(window);
            shownMonth = p->cbxMonth->currentText();
            shownYear = p->edtYear->value();
            p->cbxMonth->setCurrentIndex(11);
            p->edtYear->setValue(2008);
            p->accept();
            return p->result();
        });
        QVERIFY(picker.Execute());
        QCOMPARE(shownMonth, QString("March"));
        QCOMPARE(shownYear, 2007);
        QCOMPARE(picker.m_dtMonth, QDateTime(QDate(2008, 12, 1), QTime(0, 0)));

        // Cancel leaves the date as it was.
        dialogs.AnswerModal(QDialog::Rejected);
        QVERIFY(!picker.Execute());
        QCOMPARE(picker.m_dtMonth, QDateTime(QDate(2008, 12, 1), QTime(0, 0)));
    }

    void MonthPickerInsistsOnAMonthWhenNamesAreInAnotherLanguage() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        TestWindows::TInstalledDialogs dialogs;
        TfrmMonthPicker picker;
        picker.m_dtMonth = QDateTime(QDate(2007, 3, 14), QTime(0, 0));
        int firstResult = -1;
        bool stayedOpen = false;
        dialogs.AnswerModal([&](QObject* window) {
            auto* p = qobject_cast<TfrmMonthPicker*>(window);
            stayedOpen = p->cbxMonth->currentIndex() == -1;
            p->accept(); // refused: no month chosen
            firstResult = p->result();
            p->cbxMonth->setCurrentIndex(1);
            p->accept();
            return p->result();
        });
        dialogs.AnswerButton(mbOK);
        QVERIFY(picker.Execute());
        QVERIFY(stayedOpen);
        QCOMPARE(firstResult, 0);
        QCOMPARE(picker.m_dtMonth, QDateTime(QDate(2007, 2, 1), QTime(0, 0)));
        const auto& requests = dialogs.Requests();
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[1].MsgKind, TMsgKind::Error);
        QCOMPARE(requests[1].Text, QString("Please select a month."));
        QCOMPARE(requests[1].Buttons, TMsgButtons(mbOK));
    }

    void PriorityPickerRemembersItsLastAnswer() {
        TestWindows::TInstalledDialogs dialogs;
        TfrmPriorityPicker picker;
        int shown = 0;
        auto choose = [&](int value, bool ok) {
            return [&, value, ok](QObject* window) {
                auto* p = qobject_cast<TfrmPriorityPicker*>(window);
                shown = p->edtPriority->value();
                p->edtPriority->setValue(value);
                return int(ok ? QDialog::Accepted : QDialog::Rejected);
            };
        };
        dialogs.AnswerModal(choose(5, true));
        QVERIFY(picker.Execute());
        QCOMPARE(shown, 1); // the stored 0 lies below the lowest priority
        QCOMPARE(picker.m_nPriority, 5);

        // Cancel keeps the last answer, which is offered again.
        dialogs.AnswerModal(choose(9, false));
        QVERIFY(!picker.Execute());
        QCOMPARE(shown, 5);
        QCOMPARE(picker.m_nPriority, 5);
    }

    // The small boxes are wide enough for the caption they are shown with,
    // beside the window's icon and buttons (some 100 pixels).
    void PickersShowTheirWholeCaption() {
        TfrmMonthPicker month;
        TfrmPriorityPicker priority;
        for (QDialog* picker : std::initializer_list<QDialog*>{&month, &priority}) {
            QVERIFY(TestWindows::ShowExposed(*picker));
            const QString caption = ProgramCaption(picker->windowTitle());
            QVERIFY2(picker->width() >= TestWindows::CaptionTextWidth(caption) + 100,
                     qPrintable(QStringLiteral("%1: %2 px").arg(caption).arg(picker->width())));
            picker->hide();
        }
    }
};

QTEST_MAIN(TestFPickers)
#include "tst_FPickers.moc"
