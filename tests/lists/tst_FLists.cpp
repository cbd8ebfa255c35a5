#include "data/DMGlobals.h"
#include "data/engine/TDataSetModel.h"
#include "data/engine/TQuery.h"
#include "lists/FCallsList.h"
#include "lists/FCustomerList.h"
#include "lists/FItemList.h"
#include "lists/FServiceContractList.h"
#include "lists/FWorkerList.h"
#include "shell/FMain.h"
#include "shell/UScriptedDialogs.h"
#include "shell/USettings.h"
#include "shell/UStartup.h"
#include "support/TestSupport.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

using TestSupport::TTempDir;

namespace {

// A database with two customers, two workers, two items, one contract and
// three calls, two of them pending; the main window runs on it with the
// start-up hooks, as the program does.
struct TRunningProgram {
    TTempDir Dir;
    TScriptedDialogs Dialogs;
    TDialogsInstaller Installed{Dialogs};
    TdmlGlobals DataModule;
    std::unique_ptr<TfrmMain> Main;

    TRunningProgram() {
        DataModule.SetDatabaseDir(Dir.Path() + "database/");
        OpenDatabaseAtStartup(DataModule);
        for (
            const char* sql : {
                "INSERT INTO Customer (CustomerID, CompanyName, FirstName, LastName) "
                "VALUES ('C1', 'Acme', 'Ann', 'Abel')",
                "INSERT INTO Customer (CustomerID, CompanyName, FirstName, LastName) "
                "VALUES ('C2', 'Bolt', 'Ben', 'Burt')",
                "INSERT INTO Worker (WorkerNR, Name, Surname, IDNR) "
                "VALUES ('W1', 'Wim', 'West', '7001')",
                "INSERT INTO Worker (WorkerNR, Name, Surname, IDNR) "
                "VALUES ('W2', 'Zoe', 'Zulu', '7002')",
                "INSERT INTO Item (SerialNr, Brand, Model, Owner) VALUES ('S1', 'Hex', 'H1', 'C1')",
                "INSERT INTO Item (SerialNr, Brand, Model, Owner) VALUES ('S2', 'Hex', 'H2', 'C2')",
                "INSERT INTO ServiceContract (ItemSerialNr, CustomerID, ServiceType) "
                "VALUES ('S1', 'C1', 'Gold')",
                "INSERT INTO Call (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, Status, "
                "Billed) VALUES ('000001', 'C1', 'W1', 'S1', 'New', 'False')",
                "INSERT INTO Call (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, Status, "
                "Billed) VALUES ('000002', 'C2', 'W1', 'S2', 'Pending', 'False')",
                "INSERT INTO Call (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, Status, "
                "Billed) VALUES ('000003', 'C1', 'W2', 'S1', 'Pending', 'False')",
            })
            DataModule.ExecSQL(QString::fromLatin1(sql));
        DataModule.SetDatabaseActive(false);

        TfrmMain::TLocations locations;
        locations.BackupDir = Dir.Path() + "backups";
        Main = std::make_unique<TfrmMain>(locations);
        Main->SetDataHooks(MakeDataHooks(*Main, &DataModule));
        Main->show();
    }
    // The lists go with the main window, before the data module.
    ~TRunningProgram() { Main.reset(); }

    QWidget* Front() const {
        QMdiSubWindow* child = Main->mdiMain->currentSubWindow();
        return child ? child->widget() : nullptr;
    }
};

// The texts of a list's grid in `column`, row by row.
QStringList ColumnTexts(TfrmDataList* list, const QString& fieldName) {
    TDataSetModel* model = list->Model();
    const int column = model->ColumnOf(fieldName);
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->data(model->index(row, column)).toString();
    texts.sort();
    return texts;
}

QString Header(TfrmDataList* list, const QString& fieldName) {
    TDataSetModel* model = list->Model();
    return model->headerData(model->ColumnOf(fieldName), Qt::Horizontal).toString();
}

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

    void TheFirstShowMakesTheFiveListsInOrder() {
        TRunningProgram program;
        TfrmMain& frm = *program.Main;
        QVERIFY(frmCallsList && frmCustomerList && frmWorkerList && frmItemList &&
                frmServiceContractList);
        QCOMPARE(frm.DataListWindow(Interfaces::dvCalls), frmCallsList);
        QCOMPARE(frm.DataListWindow(Interfaces::dvCustomers), frmCustomerList);
        QCOMPARE(frm.DataListWindow(Interfaces::dvWorkers), frmWorkerList);
        QCOMPARE(frm.DataListWindow(Interfaces::dvItems), frmItemList);
        QCOMPARE(frm.DataListWindow(Interfaces::dvServiceContracts), frmServiceContractList);

        const QList<QMdiSubWindow*> children = frm.mdiMain->subWindowList();
        QCOMPARE(children.size(), 5);
        const QList<QWidget*> order = {frmCallsList, frmCustomerList, frmWorkerList, frmItemList,
                                       frmServiceContractList};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(children.at(i)->widget(), order.at(i));

        // The calls list is in front with all calls.
        QCOMPARE(program.Front(), frmCallsList);
        QVERIFY(frmCallsList->lblTitle->text().contains("All Calls"));
        QCOMPARE(program.Dialogs.UnexpectedCount(), 0);
    }

    void EachListShowsItsRows() {
        TRunningProgram program;
        QCOMPARE(ColumnTexts(frmCallsList, "CallNr"), QStringList({"000001", "000002", "000003"}));
        QCOMPARE(ColumnTexts(frmCallsList, "CompanyName"), QStringList({"Acme", "Acme", "Bolt"}));
        QCOMPARE(ColumnTexts(frmCustomerList, "CompanyName"), QStringList({"Acme", "Bolt"}));
        QCOMPARE(ColumnTexts(frmWorkerList, "Name"), QStringList({"Wim", "Zoe"}));
        QCOMPARE(ColumnTexts(frmWorkerList, "CallCount"), QStringList({"1", "2"}));
        QCOMPARE(ColumnTexts(frmItemList, "SerialNr"), QStringList({"S1", "S2"}));
        QCOMPARE(ColumnTexts(frmItemList, "ServiceType"), QStringList({"", "Gold"}));
        QCOMPARE(ColumnTexts(frmServiceContractList, "CompanyName"), QStringList({"Acme"}));
        QCOMPARE(program.Dialogs.UnexpectedCount(), 0);
    }

    void ListsAreBoundToTheirQueriesAndKeys() {
        TRunningProgram program;
        QCOMPARE(frmCallsList->DataSet(), program.DataModule.sqlCall);
        QCOMPARE(frmCustomerList->DataSet(), program.DataModule.sqlCustomer);
        QCOMPARE(frmWorkerList->DataSet(), program.DataModule.sqlWorker);
        QCOMPARE(frmItemList->DataSet(), program.DataModule.sqlItem);
        QCOMPARE(frmServiceContractList->DataSet(), program.DataModule.sqlServiceContract);

        QCOMPARE(frmCallsList->SearchBy().Entry(0).FieldName, QString("CallNr"));
        QCOMPARE(frmCustomerList->SearchBy().Entry(2).FieldName, QString("CompanyName"));
        QCOMPARE(frmItemList->SearchBy().Entry(0).FieldName, QString("SerialNr"));
        QCOMPARE(frmServiceContractList->SearchBy().Entry(1).FieldName, QString("ItemSerialNr"));
        // Only the worker's ID number is searched as a number.
        const TSearchByList& workers = frmWorkerList->SearchBy();
        QCOMPARE(workers.Count(), 3);
        QVERIFY(!workers.Entry(0).IsNumeric && !workers.Entry(1).IsNumeric);
        QVERIFY(workers.Entry(2).IsNumeric);
        QCOMPARE(workers.Entry(2).FieldName, QString("IDNR"));

        // Searching finds the record in the list's query.
        frmCustomerList->SearchBy().SetActiveIndex(2);
        frmCustomerList->edtSearch->setText("Bo");
        QCOMPARE(program.DataModule.sqlCustomer->FieldByName("CustomerID").AsString(),
                 QString("C2"));
    }

    void HeadersAreReadable() {
        TRunningProgram program;
        QCOMPARE(Header(frmCallsList, "CallNr"), QString("Call #"));
        QCOMPARE(Header(frmCallsList, "EquipmentSerialNr"), QString("Serial #"));
        QCOMPARE(Header(frmCallsList, "Date_Time"), QString("Date"));
        QCOMPARE(Header(frmCustomerList, "CustomerID"), QString("Customer #"));
        QCOMPARE(Header(frmCustomerList, "PhysicalAddr"), QString("Physical Address"));
        QCOMPARE(Header(frmWorkerList, "IDNR"), QString("ID/Passport #"));
        QCOMPARE(Header(frmWorkerList, "CallCount"), QString("Calls"));
        QCOMPARE(Header(frmItemList, "ServiceType"), QString("Contract"));
        QCOMPARE(Header(frmServiceContractList, "StillValid"), QString("Valid?"));
        QCOMPARE(frmCallsList->dbcGrid->horizontalHeader()->sectionSize(
                     frmCallsList->Model()->ColumnOf("CompanyName")),
                 96);
    }

    void ShowDataListBringsTheCustomerListToTheFront() {
        TRunningProgram program;
        QCOMPARE(program.Front(), frmCallsList);
        program.Main->ShowDataList(Interfaces::dvCustomers);
        QCOMPARE(program.Front(), frmCustomerList);
    }

    void ThePendingNodeShowsOnlyPendingCalls() {
        TRunningProgram program;
        TfrmMain& frm = *program.Main;
        frm.ShowDataList(Interfaces::dvItems);
        QTreeWidgetItem* pending = frm.tvNavigation->topLevelItem(0)->child(2);
        QCOMPARE(pending->text(0), QString("Pending"));
        frm.SelectView(pending);

        QCOMPARE(program.Front(), frmCallsList);
        QCOMPARE(ColumnTexts(frmCallsList, "CallNr"), QStringList({"000002", "000003"}));
        QCOMPARE(ColumnTexts(frmCallsList, "Status"), QStringList({"Pending", "Pending"}));
        QVERIFY(frmCallsList->lblTitle->text().contains("Incomplete Calls"));
        QCOMPARE(CurrentDataList, frmCallsList);
        QCOMPARE(program.Dialogs.UnexpectedCount(), 0);
    }

    void PickWorkerAnswersFromTheWorkerPopup() {
        TRunningProgram program;
        TQuery* workers = program.DataModule.sqlWorker;
        workers->Last();
        const QString last = workers->FieldByName("WorkerNR").AsString();
        QVERIFY(!last.isEmpty());

        program.Dialogs.AnswerModal(QDialog::Accepted);
        QCOMPARE(program.Main->DataHooks().PickWorker(), last);
        program.Dialogs.AnswerModal(QDialog::Rejected);
        QCOMPARE(program.Main->DataHooks().PickWorker(), QString());
        QCOMPARE(program.Dialogs.UnexpectedCount(), 0);

        // Only the worker, customer and item lists are pickers.
        QVERIFY(frmWorkerList->frmPopup && frmWorkerList->frmPopup->PopupMode());
        QVERIFY(frmCustomerList->frmPopup && frmItemList->frmPopup);
        QVERIFY(!frmCallsList->frmPopup && !frmServiceContractList->frmPopup);
    }

    void TheListsGoWithTheMainWindow() {
        {
            TRunningProgram program;
            QVERIFY(frmWorkerList);
        }
        QVERIFY(!frmCallsList && !frmCustomerList && !frmWorkerList && !frmItemList &&
                !frmServiceContractList);
        QVERIFY(!CurrentDataList);
    }
};

QTEST_MAIN(TestFLists)
#include "tst_FLists.moc"
