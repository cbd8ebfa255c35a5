#pragma once

// The list of items of equipment with their owner's company and contract
// type. Under the grid a sliding panel shows the current item's owner, its
// service contract (or "No Contract...") and its call history; the goto
// commands bring the owner or the contract to the front in its own list. It
// is also the item picker: the main instance makes a popup twin of itself
// for ExecutePopup (the twin has no detail panel).

#include "lists/FDataList.h"
#include "shell/abstract/UAbstract.h"

class TDetailGrid;
class TDetailPanel;
class TDetailQueries;
class TListCommand;
class TListMenus;
class TMarkupBox;
class TQuery;

class TfrmItemList : public TfrmDataList, public UAbstract::IObserver {
    Q_OBJECT
public:
    // Shows `dataModule`'s list query and runs `editor` (not owned) on its
    // rows; without a module the list stays empty, without an editor Edit
    // and New do nothing.
    TfrmItemList(QWidget* owner, TdmlGlobals* dataModule, IRecordEditor* editor,
                 bool popupMode = false);
    ~TfrmItemList() override;

    // Printing is the current item's call history report (rptHistory).
    bool CanPrint() override;
    void Print() override;
    // "A1, B7 M3 (desc)": the serial, then the brand, model and description
    // that are there.
    static QString ItemText(const QString& serialNr, const QString& brand, const QString& model,
                            const QString& description);
    // Deletes the current row through the data module, with what depends on it.
    bool DeleteCurrentRecord() override;
    // Opens the owner, contract and call history of the current item.
    void RefreshDetails() override;
    // The database was opened or closed: the detail queries follow it.
    void Update(UAbstract::IObservableSubject* subject) override;
    QMenu* WindowMenu() override;

    TListMenus* Menus() const { return m_pMenus; }
    TListCommand* actGotoCustomer;
    TListCommand* actGotoServiceContract;
    // The detail panel and its queries; null in the popup twin.
    TQuery* sqlOwner = nullptr;
    TQuery* sqlServiceContract = nullptr;
    TQuery* sqlRelatedCalls = nullptr;
    TDetailPanel* cmpItemListTabs = nullptr;
    TMarkupBox* boxOwner = nullptr;
    TMarkupBox* boxServiceContract = nullptr;
    TDetailGrid* grdCalls = nullptr;

protected:
    bool HasDetails() const override { return m_pDetails != nullptr; }
    void CloseDetails() override;
    // A click only makes the list the current one.
    void GridClick() override;

private:
    TDetailQueries* m_pDetails = nullptr;
    TListMenus* m_pMenus;
};

// The list in the main window (not a popup twin), set by TProgramWindows
// (UStartup) when the main window first shows and cleared when it goes;
// nullptr otherwise.
extern TfrmItemList* frmItemList;

// The item picker the editors use: shows the main list's popup twin
// and returns the picked SerialNr, or an empty string on Cancel. The main
// list's current row stays where it was. Without a main list it traces and
// returns an empty string.
QString ExecuteItemList(QWidget* owner);
