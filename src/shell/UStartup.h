#pragma once

// Start-up: the one place where the program's long-lived windows are made,
// handed to each other and published in the global instance pointers, and
// how the main window is joined to the data module: how it creates its five
// list windows and opens the database at its first show, asks whether it is
// open, applies a call view to the calls query, picks a worker and finds the
// current data list.

#include "shell/FMain.h"

#include <functional>
#include <memory>

class TdmlGlobals;
class TfrmCallEdtr;
class TfrmCallsList;
class TfrmCustomerEdtr;
class TfrmCustomerList;
class TfrmItemEdtr;
class TfrmItemList;
class TfrmMonthPicker;
class TfrmPriorityPicker;
class TfrmReprEditor;
class TfrmServiceContractEdtr;
class TfrmServiceContractList;
class TfrmWorkerEdtr;
class TfrmWorkerList;
class TrptHistory;
class TWhatsThisFilter;

// The record editor each of the five lists runs; not owned, any may be null
// (that list's Edit and New then do nothing).
struct TListEditors {
    IRecordEditor* Call = nullptr;
    IRecordEditor* Customer = nullptr;
    IRecordEditor* Worker = nullptr;
    IRecordEditor* Item = nullptr;
    IRecordEditor* ServiceContract = nullptr;
};

// The five list windows of the main window, as its first show made them.
// Not owned: the main window's MDI area owns them.
struct TListWindows {
    TfrmCallsList* Calls = nullptr;
    TfrmCustomerList* Customers = nullptr;
    TfrmWorkerList* Workers = nullptr;
    TfrmItemList* Items = nullptr;
    TfrmServiceContractList* ServiceContracts = nullptr;
};

// The objects that live from start-up to exit, created in this order: the
// main window, the data module, the call, customer, service contract, worker
// and item editors, the month and priority pickers, the representative
// editor and the item call history report. Showing the main window does the
// rest of the start-up: the five list windows (each running its kind's
// editor), the table files and opening the database. The main window runs
// the editors from its New commands.
//
// This is the only code that sets the global instance pointers (frmCallEdtr,
// frmCustomerList, frmMonthPicker, rptHistory, ...): the editors, pickers and
// the report as they are made, the lists when the main window first shows
// them. The destructor clears every one of them before any window goes.
//
// Ownership, one owner per object:
// - the data module and the main window belong to this object (unique_ptr)
//   and have no Qt parent;
// - every other window has the main window as its Qt parent (directly, or
//   through its MDI area or a list) and is deleted by Qt with it, never by
//   anything else: the editors and pickers made here, which are children so
//   that they open over the main window; the five lists, children of the
//   MDI area; the lists' popup twins, children of their list; the history
//   report, a child of the main window, which it previews over. This object
//   keeps plain pointers to them (Windows()), valid while it lives.
// The destructor deletes the main window, and with it every other window,
// before the data module they are bound to.
class TProgramWindows {
public:
    // The windows made here besides the main window; not owned.
    struct TWindows {
        TfrmCallEdtr* CallEdtr = nullptr;
        TfrmCustomerEdtr* CustomerEdtr = nullptr;
        TfrmServiceContractEdtr* ServiceContractEdtr = nullptr;
        TfrmWorkerEdtr* WorkerEdtr = nullptr;
        TfrmItemEdtr* ItemEdtr = nullptr;
        TfrmMonthPicker* MonthPicker = nullptr;
        TfrmPriorityPicker* PriorityPicker = nullptr;
        TfrmReprEditor* ReprEditor = nullptr;
        TrptHistory* History = nullptr;
        // Null until the main window is first shown.
        TListWindows Lists;
    };

    explicit TProgramWindows(const TfrmMain::TLocations& locations = {});
    ~TProgramWindows();
    TProgramWindows(const TProgramWindows&) = delete;
    TProgramWindows& operator=(const TProgramWindows&) = delete;

    TfrmMain& MainWindow() const { return *m_pMainWindow; }
    TdmlGlobals& DataModule() const { return *m_pDataModule; }
    const TWindows& Windows() const { return m_Windows; }
    // The What's This texts of the help folder, given to every control as
    // its window is built; made first, removed last.
    const TWhatsThisFilter& WhatsThis() const { return *m_pWhatsThis; }

private:
    void PublishListWindows(const TListWindows& lists);

    // Should the constructor fail, the members go in reverse order: the main
    // window, with whatever windows it already owns, before the data module.
    std::unique_ptr<TWhatsThisFilter> m_pWhatsThis;
    std::unique_ptr<TdmlGlobals> m_pDataModule;
    std::unique_ptr<TfrmMain> m_pMainWindow;
    TWindows m_Windows;
};

// The hooks of `mainWindow` for `dataModule`. At the main window's first show
// CreateListWindows makes the five lists, each running its editor from
// `editors`, hands them to the main window (which owns them from then on) and
// tells `listsMade`. With a null module the lists stay empty and opening the
// database at the first show raises "Unable to find database module: Null
// instance." as a fatal error. PickWorker runs the picker of the main
// window's worker list.
TfrmMain::TDataHooks MakeDataHooks(TfrmMain& mainWindow, TdmlGlobals* dataModule,
                                   const TListEditors& editors = {},
                                   std::function<void(const TListWindows&)> listsMade = {});

// The start-up step of the first show: makes the database directory and the
// missing table files, then opens the database. With `offerDemo` a new
// database offers the demonstration database instead (UFirstStart); true
// when that is what is open.
bool OpenDatabaseAtStartup(TdmlGlobals& dataModule, bool offerDemo = false);
