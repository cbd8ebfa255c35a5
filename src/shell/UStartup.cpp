#include "shell/UStartup.h"

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "editors/FCallEdtr.h"
#include "editors/FCustomerEdtr.h"
#include "editors/FItemEdtr.h"
#include "editors/FReprEditor.h"
#include "editors/FServiceContractEdtr.h"
#include "editors/FWorkerEdtr.h"
#include "lists/FCallsList.h"
#include "lists/FCustomerList.h"
#include "lists/FDataList.h"
#include "lists/FItemList.h"
#include "lists/FMonthPicker.h"
#include "lists/FPriorityPicker.h"
#include "lists/FServiceContractList.h"
#include "lists/FWorkerList.h"
#include "shell/UErrors.h"
#include "shell/UKeyboardState.h"
#include "shell/abstract/IDataView.h"
#include "shell/abstract/IProgramSettings.h"

#include <QDir>

namespace {

template <typename TWindow>
void Publish(TWindow*& global, TWindow* window) {
    global = window;
}

// Clears `global` when it still shows `window`.
template <typename TWindow>
void Withdraw(TWindow*& global, TWindow* window) {
    if (global == window)
        global = nullptr;
}

} // namespace

TProgramWindows::TProgramWindows(const TfrmMain::TLocations& locations) {
    // Nothing in the main window's constructor needs the data module.
    m_pMainWindow = std::make_unique<TfrmMain>(locations);
    TfrmMain& main = *m_pMainWindow;
    m_pDataModule = std::make_unique<TdmlGlobals>();
    TdmlGlobals* module = m_pDataModule.get();
    // The Ctrl of a shortcut is not a Ctrl held for the command.
    UKeyboardState::WatchShortcuts();

    // Children of the main window: they open over it, and it deletes them.
    TWindows& w = m_Windows;
    w.CallEdtr = new TfrmCallEdtr(module, &main);
    w.CustomerEdtr = new TfrmCustomerEdtr(module, &main);
    w.ServiceContractEdtr = new TfrmServiceContractEdtr(module, &main);
    w.WorkerEdtr = new TfrmWorkerEdtr(module, &main);
    w.ItemEdtr = new TfrmItemEdtr(module, &main);
    w.MonthPicker = new TfrmMonthPicker(&main);
    w.PriorityPicker = new TfrmPriorityPicker(&main);
    w.ReprEditor = new TfrmReprEditor(module, &main);

    TListEditors editors;
    editors.Call = w.CallEdtr;
    editors.Customer = w.CustomerEdtr;
    editors.Worker = w.WorkerEdtr;
    editors.Item = w.ItemEdtr;
    editors.ServiceContract = w.ServiceContractEdtr;
    main.SetDataHooks(MakeDataHooks(
        main, module, editors, [this](const TListWindows& lists) { PublishListWindows(lists); }));
    main.SetRecordEditor(TfrmMain::ekCall, w.CallEdtr);
    main.SetRecordEditor(TfrmMain::ekCustomer, w.CustomerEdtr);
    main.SetRecordEditor(TfrmMain::ekItem, w.ItemEdtr);
    main.SetRecordEditor(TfrmMain::ekServiceContract, w.ServiceContractEdtr);
    main.SetRecordEditor(TfrmMain::ekWorker, w.WorkerEdtr);

    frmMain = &main;
    g_pProgramSettings = &main;
    g_pDataView = &main;
    Publish(frmCallEdtr, w.CallEdtr);
    Publish(frmCustomerEdtr, w.CustomerEdtr);
    Publish(frmServiceContractEdtr, w.ServiceContractEdtr);
    Publish(frmWorkerEdtr, w.WorkerEdtr);
    Publish(frmItemEdtr, w.ItemEdtr);
    Publish(frmMonthPicker, w.MonthPicker);
    Publish(frmPriorityPicker, w.PriorityPicker);
    Publish(frmReprEditor, w.ReprEditor);
}

void TProgramWindows::PublishListWindows(const TListWindows& lists) {
    m_Windows.Lists = lists;
    Publish(frmCallsList, lists.Calls);
    Publish(frmCustomerList, lists.Customers);
    Publish(frmWorkerList, lists.Workers);
    Publish(frmItemList, lists.Items);
    Publish(frmServiceContractList, lists.ServiceContracts);
}

TProgramWindows::~TProgramWindows() {
    const TWindows& w = m_Windows;
    Withdraw(frmCallsList, w.Lists.Calls);
    Withdraw(frmCustomerList, w.Lists.Customers);
    Withdraw(frmWorkerList, w.Lists.Workers);
    Withdraw(frmItemList, w.Lists.Items);
    Withdraw(frmServiceContractList, w.Lists.ServiceContracts);
    Withdraw(frmCallEdtr, w.CallEdtr);
    Withdraw(frmCustomerEdtr, w.CustomerEdtr);
    Withdraw(frmServiceContractEdtr, w.ServiceContractEdtr);
    Withdraw(frmWorkerEdtr, w.WorkerEdtr);
    Withdraw(frmItemEdtr, w.ItemEdtr);
    Withdraw(frmMonthPicker, w.MonthPicker);
    Withdraw(frmPriorityPicker, w.PriorityPicker);
    Withdraw(frmReprEditor, w.ReprEditor);
    m_Windows = {};
    if (m_pMainWindow) {
        Withdraw(frmMain, m_pMainWindow.get());
        if (g_pProgramSettings == static_cast<Interfaces::IProgramSettings*>(m_pMainWindow.get()))
            g_pProgramSettings = nullptr;
        if (g_pDataView == static_cast<Interfaces::IDataView*>(m_pMainWindow.get()))
            g_pDataView = nullptr;
    }

    // Every other window goes with the main window, still bound to a live
    // data module.
    m_pMainWindow.reset();
    m_pDataModule.reset();
}

void OpenDatabaseAtStartup(TdmlGlobals& dataModule) {
    const QString dir = dataModule.DatabaseDir();
    if (!QDir(dir).exists())
        QDir().mkpath(dir);
    dataModule.LockDatabaseDir();
    dataModule.CreateMissingTables();
    dataModule.SetDatabaseActive(true);
}

TfrmMain::TDataHooks MakeDataHooks(TfrmMain& mainWindow, TdmlGlobals* dataModule,
                                   const TListEditors& editors,
                                   std::function<void(const TListWindows&)> listsMade) {
    TfrmMain::TDataHooks hooks;
    hooks.CreateListWindows = [&mainWindow, dataModule, editors, listsMade = std::move(listsMade)] {
        // Creation order decides the order of the MDI children. Each list is
        // the main window's from the moment it is handed over.
        TListWindows lists;
        lists.Calls = new TfrmCallsList(&mainWindow, dataModule, editors.Call);
        mainWindow.SetDataListWindow(Interfaces::dvCalls, lists.Calls);
        lists.Customers = new TfrmCustomerList(&mainWindow, dataModule, editors.Customer);
        mainWindow.SetDataListWindow(Interfaces::dvCustomers, lists.Customers);
        lists.Workers = new TfrmWorkerList(&mainWindow, dataModule, editors.Worker);
        mainWindow.SetDataListWindow(Interfaces::dvWorkers, lists.Workers);
        lists.Items = new TfrmItemList(&mainWindow, dataModule, editors.Item);
        mainWindow.SetDataListWindow(Interfaces::dvItems, lists.Items);
        lists.ServiceContracts =
            new TfrmServiceContractList(&mainWindow, dataModule, editors.ServiceContract);
        mainWindow.SetDataListWindow(Interfaces::dvServiceContracts, lists.ServiceContracts);
        if (listsMade)
            listsMade(lists);
    };
    hooks.PickWorker = [&mainWindow]() -> QString {
        auto* workers =
            qobject_cast<TfrmDataList*>(mainWindow.DataListWindow(Interfaces::dvWorkers));
        return workers ? workers->ExecutePopup(QStringLiteral("WorkerNR")) : QString();
    };
    hooks.IsDatabaseActive = [dataModule] { return dataModule && dataModule->DatabaseActive(); };
    hooks.OpenDatabase = [dataModule] {
        if (!dataModule)
            throw EFatalError(QStringLiteral("Unable to find database module: Null instance."));
        OpenDatabaseAtStartup(*dataModule);
    };
    hooks.ApplyCallView = [dataModule](const UCallViews::TCallView& view) {
        TQuery* query = dataModule ? dataModule->sqlCall : nullptr;
        if (!query)
            return;
        query->Close();
        query->SetFiltered(false);
        query->SetFilter(view.FilterText);
        query->SetFiltered(view.Filtered);
        query->SetSQL(view.QueryText);
        dataModule->OpenDataSet(query);
    };
    hooks.CurrentDataList = []() -> IDataListWindow* { return CurrentDataList; };
    hooks.RefreshData = [dataModule] {
        if (dataModule && dataModule->DatabaseActive())
            dataModule->RefreshQueries();
    };
    return hooks;
}
