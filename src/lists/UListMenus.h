#pragma once

// The commands of a list window and the menus that carry them: the popup
// menu of its grid and the window menu that the main window shows in its
// menu bar while the list is the current one.
//
// A command has a rule for when it may run; its menu entries follow the rule
// each time a menu opens (UpdateStates) and run the command only when the
// rule allows. The popup menu's default entry is the meaning of a
// double-click on the grid: "Edit" in a list window, "Select" (visible only
// there) in a picker twin, where a double-click anywhere picks.

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class TfrmDataList;

class TListCommand : public QObject {
    Q_OBJECT
public:
    TListCommand(const QString& name, std::function<bool()> enabled, std::function<void()> run,
                 QObject* parent);

    // A menu entry for the command, named like it.
    QAction* MakeAction(const QString& text, QObject* parent);
    const QList<QAction*>& Actions() const { return m_Actions; }

    bool IsEnabled() const;
    // Enables or disables every entry as the rule says now.
    void Update();
    // Runs the command when the rule allows; returns whether it ran.
    bool Execute();

private:
    std::function<bool()> m_Enabled;
    std::function<void()> m_Run;
    QList<QAction*> m_Actions;
};

class TListMenus : public QObject {
    Q_OBJECT
public:
    // The menus of `list`; the popup menu opens on its grid.
    explicit TListMenus(TfrmDataList* list);

    TListCommand* AddCommand(const QString& name, std::function<bool()> enabled,
                             std::function<void()> run);
    // Nullptr for a name not added.
    TListCommand* Command(const QString& name) const;

    // "Select" (a picker's, `withSelect`) and a separator, then "New" (the
    // command `newName`), "Edit" and "Delete" on the list's records. With
    // `alwaysEnabled` the entries never wait for a record.
    void AddRecordEntries(const QString& newName, bool withSelect, bool alwaysEnabled = false);
    // An entry of `menu` for `command`.
    QAction* AddEntry(QMenu* menu, TListCommand* command, const QString& text);
    QMenu* AddSubMenu(QMenu* menu, const QString& name, const QString& title);
    // An entry kept for a later report: never shown, does nothing.
    void AddHiddenEntry(const QString& text);

    QMenu* Popup() const { return m_pPopup; }
    // The popup menu's default entry: the double-click's meaning.
    QAction* DefaultAction() const;

    // The window menu (made the first time) and the entries of it.
    QMenu* WindowMenu(const QString& name, const QString& title);
    QMenu* WindowMenu() const { return m_pWindowMenu; }

    void UpdateStates();

private:
    void SetDefault(QAction* action);

    TfrmDataList* m_pList;
    QMenu* m_pPopup;
    QMenu* m_pWindowMenu = nullptr;
    QList<TListCommand*> m_Commands;
};
