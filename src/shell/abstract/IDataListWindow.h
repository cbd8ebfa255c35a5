#pragma once

#include <QString>

class QMenu;

// What the main window needs of a list window: its commands (Edit, Delete,
// Add New Record, Print) act on the current list, the idle hook lets it
// refresh its detail panels, and the navigation tree sets its title and makes
// it the current list. The generic data list implements it. A list may have
// a menu of its own, which the main window shows in its menu bar while that
// list is the current one.
class IDataListWindow {
public:
    virtual ~IDataListWindow() = default;
    virtual bool CanEdit() = 0;
    virtual bool CanDelete() = 0;
    virtual bool CanPrint() = 0;
    virtual bool EditCurrentRecord() = 0;
    virtual bool DeleteCurrentRecord() = 0;
    virtual bool AppendRecord() = 0;
    virtual void Print() = 0;
    virtual void IdleUpdate() = 0;
    virtual void SetTitle(const QString& title) = 0;
    // Makes the list the current data list.
    virtual void MakeCurrent() = 0;
    // The list's own menu (owned by the list); nullptr for none.
    virtual QMenu* WindowMenu() { return nullptr; }
    // How many records the list shows, in words ("1,234 calls"); empty for
    // none known.
    virtual QString CountText() { return {}; }
    // A note for the status bar about the list's last search ("No Surname
    // begins with ..."); empty when there is nothing to say.
    virtual QString StatusNote() { return {}; }
};
