#include "shell/UMainCommands.h"

#include "exchange/FSMSSettings.h"
#include "exchange/FSMSStatus.h"
#include "exchange/UXMLExporter.h"
#include "shell/FAbout.h"
#include "shell/FGospel.h"
#include "shell/FHelp.h"
#include "shell/FMain.h"
#include "shell/UApplication.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolBar>
#include <QWhatsThis>

namespace {

// The commands are the main window's: their traces name it and its unit.
const char* const Unit = "FMain";

// The control the standard edit actions work on: the focused one, or the
// line edit inside it (spin boxes, editable combo boxes).
QObject* EditTarget() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return nullptr;
    if (focus->metaObject()->indexOfMethod("paste()") >= 0)
        return focus;
    return focus->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

TMainCommands::TMainCommands(TfrmMain& main) : QObject(&main), m_Main(main) {
    CreateActions();
    CreateMenus();
    CreateToolBars();
}

TMainCommands::~TMainCommands() = default;

void TMainCommands::CreateActions() {
    auto make = [this](QAction*& action, const char* name, const QString& text,
                       const QString& hint = {}, const QKeySequence& shortcut = {},
                       const QIcon& icon = {}) {
        action = new QAction(icon, text, &m_Main);
        action->setObjectName(QLatin1String(name));
        action->setStatusTip(hint);
        action->setShortcut(shortcut);
    };
    make(m_Main.actNewCall, "actNewCall", QStringLiteral("&Call"), QStringLiteral("Add a new Call"),
         {}, ProgramIcon(QStringLiteral("new-call")));
    make(m_Main.actNewCustomer, "actNewCustomer", QStringLiteral("Cus&tomer"),
         QStringLiteral("Add a new Customer"), {}, ProgramIcon(QStringLiteral("new-customer")));
    make(m_Main.actNewItem, "actNewItem", QStringLiteral("Item"), QStringLiteral("Add a new Item"),
         {}, ProgramIcon(QStringLiteral("new-item")));
    make(m_Main.actNewServiceContract, "actNewServiceContract", QStringLiteral("&Service Contract"),
         QStringLiteral("Add a new Service Contract"), {},
         ProgramIcon(QStringLiteral("new-contract")));
    make(m_Main.actNewWorker, "actNewWorker", QStringLiteral("&Worker"),
         QStringLiteral("Add a new Worker"), {}, ProgramIcon(QStringLiteral("new-worker")));
    m_Main.actNewCall->setIconText(QStringLiteral("New Call"));
    m_Main.actNewCustomer->setIconText(QStringLiteral("New Customer"));
    m_Main.actNewItem->setIconText(QStringLiteral("New Item"));
    m_Main.actNewServiceContract->setIconText(QStringLiteral("New Service Contract"));
    m_Main.actNewWorker->setIconText(QStringLiteral("New Worker"));

    make(m_Main.actPrint, "actPrint", QStringLiteral("Print"),
         QStringLiteral("Print the selection"), QKeySequence(Qt::CTRL | Qt::Key_P),
         ProgramIcon(QStringLiteral("print")));
    make(m_Main.actPrinterSetup, "actPrinterSetup", QStringLiteral("Printer Setup"));
    m_Main.actPrinterSetup->setVisible(false);
    make(m_Main.actQuit, "actQuit", QStringLiteral("E&xit"));

    make(m_Main.actEditCut, "actEditCut", QStringLiteral("Cu&t"), {},
         QKeySequence(Qt::CTRL | Qt::Key_X));
    make(m_Main.actEditCopy, "actEditCopy", QStringLiteral("&Copy"), {},
         QKeySequence(Qt::CTRL | Qt::Key_C));
    make(m_Main.actEditPaste, "actEditPaste", QStringLiteral("&Paste"), {},
         QKeySequence(Qt::CTRL | Qt::Key_V));
    make(m_Main.actEditCurrentRec, "actEditCurrentRec", QStringLiteral("Edit Record"),
         QStringLiteral("Edit the selected record"), QKeySequence(Qt::CTRL | Qt::Key_E),
         ProgramIcon(QStringLiteral("edit")));
    make(m_Main.actDeleteCurrentRec, "actDeleteCurrentRec", QStringLiteral("Delete Record"),
         QStringLiteral("Delete the selected record"), QKeySequence(Qt::CTRL | Qt::Key_D),
         ProgramIcon(QStringLiteral("delete")));
    make(m_Main.actAddNewRec, "actAddNewRec", QStringLiteral("Add New Record"),
         QStringLiteral("Add a new record"), QKeySequence(Qt::CTRL | Qt::Key_Insert),
         ProgramIcon(QStringLiteral("add")));
    m_Main.actEditCurrentRec->setIconText(QStringLiteral("Edit"));
    m_Main.actDeleteCurrentRec->setIconText(QStringLiteral("Delete"));
    m_Main.actAddNewRec->setIconText(QStringLiteral("Add"));
    make(m_Main.actRefreshData, "actRefreshData", QStringLiteral("Refresh Data"));

    make(m_Main.actSMSSend, "actSMSSend", QStringLiteral("Send"));
    make(m_Main.actSMSStatus, "actSMSStatus", QStringLiteral("Status"));
    make(m_Main.actSMSSettings, "actSMSSettings", QStringLiteral("Settings"));

    make(m_Main.actBackup, "actBackup", QStringLiteral("Backup"));
    make(m_Main.actRestore, "actRestore", QStringLiteral("Restore"));
    make(m_Main.actClearDatabase, "actClearDatabase", QStringLiteral("Clear all data"));
    make(m_Main.actRemoveInconsistentData, "actRemoveInconsistentData",
         QStringLiteral("Remove inconsistent data"));
    make(m_Main.actImportWAB, "actImportWAB", QStringLiteral("Outlook Contacts"));
    make(m_Main.actExportToXML, "actExportToXML", QStringLiteral("XML"), {}, {},
         ProgramIcon(QStringLiteral("export")));
    m_Main.actExportToXML->setIconText(QStringLiteral("Export"));

    make(m_Main.actWindowTileHorizontal, "actWindowTileHorizontal",
         QStringLiteral("Tile &Horizontally"));
    make(m_Main.actWindowTileVertical, "actWindowTileVertical", QStringLiteral("&Tile Vertically"));
    make(m_Main.actWindowCascade, "actWindowCascade", QStringLiteral("&Cascade"));
    make(m_Main.actWindowMinimizeAll, "actWindowMinimizeAll", QStringLiteral("&Minimize All"));

    make(m_Main.actHelpContents, "actHelpContents", QStringLiteral("Contents"), {},
         QKeySequence(Qt::Key_F1));
    make(m_Main.actHelpIndex, "actHelpIndex", QStringLiteral("Index"));
    make(m_Main.actHelpWhatsThis, "actHelpWhatsThis", QStringLiteral("What's This?"), {},
         QKeySequence(Qt::SHIFT | Qt::Key_F1));
    make(m_Main.actAbout, "actAbout", QStringLiteral("About"));
    make(m_Main.actAboutLife, "actAboutLife", QStringLiteral("About Life"));

    make(m_Main.actNavigationPanel, "actNavigationPanel", QStringLiteral("Navigation Panel"),
         QStringLiteral("Show or hide the navigation panel"));
    m_Main.actNavigationPanel->setCheckable(true);

    m_Main.actRefreshData->setShortcut(QKeySequence(Qt::Key_F5));

    connect(m_Main.actNewCall, &QAction::triggered, this, &TMainCommands::actNewCallExecute);
    connect(m_Main.actNewCustomer, &QAction::triggered, this,
            &TMainCommands::actNewCustomerExecute);
    connect(m_Main.actNewItem, &QAction::triggered, this, &TMainCommands::actNewItemExecute);
    connect(m_Main.actNewServiceContract, &QAction::triggered, this,
            &TMainCommands::actNewServiceContractExecute);
    connect(m_Main.actNewWorker, &QAction::triggered, this, &TMainCommands::actNewWorkerExecute);
    connect(m_Main.actPrint, &QAction::triggered, this, &TMainCommands::actPrintExecute);
    connect(m_Main.actPrinterSetup, &QAction::triggered, this,
            &TMainCommands::actPrinterSetupExecute);
    connect(m_Main.actQuit, &QAction::triggered, &m_Main, &TfrmMain::close);
    connect(m_Main.actEditCut, &QAction::triggered, this, [] {
        if (QObject* target = EditTarget())
            QMetaObject::invokeMethod(target, "cut");
    });
    connect(m_Main.actEditCopy, &QAction::triggered, this, [] {
        if (QObject* target = EditTarget())
            QMetaObject::invokeMethod(target, "copy");
    });
    connect(m_Main.actEditPaste, &QAction::triggered, this, [] {
        if (QObject* target = EditTarget())
            QMetaObject::invokeMethod(target, "paste");
    });
    connect(m_Main.actEditCurrentRec, &QAction::triggered, this,
            &TMainCommands::actEditCurrentRecExecute);
    connect(m_Main.actDeleteCurrentRec, &QAction::triggered, this,
            &TMainCommands::actDeleteCurrentRecExecute);
    connect(m_Main.actAddNewRec, &QAction::triggered, this, &TMainCommands::actAddNewRecExecute);
    connect(m_Main.actRefreshData, &QAction::triggered, this,
            &TMainCommands::actRefreshDataExecute);
    connect(m_Main.actBackup, &QAction::triggered, this, &TMainCommands::actBackupExecute);
    connect(m_Main.actRestore, &QAction::triggered, this, &TMainCommands::actRestoreExecute);
    connect(m_Main.actClearDatabase, &QAction::triggered, this,
            &TMainCommands::actClearDatabaseExecute);
    connect(m_Main.actRemoveInconsistentData, &QAction::triggered, this,
            &TMainCommands::actRemoveInconsistentDataExecute);
    connect(m_Main.actImportWAB, &QAction::triggered, this, &TMainCommands::actImportWABExecute);
    connect(m_Main.actSMSSend, &QAction::triggered, this, &TMainCommands::actSMSSendExecute);
    connect(m_Main.actSMSStatus, &QAction::triggered, this, &TMainCommands::actSMSStatusExecute);
    connect(m_Main.actSMSSettings, &QAction::triggered, this,
            &TMainCommands::actSMSSettingsExecute);
    connect(m_Main.actExportToXML, &QAction::triggered, this,
            &TMainCommands::actExportToXMLExecute);
    connect(m_Main.actWindowTileHorizontal, &QAction::triggered, this,
            &TMainCommands::actWindowTileHorizontalExecute);
    connect(m_Main.actWindowTileVertical, &QAction::triggered, this,
            &TMainCommands::actWindowTileVerticalExecute);
    connect(m_Main.actWindowCascade, &QAction::triggered, m_Main.mdiMain,
            &QMdiArea::cascadeSubWindows);
    connect(m_Main.actWindowMinimizeAll, &QAction::triggered, this, [this] {
        for (QMdiSubWindow* window : m_Main.mdiMain->subWindowList())
            window->showMinimized();
    });
    connect(m_Main.actHelpContents, &QAction::triggered, this,
            &TMainCommands::actHelpContentsExecute);
    connect(m_Main.actHelpIndex, &QAction::triggered, this, &TMainCommands::actHelpIndexExecute);
    connect(m_Main.actHelpWhatsThis, &QAction::triggered, this,
            [] { QWhatsThis::enterWhatsThisMode(); });
    connect(m_Main.actAbout, &QAction::triggered, this, &TMainCommands::actAboutExecute);
    connect(m_Main.actAboutLife, &QAction::triggered, this, &TMainCommands::actAboutLifeExecute);
    connect(m_Main.actNavigationPanel, &QAction::triggered, this,
            &TMainCommands::actNavigationPanelExecute);
}

void TMainCommands::CreateMenus() {
    m_Main.mnuMain = m_Main.menuBar();
    m_Main.mnuMain->setObjectName(QStringLiteral("mnuMain"));
    auto menu = [](QWidget* parent, const char* name, const QString& title) {
        auto* result = new QMenu(title, parent);
        result->setObjectName(QLatin1String(name));
        return result;
    };

    QMenu* miFile = menu(m_Main.mnuMain, "miFile", QStringLiteral("File"));
    QMenu* miNew = menu(miFile, "miNew", QStringLiteral("New"));
    miNew->addActions({m_Main.actNewCall, m_Main.actNewCustomer, m_Main.actNewItem,
                       m_Main.actNewServiceContract, m_Main.actNewWorker});
    miFile->addMenu(miNew);
    miFile->addSeparator();
    miFile->addAction(m_Main.actPrint);
    miFile->addAction(m_Main.actPrinterSetup);
    miFile->addSeparator();
    miFile->addAction(m_Main.actQuit);
    m_Main.mnuMain->addMenu(miFile);

    QMenu* miEdit = menu(m_Main.mnuMain, "miEdit", QStringLiteral("Edit"));
    miEdit->addActions({m_Main.actEditCut, m_Main.actEditCopy, m_Main.actEditPaste});
    miEdit->addSeparator();
    miEdit->addActions({m_Main.actEditCurrentRec, m_Main.actDeleteCurrentRec, m_Main.actAddNewRec});
    miEdit->addSeparator();
    miEdit->addAction(m_Main.actRefreshData);
    m_Main.mnuMain->addMenu(miEdit);

    QMenu* miSMS = menu(m_Main.mnuMain, "miSMS", QStringLiteral("SMS"));
    miSMS->addActions({m_Main.actSMSSend, m_Main.actSMSStatus, m_Main.actSMSSettings});
    m_Main.mnuMain->addMenu(miSMS)->setVisible(false);

    // The View menu is not offered; its entries do nothing.
    QMenu* miView = menu(m_Main.mnuMain, "miView", QStringLiteral("View"));
    miView->addAction(QStringLiteral("Company Info"));
    QMenu* miToolbars = menu(miView, "miToolbars", QStringLiteral("Toolbars"));
    miToolbars->addAction(QStringLiteral("New Items"));
    miToolbars->addAction(QStringLiteral("Standard"));
    miToolbars->addAction(QStringLiteral("Show All"));
    miToolbars->addAction(QStringLiteral("Hide All"));
    miView->addMenu(miToolbars);
    miView->addAction(QStringLiteral("Settings"));
    m_Main.mnuMain->addMenu(miView)->setVisible(false);

    QMenu* miTools = menu(m_Main.mnuMain, "miTools", QStringLiteral("Tools"));
    QMenu* miDatabase = menu(miTools, "miDatabase", QStringLiteral("Database"));
    miDatabase->addActions({m_Main.actBackup, m_Main.actRestore});
    miDatabase->addSeparator();
    miDatabase->addActions({m_Main.actClearDatabase, m_Main.actRemoveInconsistentData});
    miDatabase->addSeparator();
    QMenu* miImport = menu(miDatabase, "miImport", QStringLiteral("Import"));
    miImport->addAction(m_Main.actImportWAB);
    miDatabase->addMenu(miImport);
    QMenu* miExport = menu(miDatabase, "miExport", QStringLiteral("Export"));
    miExport->addAction(m_Main.actExportToXML);
    miDatabase->addMenu(miExport);
    miTools->addMenu(miDatabase);
    // A list's own menu stands here, after "Edit" and "View", while the
    // list is the current one.
    m_pListMenuPlace = m_Main.mnuMain->addMenu(miTools);

    m_Main.mnuWindow = menu(m_Main.mnuMain, "mnuWindow", QStringLiteral("Window"));
    m_Main.mnuWindow->addActions({m_Main.actWindowTileHorizontal, m_Main.actWindowTileVertical,
                                  m_Main.actWindowCascade, m_Main.actWindowMinimizeAll});
    // The way back to a navigation pane that was closed.
    m_Main.mnuWindow->addSeparator();
    m_Main.mnuWindow->addAction(m_Main.actNavigationPanel);
    connect(m_Main.mnuWindow, &QMenu::aboutToShow, this, &TMainCommands::mnuWindowShow);
    m_Main.mnuMain->addMenu(m_Main.mnuWindow);

    QMenu* miHelp = menu(m_Main.mnuMain, "miHelp", QStringLiteral("Help"));
    miHelp->addActions({m_Main.actHelpContents, m_Main.actHelpIndex, m_Main.actHelpWhatsThis});
    miHelp->addSeparator();
    miHelp->addActions({m_Main.actAbout, m_Main.actAboutLife});
    m_Main.mnuMain->addMenu(miHelp);
}

void TMainCommands::CreateToolBars() {
    m_Main.tlbListFunctions = new QToolBar(QStringLiteral("Standard"), &m_Main);
    m_Main.tlbListFunctions->setObjectName(QStringLiteral("tlbListFunctions"));
    m_Main.tlbListFunctions->addActions({m_Main.actAddNewRec, m_Main.actEditCurrentRec,
                                         m_Main.actDeleteCurrentRec, m_Main.actPrint});
    // The Export button is kept on the toolbar but not shown; the menu offers
    // the export. A button of its own, so that hiding it leaves the menu entry.
    QAction* btnExport =
        m_Main.tlbListFunctions->addAction(m_Main.actExportToXML->icon(), QStringLiteral("Export"));
    btnExport->setObjectName(QStringLiteral("btnExport"));
    btnExport->setVisible(false);
    connect(btnExport, &QAction::triggered, m_Main.actExportToXML, &QAction::trigger);

    m_Main.tlbNew = new QToolBar(QStringLiteral("New Items"), &m_Main);
    m_Main.tlbNew->setObjectName(QStringLiteral("tlbNew"));
    m_Main.tlbNew->addActions({m_Main.actNewCall, m_Main.actNewCustomer, m_Main.actNewItem,
                               m_Main.actNewServiceContract, m_Main.actNewWorker});

    for (QToolBar* toolBar : {m_Main.tlbListFunctions, m_Main.tlbNew}) {
        toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        toolBar->setIconSize(QSize(16, 16));
        m_Main.addToolBar(Qt::TopToolBarArea, toolBar);
    }
}

QMenu* TMainCommands::CreatePopupMenu() {
    auto* popup = new QMenu(&m_Main);
    popup->addAction(m_Main.actNavigationPanel);
    popup->addSeparator();
    popup->addAction(m_Main.tlbListFunctions->toggleViewAction());
    popup->addAction(m_Main.tlbNew->toggleViewAction());
    return popup;
}

void TMainCommands::UpdateStates(IDataListWindow* list) {
    m_Main.actEditCurrentRec->setEnabled(list && list->CanEdit());
    m_Main.actDeleteCurrentRec->setEnabled(list && list->CanDelete());
    m_Main.actAddNewRec->setEnabled(list != nullptr);
    m_Main.actPrint->setEnabled(list && list->CanPrint());

    QObject* target = EditTarget();
    m_Main.actEditCut->setEnabled(target != nullptr);
    m_Main.actEditCopy->setEnabled(target != nullptr);
    m_Main.actEditPaste->setEnabled(target != nullptr);

    m_Main.actNavigationPanel->setChecked(!m_Main.toolpanelNavigation->isHidden());
    ShowListMenu(list ? list->WindowMenu() : nullptr);
}

void TMainCommands::ShowListMenu(QMenu* menu) {
    if (menu == m_pListMenu)
        return;
    if (m_pListMenu)
        m_Main.mnuMain->removeAction(m_pListMenu->menuAction());
    m_pListMenu = menu;
    if (menu)
        m_Main.mnuMain->insertMenu(m_pListMenuPlace, menu);
}

void TMainCommands::TileSubWindows(Qt::Orientation orientation) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : m_Main.mdiMain->subWindowList()) {
        if (window->isVisible() && !window->isMinimized())
            windows << window;
    }
    if (windows.isEmpty())
        return;
    const QRect area = m_Main.mdiMain->viewport()->rect();
    const int count = int(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* window = windows[i];
        window->showNormal();
        if (orientation == Qt::Horizontal) {
            // Bands across the whole width, one below the other.
            const int top = area.height() * i / count;
            const int bottom = area.height() * (i + 1) / count;
            window->setGeometry(0, top, area.width(), bottom - top);
        } else {
            const int left = area.width() * i / count;
            const int right = area.width() * (i + 1) / count;
            window->setGeometry(left, 0, right - left, area.height());
        }
    }
}

void TMainCommands::mnuWindowShow() {
    qDeleteAll(m_WindowListActions);
    m_WindowListActions.clear();
    const QList<QMdiSubWindow*> windows = m_Main.mdiMain->subWindowList();
    if (windows.isEmpty())
        return;
    m_WindowListActions << m_Main.mnuWindow->addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QString title = window->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = m_Main.mnuWindow->addAction(
            i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(title) : title);
        action->setCheckable(true);
        action->setChecked(window == m_Main.mdiMain->currentSubWindow());
        connect(action, &QAction::triggered, this, [this, window = QPointer(window)] {
            if (window) {
                if (window->isMinimized())
                    window->showNormal();
                m_Main.mdiMain->setActiveSubWindow(window);
            }
        });
        m_WindowListActions << action;
    }
}

void TMainCommands::actNavigationPanelExecute() {
    m_Main.toolpanelNavigation->setVisible(m_Main.actNavigationPanel->isChecked());
}

void TMainCommands::actNewCallExecute() {
    m_Main.ExecEditor(m_Main.RecordEditor(TfrmMain::ekCall), true);
    if (QWidget* calls = m_Main.DataListWindow(Interfaces::dvCalls))
        calls->update();
}

void TMainCommands::actNewCustomerExecute() {
    m_Main.ExecEditor(m_Main.RecordEditor(TfrmMain::ekCustomer), true);
}

void TMainCommands::actNewItemExecute() {
    m_Main.ExecEditor(m_Main.RecordEditor(TfrmMain::ekItem), true);
}

void TMainCommands::actNewServiceContractExecute() {
    m_Main.ExecEditor(m_Main.RecordEditor(TfrmMain::ekServiceContract), true);
}

void TMainCommands::actNewWorkerExecute() {
    m_Main.ExecEditor(m_Main.RecordEditor(TfrmMain::ekWorker), true);
}

void TMainCommands::actEditCurrentRecExecute() {
    if (IDataListWindow* list = CurrentListFor("TfrmMain::actEditCurrentRecExecute"))
        list->EditCurrentRecord();
}

void TMainCommands::actDeleteCurrentRecExecute() {
    if (IDataListWindow* list = CurrentListFor("TfrmMain::actDeleteCurrentRecExecute"))
        list->DeleteCurrentRecord();
}

void TMainCommands::actAddNewRecExecute() {
    if (IDataListWindow* list = CurrentListFor("TfrmMain::actAddNewRecExecute"))
        list->AppendRecord();
}

IDataListWindow* TMainCommands::CurrentListFor(const char* function) const {
    IDataListWindow* list = m_Main.CurrentDataList();
    if (!list)
        DebugTrace(QStringLiteral("No Current Data List"), QString::fromLatin1(function),
                   QLatin1String(Unit));
    return list;
}

void TMainCommands::actPrintExecute() {
    if (IDataListWindow* list = m_Main.CurrentDataList())
        list->Print();
}

void TMainCommands::actPrinterSetupExecute() {
    if (!m_pPrinter)
        m_pPrinter = std::make_unique<QPrinter>();
    QPrintDialog dialog(m_pPrinter.get(), &m_Main);
    Dialogs().ExecModal(&dialog, [&dialog] { return dialog.exec(); });
}

void TMainCommands::actRefreshDataExecute() {
    const TfrmMain::TDataHooks& hooks = m_Main.DataHooks();
    if (hooks.RefreshData)
        hooks.RefreshData();
}

void TMainCommands::actBackupExecute() {
    if (const auto& backup = m_Main.DataHooks().Backup)
        backup();
}

void TMainCommands::actRestoreExecute() {
    if (const auto& restore = m_Main.DataHooks().Restore)
        restore();
}

void TMainCommands::actClearDatabaseExecute() {
    if (Dialogs().MessageBox(TMsgKind::Warning, QStringLiteral("Confirm"),
                             QStringLiteral("ALL DATA WILL BE LOST!\n\nAre you sure you want to "
                                            "proceed?"),
                             mbYes | mbNo) != mbYes)
        return;
    if (const auto& clear = m_Main.DataHooks().ClearDatabase)
        clear();
}

void TMainCommands::actRemoveInconsistentDataExecute() {
    if (const auto& remove = m_Main.DataHooks().RemoveInconsistentData)
        remove();
}

void TMainCommands::actImportWABExecute() {
    m_Main.ExecImport();
}

void TMainCommands::actSMSSendExecute() {
    if (const auto& compose = m_Main.DataHooks().ComposeSMS)
        compose();
}

void TMainCommands::actSMSStatusExecute() {
    ShowSMSStatus(&m_Main);
}

void TMainCommands::actSMSSettingsExecute() {
    EditSMSSettings(&m_Main);
}

void TMainCommands::actExportToXMLExecute() {
    TXMLExporter exporter;
    m_Main.ExecExport(&exporter, QStringLiteral("This will export the whole Korvane database to a "
                                                "XML file.\nIt may take a while. \n\nContinue?"));
}

void TMainCommands::actHelpContentsExecute() {
    if (TfrmHelp* help = m_Main.HelpWindow())
        help->ShowContents();
}

void TMainCommands::actHelpIndexExecute() {
    if (TfrmHelp* help = m_Main.HelpWindow())
        help->ShowIndex();
}

void TMainCommands::actAboutLifeExecute() {
    TfrmGospel::Run(&m_Main);
}

void TMainCommands::actAboutExecute() {
    TfrmAbout about(&m_Main);
    Dialogs().ExecModal(&about, [&about] { return about.exec(); });
}

void TMainCommands::actWindowTileHorizontalExecute() {
    TileSubWindows(Qt::Horizontal);
}

void TMainCommands::actWindowTileVerticalExecute() {
    TileSubWindows(Qt::Vertical);
}
