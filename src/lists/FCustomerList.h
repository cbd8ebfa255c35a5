#pragma once

// The list of customers. Under the grid a sliding panel shows the current
// customer's items (with their service contracts) and call history; a
// double-click on one of their rows goes to that item or call. It is also
// the customer picker: the main instance makes a popup twin of itself for
// ExecutePopup (the twin has no detail panel).

#include "lists/FDataList.h"
#include "shell/abstract/UAbstract.h"

class TDetailGrid;
class TDetailPanel;
class TDetailQueries;
class TListMenus;
class TQuery;

class TfrmCustomerList : public TfrmDataList, public UAbstract::IObserver {
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
    // Opens the items and call history of the current customer.
    void RefreshDetails() override;
    // The database was opened or closed: the detail queries follow it.
    void Update(UAbstract::IObservableSubject* subject) override;

    TListMenus* Menus() const { return m_pMenus; }
    // The detail panel and its queries; null in the popup twin.
    TQuery* sqlItems4Customer = nullptr;
    TQuery* sqlCalls4Customer = nullptr;
    TDetailPanel* cmpCustomerListTabs = nullptr;
    TDetailGrid* grdItems = nullptr;
    TDetailGrid* grdCallHistory = nullptr;

protected:
    bool HasDetails() const override { return m_pDetails != nullptr; }
    void CloseDetails() override;

private:
    TDetailQueries* m_pDetails = nullptr;
    TListMenus* m_pMenus;
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
