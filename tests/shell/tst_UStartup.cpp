#include "data/DMGlobals.h"
#include "editors/FCallEdtr.h"
#include "editors/FCustomerEdtr.h"
#include "editors/FItemEdtr.h"
#include "editors/FReprEditor.h"
#include "editors/FServiceContractEdtr.h"
#include "editors/FWorkerEdtr.h"
#include "lists/FCallsList.h"
#include "lists/FCustomerList.h"
#include "lists/FItemList.h"
#include "lists/FMonthPicker.h"
#include "lists/FPriorityPicker.h"
#include "lists/FServiceContractList.h"
#include "lists/FWorkerList.h"
#include "shell/UStartup.h"
#include "shell/abstract/IDataView.h"
#include "shell/abstract/IProgramSettings.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// Every global instance pointer of a window, null or not.
QList<QWidget*> Globals() {
    return {frmCallsList,           frmCustomerList, frmWorkerList,   frmItemList,
            frmServiceContractList, frmCallEdtr,     frmCustomerEdtr, frmServiceContractEdtr,
            frmWorkerEdtr,          frmItemEdtr,     frmReprEditor,   frmMonthPicker,
            frmPriorityPicker,      frmMain};
}

} // namespace

class TestUStartup : public QObject {
    Q_OBJECT

    TestSupport::TTempDir m_Dir;

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The start-up makes every window, publishes each in its global, hands
    // each list its kind's editor and the New commands theirs; the main
    // window alone owns them all, and when the start-up goes so do they and
    // every global is clear.
    void TheStartUpMakesPublishesAndRemovesEveryWindow() {
        TestWindows::TInstalledDialogs dialogs;
        QList<QPointer<QWidget>> made;
        {
            TProgramWindows windows(TestWindows::Locations(m_Dir.Path()));
            const TProgramWindows::TWindows& w = windows.Windows();
            TfrmMain& main = windows.MainWindow();
            windows.DataModule().SetDatabaseDir(m_Dir.Path() + "database/");

            // The editors and pickers, in the order of their globals.
            const QList<QWidget*> windowsMade = {
                w.CallEdtr, w.CustomerEdtr, w.ServiceContractEdtr, w.WorkerEdtr,
                w.ItemEdtr, w.ReprEditor,   w.MonthPicker,         w.PriorityPicker};
            QCOMPARE(Globals().mid(5, 8), windowsMade);
            QCOMPARE(frmMain, &main);
            QCOMPARE(g_pProgramSettings, static_cast<Interfaces::IProgramSettings*>(&main));
            QCOMPARE(g_pDataView, static_cast<Interfaces::IDataView*>(&main));
            for (QWidget* window : windowsMade) {
                QVERIFY(window && window->parent() == &main);
                made << window;
            }
            // The lists come with the first show.
            QVERIFY(!w.Lists.Calls && Globals().mid(0, 5) == QList<QWidget*>(5, nullptr));

            main.show();
            QVERIFY(windows.DataModule().DatabaseActive());
            const struct {
                TfrmDataList *Global, *Made;
                int View;
                TfrmBaseEditor* Editor;
                QAction* NewCommand;
            } lists[] = {
                {frmCallsList, w.Lists.Calls, Interfaces::dvCalls, frmCallEdtr, main.actNewCall},
                {frmCustomerList, w.Lists.Customers, Interfaces::dvCustomers, frmCustomerEdtr,
                 main.actNewCustomer},
                {frmWorkerList, w.Lists.Workers, Interfaces::dvWorkers, frmWorkerEdtr,
                 main.actNewWorker},
                {frmItemList, w.Lists.Items, Interfaces::dvItems, frmItemEdtr, main.actNewItem},
                {frmServiceContractList, w.Lists.ServiceContracts, Interfaces::dvServiceContracts,
                 frmServiceContractEdtr, main.actNewServiceContract}};
            for (const auto& l : lists) {
                QVERIFY(l.Made && l.Global == l.Made && main.DataListWindow(l.View) == l.Made);
                // Owned by the MDI area, through its child window.
                auto* child = qobject_cast<QMdiSubWindow*>(l.Made->parent());
                QVERIFY(child && main.mdiMain->subWindowList().contains(child));
                made << l.Made;
                if (l.Made->frmPopup) {
                    QCOMPARE(l.Made->frmPopup->parent(), l.Made);
                    made << l.Made->frmPopup;
                }

                // The list's Add and the main window's New run the kind's
                // editor; Cancel leaves no row.
                QList<QObject*> shown;
                const auto cancel = [&shown](QObject* window) {
                    shown << window;
                    return TestWindows::CloseEditor(window, false);
                };
                dialogs.AnswerModal(cancel);
                QVERIFY(!l.Made->AppendRecord());
                dialogs.AnswerModal(cancel);
                l.NewCommand->trigger();
                QCOMPARE(shown, (QList<QObject*>{l.Editor, l.Editor}));
            }
            QCOMPARE(dialogs.PendingAnswers(), 0);

            // The one-use dialogs of the Tools menu: shown over the main
            // window with the backups folder, gone afterwards.
            for (QAction* command : {main.actBackup, main.actRestore}) {
                QPointer<QDialog> shown;
                QString offered;
                dialogs.AnswerModal([&shown, &offered](QObject* window) {
                    shown = qobject_cast<QDialog*>(window);
                    shown->show();
                    offered = shown->findChild<QLineEdit*>("edtPath")->text();
                    return 0;
                });
                command->trigger();
                QVERIFY(shown && shown->parent() == &main);
                QCOMPARE(offered, m_Dir.Path() + "backups/");
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                QVERIFY(!shown);
            }

            // Clearing asks first; removing inconsistent rows does not.
            TdmlGlobals& dml = windows.DataModule();
            const auto customers = [&dml] {
                return dml.QueryIsEmpty("SELECT * FROM Customer") ? 0 : 1;
            };
            dml.ExecSQL("INSERT INTO Customer (CustomerID, CompanyName) VALUES (\"\", \"Blank\")");
            main.actRemoveInconsistentData->trigger();
            QCOMPARE(customers(), 0);
            QVERIFY(dml.DatabaseActive());
            dml.ExecSQL("INSERT INTO Customer (CustomerID) VALUES (\"C1\")");
            for (const TMsgButton answer : {mbNo, mbYes}) {
                dialogs.AnswerButton(answer);
                main.actClearDatabase->trigger();
                QCOMPARE(dialogs.Requests().last().MsgKind, TMsgKind::Warning);
                QCOMPARE(customers(), answer == mbNo ? 1 : 0);
            }
        }
        QCOMPARE(Globals(), QList<QWidget*>(14, nullptr));
        QVERIFY(!g_pProgramSettings && !g_pDataView);
        for (const QPointer<QWidget>& window : made)
            QVERIFY(!window);
    }

    // Windows made anywhere else stay out of the globals.
    void OnlyTheStartUpSetsTheGlobalsAndMissingDataModuleIsFatal() {
        TfrmCallEdtr call(nullptr);
        TfrmCustomerEdtr customer(nullptr);
        TfrmServiceContractEdtr contract(nullptr);
        TfrmWorkerEdtr worker(nullptr);
        TfrmItemEdtr item(nullptr);
        TfrmReprEditor representative(nullptr);
        TfrmCallsList calls(nullptr, nullptr, &call);
        TfrmCustomerList customers(nullptr, nullptr, &customer);
        TfrmWorkerList workers(nullptr, nullptr, &worker);
        TfrmItemList items(nullptr, nullptr, &item);
        TfrmServiceContractList contracts(nullptr, nullptr, &contract);
        QCOMPARE(Globals(), QList<QWidget*>(14, nullptr));

        // Hooks without a data module.
        TfrmMain frm(TestWindows::Locations(m_Dir.Path()));
        const TfrmMain::TDataHooks hooks = MakeDataHooks(frm, nullptr);
        QVERIFY(!hooks.IsDatabaseActive());
        // No worker list yet: nobody to pick.
        QCOMPARE(hooks.PickWorker(), QString());
        QCOMPARE(TestSupport::ErrorOf<EFatalError>([&] { hooks.OpenDatabase(); }),
                 QString("Unable to find database module: Null instance."));
    }
};

QTEST_MAIN(TestUStartup)
#include "tst_UStartup.moc"
