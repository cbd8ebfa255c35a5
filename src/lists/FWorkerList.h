#pragma once

// The list of workers with the number of calls assigned to each. It is also
// the worker picker: the main instance makes a popup twin of itself for
// ExecutePopup.

#include "lists/FDataList.h"

class TdmlGlobals;
class TListMenus;

class TfrmWorkerList : public TfrmDataList {
    Q_OBJECT
public:
    // Shows `dataModule`'s list query and runs `editor` (not owned) on its
    // rows; without a module the list stays empty, without an editor Edit
    // and New do nothing.
    TfrmWorkerList(QWidget* owner, TdmlGlobals* dataModule, IRecordEditor* editor,
                   bool popupMode = false);

    // Deletes the current row through the data module, with what depends on it.
    bool DeleteCurrentRecord() override;

    TListMenus* Menus() const { return m_pMenus; }

private:
    TListMenus* m_pMenus;
};

// The list in the main window (not a popup twin), set by TProgramWindows
// (UStartup) when the main window first shows and cleared when it goes;
// nullptr otherwise.
extern TfrmWorkerList* frmWorkerList;

// The worker picker the editors use: shows the main list's popup twin
// and returns the picked WorkerNR, or an empty string on Cancel. The main
// list's current row stays where it was. Without a main list it traces and
// returns an empty string.
QString ExecuteWorkerList(QWidget* owner);
