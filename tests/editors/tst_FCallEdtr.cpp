// The call editor as a user works it, on a real database: logging a new call
// by typing or picking its item and customer (unknown ones are created), the
// checks before a call is saved, the comment lines of status changes and of
// the user's own, and a number typed by hand when Ctrl is held.

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "editors/FCallCommentEdtr.h"
#include "editors/FCallEdtr.h"
#include "editors/UDBTextControls.h"
#include "editors/UDBValueControls.h"
#include "lists/FWorkerList.h"
#include "support/TestDataModule.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

using TestSupport::TTempDataModule;

class TestCallEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<TTempDataModule> m_pData;
    std::unique_ptr<TestWindows::TInstalledDialogs> m_pDialogs;
    std::unique_ptr<TfrmCallEdtr> m_pEditor;
    bool m_bCtrlHeld = false;

    TTempDataModule& Data() { return *m_pData; }
    TfrmCallEdtr& Editor() { return *m_pEditor; }
    TScriptedDialogs& Dialogs() { return *m_pDialogs; }

    QString Stored(const QString& sql) { return Data().Stored(sql); }
    QStringList Comments(const QString& callNr) {
        return Data().Column("SELECT CommentLine FROM CallComments WHERE CallNr = '" + callNr +
                             "' ORDER BY DateTime");
    }
    QString LastMessage() const { return m_pDialogs->Requests().last().Text; }

    // Runs the editor on call 000001 (edit) or a new call, shown and active
    // so that the keyboard moves between its fields as it does for a user;
    // `work` does what the user does. Returns what Execute returned.
    bool Run(bool edit, const std::function<void()>& work) {
        if (edit)
            Data().tblCall->Locate("CallNr", "000001");
        return TestWindows::RunEditor(Editor(), edit, Dialogs(), work, true);
    }
    // Types `text` into `field` and lets the application go idle.
    void Type(QWidget* field, const QString& text) {
        field->setFocus();
        QTest::keyClicks(field, text);
        QTRY_VERIFY(!Editor().timIdle->isActive());
    }
    // The comment editor's answer: `line` at `stamp` and OK, or Cancel.
    void AnswerComment(bool ok, const QString& line = {}, const QDateTime& stamp = {},
                       QString* shown = nullptr) {
        Dialogs().AnswerModal([=](QObject* window) {
            auto* dialog = qobject_cast<TfrmCallCommentEdtr*>(window);
            if (shown)
                *shown = dialog->edtComment->text();
            if (!ok)
                return int(QDialog::Rejected);
            dialog->edtComment->setText(line);
            dialog->edtDate->setDate(stamp.date());
            dialog->edtTime->setTime(stamp.time());
            dialog->btnOk->click();
            return dialog->result();
        });
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void init() {
        m_bCtrlHeld = false;
        m_pData = std::make_unique<TTempDataModule>(QStringList{
            "INSERT INTO Customer (CustomerID, FirstName, LastName, CompanyName, Tel) VALUES "
            "('ACME', 'Ann', 'Bee', 'Acme Ltd', '011 555 0101'), ('ZETA', '', '', 'Zeta', '')",
            "INSERT INTO Item (SerialNr, Brand, Model, Description, Owner) "
            "VALUES (\"SN1\", \"Inkwell\", \"IN-1\", \"Printer\", \"ACME\")",
            "INSERT INTO Worker (WorkerNR, Name, Surname) VALUES (\"W1\", \"Sam\", \"Dube\")",
            "INSERT INTO Call (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, Status, "
            "Billed, Callout, Priority, MeterReading, BillTime) VALUES (\"000001\", "
            "\"ACME\", \"W1\", \"SN1\", \"New\", \"True\", \"False\", 1, 0, \"  1:30:00\")"});
        Data().SetCtrlKeyTest([this] { return m_bCtrlHeld; });
        m_pDialogs = std::make_unique<TestWindows::TInstalledDialogs>();
        m_pEditor = std::make_unique<TfrmCallEdtr>(&Data());
    }

    void cleanup() {
        QCOMPARE(Dialogs().PendingAnswers(), 0);
        m_pEditor.reset();
        m_pDialogs.reset();
        m_pData.reset();
    }

    void KnownKeysFillTheCallAndUnknownOnesAreCreated() {
        TfrmCallEdtr& e = Editor();
        // The worker is picked from the worker list's popup.
        TfrmWorkerList workers(nullptr, &Data(), nullptr);
        frmWorkerList = &workers;
        QVERIFY(Run(false, [&] {
            QCOMPARE(e.edtCallNr->text(), QString("000002"));
            Type(e.edtItemSerialNr, "SN1");
            QCOMPARE(e.edtBrand->text(), QString("Inkwell"));
            QCOMPARE(e.edtCustomerID->text(), QString("ACME"));
            QCOMPARE(e.edtCompany->text(), QString("Acme Ltd"));
            Dialogs().AnswerModal([&](QObject*) {
                return int(Data().sqlWorker->Locate("WorkerNR", "W1") ? QDialog::Accepted
                                                                      : QDialog::Rejected);
            });
            e.btnPickWorker->click();
            QCOMPARE(e.lblWorkerName->text(), QString("Sam Dube"));
            e.edtrProblem->setFocus(); // leaving the known serial makes nothing
            e.btnOk->click();
        }));
        frmWorkerList = nullptr;
        QCOMPARE(
            Data().Column("SELECT CustomerID || '/' || EquipmentSerialNr || '/' || WorkerNr FROM "
                          "Call WHERE CallNr = '000002'"),
            QStringList({"ACME/SN1/W1"}));
        QCOMPARE(Data().Column("SELECT SerialNr FROM Item"), QStringList({"SN1"}));
        QCOMPARE(Comments("000002"), QStringList({"Call Created."}));

        // Unknown keys are created on leaving their fields.
        QVERIFY(Run(false, [&] {
            // A quote in a key is a character like any other.
            Type(e.edtItemSerialNr, "O'NEIL-7");
            QVERIFY(e.edtBrand->text().isEmpty());
            e.edtCustomerID->setFocus();
            QCOMPARE(Stored("SELECT Owner FROM Item WHERE SerialNr = 'O''NEIL-7'"), QString());
            Type(e.edtCustomerID, "newco");
            QVERIFY(e.edtCompany->text().isEmpty());
            e.edtItemSerialNr->setFocus();
            QCOMPARE(Data().Column("SELECT CustomerID FROM Customer WHERE CustomerID = 'NEWCO'"),
                     QStringList({"NEWCO"}));
            e.btnOk->click();
        }));
        // The new item belongs to the call's customer once the window closes.
        QCOMPARE(Stored("SELECT Owner FROM Item WHERE SerialNr = 'O''NEIL-7'"), QString("NEWCO"));
        QCOMPARE(Stored("SELECT EquipmentSerialNr FROM Call WHERE CallNr = '000003'"),
                 QString("O'NEIL-7"));

        // A customer typed and confirmed with Enter, without leaving the
        // field, is created all the same.
        QVERIFY(Run(false, [&] {
            Type(e.edtCustomerID, "LATE");
            QTest::keyClick(e.edtCustomerID, Qt::Key_Return);
        }));
        QCOMPARE(Stored("SELECT CustomerID FROM Call WHERE CallNr = '000004'"), QString("LATE"));
        QCOMPARE(Stored("SELECT CustomerID FROM Customer WHERE CustomerID = 'LATE'"),
                 QString("LATE"));
    }

    void ChecksComeInOrderOnTheirPages() {
        TfrmCallEdtr& e = Editor();
        TTable& call = *Data().tblCall;
        struct TStep {
            QList<std::pair<const char*, const char*>> Set; // field, value
            int Page;
            const char* Message; // a part of it
        };
        const QList<TStep> steps = {
            {{}, 0, "Customer ID field can not be empty"},
            {{{"CustomerID", "GHOST"}}, 0, "customer could not be found"},
            {{{"CustomerID", "ZETA"}, {"CallNr", ""}}, 1, "Call Number field"},
            {{{"CallNr", "000001"}}, 1, "already exist"},
            {{{"CallNr", "000002"}, {"WorkerNr", "W9"}}, 1, "worker could not be"},
        };
        QVERIFY(Run(false, [&] {
            for (const TStep& step : steps) {
                // Away from the fields that look up what is typed into them.
                e.pgcMain->setCurrentIndex(2);
                e.cbxStatus->setFocus();
                for (const auto& [field, value] : step.Set)
                    call.FieldByName(field).SetAsString(value);
                Dialogs().AnswerButton(mbOK);
                e.btnOk->click();
                QVERIFY(e.isVisible());
                QVERIFY2(LastMessage().contains(QLatin1String(step.Message)),
                         qPrintable(LastMessage()));
                QCOMPARE(e.pgcMain->currentIndex(), step.Page);
            }
            // No worker is no fault.
            call.FieldByName("WorkerNr").SetAsString("");
            e.btnOk->click();
        }));
        QCOMPARE(Stored("SELECT CustomerID FROM Call WHERE CallNr = '000002'"), QString("ZETA"));
    }

    // Each status change is written down once. The completion date (and its
    // label) is open only for a complete call, the bill time only for a
    // billed one.
    void EachStatusChangeIsWrittenDownOnce() {
        TfrmCallEdtr& e = Editor();
        const auto open = [&e] {
            return QList<bool>{e.dteCompleted->isEnabled(), e.lblComplDT->isEnabled(),
                               e.edtBillTime->isEnabled(), e.lblhms->isEnabled()};
        };
        QVERIFY(Run(true, [&] {
            // Hours that are not there show as blanks, as stored.
            QCOMPARE(e.edtBillTime->displayText(), QString("  1:30:00"));
            QCOMPARE(open(), QList<bool>({false, false, true, true}));
            e.cbxStatus->setCurrentText("Busy");
            e.btnApply->click();
            QCOMPARE(e.grdComments->model()->rowCount(), 1);
            e.btnOk->click();
        }));
        QCOMPARE(Comments("000001"), QStringList({"Status changed to Busy"}));

        QDateTime finished;
        QVERIFY(Run(true, [&] {
            e.cbxStatus->setCurrentText("Complete");
            QCOMPARE(open(), QList<bool>({true, true, true, true}));
            finished = e.dteCompleted->Value();
            e.chkBilled->click();
            QCOMPARE(open(), QList<bool>({true, true, false, false}));
            e.btnOk->click();
        }));
        QVERIFY(qAbs(finished.secsTo(QDateTime::currentDateTime())) < 60);
        QCOMPARE(Comments("000001"),
                 QStringList({"Status changed to Busy", "Status changed to Complete"}));

        // Shown again on the complete call: the date is open until the status changes.
        QVERIFY(!Run(true, [&] {
            QCOMPARE(open(), QList<bool>({true, true, false, false}));
            e.cbxStatus->setCurrentText("Busy");
            QVERIFY(!e.dteCompleted->isEnabled());
            e.btnCancel->click();
        }));
    }

    void CommentLinesAndLookupsFollowTheDatabaseAtOnce() {
        TfrmCallEdtr& e = Editor();
        const QDateTime stamp(QDate(2007, 3, 14), QTime(15, 45, 12));
        QString offered;
        QVERIFY(!Run(true, [&] {
            QAbstractItemModel* grid = e.grdComments->model();
            // Cancelled: the line offered for typing goes again.
            AnswerComment(false, {}, {}, &offered);
            e.lnkAdd->click();
            QCOMPARE(offered, QString("Enter Comment"));
            QCOMPARE(grid->rowCount(), 0);
            QVERIFY(Comments("000001").isEmpty());

            AnswerComment(true, "Fuser ordered", stamp);
            e.lnkAdd->click();
            QCOMPARE(grid->rowCount(), 1);
            QCOMPARE(grid->index(0, grid->columnCount() - 1).data().toString(),
                     QString("Fuser ordered"));

            AnswerComment(true, "Fuser fitted", stamp.addDays(1), &offered);
            e.lnkEdit->click();
            QCOMPARE(offered, QString("Fuser ordered"));
            QCOMPARE(grid->index(0, grid->columnCount() - 1).data().toString(),
                     QString("Fuser fitted"));
            QCOMPARE(Stored("SELECT DateTime FROM CallComments WHERE CallNr = '000001'"),
                     QString("2007-03-15 15:45:12"));

            Dialogs().AnswerButton(mbNo);
            e.lnkDelete->click();
            QCOMPARE(Comments("000001"), QStringList({"Fuser fitted"}));
            Dialogs().AnswerButton(mbYes);
            e.lnkDelete->click();
            QCOMPARE(LastMessage(), QString("Delete the selected comment?"));
            QCOMPARE(grid->rowCount(), 0);
            e.btnCancel->click();
        }));
        QVERIFY(Comments("000001").isEmpty());

        // The call's item, customer and worker are looked up when it opens,
        // and again after changes made elsewhere and when the database is
        // reopened.
        QVERIFY(!Run(true, [&] {
            QCOMPARE(e.edtBrand->text(), QString("Inkwell"));
            QCOMPARE(e.edtDescription->toPlainText(), QString("Printer"));
            QCOMPARE(e.edtTel->text(), QString("011 555 0101"));
            QCOMPARE(e.lblWorkerName->text(), QString("Sam Dube"));
            // Shown here, edited in their own editors.
            QVERIFY(e.edtBrand->isReadOnly() && e.edtCallNr->isReadOnly());
            Data().ExecSQL(QStringLiteral("UPDATE Customer SET CompanyName = 'Acme Two' WHERE "
                                          "CustomerID = 'ACME'"));
            Data().AddCallComment("000001", "Parts arrived");
            Data().ApplyChanges();
            QCOMPARE(e.edtCompany->text(), QString("Acme Two"));
            QCOMPARE(e.grdComments->model()->rowCount(), 1);
            e.btnCancel->click();
        }));
        Data().SetDatabaseActive(false);
        QVERIFY(!e.sqlItem->Active());
        Data().SetDatabaseActive(true);
        QVERIFY(e.sqlItem->Active() && e.sqlWorker->Active());
    }

    void CtrlHeldAsksForTheNumberAndCancellingLeavesNoLines() {
        TfrmCallEdtr& e = Editor();
        m_bCtrlHeld = true;
        Dialogs().AnswerInput(true, "000001");
        Dialogs().AnswerButton(mbOK);
        Dialogs().AnswerInput(true, "A-17");
        QVERIFY(!Run(false, [&] {
            QCOMPARE(e.edtCallNr->text(), QString("A-17"));
            AnswerComment(true, "Customer will call back", QDateTime::currentDateTime());
            e.lnkAdd->click();
            QCOMPARE(Comments("A-17").size(), 2);
            e.btnCancel->click();
        }));
        QCOMPARE(Data().Column("SELECT CallNr FROM Call"), QStringList({"000001"}));
        QVERIFY(Comments("A-17").isEmpty());
    }
};

QTEST_MAIN(TestCallEditor)
#include "tst_FCallEdtr.moc"
