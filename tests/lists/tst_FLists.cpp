// The five list windows inside the main window, on a small real database and
// with the start-up hooks, as the program runs them: the views of the
// navigation tree with their pickers, and the main window's record commands
// on the current list.

#include "data/DMGlobals.h"
#include "data/engine/TDataSetModel.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "lists/FCallsList.h"
#include "lists/FCustomerList.h"
#include "lists/FItemList.h"
#include "lists/FMonthPicker.h"
#include "lists/FPriorityPicker.h"
#include "lists/FServiceContractList.h"
#include "lists/FWorkerList.h"
#include "shell/FMain.h"
#include "shell/USettings.h"
#include "shell/UStartup.h"
#include "support/TestSupport.h"
#include "support/TestWindows.h"
#include "support/UScriptedDialogs.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSpinBox>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

using TestSupport::TTempDir;

namespace {

// A database with two customers, workers and items, one contract and seven
// calls spread over states, months and priorities; the program's windows run
// on it as the start-up makes them.
struct TRunningProgram {
    TTempDir Dir;
    TestWindows::TInstalledDialogs Dialogs;
    TProgramWindows Windows{TestWindows::Locations(Dir.Path())};
    TdmlGlobals& DataModule = Windows.DataModule();
    TfrmMain* const Main = &Windows.MainWindow();

    TRunningProgram() {
        DataModule.SetDatabaseDir(Dir.Path() + "database/");
        OpenDatabaseAtStartup(DataModule);
        for (const char* sql : {
                 "INSERT INTO Customer (CustomerID, CompanyName, FirstName, LastName) "
                 "VALUES ('C1', 'Acme', 'Ann', 'Abel'), ('C2', 'Bolt', 'Ben', 'Burt')",
                 "INSERT INTO Worker (WorkerNR, Name, Surname, IDNR) "
                 "VALUES ('W1', 'Wim', 'West', '7001'), ('W2', 'Zoe', 'Zulu', '7002')",
                 "INSERT INTO Item (SerialNr, Brand, Model, Owner) "
                 "VALUES ('S1', 'Hex', 'H1', 'C1'), ('S2', 'Hex', 'H2', 'C2')",
                 "INSERT INTO ServiceContract (ItemSerialNr, CustomerID, ServiceType) "
                 "VALUES ('S1', 'C1', 'Gold')",
             })
            DataModule.ExecSQL(QString::fromLatin1(sql));
        AddCall("000001", "W1", "New", "False", 3, "2007-03-05 10:00:00");
        AddCall("000002", "W1", "Pending", "False", 1, "2007-03-20 08:00:00");
        AddCall("000003", "W2", "Pending", "False", 3, "2007-04-02 09:00:00");
        AddCall("000004", "W2", "Complete", "False", 2, "2007-03-31 23:30:00");
        AddCall("000005", "W1", "Complete", "True", 5, "2007-04-01 00:00:00");
        AddCall("000006", "W2", "Busy", "False", 3, "2007-02-28 23:59:59");
        AddCall("000007", "W1", "Awaiting Parts", "False", 1, "2007-03-01 00:00:00");
        DataModule.SetDatabaseActive(false);
        Main->show();
    }

    void AddCall(const char* callNr, const char* worker, const char* status, const char* billed,
                 int priority, const char* when) {
        // Odd calls belong to the first customer and item, even ones to the second.
        const char side = (callNr[5] - '0') % 2 ? '1' : '2';
        DataModule.ExecSQL(QString("INSERT INTO Call (CallNr, CustomerID, WorkerNr, "
                                   "EquipmentSerialNr, Status, Billed, Priority, Date_Time) "
                                   "VALUES ('%1', 'C%2', '%3', 'S%2', '%4', '%5', %6, '%7')")
                               .arg(callNr)
                               .arg(side)
                               .arg(worker, status, billed)
                               .arg(priority)
                               .arg(when));
    }

    QTreeWidgetItem* Node(int top, int sub = -1) const {
        return TestWindows::Node(*Main, top, sub);
    }
};

// The texts of a list's grid in `column`, sorted.
QStringList ColumnTexts(TfrmDataList* list, const QString& fieldName) {
    QStringList texts;
    for (int row = 0; row < list->Model()->rowCount(); ++row)
        texts << TestWindows::CellText(*list, row, fieldName);
    texts.sort();
    return texts;
}

// The calls the calls list shows, as "2 3" for 000002 and 000003.
QString CallNumbers() {
    QStringList numbers;
    for (const QString& callNr : ColumnTexts(frmCallsList, "CallNr"))
        numbers << QString::number(callNr.toInt());
    return numbers.join(' ');
}

QString CurrentCall(TRunningProgram& program) {
    return program.DataModule.sqlCall->FieldByName("CallNr").AsString();
}

// An editor that changes the calls table the way a record editor would.
struct TCallEditorStandIn : IRecordEditor {
    TTable* Table = nullptr;
    QList<bool> Modes;
    QString RowSeen;
    void SetEditMode(bool editMode) override { Modes << editMode; }
    bool Execute() override {
        if (Modes.last()) {
            RowSeen = Table->FieldByName("CallNr").AsString();
            Table->Edit();
        } else {
            Table->Append();
        }
        Table->FieldByName("Status").SetAsString("Busy");
        Table->Post();
        return true;
    }
};

} // namespace

class TestFLists : public QObject {
    Q_OBJECT

    TTempDir m_Settings;

private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        SetSettingsStoreLocation(m_Settings.Path() + "user", m_Settings.Path() + "machine");
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    // In this order the Window menu numbers them; which list is in front
    // after the first show is tried with the call views below.
    void TheFirstShowMakesTheFiveListsInOrder() {
        TRunningProgram program;
        const QList<QWidget*> order = {frmCallsList, frmCustomerList, frmWorkerList, frmItemList,
                                       frmServiceContractList};
        const QList<QMdiSubWindow*> children = program.Main->mdiMain->subWindowList();
        QCOMPARE(children.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(children.at(i)->widget(), order.at(i));
            QVERIFY(children.at(i)->isMaximized());
        }
    }

    void EachListShowsItsRowsAndSearchesItsQuery() {
        TRunningProgram program;
        QCOMPARE(ColumnTexts(frmCallsList, "CompanyName"),
                 QStringList({"Acme", "Acme", "Acme", "Acme", "Bolt", "Bolt", "Bolt"}));
        QCOMPARE(ColumnTexts(frmCustomerList, "CompanyName"), QStringList({"Acme", "Bolt"}));
        QCOMPARE(ColumnTexts(frmWorkerList, "CallCount"), QStringList({"3", "4"}));
        QCOMPARE(ColumnTexts(frmItemList, "ServiceType"), QStringList({"", "Gold"}));
        QCOMPARE(ColumnTexts(frmServiceContractList, "CompanyName"), QStringList({"Acme"}));

        frmCustomerList->SearchBy().SetActiveIndex(2);
        frmCustomerList->edtSearch->setText("bo");
        QCOMPARE(program.DataModule.sqlCustomer->FieldByName("CustomerID").AsString(),
                 QString("C2"));
        // Only the worker, customer and item lists are pickers.
        QVERIFY(frmWorkerList->frmPopup && frmWorkerList->frmPopup->PopupMode());
        QVERIFY(frmCustomerList->frmPopup && frmItemList->frmPopup);
        QVERIFY(!frmCallsList->frmPopup && !frmServiceContractList->frmPopup);
    }

    // Every node below "Calls", with its picker answered (or cancelled)
    // through the seam. Each view is chosen after the "New" view, so a
    // filter left behind would show.
    void EachCallViewShowsItsCalls_data() {
        QTest::addColumn<int>("sub");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("calls");
        auto row = [](const char* name, int sub, const char* title, const char* calls) {
            QTest::newRow(name) << sub << false << QString(title) << QString(calls);
        };
        row("Calls", -1, "All Calls", "1 2 3 4 5 6 7");
        row("New", 0, "New Calls", "1");
        row("Busy", 1, "Busy Calls", "6");
        row("Pending", 2, "Incomplete Calls", "2 3");
        row("Awaiting", 3, "Calls awaiting parts", "7");
        row("Complete", 4, "Complete Calls", "4 5");
        row("Not complete", 5, "Calls not complete", "1 2 3 6 7");
        row("Not billed", 6, "Complete but not billed Calls", "4");
        row("Worker W2", 7, "Calls by worker", "3 4 6");
        // March 2007 runs from the first at midnight to the 31st at 23:59:59.
        row("March 2007", 8, "Calls by month", "1 2 4 7");
        row("Complete, March", 9, "Completed Calls by month", "4");
        row("Priority 3", 10, "Calls by priotity", "1 3 6");
        for (int sub : {7, 8, 9, 10})
            QTest::addRow("%d cancelled", sub)
                << sub << true << QString("All Calls") << QString("1 2 3 4 5 6 7");
    }
    void EachCallViewShowsItsCalls() {
        QFETCH(int, sub);
        QFETCH(bool, cancel);
        QFETCH(QString, title);
        QFETCH(QString, calls);
        TRunningProgram program;
        TfrmMain& frm = *program.Main;
        frm.SelectView(program.Node(0, 0));
        frm.ShowDataList(Interfaces::dvItems);

        int shownMonth = 0;
        if (sub == 7) {
            program.Dialogs.AnswerModal([&program, cancel](QObject*) {
                program.DataModule.sqlWorker->Locate("WorkerNR", "W2");
                return int(cancel ? QDialog::Rejected : QDialog::Accepted);
            });
        } else if (sub == 8 || sub == 9) {
            program.Dialogs.AnswerModal([&shownMonth, cancel](QObject* window) {
                auto* picker = qobject_cast<TfrmMonthPicker*>(window);
                shownMonth = picker->cbxMonth->currentIndex() + 1;
                if (cancel)
                    return int(QDialog::Rejected);
                picker->cbxMonth->setCurrentIndex(2);
                picker->edtYear->setValue(2007);
                picker->accept();
                return picker->result();
            });
        } else if (sub == 10) {
            program.Dialogs.AnswerModal([cancel](QObject* window) {
                qobject_cast<TfrmPriorityPicker*>(window)->edtPriority->setValue(3);
                return int(cancel ? QDialog::Rejected : QDialog::Accepted);
            });
        }
        frm.tvNavigation->setCurrentItem(program.Node(0, sub));
        frm.SelectView(program.Node(0, sub));

        QCOMPARE(program.Dialogs.PendingAnswers(), 0);
        QCOMPARE(CallNumbers(), calls);
        QCOMPARE(TestSupport::ShownText(frmCallsList->lblTitle->text()), title);
        QCOMPARE(TestWindows::Front(*program.Main), frmCallsList);
        QCOMPARE(CurrentDataList, frmCallsList);
        // The month picker opens on today's month.
        if (sub == 8 || sub == 9)
            QCOMPARE(shownMonth, QDate::currentDate().month());
        if (cancel)
            QCOMPARE(frm.tvNavigation->currentItem(), program.Node(0));
    }

    void RecordCommandsActOnTheCurrentList() {
        TRunningProgram program;
        TfrmMain& frm = *program.Main;
        TTable* calls = program.DataModule.tblCall;
        TCallEditorStandIn editor;
        editor.Table = calls;
        frmCallsList->SetEditor(&editor);
        const auto enabled = [&frm] {
            frm.IdleUpdate();
            return QList<bool>{frm.actEditCurrentRec->isEnabled(),
                               frm.actDeleteCurrentRec->isEnabled(), frm.actAddNewRec->isEnabled(),
                               frm.actPrint->isEnabled()};
        };
        QCOMPARE(CurrentDataList, frmCallsList);
        QCOMPARE(enabled(), QList<bool>({true, true, true, false}));

        // Edit runs the editor on the list's record and shows the saved row.
        QVERIFY(program.DataModule.sqlCall->Locate("CallNr", "000003"));
        calls->First();
        frm.actEditCurrentRec->trigger();
        QCOMPARE(editor.Modes, QList<bool>({true}));
        QCOMPARE(editor.RowSeen, QString("000003"));
        QCOMPARE(CurrentCall(program), QString("000003"));
        QCOMPARE(program.DataModule.sqlCall->FieldByName("Status").AsString(), QString("Busy"));

        // New adds a call, and the list moves to it.
        frm.actAddNewRec->trigger();
        QCOMPARE(editor.Modes, QList<bool>({true, false}));
        QCOMPARE(frmCallsList->Model()->rowCount(), 8);
        QCOMPARE(CurrentCall(program), calls->FieldByName("CallNr").AsString());
        QVERIFY(CurrentCall(program) > QString("000007"));

        // Another list becomes current with its node; an empty list can only add.
        frm.SelectView(program.Node(4));
        QCOMPARE(CurrentDataList, frmServiceContractList);
        QCOMPARE(enabled(), QList<bool>({true, true, true, false}));
        program.DataModule.ExecSQL("DELETE FROM ServiceContract");
        program.DataModule.RefreshQueries();
        QCOMPARE(enabled(), QList<bool>({false, false, true, false}));

        // Yes deletes through the data module; a customer goes with its item
        // and calls.
        CurrentDataList = frmCallsList;
        QVERIFY(program.DataModule.sqlCall->Locate("CallNr", "000006"));
        QCOMPARE(enabled(), QList<bool>({true, true, true, false}));
        program.Dialogs.AnswerButton(mbYes);
        frm.actDeleteCurrentRec->trigger();
        QCOMPARE(frmCallsList->Model()->rowCount(), 7);
        QVERIFY(!program.DataModule.sqlCall->Locate("CallNr", "000006"));
        CurrentDataList = frmCustomerList;
        QVERIFY(program.DataModule.sqlCustomer->Locate("CustomerID", "C1"));
        enabled();
        program.Dialogs.AnswerButton(mbYes);
        frm.actDeleteCurrentRec->trigger();
        QVERIFY(!program.DataModule.CustomerExists("C1"));
        QVERIFY(!program.DataModule.ItemExists("S1"));
        QCOMPARE(frmCustomerList->Model()->rowCount(), 1);
        program.DataModule.RefreshQueries();
        QCOMPARE(CallNumbers(), QString("2 4 8"));

        // Without a current list nothing is enabled and nothing runs.
        CurrentDataList = nullptr;
        QCOMPARE(enabled(), QList<bool>({false, false, false, false}));
        frm.actEditCurrentRec->trigger();
        frm.actDeleteCurrentRec->trigger();
        frm.actAddNewRec->trigger();
        QCOMPARE(editor.Modes.size(), 2);
        QCOMPARE(program.Dialogs.PendingAnswers(), 0);
        frmCallsList->SetEditor(nullptr);
    }

    // After a header sort the list is on the record it was on, not on one
    // whose key begins with that key or differs from it only in letter case.
    void HeaderSortKeepsExactlyTheCurrentRecord() {
        TRunningProgram program;
        TdmlGlobals& dml = program.DataModule;
        for (const char* sql : {
                 "INSERT INTO Customer (CustomerID, LastName) VALUES ('C10', 'Zeta')",
                 "INSERT INTO Customer (CustomerID, LastName) VALUES ('c1', 'Young')",
                 "INSERT INTO Worker (WorkerNR, Surname) VALUES ('W10', 'Zwart')",
                 "INSERT INTO Worker (WorkerNR, Surname) VALUES ('w1', 'Young')",
             })
            dml.ExecSQL(QString::fromLatin1(sql));
        dml.RefreshQueries();
        const struct {
            TfrmDataList* List;
            TQuery* Query;
            QString Key;
            QString Kept;
            QString SortedBy;
            QString FirstAfter; // its key begins with the kept one
        } lists[] = {
            {frmCustomerList, dml.sqlCustomer, "CustomerID", "C1", "LastName", "C10"},
            {frmWorkerList, dml.sqlWorker, "WorkerNR", "W1", "Surname", "W10"},
        };
        for (const auto& l : lists) {
            QVERIFY(l.Query->Locate(l.Key, l.Kept));
            TDataSetModel* model = l.List->Model();
            l.List->dbcGrid->sortByColumn(model->ColumnOf(l.SortedBy), Qt::DescendingOrder);
            QCOMPARE(TestWindows::CellText(*l.List, 0, l.Key), l.FirstAfter);
            QCOMPARE(l.Query->FieldByName(l.Key).AsString(), l.Kept);
            QCOMPARE(TestWindows::CellText(*l.List, l.List->dbcGrid->currentIndex().row(), l.Key),
                     l.Kept);
        }
    }
};

QTEST_MAIN(TestFLists)
#include "tst_FLists.moc"
