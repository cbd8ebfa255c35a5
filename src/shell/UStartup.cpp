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

#include <QDir>

TProgramWindows::TProgramWindows(const TfrmMain::TLocations& locations) {
    // Nothing in the main window's constructor needs the data module.
    m_pMainWindow = std::make_unique<TfrmMain>(locations);
    TfrmMain& main = *m_pMainWindow;
    m_pDataModule = std::make_unique<TdmlGlobals>();
    TdmlGlobals* module = m_pDataModule.get();
    // The Ctrl of a shortcut is not a Ctrl held for the command.
    UKeyboardState::WatchShortcuts();

    m_pCallEdtr = std::make_unique<TfrmCallEdtr>(module, &main);
    m_pCustomerEdtr = std::make_unique<TfrmCustomerEdtr>(module, &main);
    m_pServiceContractEdtr = std::make_unique<TfrmServiceContractEdtr>(module, &main);
    m_pWorkerEdtr = std::make_unique<TfrmWorkerEdtr>(module, &main);
    m_pItemEdtr = std::make_unique<TfrmItemEdtr>(module, &main);
    m_pMonthPicker = std::make_unique<TfrmMonthPicker>(&main);
    frmMonthPicker = m_pMonthPicker.get();
    m_pPriorityPicker = std::make_unique<TfrmPriorityPicker>(&main);
    frmPriorityPicker = m_pPriorityPicker.get();
    m_pReprEditor = std::make_unique<TfrmReprEditor>(module, &main);

    TListEditors editors;
    editors.Call = m_pCallEdtr.get();
    editors.Customer = m_pCustomerEdtr.get();
    editors.Worker = m_pWorkerEdtr.get();
    editors.Item = m_pItemEdtr.get();
    editors.ServiceContract = m_pServiceContractEdtr.get();
    main.SetDataHooks(MakeDataHooks(main, module, editors));
    main.SetRecordEditor(TfrmMain::ekCall, m_pCallEdtr.get());
    main.SetRecordEditor(TfrmMain::ekCustomer, m_pCustomerEdtr.get());
    main.SetRecordEditor(TfrmMain::ekItem, m_pItemEdtr.get());
    main.SetRecordEditor(TfrmMain::ekServiceContract, m_pServiceContractEdtr.get());
    main.SetRecordEditor(TfrmMain::ekWorker, m_pWorkerEdtr.get());
}

TProgramWindows::~TProgramWindows() {
    if (m_pMainWindow) {
        for (auto kind : {TfrmMain::ekCall, TfrmMain::ekCustomer, TfrmMain::ekItem,
                          TfrmMain::ekServiceContract, TfrmMain::ekWorker})
            m_pMainWindow->SetRecordEditor(kind, nullptr);
    }
    if (frmMonthPicker == m_pMonthPicker.get())
        frmMonthPicker = nullptr;
    if (frmPriorityPicker == m_pPriorityPicker.get())
        frmPriorityPicker = nullptr;
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
                                   const TListEditors& editors) {
    TfrmMain::TDataHooks hooks;
    hooks.CreateListWindows = [&mainWindow, dataModule, editors] {
        // Creation order decides the order of the MDI children.
        mainWindow.SetDataListWindow(Interfaces::dvCalls,
                                     new TfrmCallsList(&mainWindow, dataModule, editors.Call));
        mainWindow.SetDataListWindow(
            Interfaces::dvCustomers,
            new TfrmCustomerList(&mainWindow, dataModule, editors.Customer));
        mainWindow.SetDataListWindow(Interfaces::dvWorkers,
                                     new TfrmWorkerList(&mainWindow, dataModule, editors.Worker));
        mainWindow.SetDataListWindow(Interfaces::dvItems,
                                     new TfrmItemList(&mainWindow, dataModule, editors.Item));
        mainWindow.SetDataListWindow(
            Interfaces::dvServiceContracts,
            new TfrmServiceContractList(&mainWindow, dataModule, editors.ServiceContract));
    };
    hooks.PickWorker = []() -> QString {
        return frmWorkerList ? frmWorkerList->ExecutePopup(QStringLiteral("WorkerNR")) : QString();
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
