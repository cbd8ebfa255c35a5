#pragma once

// The list of service contracts with the customer's company and the item's
// brand and model. A contract is keyed by item serial number and customer, so
// sorting keeps the row on a contract of the same item. Never a picker.

#include "lists/FDataList.h"

class TdmlGlobals;

class TfrmServiceContractList : public TfrmDataList {
    Q_OBJECT
public:
    // Shows `dataModule`'s list query and runs `editor` (not owned) on its
    // rows; without a module the list stays empty, without an editor Edit
    // and New do nothing.
    TfrmServiceContractList(QWidget* owner, TdmlGlobals* dataModule, IRecordEditor* editor);

    // Deletes the current row through the data module, with what depends on it.
    bool DeleteCurrentRecord() override;
};

// The list in the main window, set by TProgramWindows (UStartup) when the
// main window first shows and cleared when it goes; nullptr otherwise.
extern TfrmServiceContractList* frmServiceContractList;
