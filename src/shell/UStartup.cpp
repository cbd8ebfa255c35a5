#include "shell/UStartup.h"

#include "data/DMGlobals.h"
#include "data/FBackup.h"
#include "data/FRestore.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "editors/FCallEdtr.h"
#include "editors/FCustomerEdtr.h"
#include "editors/FItemEdtr.h"
#include "editors/FReprEditor.h"
#include "editors/FServiceContractEdtr.h"
#include "editors/FWorkerEdtr.h"
#include "exchange/FSMS.h"
#include "exchange/RHistory.h"
#include "exchange/UExporter.h"
#include "exchange/UWABImporter.h"
#include "lists/FCallsList.h"
#include "lists/FCustomerList.h"
#include "lists/FDataList.h"
#include "lists/FItemList.h"
#include "lists/FMonthPicker.h"
#include "lists/FPriorityPicker.h"
#include "lists/FServiceContractList.h"
#include "lists/FWorkerList.h"
#include "shell/UBusyCursor.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"
#include "shell/UFirstStart.h"
#include "shell/UKeyboardState.h"
#include "shell/UWhatsThis.h"
#include "shell/abstract/IDataView.h"
#include "shell/abstract/IProgramSettings.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScopeGuard>

namespace {

// Calls `visit`(global, window) for every window global and the window the
// composition root made for it (null for a list not made yet).
template <typename TVisit>
void ForEachGlobal(const TProgramWindows::TWindows& w, TVisit&& visit) {
    visit(frmCallsList, w.Lists.Calls);
    visit(frmCustomerList, w.Lists.Customers);
    visit(frmWorkerList, w.Lists.Workers);
    visit(frmItemList, w.Lists.Items);
    visit(frmServiceContractList, w.Lists.ServiceContracts);
    visit(frmCallEdtr, w.CallEdtr);
    visit(frmCustomerEdtr, w.CustomerEdtr);
    visit(frmServiceContractEdtr, w.ServiceContractEdtr);
    visit(frmWorkerEdtr, w.WorkerEdtr);
    visit(frmItemEdtr, w.ItemEdtr);
    visit(frmMonthPicker, w.MonthPicker);
    visit(frmPriorityPicker, w.PriorityPicker);
    visit(frmReprEditor, w.ReprEditor);
    visit(rptHistory, w.History);
}

const auto Publish = [](auto*& global, auto* window) { global = window; };

// Clears `global` when it still shows `window`.
const auto Withdraw = [](auto*& global, auto* window) {
    if (global == window)
        global = nullptr;
};

} // namespace

TProgramWindows::TProgramWindows(const TfrmMain::TLocations& locations) {
    // Before any window, so that every control finds its text when polished.
    m_pWhatsThis = std::make_unique<TWhatsThisFilter>(
        TWhatsThisTexts::FromFile(locations.HelpDir + QStringLiteral("whatsthis.txt")));
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
    w.CallEdtr->SetVidazLibrary(locations.VidazLibrary);
    w.CustomerEdtr = new TfrmCustomerEdtr(module, &main);
    w.ServiceContractEdtr = new TfrmServiceContractEdtr(module, &main);
    w.WorkerEdtr = new TfrmWorkerEdtr(module, &main);
    w.ItemEdtr = new TfrmItemEdtr(module, &main);
    w.MonthPicker = new TfrmMonthPicker(&main);
    w.PriorityPicker = new TfrmPriorityPicker(&main);
    w.ReprEditor = new TfrmReprEditor(module, &main);
    w.History = new TrptHistory(module, &main);
    w.History->SetVidazLibrary(locations.VidazLibrary);

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
    ForEachGlobal(w, Publish);
}

void TProgramWindows::PublishListWindows(const TListWindows& lists) {
    m_Windows.Lists = lists;
    ForEachGlobal(m_Windows, Publish);
}

TProgramWindows::~TProgramWindows() {
    ForEachGlobal(m_Windows, Withdraw);
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

bool OpenDatabaseAtStartup(TdmlGlobals& dataModule, bool offerDemo) {
    const QString dir = dataModule.DatabaseDir();
    if (!QDir(dir).exists())
        QDir().mkpath(dir);
    dataModule.LockDatabaseDir();
    const QStringList created = dataModule.CreateMissingTables();
    const bool demo = offerDemo && UFirstStart::OfferDemoDatabase(dataModule, created);
    dataModule.SetDatabaseActive(true);
    return demo;
}

namespace {

// The title bar says that the data is the demonstration's. A maximised child
// window keeps the title it found when it was maximised, so the children are
// maximised again under the new one.
void MarkDemonstration(TfrmMain& mainWindow) {
    const QList<QMdiSubWindow*> children = mainWindow.mdiMain->subWindowList();
    QList<QMdiSubWindow*> maximised;
    for (QMdiSubWindow* child : children) {
        if (child->isMaximized()) {
            maximised << child;
            child->showNormal();
        }
    }
    mainWindow.setWindowTitle(mainWindow.windowTitle() + QStringLiteral(" (demonstration data)"));
    for (QMdiSubWindow* child : std::as_const(maximised))
        child->showMaximized();
}

} // namespace

TfrmMain::TDataHooks MakeDataHooks(TfrmMain& mainWindow, TdmlGlobals* dataModule,
                                   const TListEditors& editors,
                                   std::function<void(const TListWindows&)> listsMade) {
    TfrmMain::TDataHooks hooks;
    hooks.CreateListWindows = [&mainWindow, dataModule, editors, listsMade = std::move(listsMade)] {
        // Creation order decides the order of the MDI children. Each list is
        // the main window's from the moment it is handed over.
        TListWindows lists;
        lists.Calls = new TfrmCallsList(&mainWindow, dataModule, editors.Call);
        lists.Calls->SetCallCardPrinter([] {
            if (frmCallEdtr)
                frmCallEdtr->PrintCurrentCallCard();
        });
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
        // An empty list names the command that adds its first record.
        lists.Calls->SetNewCommand(mainWindow.actNewCall);
        lists.Customers->SetNewCommand(mainWindow.actNewCustomer);
        lists.Workers->SetNewCommand(mainWindow.actNewWorker);
        lists.Items->SetNewCommand(mainWindow.actNewItem);
        lists.ServiceContracts->SetNewCommand(mainWindow.actNewServiceContract);
        if (listsMade)
            listsMade(lists);
    };
    hooks.PickWorker = [&mainWindow]() -> QString {
        auto* workers =
            qobject_cast<TfrmDataList*>(mainWindow.DataListWindow(Interfaces::dvWorkers));
        return workers ? workers->ExecutePopup(QStringLiteral("WorkerNR")) : QString();
    };
    hooks.IsDatabaseActive = [dataModule] { return dataModule && dataModule->DatabaseActive(); };
    hooks.OpenDatabase = [dataModule, &mainWindow] {
        if (!dataModule)
            throw EFatalError(QStringLiteral("Unable to find database module: Null instance."));
        if (OpenDatabaseAtStartup(*dataModule, mainWindow.Locations().OfferDemoDatabase))
            MarkDemonstration(mainWindow);
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
    // One-use dialogs: made by their command as children of the main window,
    // shown modally, then destroyed.
    const auto runDialog = [](auto make) {
        QDialog* dialog = make();
        const auto destroy = qScopeGuard([dialog] { dialog->deleteLater(); });
        Dialogs().ExecModal(dialog, [dialog] { return dialog->exec(); });
    };
    const QString backups = QDir::cleanPath(mainWindow.Locations().BackupDir) + QLatin1Char('/');
    hooks.Backup = [runDialog, &mainWindow, dataModule, backups] {
        runDialog([&] { return new TfrmBackup(&mainWindow, dataModule, backups); });
    };
    hooks.Restore = [runDialog, &mainWindow, dataModule, backups] {
        runDialog([&] { return new TfrmRestore(&mainWindow, dataModule, backups); });
    };
    hooks.ExportTable = [dataModule](int index) { return ExportTableOf(dataModule, index); };
    hooks.SetDatabaseActive = [dataModule](bool active) {
        if (dataModule)
            dataModule->SetDatabaseActive(active);
    };
    hooks.ImportContacts = [dataModule](CWABIterator& book, UAbstract::IProgress& progress) {
        if (!dataModule)
            UErrors::RaiseError(QStringLiteral("Unable to import contacts: No database module."));
        CWABImporter importer(*dataModule);
        book.Iterate(&importer, &progress);
        return importer.ContactsAdded();
    };
    hooks.ComposeSMS = [runDialog, &mainWindow, dataModule] {
        runDialog([&] { return new TfrmSMS(&mainWindow, dataModule); });
    };
    hooks.ClearDatabase = [dataModule] {
        if (dataModule)
            dataModule->ClearDatabase();
    };
    hooks.RemoveInconsistentData = [dataModule] {
        if (!dataModule)
            return;
        const TBusyCursor busy;
        dataModule->RemoveBlankKeyRecords();
        dataModule->SetDatabaseActive(false);
        dataModule->SetDatabaseActive(true);
    };
    return hooks;
}
