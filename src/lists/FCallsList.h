#pragma once

// The list of service calls, the program's central list. The main window
// narrows it to the call view chosen in the navigation tree. Under the grid
// the "Call Details" panel shows the current call's customer, item and
// service (worker, contract type and problem); the goto commands bring the
// call's customer, item, contract or worker to the front in its own list.
// It is never a picker, so it has no popup twin.

#include "lists/FDataList.h"
#include "shell/abstract/UAbstract.h"

class TDetailPanel;
class TDetailQueries;
class TListCommand;
class TListMenus;
class TMarkupBox;
class TQuery;

class TfrmCallsList : public TfrmDataList, public UAbstract::IObserver {
    Q_OBJECT
public:
    // Shows `dataModule`'s list query and runs `editor` (not owned) on its
    // rows; without a module the list stays empty, without an editor Edit
    // and New do nothing.
    TfrmCallsList(QWidget* owner, TdmlGlobals* dataModule, IRecordEditor* editor);
    ~TfrmCallsList() override;

    // Shows the call card of the current call (the call editor's, set by the
    // start-up); without it the card and Print are disabled.
    void SetCallCardPrinter(std::function<void()> printer) { m_CallCard = std::move(printer); }

    bool CanPrint() override;
    void Print() override;
    // Deletes the current row through the data module, with what depends on it.
    bool DeleteCurrentRecord() override;
    // Opens the three detail queries on the current call.
    void RefreshDetails() override;
    // The database was opened or closed: the detail queries follow it.
    void Update(UAbstract::IObservableSubject* subject) override;
    QMenu* WindowMenu() override;

    TQuery* sqlCustomer;
    TQuery* sqlItem;
    TQuery* sqlService;
    TDetailPanel* cmpCallDetails;
    TMarkupBox* boxCustomer;
    TMarkupBox* boxItem;
    TMarkupBox* boxService;
    TListMenus* Menus() const { return m_pMenus; }
    TListCommand* actGotoCustomer;
    TListCommand* actGotoItem;
    TListCommand* actGotoServiceContract;
    TListCommand* actGotoWorker;
    TListCommand* actViewCallCard;

protected:
    bool HasDetails() const override { return true; }
    void CloseDetails() override;
    // All calls, not a view of some.
    bool ShowsAllRecords() const override;

private:
    std::function<void()> m_CallCard;
    TDetailQueries* m_pDetails;
    TListMenus* m_pMenus;
};

// The list in the main window, set by TProgramWindows (UStartup) when the
// main window first shows and cleared when it goes; nullptr otherwise.
extern TfrmCallsList* frmCallsList;
