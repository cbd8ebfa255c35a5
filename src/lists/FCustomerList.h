#pragma once

// The list of customers. It is also the customer picker: the main instance
// makes a popup twin of itself for ExecutePopup.

#include "lists/FDataList.h"

class TdmlGlobals;

class TfrmCustomerList : public TfrmDataList {
    Q_OBJECT
public:
    // Shows `dataModule`'s list query and runs `editor` (not owned) on its
    // rows; without a module the list stays empty, without an editor Edit
    // and New do nothing.
    TfrmCustomerList(QWidget* owner, TdmlGlobals* dataModule, IRecordEditor* editor,
                     bool popupMode = false);

    // Deletes the current row through the data module, with what depends on it.
    bool DeleteCurrentRecord() override;
};

// The list in the main window (not a popup twin), set by TProgramWindows
// (UStartup) when the main window first shows and cleared when it goes;
// nullptr otherwise.
extern TfrmCustomerList* frmCustomerList;

// The customer picker the editors use: shows the main list's popup twin
// and returns the picked CustomerID, or an empty string on Cancel. The main
// list's current row stays where it was. Without a main list it traces and
// returns an empty string.
QString ExecuteCustomerList(QWidget* owner);
