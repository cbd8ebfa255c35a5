#pragma once

// Start-up: the long-lived windows of the program created in their order,
// and how the main window is joined to the data module: how it creates its
// five list windows and opens the database at its first show, asks whether
// it is open, applies a call view to the calls query, picks a worker and
// finds the current data list.

#include "shell/FMain.h"

#include <memory>

class TdmlGlobals;
class TfrmCallEdtr;
class TfrmCustomerEdtr;
class TfrmItemEdtr;
class TfrmMonthPicker;
class TfrmPriorityPicker;
class TfrmReprEditor;
class TfrmServiceContractEdtr;
class TfrmWorkerEdtr;

// The record editor each of the five lists runs; not owned, any may be null
// (that list's Edit and New then do nothing).
struct TListEditors {
    IRecordEditor* Call = nullptr;
    IRecordEditor* Customer = nullptr;
    IRecordEditor* Worker = nullptr;
    IRecordEditor* Item = nullptr;
    IRecordEditor* ServiceContract = nullptr;
};

// The objects that live from start-up to exit, created in this order: the
// main window, the data module, the call, customer, service contract, worker
// and item editors, the month and priority pickers, and the representative
// editor. The main window is joined to the data module and runs the editors
// from its New commands; the windows are children of the main window.
//
// Showing the main window does the rest of the start-up (list windows, table
// files, opening the database). The data module goes last when this object
// is destroyed, after every window bound to it.
class TProgramWindows {
public:
    explicit TProgramWindows(const TfrmMain::TLocations& locations = {});
    ~TProgramWindows();
    TProgramWindows(const TProgramWindows&) = delete;
    TProgramWindows& operator=(const TProgramWindows&) = delete;

    TfrmMain& MainWindow() const { return *m_pMainWindow; }
    TdmlGlobals& DataModule() const { return *m_pDataModule; }

private:
    // Declared in the order of destruction, last first.
    std::unique_ptr<TdmlGlobals> m_pDataModule;
    std::unique_ptr<TfrmMain> m_pMainWindow;
    std::unique_ptr<TfrmCallEdtr> m_pCallEdtr;
    std::unique_ptr<TfrmCustomerEdtr> m_pCustomerEdtr;
    std::unique_ptr<TfrmServiceContractEdtr> m_pServiceContractEdtr;
    std::unique_ptr<TfrmWorkerEdtr> m_pWorkerEdtr;
    std::unique_ptr<TfrmItemEdtr> m_pItemEdtr;
    std::unique_ptr<TfrmMonthPicker> m_pMonthPicker;
    std::unique_ptr<TfrmPriorityPicker> m_pPriorityPicker;
    std::unique_ptr<TfrmReprEditor> m_pReprEditor;
};

// The hooks of `mainWindow` for `dataModule`; the lists are created as children
// of `mainWindow`, each running its editor from `editors`. With a null module
// the lists stay empty and opening the database at the first show raises
// "Unable to find database module: Null instance." as a fatal error.
TfrmMain::TDataHooks MakeDataHooks(TfrmMain& mainWindow, TdmlGlobals* dataModule,
                                   const TListEditors& editors = {});

// The start-up step of the first show: makes the database directory and the
// missing table files, then opens the database.
void OpenDatabaseAtStartup(TdmlGlobals& dataModule);
