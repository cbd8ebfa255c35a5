#pragma once

// The list of service contracts with the customer's company and the item's
// brand and model. A contract is keyed by item serial number and customer, so
// sorting keeps the row on a contract of the same item. Under the grid a
// sliding "Details" panel shows the contract's customer and item; the goto
// commands bring them to the front in their own lists. Never a picker.

#include "lists/FDataList.h"
#include "shell/abstract/UAbstract.h"

class TDetailPanel;
class TDetailQueries;
class TListCommand;
class TListMenus;
class TMarkupBox;
class TQuery;

class TfrmServiceContractList : public TfrmDataList, public UAbstract::IObserver {
    Q_OBJECT
public:
    // Shows `dataModule`'s list query and runs `editor` (not owned) on its
    // rows; without a module the list stays empty, without an editor Edit
    // and New do nothing.
    TfrmServiceContractList(QWidget* owner, TdmlGlobals* dataModule, IRecordEditor* editor);
    ~TfrmServiceContractList() override;

    // Deletes the current row through the data module, with what depends on it.
    bool DeleteCurrentRecord() override;
    // Opens the customer and the item of the current contract.
    void RefreshDetails() override;
    // The database was opened or closed: the detail queries follow it.
    void Update(UAbstract::IObservableSubject* subject) override;
    QMenu* WindowMenu() override;

    TListMenus* Menus() const { return m_pMenus; }
    TListCommand* actGotoCustomer;
    TListCommand* actGotoItem;
    TQuery* sqlCustomer;
    TQuery* sqlItem;
    TDetailPanel* cmpServiceContractDetails;
    TMarkupBox* boxCustomer;
    TMarkupBox* boxItem;

protected:
    bool HasDetails() const override { return true; }
    void CloseDetails() override;

private:
    TDetailQueries* m_pDetails;
    TListMenus* m_pMenus;
};

// The list in the main window, set by TProgramWindows (UStartup) when the
// main window first shows and cleared when it goes; nullptr otherwise.
extern TfrmServiceContractList* frmServiceContractList;
