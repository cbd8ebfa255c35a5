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
    ~TfrmCustomerList() override;

    // Deletes the current row through the data module, with what depends on it.
    bool DeleteCurrentRecord() override;
};

// The main instance (not a popup twin); nullptr until it exists.
extern TfrmCustomerList* frmCustomerList;
