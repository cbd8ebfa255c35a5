// The data module on a real database directory: making and opening it, what
// happens when it cannot be opened, the list/editor pairs, finding records for
// the main window, new calls and their numbers, deletions, clearing, repair.

#include "data/DBTableAccess.h"
#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "shell/UBusyCursor.h"
#include "shell/UKeyboardState.h"
#include "shell/abstract/IDataView.h"
#include "support/TestDataModule.h"
#include "support/UScriptedDialogs.h"

#include <QShortcutEvent>
#include <QtTest>
#include <sqlite3.h>

namespace {

using TestSupport::ErrorOf;

QString Field(TDataSet* ds, const char* name) {
    return ds->FieldByName(QString::fromLatin1(name)).AsString();
}

// Attached to the data module while it lives: whether the database was
// active at each notice.
struct TObserverSpy : UAbstract::IObserver {
    explicit TObserverSpy(TdmlGlobals& dml) : Dml(dml) { Dml.Attach(this); }
    ~TObserverSpy() override { Dml.Detach(this); }
    void Update(UAbstract::IObservableSubject*) override { States << Dml.DatabaseActive(); }
    TdmlGlobals& Dml;
    QList<bool> States;
};

// Stands in for the main window while it lives.
struct TViewSpy : Interfaces::IDataView {
    TViewSpy() { g_pDataView = this; }
    ~TViewSpy() override { g_pDataView = nullptr; }
    void ShowDataList(int view) override { Shown << view; }
    QList<int> Shown;
};

// A command as an action is one: run from its shortcut or clicked.
struct TCommand : QObject {
    std::function<void()> Run;
    bool event(QEvent* event) override {
        if (event->type() == QEvent::Shortcut)
            Run();
        return QObject::event(event);
    }
};

} // namespace

class TestDMGlobals : public QObject {
    Q_OBJECT

    // Made and opened afresh for each test.
    std::unique_ptr<TestSupport::TTempDataModule> m_pDml;

    QString Dir() const { return m_pDml->Root() + "database/"; }
    void Exec(const QStringList& statements) { m_pDml->Exec(statements); }

    // The first column of the rows a SELECT returns, sorted.
    QStringList Column(const QString& sql) {
        QStringList values = m_pDml->Column(sql);
        values.sort();
        return values;
    }

    int Count(const QString& table) { return int(Column("SELECT * FROM " + table).size()); }

    QStringList CommentsOf(const QString& callNr) {
        return Column("SELECT CommentLine FROM CallComments WHERE CallNr = '" + callNr + "'");
    }

    void AddCalls(const QStringList& numbers) {
        for (const QString& nr : numbers)
            m_pDml->ExecSQL("INSERT INTO Call (CallNr) VALUES ('" + nr + "')");
    }

    // C1 owns SN-1 and SN-2, holds contracts on SN-1 and on C2's SN-3, has two
    // calls and two representatives; C2 has call ab-7 on C1's SN-1.
    void Fill() {
        Exec(
            {"INSERT INTO Customer (CustomerID, CompanyName) VALUES ('C1', 'Acme'), ('C2', 'Bolt')",
             "INSERT INTO Item (SerialNr, Brand, Owner) "
             "VALUES ('SN-1', '', 'C1'), ('SN-2', '', 'C1'), ('SN-3', 'Canon', 'C2')",
             "INSERT INTO ServiceContract (ItemSerialNr, CustomerID) "
             "VALUES ('SN-1', 'C1'), ('SN-3', 'C1'), ('SN-2', 'C2')",
             "INSERT INTO Worker (WorkerNR, Name) VALUES ('W1', 'Sipho'), ('W2', 'Ravi')",
             "INSERT INTO Call (CallNr, CustomerID, EquipmentSerialNr, WorkerNr) VALUES "
             "('000001', 'C1', 'SN-1', 'W1'), ('000002', 'C1', 'SN-3', ''), "
             "('ab-7', 'C2', 'SN-1', '')"});
        m_pDml->AddRepresentative("C1", "Ann", "Lee", "082", "ann@acme");
        m_pDml->AddRepresentative("C1", "Bob", "Say \"hi\"", "", "");
        m_pDml->AddCallComment("000001", "Call Created.");
        m_pDml->AddCallComment("ab-7", "Call Created.");
        m_pDml->RefreshQueries();
        m_pDml->tblCall->Refresh();
    }

private Q_SLOTS:
    void init() {
        m_pDml = std::make_unique<TestSupport::TTempDataModule>();
        QCOMPARE(dmlGlobals, m_pDml.get());
        QCOMPARE(m_pDml->DatabaseDir(), Dir());
        m_pDml->SetCtrlKeyTest([] { return false; });
    }

    void cleanup() { m_pDml.reset(); }

    void FreshDirectoryIsCreatedAndOpenedOrFailsFatally() {
        TdmlGlobals& dml = *m_pDml;
        dml.SetDatabaseActive(false);
        QVERIFY(QDir(Dir()).removeRecursively() && QDir().mkpath(Dir()));
        QCOMPARE(dml.CreateMissingTables(),
                 QStringList({"Call", "CallComments", "Customer", "Item", "Representative",
                              "ServiceContract", "StateTimes", "Worker"}));
        TObserverSpy spy(dml);
        // A window's own query follows the database.
        std::unique_ptr<TQuery> own =
            dml.CreateQuery(UStrings::ListStr("Select *\nFrom Worker"), true);
        dml.ActivateDataSet(own.get());
        QVERIFY(!own->Active());
        dml.SetDatabaseActive(true);
        dml.SetDatabaseActive(true);
        dml.ActivateDataSet(own.get());
        QVERIFY(own->Active());
        const QList<TDataSet*> all = {
            dml.tblCustomer, dml.tblWorker,          dml.tblServiceContract, dml.tblCall,
            dml.tblItem,     dml.tblCallComments,    dml.tblStateTimes,      dml.sqlCall,
            dml.sqlItem,     dml.sqlServiceContract, dml.sqlWorker,          dml.sqlCustomer};
        for (TDataSet* ds : all)
            QVERIFY(ds->Active());
        QVERIFY(!dml.sqlRepresentatives->Active());
        Fill();
        dml.SetDatabaseActive(false);
        dml.SetDatabaseActive(false);
        QCOMPARE(spy.States, QList<bool>({true, false}));
        for (TDataSet* ds : all)
            QVERIFY(!ds->Active());

        // Only missing files are made again; the others keep their rows.
        QVERIFY(QFile::remove(Dir() + "Item.db"));
        QCOMPARE(dml.CreateMissingTables(), QStringList({"Item"}));
        dml.SetDatabaseActive(true);
        QCOMPARE(Count("Item"), 0);
        QCOMPARE(Count("Call"), 3);

        // Failing to open is fatal: a missing folder, a damaged table.
        dml.SetDatabaseActive(false);
        spy.States.clear();
        dml.SetDatabaseDir(Dir() + "gone");
        QCOMPARE(ErrorOf<EFatalError>([&] { dml.SetDatabaseActive(true); }),
                 "An error occurred while trying to activate the database:\r\n\r\n"
                 "The database path could not be found: \r\n" +
                     Dir() + "gone/");

        dml.SetDatabaseDir(Dir());
        TestSupport::WriteFile(Dir() + "Item.db", QByteArray(4096, 'x'));
        const QString message = ErrorOf([&] { dml.SetDatabaseActive(true); });
        QVERIFY2(message.startsWith("An error occurred while trying to activate the database:"
                                    "\r\n\r\nError activating dataset:\r\n\r\n"),
                 qPrintable(message));
        QVERIFY(!dml.DatabaseActive());
        QVERIFY(spy.States.isEmpty());
        // What opened before the damaged table stays open.
        QVERIFY(dml.tblCall->Active() && !dml.tblItem->Active());
    }

    void RecordsAreFoundForTheMainWindowAndTheEditors() {
        TdmlGlobals& dml = *m_pDml;
        TDBTableAccess& calls = *dml.CallsAccess();
        QVERIFY(!calls.SyncTableToQuery());
        Fill();
        // Without a main window the record is still found.
        QVERIFY(dml.GotoRecord(TdmlGlobals::rkItem, "sn-3"));
        QCOMPARE(Field(dml.sqlItem, "Brand"), "Canon");

        TViewSpy view;
        QVERIFY(dml.GotoRecord(TdmlGlobals::rkCall, "AB-7"));
        QCOMPARE(Field(dml.sqlCall, "CallNr"), "ab-7");
        QVERIFY(dml.GotoRecord(TdmlGlobals::rkCustomer, "c2"));
        QVERIFY(dml.GotoRecord(TdmlGlobals::rkItem, "SN-1"));
        QVERIFY(dml.GotoRecord(TdmlGlobals::rkWorker, "w2"));
        QCOMPARE(Field(dml.sqlWorker, "Name"), "Ravi");
        QVERIFY(dml.GotoRecord(TdmlGlobals::rkServiceContract, "sn-1", "c1"));
        QCOMPARE(view.Shown, QList<int>({0, 2, 1, 4, 3}));

        QVERIFY(!dml.GotoRecord(TdmlGlobals::rkServiceContract, "SN-2", "C1"));
        QVERIFY(!dml.GotoRecord(TdmlGlobals::rkCustomer, "C"));
        QCOMPARE(Field(dml.sqlCustomer, "CustomerID"), "C2");
        QVERIFY(!dml.GotoRecord(TdmlGlobals::TRecordKind(5), "C1"));
        QCOMPARE(view.Shown.size(), 5);

        // A list and its editor stay on one record, found by its key: the
        // records before these differ from them in little else.
        for (const auto& [access, key, value] : {std::tuple{&calls, "CallNr", "ab-7"},
                                                 {dml.CustomersAccess(), "CustomerID", "C2"},
                                                 {dml.ItemsAccess(), "SerialNr", "SN-2"},
                                                 {dml.WorkersAccess(), "WorkerNR", "W2"}}) {
            dml.OpenDataSet(access->Table()); // as its editor does
            access->Table()->Refresh();
            QVERIFY(access->Query()->Locate(key, value));
            QVERIFY2(access->SyncTableToQuery(), key);
            QCOMPARE(Field(access->Table(), key), value);
        }

        // Another letter case is another record to the pairs: not found, and
        // the table stays where it was.
        dml.ExecSQL("UPDATE Call SET CallNr = 'AB-7' WHERE CallNr = 'ab-7'");
        dml.tblCall->Refresh();
        dml.tblCall->First();
        QVERIFY(!calls.SyncTableToQuery());
        QCOMPARE(Field(dml.tblCall, "CallNr"), "000001");

        // After a save the list is read again and follows the editor.
        dml.tblCall->Edit();
        dml.tblCall->FieldByName("CallNr").SetAsString("000005");
        dml.tblCall->Post();
        calls.RefreshQuery();
        QCOMPARE(Field(dml.sqlCall, "CallNr"), "000005");

        TDBTableAccess& contracts = *dml.ServiceContractsAccess();
        QVERIFY(dml.tblServiceContract->Locate("ItemSerialNr", "SN-2"));
        QVERIFY(contracts.SyncQueryToTable());
        QCOMPARE(Field(dml.sqlServiceContract, "CustomerID"), "C2");
        dml.ExecSQL("UPDATE ServiceContract SET CustomerID = 'C1' WHERE ItemSerialNr = 'SN-2'");
        dml.tblServiceContract->Refresh();
        QVERIFY(dml.sqlServiceContract->Locate("ItemSerialNr", "SN-3"));
        QVERIFY(!contracts.SyncQueryToTable());
        QCOMPARE(Field(dml.sqlServiceContract, "ItemSerialNr"), "SN-3");
    }

    void NewRecordsTheirDefaultsTheirLinesAndTheirNumbers() {
        TdmlGlobals& dml = *m_pDml;
        dml.tblWorker->Append();
        QCOMPARE(Field(dml.tblWorker, "IDTypeIsPassport") +
                     Field(dml.tblWorker, "CurrentlyEmployed"),
                 "FalseTrue");
        dml.tblServiceContract->Append();
        QCOMPARE(Field(dml.tblServiceContract, "StillValid"), "True");

        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        dml.tblCall->Append();
        TDataSet* call = dml.tblCall;
        QCOMPARE(Field(call, "CallNr"), "000001");
        QCOMPARE(Field(call, "Billed") + Field(call, "Callout"), "FalseFalse");
        QCOMPARE(Field(call, "Status") + Field(call, "Priority") + Field(call, "MeterReading"),
                 "New10");
        QVERIFY(call->FieldByName("Date_Time").AsDateTime() >= before);
        // The first line is stored before the call is.
        QCOMPARE(CommentsOf("000001"), QStringList({"Call Created."}));
        call->Post();

        const QString id = Field(dml.tblCallComments, "ID");
        QVERIFY(id.startsWith('{') && id.endsWith('}') && id == id.toUpper());
        QVERIFY(dml.AddCallComment("000001", QString(255, 'x')) != id);

        // Cancelling a new call removes its lines, also those added since.
        const QStringList kept = CommentsOf("000001");
        dml.tblCall->Append();
        dml.AddCallComment("000002", "Customer phoned");
        QCOMPARE(CommentsOf("000002").size(), 2);
        dml.tblCall->Cancel();
        QVERIFY(!dml.NewCallCommentPending());
        QVERIFY(CommentsOf("000002").isEmpty());
        QCOMPARE(CommentsOf("000001"), kept);

        // Cancelling an edit of a saved call leaves its lines alone.
        dml.tblCall->Append();
        dml.tblCall->Post();
        dml.tblCall->Edit();
        dml.tblCall->Cancel();
        QCOMPARE(CommentsOf("000002"), QStringList({"Call Created."}));

        // New numbers follow the greatest in text order.
        AddCalls({"000007", "000009"});
        QCOMPARE(dml.GetNewCallNr(), "000010");
        AddCalls({"000010", "000123", "5"}); // "5" sorts last
        QCOMPARE(dml.GetNewCallNr(), "000006");
        AddCalls({"000006"}); // taken, and so is 000007
        QCOMPARE(dml.GetNewCallNr(), "000008");
        AddCalls({"9999999"});
        QCOMPARE(dml.GetNewCallNr(), "10000000");

        AddCalls({"A-17"});
        const QString expected =
            "Error Creating a new Call Number: \r\n\r\n'A-17' is not a valid integer value";
        TScriptedDialogs dialogs;
        TDialogsInstaller install(dialogs);
        const int lines = Count("CallComments");
        QCOMPARE(ErrorOf([&] { dml.tblCall->Append(); }), expected);
        QVERIFY(dialogs.Requests().isEmpty());
        QCOMPARE(dml.tblCall->State(), TDataSetState::Browse);
        QCOMPARE(Count("CallComments"), lines);

        dml.ExecSQL("INSERT INTO Customer (CustomerID) VALUES ('CUST0001'), ('CUST0002')");
        int last = 0;
        QCOMPARE(dml.GetNewCustomerID(1, last), "CUST0003");
        QCOMPARE(last, 3);
        QCOMPARE(dml.GetNewCustomerID(10000, last), "CUST10000");

        // Holding Ctrl asks for the number, on a table of calls made afresh.
        Exec({"DELETE FROM Call", "DELETE FROM CallComments"});
        AddCalls({"000001"});
        dml.SetCtrlKeyTest([] { return true; });

        // Cancelling is the user's choice: a quiet stop, nothing created.
        dialogs.AnswerInput(false);
        QCOMPARE(ErrorOf<EAbort>([&] { dml.tblCall->Append(); }),
                 "No Call record created: Cancelled by user!");
        QCOMPARE(dml.tblCall->State(), TDataSetState::Browse);
        QCOMPARE(Count("Call"), 1);
        QCOMPARE(Count("CallComments"), 0);

        dialogs.Clear();
        dialogs.AnswerInput(true, "");
        dialogs.AnswerButton(mbOK);
        dialogs.AnswerInput(true, "000001");
        dialogs.AnswerButton(mbOK);
        dialogs.AnswerInput(true, " 42");
        dml.tblCall->Append();
        QCOMPARE(dialogs.UnexpectedCount(), 0);
        const QList<TDialogRequest>& asked = dialogs.Requests();
        QCOMPARE(asked[0].Caption, "Provide Call #");
        QCOMPARE(asked[0].Text, "Please type a unique number for the call.");
        QCOMPARE(asked[4].Value, QString()); // asked again with an empty box
        QCOMPARE(asked[1].Text, "Call Number cannot be null.\nPlease try again.");
        QCOMPARE(asked[3].Text, "The specified call number is not unique.\nPlease try again.");
        QCOMPARE(asked[3].MsgKind, TMsgKind::Error);
        // Taken as typed, blank and all.
        dml.tblCall->Post();
        QCOMPARE(Column("SELECT CallNr FROM Call"), QStringList({" 42", "000001"}));
        QCOMPARE(CommentsOf(" 42"), QStringList({"Call Created."}));

        // The program's own test: the Ctrl of Ctrl+Insert belongs to the
        // shortcut, and Ctrl held while clicking the button or menu item asks.
        dml.SetCtrlKeyTest({});
        UKeyboardState::WatchShortcuts();
        UKeyboardState::SetModifierReader(
            [] { return Qt::KeyboardModifiers(Qt::ControlModifier); });
        dialogs.Clear();
        TCommand add;
        add.Run = [&] {
            dml.tblCall->Append();
            dml.tblCall->Post();
        };
        QShortcutEvent shortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert), 0);
        QCoreApplication::sendEvent(&add, &shortcut);
        QVERIFY(dialogs.Requests().isEmpty());
        QCOMPARE(Column("SELECT CallNr FROM Call"), QStringList({" 42", "000001", "000002"}));
        QVERIFY(!UKeyboardState::InShortcut());
        dialogs.AnswerInput(true, "X-1");
        add.Run();
        QCOMPARE(dialogs.Requests().size(), 1);
        QCOMPARE(Column("SELECT CallNr FROM Call"),
                 QStringList({" 42", "000001", "000002", "X-1"}));
        UKeyboardState::SetModifierReader({});
    }

    void ChangesReachTheListsThatReadThemThenClearingAndDeleting() {
        TdmlGlobals& dml = *m_pDml;
        Fill();
        QSignalSpy told(&dml, &TdmlGlobals::TablesChanged);
        QVERIFY(dml.sqlCustomer->Locate("CustomerID", "C2"));
        QVERIFY(
            dml.sqlServiceContract->Locate("ItemSerialNr;CustomerID", QStringList{"SN-2", "C2"}));
        QCOMPARE(dml.sqlServiceContract->RecordCount(), 3);

        // A customer goes with its items, their calls and its contracts (not
        // its representatives); the lists catch up once all that is over.
        QVERIFY(dml.tblCustomer->Locate("CustomerID", "C1"));
        dml.DeleteCustomer("C1");
        QVERIFY(!TBusyCursor::IsBusy());
        QCOMPARE(Column("SELECT SerialNr FROM Item"), QStringList({"SN-3"}));
        QCOMPARE(Count("Representative"), 2);
        QCOMPARE(Count("CallComments"), 2);
        QCOMPARE(Field(dml.tblCustomer, "CustomerID"), "C2");
        QCOMPARE(told.size(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(told.size(), 1);
        QStringList tables = told.at(0).at(0).toStringList();
        tables.sort();
        QCOMPARE(tables, QStringList({"Call", "Customer", "Item", "ServiceContract"}));
        QCOMPARE(dml.sqlServiceContract->RecordCount(), 1);
        QCOMPARE(Field(dml.sqlServiceContract, "ItemSerialNr"), "SN-2");
        QCOMPARE(Field(dml.sqlCall, "CallNr"), "ab-7");
        QCOMPARE(dml.sqlCall->RecordCount(), 1);
        QCOMPARE(Field(dml.sqlItem, "SerialNr"), "SN-3");
        QCOMPARE(dml.sqlItem->RecordCount(), 1);
        QCOMPARE(Field(dml.sqlCustomer, "CustomerID"), "C2"); // stays on its record
        dml.sqlWorker->First();
        QCOMPARE(Field(dml.sqlWorker, "WorkerNR"), "W2");

        // A comment line is read by no list; a customer posted through the
        // editor's table reaches the customer list, which keeps its record.
        told.clear();
        dml.AddCallComment("ab-7", "Customer phoned");
        dml.tblCustomer->Append();
        dml.tblCustomer->FieldByName("CustomerID").SetAsString("A0");
        dml.tblCustomer->Post();
        dml.ApplyChanges();
        QCOMPARE(told.size(), 1);
        QCOMPARE(dml.sqlCustomer->RecordCount(), 2);
        QCOMPARE(Field(dml.sqlCustomer, "CustomerID"), "C2");
        dml.ApplyChanges(); // nothing more to do
        QCOMPARE(told.size(), 1);

        // A table emptied at once is a change to every list; so is Refresh Data.
        dml.Connection().EmptyTable("Worker");
        dml.ExecSQL("DELETE FROM Call");
        dml.ApplyChanges();
        QCOMPARE(dml.sqlWorker->RecordCount(), 0);
        QCOMPARE(dml.sqlCall->RecordCount(), 0);
        dml.RefreshQueries();
        QCOMPARE(told.size(), 3);
        QCOMPARE(told.last().at(0).toStringList(), QStringList({QString()}));

        // Clearing goes on past a table that cannot be emptied: its file is
        // being written by someone else (the engine waits, then gives up) but
        // can be read, so the database opens again.
        Exec({"INSERT INTO StateTimes (CallNR, State) VALUES (\"000001\", \"New\")",
              "INSERT INTO Worker (WorkerNR) VALUES ('W1')",
              "INSERT INTO Call (CallNr) VALUES ('1')"});
        TObserverSpy spy(dml);
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(Dir() + "ServiceContract.db"), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        const QString message = ErrorOf([&] { dml.ClearDatabase(); });
        sqlite3_close(other);

        QCOMPARE(message, "The following tables reported errors during clear operation: \r\n"
                          "ServiceConract.DB\r\n");
        QVERIFY(dml.DatabaseActive() && !TBusyCursor::IsBusy());
        QCOMPARE(spy.States, QList<bool>({false, true}));
        for (const char* table :
             {"Customer", "Worker", "Call", "Item", "CallComments", "Representative"})
            QCOMPARE(Count(table), 0);
        QCOMPARE(Count("ServiceContract"), 1);
        dml.ClearDatabase();
        QCOMPARE(Count("ServiceContract"), 0);
        QCOMPARE(Count("StateTimes"), 1);

        // Deleting other records, on the rows made again.
        Fill();
        dml.DeleteCall("000001");
        QVERIFY(CommentsOf("000001").isEmpty());
        QVERIFY(dml.tblCall->Locate("CallNr", "ab-7")); // on SN-1
        dml.DeleteItem("SN-1");
        QCOMPARE(Column("SELECT CallNr FROM Call"), QStringList({"000002"}));
        QCOMPARE(Field(dml.tblCall, "CallNr"), "000002"); // the table was read again
        QCOMPARE(CommentsOf("ab-7"), QStringList({"Call Created."}));
        QCOMPARE(Column("SELECT ItemSerialNr FROM ServiceContract"), QStringList({"SN-2", "SN-3"}));
        dml.DeleteServiceContract("SN-2", "C1");
        QVERIFY(dml.ServiceContractExists("SN-2", "C2"));
        dml.ExecSQL("UPDATE Call SET WorkerNr = 'W2'");
        dml.DeleteWorker("W2");
        QVERIFY(!dml.WorkerExists("W2"));
        QCOMPARE(Column("SELECT WorkerNr FROM Call"), QStringList({"W2"}));

        // A failing step ends the deletion; what was done stays done.
        dml.SetDatabaseActive(false);
        QVERIFY(QFile::remove(Dir() + "CallComments.db"));
        QCOMPARE(ErrorOf([&] { dml.DeleteCall("000002"); }),
                 "Error Deleting Call: \r\n\r\nUnable to delete relating call comments: \r\n");
        QVERIFY(!TBusyCursor::IsBusy());
        QCOMPARE(Count("Call"), 0);
        QVERIFY(QFile::remove(Dir() + "Worker.db"));
        QCOMPARE(ErrorOf([&] { dml.DeleteWorker("W1"); }), "Unable to delete Worker: \r\n");
    }

    void TheDatabaseFolderIsHeldByOneProgram() {
        TestSupport::TTempDir dir;
        auto first = std::make_unique<TdmlGlobals>();
        first->SetDatabaseDir(dir.Path());
        first->LockDatabaseDir();
        {
            TdmlGlobals second;
            second.SetDatabaseDir(dir.Path());
            QCOMPARE(ErrorOf<EFatalError>([&] { second.LockDatabaseDir(); }),
                     "The database is in use by another Korvane window.");
        }
        // The hold goes with the program, also when it died without letting go.
        first.reset();
        TestSupport::WriteFile(dir.Path() + ".korvane.lock",
                               QByteArray::number(0x7ffffff0) + "\nkorvane\n" +
                                   QSysInfo::machineHostName().toUtf8() + "\n");
        TdmlGlobals next;
        next.SetDatabaseDir(dir.Path());
        next.LockDatabaseDir();
    }

    void KeysWithQuotesAreFoundAndDeletedExactlyAndBlankKeysRepaired() {
        TdmlGlobals& dml = *m_pDml;
        Exec({"INSERT INTO Customer (CustomerID) VALUES (\"O'Neil\"), (\"O\"), (\"D'Arcy\")",
              "INSERT INTO Item (SerialNr, Owner) VALUES (\"SN'1\", \"O'Neil\")",
              "INSERT INTO Representative (RecID, FK_Customer) VALUES ('{A\"B}', 'O')"});
        QVERIFY(dml.CustomerExists("O'Neil"));
        QVERIFY(!dml.CustomerExists("O' OR '1'='1"));
        QVERIFY(dml.ItemExists("SN'1"));
        // A list's row, deleted through its editor's table by its key.
        dml.RefreshQueries();
        QVERIFY(dml.sqlCustomer->Locate("CustomerID", "D'Arcy"));
        dml.CustomersAccess()->DeleteQueryRecord();
        QCOMPARE(Column("SELECT CustomerID FROM Customer"), QStringList({"O", "O'Neil"}));
        dml.DeleteCustomer("O'Neil");
        QCOMPARE(Column("SELECT CustomerID FROM Customer"), QStringList({"O"}));
        QCOMPARE(Count("Item"), 0);
        dml.DeleteRepresentative("{A\"B}");
        QCOMPARE(Count("Representative"), 0);

        // Repair removes the rows with blank keys.
        Exec({"INSERT INTO Call (CallNr, CustomerID) "
              "VALUES ('000001', 'C1'), ('000002', ''), ('', 'C1')",
              "INSERT INTO ServiceContract (ItemSerialNr, CustomerID) VALUES (\"SN-1\", \"\")",
              "INSERT INTO Item (SerialNr) VALUES (\"\")",
              "INSERT INTO Worker (WorkerNR) VALUES (\"\")",
              "INSERT INTO Customer (CustomerID) VALUES (\"\")"});
        dml.RemoveBlankKeyRecords();
        QCOMPARE(Column("SELECT CallNr FROM Call"), QStringList({"000001"}));
        for (const char* table : {"ServiceContract", "Item", "Worker"})
            QCOMPARE(Count(table), 0);
        QCOMPARE(Column("SELECT CustomerID FROM Customer"), QStringList({"O"}));

        // A failing statement is listed and the others still run.
        dml.ExecSQL("INSERT INTO Customer (CustomerID) VALUES (\"\")");
        dml.SetDatabaseActive(false);
        QVERIFY(QFile::remove(Dir() + "Item.db"));
        const QStringList lines =
            ErrorOf([&] { dml.RemoveBlankKeyRecords(); }).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], "The following errors occurred during operation: ");
        QVERIFY2(lines[1].contains("Item"), qPrintable(lines[1]));
        QCOMPARE(Column("SELECT CustomerID FROM Customer"), QStringList({"O"}));
    }
};

QTEST_GUILESS_MAIN(TestDMGlobals)
#include "tst_DMGlobals.moc"
