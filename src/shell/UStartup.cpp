#include "shell/UStartup.h"

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "lists/FCallsList.h"
#include "lists/FCustomerList.h"
#include "lists/FDataList.h"
#include "lists/FItemList.h"
#include "lists/FServiceContractList.h"
#include "lists/FWorkerList.h"
#include "shell/UErrors.h"

#include <QDir>

void OpenDatabaseAtStartup(TdmlGlobals& dataModule) {
    const QString dir = dataModule.DatabaseDir();
    if (!QDir(dir).exists())
        QDir().mkpath(dir);
    dataModule.CreateMissingTables();
    dataModule.SetDatabaseActive(true);
}

TfrmMain::TDataHooks MakeDataHooks(TfrmMain& mainWindow, TdmlGlobals* dataModule) {
    TfrmMain::TDataHooks hooks;
    hooks.CreateListWindows = [&mainWindow, dataModule] {
        // Creation order decides the order of the MDI children.
        mainWindow.SetDataListWindow(Interfaces::dvCalls,
                                     new TfrmCallsList(&mainWindow, dataModule));
        mainWindow.SetDataListWindow(Interfaces::dvCustomers,
                                     new TfrmCustomerList(&mainWindow, dataModule));
        mainWindow.SetDataListWindow(Interfaces::dvWorkers,
                                     new TfrmWorkerList(&mainWindow, dataModule));
        mainWindow.SetDataListWindow(Interfaces::dvItems,
                                     new TfrmItemList(&mainWindow, dataModule));
        mainWindow.SetDataListWindow(Interfaces::dvServiceContracts,
                                     new TfrmServiceContractList(&mainWindow, dataModule));
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
    return hooks;
}
