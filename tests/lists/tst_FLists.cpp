// The five list windows inside the main window, on a small real database and
// with the start-up hooks, as the program runs them: the views of the
// navigation tree with their pickers, and the main window's record commands
// on the current list.

#include "data/DMGlobals.h"
#include "data/engine/TDataSetModel.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "exchange/RHistory.h"
#include "lists/FCallsList.h"
#include "lists/FCustomerList.h"
#include "lists/FItemList.h"
#include "lists/FMonthPicker.h"
#include "lists/FPriorityPicker.h"
#include "lists/FServiceContractList.h"
#include "lists/FWorkerList.h"
#include "lists/UDetailGrid.h"
#include "lists/UDetailPanel.h"
#include "lists/UListMenus.h"
#include "lists/UMarkupBox.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

using TestSupport::TTempDir;

namespace {

// The calls: number, worker, status, billed, priority, opened. Odd calls
// belong to the first customer and item, even ones to the second.
const char* const Calls[][6] = {
    {"1", "W1", "New", "False", "3", "2007-03-05 10:00:00"},
    {"2", "W1", "Pending", "False", "1", "2007-03-20 08:00:00"},
    {"3", "W2", "Pending", "False", "3", "2007-04-02 09:00:00"},
    {"4", "W2", "Complete", "False", "2", "2007-03-31 23:30:00"},
    {"5", "W1", "Complete", "True", "5", "2007-04-01 00:00:00"},
    {"6", "W2", "Busy", "False", "3", "2007-02-28 23:59:59"},
    {"7", "W1", "Awaiting Parts", "False", "1", "2007-03-01 00:00:00"},
};

QStringList ProgramRows() {
    QStringList sql = {"INSERT INTO Customer (CustomerID, CompanyName, FirstName, LastName) "
                       "VALUES ('C1', 'Acme', 'Ann', 'Abel'), ('C2', 'Bolt', 'Ben', 'Burt')",
                       "INSERT INTO Worker (WorkerNR, Name, Surname, IDNR) "
                       "VALUES ('W1', 'Wim', 'West', '7001'), ('W2', 'Zoe', 'Zulu', '7002')",
                       "INSERT INTO Item (SerialNr, Brand, Model, Owner) "
                       "VALUES ('S1', 'Hex', 'H1', 'C1'), ('S2', 'Hex', 'H2', 'C2')",
                       "INSERT INTO ServiceContract (ItemSerialNr, CustomerID, ServiceType) "
                       "VALUES ('S1', 'C1', 'Gold')"};
    for (const auto& c : Calls)
        sql << QString("INSERT INTO Call (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, Status, "
                       "Billed, Priority, Date_Time) VALUES ('00000%1', 'C%2', '%3', 'S%2', '%4', "
                       "'%5', %6, '%7')")
                   .arg(c[0], QString::number(2 - QString(c[0]).toInt() % 2), c[1], c[2], c[3],
                        c[4], c[5]);
    return sql;
}

// A database with two customers, workers and items, one contract and seven
// calls spread over states, months and priorities.
struct TRunningProgram : TestWindows::TRunningProgram {
    explicit TRunningProgram(const QStringList& more = {})
        : TestWindows::TRunningProgram(ProgramRows() + more) {}
    QString CurrentCall() const { return DataModule.sqlCall->FieldByName("CallNr").AsString(); }
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

// What a detail box shows, as the reader sees it, its lines joined by '|'.
QString BoxText(const TMarkupBox* box) {
    QString text = TestSupport::ShownText(box->lblData->text());
    text.replace(QChar::LineSeparator, '|').replace('\n', '|');
    return text.simplified();
}

TListMenus* MenusOf(QObject* list) {
    return list->findChild<TListMenus*>(QString(), Qt::FindDirectChildrenOnly);
}

// Which list is in front and the key its query stands on.
QString Landed(TRunningProgram& program) {
    const struct {
        QWidget* List;
        TQuery* Query;
        const char* Key;
    } lists[] = {
        {frmCallsList, program.DataModule.sqlCall, "CallNr"},
        {frmCustomerList, program.DataModule.sqlCustomer, "CustomerID"},
        {frmItemList, program.DataModule.sqlItem, "SerialNr"},
        {frmWorkerList, program.DataModule.sqlWorker, "WorkerNR"},
        {frmServiceContractList, program.DataModule.sqlServiceContract, "CustomerID"},
    };
    for (const auto& l : lists) {
        if (TestWindows::Front(*program.Main) == l.List)
            return l.List->windowTitle().trimmed() + " " + l.Query->FieldByName(l.Key).AsString();
    }
    return "none";
}

} // namespace

class TestFLists : public QObject {
    Q_OBJECT

    TTempDir m_Settings;

private Q_SLOTS:
    void initTestCase() { TestWindows::UseTestSettings(m_Settings); }

    // One run over the lists as the first show leaves them: the five in the
    // order the Window menu numbers them, their rows and search, the pickers,
    // Print on the item list and the popup menus (which empty two tables, so
    // they come last). Which list is in front is tried with the call views.
    void TheListsShowPickPrintAndOfferTheirMenus() {
        TRunningProgram program;
        TfrmMain& frm = *program.Main;
        const QList<QWidget*> order = {frmCallsList, frmCustomerList, frmWorkerList, frmItemList,
                                       frmServiceContractList};
        const QList<QMdiSubWindow*> children = frm.mdiMain->subWindowList();
        QCOMPARE(children.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(children.at(i)->widget(), order.at(i));
            QVERIFY(children.at(i)->isMaximized());
        }

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

        // The pickers give the key picked in their twin and leave the main
        // list on its row (a cancelled pick is tried in tst_FDataList).
        for (const auto& [view, field, kept, picked] :
             {std::tuple{Interfaces::dvCustomers, "CustomerID", "C1", "C2"},
              {Interfaces::dvItems, "SerialNr", "S2", "S1"},
              {Interfaces::dvWorkers, "WorkerNR", "W1", "W2"}}) {
            auto* list = qobject_cast<TfrmDataList*>(program.Main->DataListWindow(view));
            TDataSet* rows = list->DataSet();
            QVERIFY(rows->Locate(field, kept));
            program.Dialogs.AnswerModal([&](QObject* window) {
                auto* twin = qobject_cast<TfrmDataList*>(window);
                if (twin != list->frmPopup || !twin->PopupMode())
                    return int(QDialog::Rejected);
                rows->Locate(field, picked);
                return int(QDialog::Accepted);
            });
            QCOMPARE(view == Interfaces::dvCustomers ? ExecuteCustomerList(program.Main)
                     : view == Interfaces::dvItems   ? ExecuteItemList(program.Main)
                                                     : ExecuteWorkerList(program.Main),
                     QString(picked));
            QCOMPARE(rows->FieldByName(field).AsString(), QString(kept));
        }

        // Print: the current item's history, headed by the item and its owner.
        QCOMPARE(TfrmItemList::ItemText("A1", "B7", "M3", ""), QString("A1, B7 M3"));
        QCOMPARE(TfrmItemList::ItemText("A1", "", "", ""), QString("A1"));
        QCOMPARE(TfrmItemList::ItemText("A1", "", "M3", "grey"), QString("A1 M3 (grey)"));
        program.Main->ShowDataList(Interfaces::dvItems);
        frmItemList->MakeCurrent();
        program.DataModule.sqlItem->Locate("SerialNr", "S2", {});
        program.Main->IdleUpdate();
        QVERIFY(program.Main->actPrint->isEnabled());
        QStringList calls;
        program.Dialogs.AnswerModal([&calls](QObject*) {
            TQuery* q = rptHistory->sqlHistory;
            for (q->First(); !q->Eof(); q->Next())
                calls << q->FieldByName("CallNr").AsString();
            return 0;
        });
        program.Main->actPrint->trigger();
        QCOMPARE(calls, QStringList({"000002", "000004", "000006"}));
        QCOMPARE(rptHistory->lblItemSerial, QString(":S2, Hex H2"));
        QCOMPARE(rptHistory->lblCustomer, QString(":Bolt (Ben Burt)"));

        // "Edit" is the double-click's meaning in a list, "Select" (shown only
        // there) in a picker twin; the worker list's entries never wait for a
        // record; the window menu stands in the menu bar while its list is
        // the current one.
        for (TfrmDataList* list : QList<TfrmDataList*>{frmCustomerList, frmItemList, frmWorkerList,
                                                       frmCallsList, frmServiceContractList}) {
            TListMenus* menus = MenusOf(list);
            QCOMPARE(menus->DefaultAction()->objectName(), QString("actEdit"));
            if (TListCommand* select = menus->Command("miSelect"))
                QVERIFY(!select->Actions().first()->isVisible());
            if (!list->frmPopup)
                continue;
            TListMenus* twinMenus = MenusOf(list->frmPopup);
            QCOMPARE(twinMenus->DefaultAction()->objectName(), QString("miSelect"));
            QVERIFY(twinMenus->DefaultAction()->isVisible());
        }

        program.DataModule.ExecSQL("DELETE FROM Worker");
        program.DataModule.ApplyChanges();
        TListMenus* workerMenus = MenusOf(frmWorkerList);
        workerMenus->UpdateStates();
        QVERIFY(workerMenus->Command("actDelete")->Actions().first()->isEnabled());
        TListMenus* customerMenus = MenusOf(frmCustomerList);
        program.DataModule.ExecSQL("DELETE FROM Customer");
        program.DataModule.ApplyChanges();
        customerMenus->UpdateStates();
        QVERIFY(!customerMenus->Command("actDelete")->Actions().first()->isEnabled());

        const auto menuTitles = [&frm] {
            frm.IdleUpdate();
            QStringList titles;
            for (QAction* action : frm.mnuMain->actions())
                if (action->isVisible())
                    titles << action->text();
            return titles.join(' ');
        };
        for (const auto& [node, own] :
             {std::pair{3, "Items "}, {4, "ServiceContracts "}, {0, "Calls "}, {1, ""}}) {
            frm.SelectView(program.Node(node));
            QCOMPARE(menuTitles(), QString("File Edit %1Tools Window Help").arg(own));
        }
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
        // The picked worker or month follows the view's name.
        row("Worker W2", 7, "Calls by worker: W2", "3 4 6");
        // March 2007 runs from the first at midnight to the 31st at 23:59:59.
        row("March 2007", 8, "Calls by month: March 2007", "1 2 4 7");
        row("Complete, March", 9, "Completed Calls by month: March 2007", "4");
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
        // Changes the calls table the way the call editor would.
        TestWindows::TFakeEditor editor;
        editor.Result = true;
        QString rowSeen;
        editor.OnExecute = [&] {
            const bool edit = editor.Modes.last();
            if (edit)
                rowSeen = calls->FieldByName("CallNr").AsString();
            edit ? calls->Edit() : calls->Append();
            calls->FieldByName("Status").SetAsString("Busy");
            calls->Post();
        };
        frmCallsList->SetEditor(&editor);
        const auto enabled = [&frm] {
            frm.IdleUpdate();
            return QList<bool>{frm.actEditCurrentRec->isEnabled(),
                               frm.actDeleteCurrentRec->isEnabled(), frm.actAddNewRec->isEnabled(),
                               frm.actPrint->isEnabled()};
        };
        const auto count = [&frm] {
            frm.IdleUpdate();
            return frm.sbMain->CountText();
        };
        QCOMPARE(CurrentDataList, frmCallsList);
        QCOMPARE(enabled(), QList<bool>({true, true, true, true}));

        // Edit runs the editor on the list's record and shows the saved row.
        QVERIFY(program.DataModule.sqlCall->Locate("CallNr", "000003"));
        calls->First();
        frm.actEditCurrentRec->trigger();
        QCOMPARE(rowSeen, QString("000003"));
        QCOMPARE(program.CurrentCall(), QString("000003"));
        QCOMPARE(program.DataModule.sqlCall->FieldByName("Status").AsString(), QString("Busy"));

        // New adds a call, counted in the status bar, and the list moves to it.
        frm.actAddNewRec->trigger();
        QCOMPARE(editor.Modes, QList<bool>({true, false}));
        QCOMPARE(count(), QString("8 calls"));
        QCOMPARE(program.CurrentCall(), calls->FieldByName("CallNr").AsString());
        QVERIFY(program.CurrentCall() > QString("000007"));

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
        QCOMPARE(enabled(), QList<bool>({true, true, true, true}));
        program.Dialogs.AnswerButton(mbYes);
        frm.actDeleteCurrentRec->trigger();
        QCOMPARE(count(), QString("7 calls"));
        QVERIFY(!program.DataModule.sqlCall->Locate("CallNr", "000006"));
        CurrentDataList = frmCustomerList;
        QVERIFY(program.DataModule.sqlCustomer->Locate("CustomerID", "C1"));
        program.Dialogs.AnswerButton(mbYes);
        frm.actDeleteCurrentRec->trigger();
        QVERIFY(!program.DataModule.CustomerExists("C1"));
        QVERIFY(!program.DataModule.ItemExists("S1"));
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

    // Each goto command is enabled only while its target exists, and brings
    // the target's list to the front on the target's row.
    void GotoCommandsLandOnTheirTargets() {
        // A call, an item and a contract whose customer, item or worker is gone.
        TRunningProgram program(
            {"INSERT INTO Call (CallNr, CustomerID, WorkerNr, EquipmentSerialNr) "
             "VALUES ('000009', 'C9', 'W9', 'S9')",
             "INSERT INTO Item (SerialNr, Owner) VALUES ('S8', 'C9')",
             "INSERT INTO ServiceContract (ItemSerialNr, CustomerID) VALUES ('S9', 'C1')"});
        const struct {
            const char* Name;
            int View;
            const char *Key, *Command, *Landed; // Landed empty: disabled
        } rows[] = {
            {"call to customer", Interfaces::dvCalls, "000003", "actGotoCustomer", "Customers C1"},
            {"call to item", Interfaces::dvCalls, "000003", "actGotoItem", "Items S1"},
            {"call to contract", Interfaces::dvCalls, "000003", "actGotoServiceContract",
             "Service Contracts C1"},
            {"call to worker", Interfaces::dvCalls, "000003", "actGotoWorker", "Workers W2"},
            {"call without contract", Interfaces::dvCalls, "000002", "actGotoServiceContract", ""},
            {"call of a lost customer", Interfaces::dvCalls, "000009", "actGotoCustomer", ""},
            {"call of a lost item", Interfaces::dvCalls, "000009", "actGotoItem", ""},
            {"call of a lost worker", Interfaces::dvCalls, "000009", "actGotoWorker", ""},
            {"item to owner", Interfaces::dvItems, "S2", "actGotoCustomer", "Customers C2"},
            {"item to contract", Interfaces::dvItems, "S1", "actGotoServiceContract",
             "Service Contracts C1"},
            {"item without contract", Interfaces::dvItems, "S2", "actGotoServiceContract", ""},
            {"item of a lost owner", Interfaces::dvItems, "S8", "actGotoCustomer", ""},
            {"contract to customer", Interfaces::dvServiceContracts, "S1", "actGotoCustomer",
             "Customers C1"},
            {"contract to item", Interfaces::dvServiceContracts, "S1", "actGotoItem", "Items S1"},
            {"contract of a lost item", Interfaces::dvServiceContracts, "S9", "actGotoItem", ""},
        };
        for (const auto& row : rows) {
            auto* list = qobject_cast<TfrmDataList*>(program.Main->DataListWindow(row.View));
            QVERIFY2(list->DataSet()->Locate(row.View == Interfaces::dvCalls   ? "CallNr"
                                             : row.View == Interfaces::dvItems ? "SerialNr"
                                                                               : "ItemSerialNr",
                                             row.Key),
                     row.Name);
            program.Main->ShowDataList(row.View);
            TListCommand* goTo = MenusOf(list)->Command(row.Command);
            QVERIFY2(goTo, row.Name);
            // Through the list's own menu entries, which follow the rule.
            MenusOf(list)->UpdateStates();
            QAction* entry = goTo->Actions().first();
            QVERIFY2(entry->isEnabled() == (*row.Landed != 0), row.Name);
            entry->trigger();
            const QString landed = *row.Landed ? Landed(program) : QString();
            QVERIFY2(*row.Landed ? landed == row.Landed : TestWindows::Front(*program.Main) == list,
                     qPrintable(QString("%1: %2").arg(row.Name, landed)));
        }
    }

    // The boxes show the current row's values once the row has settled, are
    // blank while it moves, and are read again after a change of a table
    // they read; an item without a contract says so. A double-click on a
    // row of a detail grid goes to that item or call.
    void DetailsFollowTheRowAndLeadToTheirRecords() {
        TRunningProgram program;
        TdmlGlobals& dml = program.DataModule;
        QVERIFY(dml.sqlCall->Locate("CallNr", "000001"));
        frmCallsList->IdleUpdate();
        QVERIFY(BoxText(frmCallsList->boxCustomer).startsWith("Name: Ann Abel|Company: Acme|"));
        QVERIFY(BoxText(frmCallsList->boxItem).contains("Model: H1|"));
        QVERIFY(
            BoxText(frmCallsList->boxService).startsWith("Worker: Wim West|S. Contract: Gold|"));

        QVERIFY(dml.sqlCall->Locate("CallNr", "000004"));
        QVERIFY(!BoxText(frmCallsList->boxCustomer).contains("Ben"));
        frmCallsList->IdleUpdate();
        QVERIFY(BoxText(frmCallsList->boxCustomer).startsWith("Name: Ben Burt|"));
        // No contract for this item and customer: the worker still shows.
        QVERIFY(BoxText(frmCallsList->boxService).startsWith("Worker: Zoe Zulu|S. Contract: |"));

        // Values are text, never markup.
        dml.ExecSQL("UPDATE Customer SET Tel = '<b>555</b> & 1' WHERE CustomerID = 'C2'");
        dml.ApplyChanges();
        frmCallsList->IdleUpdate();
        QVERIFY(BoxText(frmCallsList->boxCustomer).contains("|Tel: <b>555</b> & 1|"));
        QVERIFY(!BoxText(frmCallsList->boxCustomer).contains("<#"));

        // A call added elsewhere is in the customer's history at once.
        QVERIFY(dml.sqlCustomer->Locate("CustomerID", "C1"));
        frmCustomerList->IdleUpdate();
        QCOMPARE(frmCustomerList->grdCallHistory->Model()->rowCount(), 4);
        QCOMPARE(frmCustomerList->grdItems->Model()->rowCount(), 1);
        dml.ExecSQL("INSERT INTO Call (CallNr, CustomerID) VALUES ('000008', 'C1')");
        dml.ApplyChanges();
        QCOMPARE(frmCustomerList->grdCallHistory->Model()->rowCount(), 5);

        // "No Contract..." stands in for the contract of an item that has none.
        TMarkupBox* contract = frmItemList->boxServiceContract;
        for (const char* serial : {"S1", "S2", "S1"}) {
            QVERIFY(dml.sqlItem->Locate("SerialNr", serial));
            frmItemList->IdleUpdate();
            const bool none = QString(serial) == "S2";
            QCOMPARE(contract->lblEmpty->isVisibleTo(contract), none);
            QCOMPARE(contract->lblData->isVisibleTo(contract), !none);
            QCOMPARE(TestSupport::ShownText(contract->lblEmpty->text()), QString("No Contract..."));
            if (!none)
                QVERIFY(BoxText(contract).contains("Service Type:Gold"));
        }

        QVERIFY(dml.sqlCustomer->Locate("CustomerID", "C2"));
        frmCustomerList->IdleUpdate();
        program.Main->ShowDataList(Interfaces::dvCustomers);
        const auto doubleClick = [](TDetailGrid* grid, int row) {
            grid->setCurrentIndex(grid->Model()->index(row, 0));
            Q_EMIT grid->doubleClicked(grid->currentIndex());
        };
        doubleClick(frmCustomerList->grdItems, 0);
        QCOMPARE(Landed(program), QString("Items S2"));

        doubleClick(frmCustomerList->grdCallHistory, 1);
        QCOMPARE(Landed(program),
                 "Calls " + frmCustomerList->sqlCalls4Customer->FieldByName("CallNr").AsString());

        QVERIFY(dml.sqlItem->Locate("SerialNr", "S1"));
        frmItemList->IdleUpdate();
        doubleClick(frmItemList->grdCalls, 1);
        QCOMPARE(Landed(program),
                 "Calls " + frmItemList->sqlRelatedCalls->FieldByName("CallNr").AsString());

        // An empty detail grid leads nowhere.
        dml.ExecSQL("DELETE FROM Call WHERE EquipmentSerialNr = 'S2'");
        dml.ApplyChanges();
        QVERIFY(dml.sqlItem->Locate("SerialNr", "S2"));
        frmItemList->IdleUpdate();
        program.Main->ShowDataList(Interfaces::dvItems);
        QCOMPARE(frmItemList->grdCalls->Model()->rowCount(), 0);
        Q_EMIT frmItemList->grdCalls->RowDoubleClicked();
        QCOMPARE(Landed(program), QString("Items S2"));

        // After a header sort the list is on the record it was on, not on one
        // whose key begins with that key or differs from it only in letter case.
        dml.ExecSQL("INSERT INTO Customer (CustomerID, LastName) VALUES ('C10', 'Zeta'), "
                    "('c1', 'Young')");
        dml.ExecSQL(
            "INSERT INTO Worker (WorkerNR, Surname) VALUES ('W10', 'Zwart'), ('w1', 'Young')");
        dml.RefreshQueries();
        // The list, its key, the record kept, the column sorted by and the
        // record then first, whose key begins with the kept one.
        for (const auto& [list, key, kept, sortedBy, firstAfter] :
             {std::tuple<TfrmDataList*, QString, QString, QString, QString>{
                  frmCustomerList, "CustomerID", "C1", "LastName", "C10"},
              {frmWorkerList, "WorkerNR", "W1", "Surname", "W10"}}) {
            QVERIFY(list->DataSet()->Locate(key, kept));
            list->dbcGrid->sortByColumn(list->Model()->ColumnOf(sortedBy), Qt::DescendingOrder);
            QCOMPARE(TestWindows::CellText(*list, 0, key), firstAfter);
            QCOMPARE(list->DataSet()->FieldByName(key).AsString(), kept);
            QCOMPARE(TestWindows::CellText(*list, list->dbcGrid->currentIndex().row(), key), kept);
        }

        // Closing the database closes every detail query.
        dml.SetDatabaseActive(false);
        QVERIFY(!frmCallsList->sqlService->Active() && !frmItemList->sqlOwner->Active());
        QVERIFY(BoxText(frmCallsList->boxCustomer).startsWith("Name: |Company: |"));
    }

    // A detail panel slid shut stays shut the next time the program starts.
    void DetailPanelStateIsKept() {
        for (bool open : {false, true}) {
            {
                TRunningProgram program;
                frmCallsList->cmpCallDetails->SetOpen(open);
                frmItemList->cmpItemListTabs->SetOpen(open);
                frmItemList->cmpItemListTabs->btnToggle->click();
                QCOMPARE(frmItemList->cmpItemListTabs->IsOpen(), !open);
            }
            TRunningProgram program;
            QCOMPARE(frmCallsList->cmpCallDetails->IsOpen(), open);
            QCOMPARE(frmCallsList->cmpCallDetails->pgsDetails->isVisibleTo(frmCallsList), open);
            QCOMPARE(frmItemList->cmpItemListTabs->IsOpen(), !open);
            // A click on a tab of a shut panel opens it.
            TDetailPanel* panel = frmCustomerList->cmpCustomerListTabs;
            panel->SetOpen(false);
            Q_EMIT panel->tabDetails->tabBarClicked(1);
            QVERIFY(panel->IsOpen());
        }
    }
};

QTEST_MAIN(TestFLists)
#include "tst_FLists.moc"
