#pragma once

// The main window's commands: the actions with their texts, hints, shortcuts
// and pictures, the menu bar, the two toolbars and the popup menu that shows
// or hides them, which commands are enabled, and what each command does.
//
// The actions, menus and toolbars are members of the main window (act*,
// mnuMain, mnuWindow, tlbListFunctions, tlbNew), where the rest of the
// program reaches them; this object, a child of the main window, creates
// them and carries out the commands.

#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <memory>

class IDataListWindow;
class QAction;
class QPrinter;
class TfrmMain;

class TMainCommands : public QObject {
    Q_OBJECT
public:
    // Creates the actions, menus and toolbars of `main`, whose MDI area must
    // exist already.
    explicit TMainCommands(TfrmMain& main);
    ~TMainCommands() override;

    // Enables the commands that work on the current data list `list`
    // (nullptr: none) and the edit commands when a control has the focus,
    // ticks the Navigation Panel command while the pane is shown, and shows
    // the list's own menu, if it has one, in the menu bar.
    void UpdateStates(IDataListWindow* list);

    // The menu of the current list that the menu bar shows after "Edit"
    // (and the hidden "View"); nullptr for none.
    QMenu* ListMenu() const { return m_pListMenu; }

    // The popup menu of the toolbars and the navigation pane; the caller owns it.
    QMenu* CreatePopupMenu();

private Q_SLOTS:
    void actNewCallExecute();
    void actNewCustomerExecute();
    void actNewItemExecute();
    void actNewServiceContractExecute();
    void actNewWorkerExecute();
    void actPrintExecute();
    void actPrinterSetupExecute();
    void actEditCurrentRecExecute();
    void actDeleteCurrentRecExecute();
    void actAddNewRecExecute();
    void actRefreshDataExecute();
    void actBackupExecute();
    void actRestoreExecute();
    void actClearDatabaseExecute();
    void actRemoveInconsistentDataExecute();
    void actImportWABExecute();
    void actSMSSendExecute();
    void actSMSStatusExecute();
    void actSMSSettingsExecute();
    void actExportToXMLExecute();
    void actHelpContentsExecute();
    void actHelpIndexExecute();
    void actAboutExecute();
    void actAboutLifeExecute();
    void actWindowTileHorizontalExecute();
    void actWindowTileVerticalExecute();
    void actNavigationPanelExecute();
    // Lists the MDI children at the end of the Window menu.
    void mnuWindowShow();

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void ShowListMenu(QMenu* menu);
    // Lays the visible, not minimised children side by side: in bands one
    // below the other (Qt::Horizontal) or in columns (Qt::Vertical).
    void TileSubWindows(Qt::Orientation orientation);
    // The current data list; without one, the internal fault is traced
    // under `function` and nullptr comes back.
    IDataListWindow* CurrentListFor(const char* function) const;

    TfrmMain& m_Main;
    // The printer that Printer Setup sets up; made the first time.
    std::unique_ptr<QPrinter> m_pPrinter;
    // The entries mnuWindowShow added to the Window menu last time.
    QList<QAction*> m_WindowListActions;
    // The list menu shown now, and the menu it stands before.
    QPointer<QMenu> m_pListMenu;
    QAction* m_pListMenuPlace = nullptr;
};
