#pragma once

// The list of service calls, the program's central list. The main window
// narrows it to the call view chosen in the navigation tree. It is never a
// picker, so it has no popup twin.

#include "lists/FDataList.h"

class TdmlGlobals;

class TfrmCallsList : public TfrmDataList {
    Q_OBJECT
public:
    // Shows `dataModule`'s list query and runs `editor` (not owned) on its
    // rows; without a module the list stays empty, without an editor Edit
    // and New do nothing.
    TfrmCallsList(QWidget* owner, TdmlGlobals* dataModule, IRecordEditor* editor);

    // Deletes the current row through the data module, with what depends on it.
    bool DeleteCurrentRecord() override;
};

// The list in the main window, set by TProgramWindows (UStartup) when the
// main window first shows and cleared when it goes; nullptr otherwise.
extern TfrmCallsList* frmCallsList;
