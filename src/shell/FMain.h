#pragma once

#include "shell/UCallViews.h"
#include "shell/UMainStatusBar.h"
#include "shell/UNavigationTree.h"
#include "shell/UVidaz.h"
#include "shell/abstract/IDataListWindow.h"
#include "shell/abstract/IDataView.h"
#include "shell/abstract/IExportQuery.h"
#include "shell/abstract/IProgramSettings.h"
#include "shell/abstract/IRecordEditor.h"
#include "shell/files/UFiles.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QDockWidget;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QPushButton;
class QToolBar;
class QTreeWidgetItem;
class TMainCommands;
class TfrmHelp;

// The program's main window: the MDI parent of the five list windows, with
// the navigation tree of views on the left (UNavigationTree), the menu and
// two toolbars (built and carried out by UMainCommands) and the status bar
// (UMainStatusBar). It hands out the status and country lists
// (IProgramSettings) and brings list windows to the front (IDataView).
class CWABIterator;
class IExporter;
class TDataSet;
namespace UAbstract {
class IProgress;
}

class TfrmMain : public QMainWindow,
                 public Interfaces::IProgramSettings,
                 public Interfaces::IDataView,
                 public Interfaces::IExportQuery {
    Q_OBJECT
public:
    // Where the main window finds its files; by default the program's shipped
    // files and its backup folder (UFiles).
    struct TLocations {
        QString VidazLibrary = UVidaz::DefaultLibraryPath();
        QString CountryFile = UFiles::ShippedFile(QStringLiteral("Countries.dat"));
        QString BackupDir = UFiles::DataFolders().Backups;
        // The help pages and the What's This texts; ends in '/'.
        QString HelpDir = UFiles::ShippedFile(QStringLiteral("help")) + QLatin1Char('/');
        // A new, empty database offers the demonstration database at the
        // first show (UFirstStart).
        bool OfferDemoDatabase = true;
    };

    // What the data module and the lists provide. Each hook may stay unset:
    // without IsDatabaseActive the views do nothing, without CurrentDataList
    // the list commands stay disabled.
    struct TDataHooks {
        // The data module exists and its database is open.
        std::function<bool()> IsDatabaseActive;
        // First show, after the list windows: creates missing table files and
        // opens the database.
        std::function<void()> OpenDatabase;
        // First show: creates the five list windows and registers them with
        // SetDataListWindow.
        std::function<void()> CreateListWindows;
        // Closes the calls query, sets its filter and filtered flag and its
        // SQL text, and opens it again.
        std::function<void(const UCallViews::TCallView&)> ApplyCallView;
        // The worker list's picker: a worker number, empty when cancelled.
        std::function<QString()> PickWorker;
        // The current data list; nullptr when there is none.
        std::function<IDataListWindow*()> CurrentDataList;
        // Reads every list again, each staying on its record.
        std::function<void()> RefreshData;
        // The backup and restore dialogs, shown modally over the main window.
        std::function<void()> Backup;
        std::function<void()> Restore;
        // Empties every table; removes the rows with blank keys and reopens.
        std::function<void()> ClearDatabase;
        std::function<void()> RemoveInconsistentData;
        // The data module's table of an export number (IExportQuery).
        std::function<TDataSet*(int index)> ExportTable;
        // The address-book import: closes or opens the database, and walks
        // `book` into the customer table with `progress`, returning the
        // number of customers and representatives it added.
        std::function<void(bool active)> SetDatabaseActive;
        std::function<int(CWABIterator& book, UAbstract::IProgress& progress)> ImportContacts;
        // The SMS compose window, shown modally over the main window.
        std::function<void()> ComposeSMS;
    };

    enum TEditorKind : int { ekCall, ekCustomer, ekItem, ekServiceContract, ekWorker };

    // The status list used when the customisation library gives none.
    static QString DefaultStatusText();

    explicit TfrmMain(QWidget* parent = nullptr);
    explicit TfrmMain(const TLocations& locations, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // IProgramSettings
    UStrings::ListStr GetStatusList() override;
    // Reads the country file afresh; a file that cannot be read raises EError.
    UStrings::ListStr GetCountryList() override;

    // IDataView: brings the list window of `view` (Interfaces::TDataViewNr)
    // to the front; any other number, or a view without a window, does nothing.
    void ShowDataList(int view) override;

    // IExportQuery
    TDataSet* GetExportTable(int index) override;
    // "Choose target file", offering the name "Exported data"; an existing
    // file is chosen without a question. `defaultExtension` (".xml") is added
    // to a name typed without one.
    QString ChooseTargetFile(const QString& filter, const QString& defaultExtension) override;
    // Asks `question` (Yes/No) and runs the export with the status bar's
    // progress panel and Cancel button, then says how many records it wrote.
    void ExecExport(IExporter* exporter, const QString& question);
    // Asks, lets the user choose the address book file, and imports its
    // contacts with the status bar's progress panel and Cancel button, the
    // database closed meanwhile; then says how many contacts were added.
    void ExecImport();
    // The address book of the imports; made by the first one, then kept.
    CWABIterator* AddressBook() const { return m_pAddressBook.get(); }

    void SetDataHooks(TDataHooks hooks);
    const TDataHooks& DataHooks() const { return m_Hooks; }
    const TLocations& Locations() const { return m_Locations; }

    // Makes `window` the list window of `view` and a maximised MDI child; the
    // main window takes ownership. Closing the child only minimises it.
    void SetDataListWindow(int view, QWidget* window);
    QWidget* DataListWindow(int view) const;

    // The editor the New command of `kind` runs; not owned, nullptr for none.
    void SetRecordEditor(TEditorKind kind, IRecordEditor* editor);
    IRecordEditor* RecordEditor(TEditorKind kind) const;
    // Runs `editor` for a new record or for the current one.
    void ExecEditor(IRecordEditor* editor, bool newRecord);
    // The current data list (DataHooks().CurrentDataList); nullptr for none.
    IDataListWindow* CurrentDataList() const;

    // Switches to the view of navigation node `node`: brings the list window
    // to the front and, for the call views, asks for their parameter and
    // reopens the calls query. Does nothing while no database is open.
    void SelectView(QTreeWidgetItem* node);

    // Fills the status list: the customisation library's list when it has
    // one, the default list otherwise (with an error box when the library
    // does not load).
    void LoadStatusList();

    // The fifth status panel.
    void SetStatusText(const QString& text);
    QString StatusText() const;

    // Brings the command states up to date and lets the current list refresh
    // its details; run by the application's idle hook.
    void IdleUpdate();

    // The status bar's progress panel (for TMSStatusBarProgress).
    QProgressBar* ProgressPanel() const { return sbMain->ProgressPanel(); }

    // The help window on Locations().HelpDir, made at the first call; the
    // main window owns it. When the folder holds no help, an error box says
    // so and nullptr comes back.
    TfrmHelp* HelpWindow();

    QMdiArea* mdiMain;
    QMenuBar* mnuMain;
    QMenu* mnuWindow;
    QToolBar* tlbListFunctions;
    QToolBar* tlbNew;
    QDockWidget* toolpanelNavigation;
    TNavigationTree* tvNavigation;
    TMainStatusBar* sbMain;
    QPushButton* btnSBCancel;

    QAction* actNewCall;
    QAction* actNewCustomer;
    QAction* actNewItem;
    QAction* actNewServiceContract;
    QAction* actNewWorker;
    QAction* actPrint;
    QAction* actPrinterSetup;
    QAction* actQuit;
    QAction* actEditCut;
    QAction* actEditCopy;
    QAction* actEditPaste;
    QAction* actEditCurrentRec;
    QAction* actDeleteCurrentRec;
    QAction* actAddNewRec;
    QAction* actRefreshData;
    QAction* actSMSSend;
    QAction* actSMSStatus;
    QAction* actSMSSettings;
    QAction* actBackup;
    QAction* actRestore;
    QAction* actClearDatabase;
    QAction* actRemoveInconsistentData;
    QAction* actImportWAB;
    QAction* actExportToXML;
    QAction* actWindowTileHorizontal;
    QAction* actWindowTileVertical;
    QAction* actWindowCascade;
    QAction* actWindowMinimizeAll;
    QAction* actHelpContents;
    QAction* actHelpIndex;
    QAction* actHelpWhatsThis;
    QAction* actAbout;
    QAction* actAboutLife;
    QAction* actNavigationPanel;

    QMenu* createPopupMenu() override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private Q_SLOTS:
    void tvNavigationClick();

private:
    void CreateNavigation();
    void FormShow();
    void RestoreLayout();
    void SaveLayout() const;
    QMdiSubWindow* SubWindowOf(int view) const;
    void SetListTitle(int view, const QString& title);
    // Marks in the navigation pane the node of the list window made active
    // (by a goto, the Window menu or a click): the calls view last chosen, or
    // the list's own node.
    void FollowActiveList(QMdiSubWindow* child);

    TLocations m_Locations;
    TDataHooks m_Hooks;
    UStrings::ListStr m_StatusList;
    std::unique_ptr<UStrings::ListStr> m_pCountryList;
    std::array<QPointer<QWidget>, 5> m_DataLists;
    std::array<IRecordEditor*, 5> m_Editors{};
    TMainCommands* m_pCommands = nullptr;
    TfrmHelp* m_pHelpWindow = nullptr;
    std::unique_ptr<CWABIterator> m_pAddressBook;
    bool m_bShown = false;
    int m_nCallsNodeSub = -1; // the calls view last chosen in the pane (UCallViews)
};

// The main window; nullptr until it exists.
extern TfrmMain* frmMain;
