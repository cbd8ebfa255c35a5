#include "shell/UStartup.h"

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "lists/FDataList.h"
#include "shell/UErrors.h"

#include <QDir>

void OpenDatabaseAtStartup(TdmlGlobals& dataModule) {
    const QString dir = dataModule.DatabaseDir();
    if (!QDir(dir).exists())
        QDir().mkpath(dir);
    dataModule.CreateMissingTables();
    dataModule.SetDatabaseActive(true);
}

TfrmMain::TDataHooks MakeDataHooks(TdmlGlobals* dataModule) {
    TfrmMain::TDataHooks hooks;
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
