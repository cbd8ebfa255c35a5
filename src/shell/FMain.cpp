#include "shell/FMain.h"

#include "data/DMTables.h"
#include "lists/FMonthPicker.h"
#include "lists/FPriorityPicker.h"
#include "shell/FAbout.h"
#include "shell/UApplication.h"
#include "shell/UBusyCursor.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"
#include "shell/USettings.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QWhatsThis>

TfrmMain* frmMain = nullptr;

namespace {

const char* const Unit = "FMain";

// Row height of the navigation tree.
constexpr int NavigationRowHeight = 16;
constexpr int NavigationWidth = 185;

// Version of the saved window layout; a layout of another version is ignored.
constexpr int LayoutVersion = 1;

// The settings groups of the window layout: the navigation pane with the
// window geometry, and the toolbar dock.
QString PaneGroup() {
    return QString::fromLatin1(SettingsBaseKey).replace(QLatin1Char('\\'), QLatin1Char('/')) +
           QStringLiteral("GUI");
}
const char* const DockGroup = "Software/Merrowdyne/Korvane/GUI/DockTop";

QSettings LayoutSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tarnwick"),
                     QStringLiteral("Korvane"));
}

QIcon Icon(const QString& name) {
    QIcon icon;
    for (int size : {16, 24, 32})
        icon.addFile(QStringLiteral(":/korvane/icons/%1-%2.png").arg(name).arg(size));
    return icon;
}

// Draws item texts as markup ("<b>Calls</b>"), one line, in fixed-height rows.
class TMarkupDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString markup = opt.text;
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        QTextDocument document;
        document.setDocumentMargin(0);
        document.setDefaultFont(opt.font);
        document.setHtml(markup);
        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
        const bool selected = opt.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (opt.state & QStyle::State_Active)
                                               ? QPalette::Active
                                               : QPalette::Inactive;
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(
            QPalette::Text,
            opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->save();
        painter->translate(textRect.left() + 2,
                           textRect.top() + (textRect.height() - document.size().height()) / 2);
        painter->setClipRect(QRectF(0, 0, textRect.width() - 2, textRect.height()));
        document.documentLayout()->draw(painter, context);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        QTextDocument document;
        document.setDocumentMargin(0);
        document.setDefaultFont(opt.font);
        document.setHtml(opt.text);
        const int icon = opt.icon.isNull() ? 0 : opt.decorationSize.width() + 4;
        return {icon + int(document.idealWidth()) + 8, NavigationRowHeight};
    }
};

// A status panel that shortens its text with an ellipsis when it is too long.
class TEllipsisLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        drawFrame(&painter);
        const QRect area = contentsRect().adjusted(3, 0, -3, 0);
        painter.drawText(area, Qt::AlignVCenter | Qt::AlignLeft,
                         fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
    }
};

QLabel* MakePanel(QLabel* panel, int width, Qt::Alignment alignment) {
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(alignment | Qt::AlignVCenter);
    if (width > 0)
        panel->setFixedWidth(width);
    return panel;
}

// Whether any of the LED brightness files says "on".
bool LedOn(const QStringList& files) {
    for (const QString& name : files) {
        QFile file(name);
        if (file.open(QIODevice::ReadOnly) && file.read(8).trimmed() != "0")
            return true;
    }
    return false;
}

// The keyboard lock LEDs of the machine ("input3::capslock", ...).
QStringList LedFiles(const char* suffix) {
    const QDir leds(QStringLiteral("/sys/class/leds"));
    QStringList files;
    for (const QString& name : leds.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        if (name.endsWith(QLatin1String(suffix)))
            files << leds.filePath(name + QStringLiteral("/brightness"));
    }
    return files;
}

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

const QStringList& TfrmMain::NavigationTopTexts() {
    // The first closing tag has always been written this way; it renders bold.
    static const QStringList texts = {
        QStringLiteral("<b>Calls<b>"),
        QStringLiteral("<b>Customers</b>"),
        QStringLiteral("<b>Workers</b>"),
        QStringLiteral("<b>Items</b>"),
        QStringLiteral("<b>Service Contracts</b>"),
    };
    return texts;
}

const QStringList& TfrmMain::NavigationCallTexts() {
    static const QStringList texts = {
        QStringLiteral("New"),
        QStringLiteral("Busy"),
        QStringLiteral("Pending"),
        QStringLiteral("Awaiting parts"),
        QStringLiteral("Complete"),
        QStringLiteral("Not complete"),
        QStringLiteral("Complete but not Billed"),
        QStringLiteral("By Worker"),
        QStringLiteral("By Month"),
        QStringLiteral("Complete by Month"),
        QStringLiteral("By Priority"),
    };
    return texts;
}

QString TfrmMain::DefaultStatusText() {
    return QStringLiteral("xNew\r\nxBusy\r\nxIncomplete\r\nxAwaiting Parts\r\nxComplete\r\n");
}

TfrmMain::TfrmMain(QWidget* parent) : TfrmMain(TLocations(), parent) {}

TfrmMain::TfrmMain(const TLocations& locations, QWidget* parent)
    : QMainWindow(parent), m_Locations(locations) {
    frmMain = this;
    g_pProgramSettings = this;
    g_pDataView = this;
    // The backups go here; a folder that cannot be made is reported when a
    // backup is written.
    QDir().mkpath(m_Locations.BackupDir);

    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    mdiMain = new QMdiArea(this);
    mdiMain->setObjectName(QStringLiteral("mdiMain"));
    mdiMain->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiMain->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The lists are maximised each on its own; a list that the user put
    // aside (minimised) stays so when another one comes to the front.
    mdiMain->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    setCentralWidget(mdiMain);

    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateNavigation();
    CreateStatusBar();
    LoadStatusList();

    resize(1024, 700);
    RestoreLayout();

    m_CapsLockLeds = LedFiles("::capslock");
    m_NumLockLeds = LedFiles("::numlock");
    if (!m_CapsLockLeds.isEmpty() || !m_NumLockLeds.isEmpty()) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &TfrmMain::UpdateLockPanels);
        timer->start(400);
        UpdateLockPanels();
    }
    IdleUpdate();
}

TfrmMain::~TfrmMain() {
    if (frmMain == this)
        frmMain = nullptr;
    if (g_pProgramSettings == static_cast<Interfaces::IProgramSettings*>(this))
        g_pProgramSettings = nullptr;
    if (g_pDataView == static_cast<Interfaces::IDataView*>(this))
        g_pDataView = nullptr;
}

void TfrmMain::CreateActions() {
    auto make = [this](QAction*& action, const char* name, const QString& text,
                       const QString& hint = {}, const QKeySequence& shortcut = {},
                       const QIcon& icon = {}) {
        action = new QAction(icon, text, this);
        action->setObjectName(QLatin1String(name));
        action->setStatusTip(hint);
        action->setShortcut(shortcut);
    };
    make(actNewCall, "actNewCall", QStringLiteral("&Call"), QStringLiteral("Add a new Call"), {},
         Icon(QStringLiteral("new-call")));
    make(actNewCustomer, "actNewCustomer", QStringLiteral("Cus&tomer"),
         QStringLiteral("Add a new Customer"), {}, Icon(QStringLiteral("new-customer")));
    make(actNewItem, "actNewItem", QStringLiteral("Item"), QStringLiteral("Add a new Item"), {},
         Icon(QStringLiteral("new-item")));
    make(actNewServiceContract, "actNewServiceContract", QStringLiteral("&Service Contract"),
         QStringLiteral("Add a new Service Contract"), {}, Icon(QStringLiteral("new-contract")));
    make(actNewWorker, "actNewWorker", QStringLiteral("&Worker"),
         QStringLiteral("Add a new Worker"), {}, Icon(QStringLiteral("new-worker")));
    actNewCall->setIconText(QStringLiteral("New Call"));
    actNewCustomer->setIconText(QStringLiteral("New Customer"));
    actNewItem->setIconText(QStringLiteral("New Item"));
    actNewServiceContract->setIconText(QStringLiteral("New Service Contract"));
    actNewWorker->setIconText(QStringLiteral("New Worker"));

    make(actPrint, "actPrint", QStringLiteral("Print"), QStringLiteral("Print the selection"),
         QKeySequence(Qt::CTRL | Qt::Key_P), Icon(QStringLiteral("print")));
    make(actPrinterSetup, "actPrinterSetup", QStringLiteral("Printer Setup"));
    actPrinterSetup->setVisible(false);
    make(actQuit, "actQuit", QStringLiteral("E&xit"));

    make(actEditCut, "actEditCut", QStringLiteral("Cu&t"), {}, QKeySequence(Qt::CTRL | Qt::Key_X));
    make(actEditCopy, "actEditCopy", QStringLiteral("&Copy"), {},
         QKeySequence(Qt::CTRL | Qt::Key_C));
    make(actEditPaste, "actEditPaste", QStringLiteral("&Paste"), {},
         QKeySequence(Qt::CTRL | Qt::Key_V));
    make(actEditCurrentRec, "actEditCurrentRec", QStringLiteral("Edit Record"),
         QStringLiteral("Edit the selected record"), QKeySequence(Qt::CTRL | Qt::Key_E),
         Icon(QStringLiteral("edit")));
    make(actDeleteCurrentRec, "actDeleteCurrentRec", QStringLiteral("Delete Record"),
         QStringLiteral("Delete the selected record"), QKeySequence(Qt::CTRL | Qt::Key_D),
         Icon(QStringLiteral("delete")));
    make(actAddNewRec, "actAddNewRec", QStringLiteral("Add New Record"),
         QStringLiteral("Add a new record"), QKeySequence(Qt::CTRL | Qt::Key_Insert),
         Icon(QStringLiteral("add")));
    actEditCurrentRec->setIconText(QStringLiteral("Edit"));
    actDeleteCurrentRec->setIconText(QStringLiteral("Delete"));
    actAddNewRec->setIconText(QStringLiteral("Add"));
    make(actRefreshData, "actRefreshData", QStringLiteral("Refresh Data"));

    make(actSMSSend, "actSMSSend", QStringLiteral("Send"));
    make(actSMSStatus, "actSMSStatus", QStringLiteral("Status"));
    make(actSMSSettings, "actSMSSettings", QStringLiteral("Settings"));

    make(actBackup, "actBackup", QStringLiteral("Backup"));
    make(actRestore, "actRestore", QStringLiteral("Restore"));
    make(actClearDatabase, "actClearDatabase", QStringLiteral("Clear all data"));
    make(actRemoveInconsistentData, "actRemoveInconsistentData",
         QStringLiteral("Remove inconsistent data"));
    make(actImportWAB, "actImportWAB", QStringLiteral("Outlook Contacts"));
    make(actExportToXML, "actExportToXML", QStringLiteral("XML"), {}, {},
         Icon(QStringLiteral("export")));
    actExportToXML->setIconText(QStringLiteral("Export"));

    make(actWindowTileHorizontal, "actWindowTileHorizontal", QStringLiteral("Tile &Horizontally"));
    make(actWindowTileVertical, "actWindowTileVertical", QStringLiteral("&Tile Vertically"));
    make(actWindowCascade, "actWindowCascade", QStringLiteral("&Cascade"));
    make(actWindowMinimizeAll, "actWindowMinimizeAll", QStringLiteral("&Minimize All"));

    make(actHelpContents, "actHelpContents", QStringLiteral("Contents"), {},
         QKeySequence(Qt::Key_F1));
    make(actHelpIndex, "actHelpIndex", QStringLiteral("Index"));
    make(actHelpWhatsThis, "actHelpWhatsThis", QStringLiteral("What's This?"), {},
         QKeySequence(Qt::SHIFT | Qt::Key_F1));
    make(actAbout, "actAbout", QStringLiteral("About"));
    make(actAboutLife, "actAboutLife", QStringLiteral("About Life"));

    make(actNavigationPanel, "actNavigationPanel", QStringLiteral("Navigation Panel"),
         QStringLiteral("Show or hide the navigation panel"));
    actNavigationPanel->setCheckable(true);

    // Commands whose windows and work come with the data module, the
    // exchange units and the help viewer; they stay disabled until then.
    actRefreshData->setShortcut(QKeySequence(Qt::Key_F5));
    for (QAction* action : {actSMSSend, actSMSStatus, actSMSSettings, actBackup, actRestore,
                            actClearDatabase, actRemoveInconsistentData, actImportWAB,
                            actExportToXML, actHelpContents, actHelpIndex, actAboutLife})
        action->setEnabled(false);

    connect(actNewCall, &QAction::triggered, this, &TfrmMain::actNewCallExecute);
    connect(actNewCustomer, &QAction::triggered, this, &TfrmMain::actNewCustomerExecute);
    connect(actNewItem, &QAction::triggered, this, &TfrmMain::actNewItemExecute);
    connect(actNewServiceContract, &QAction::triggered, this,
            &TfrmMain::actNewServiceContractExecute);
    connect(actNewWorker, &QAction::triggered, this, &TfrmMain::actNewWorkerExecute);
    connect(actPrint, &QAction::triggered, this, &TfrmMain::actPrintExecute);
    connect(actPrinterSetup, &QAction::triggered, this, &TfrmMain::actPrinterSetupExecute);
    connect(actQuit, &QAction::triggered, this, &TfrmMain::close);
    connect(actEditCut, &QAction::triggered, this, [] {
        if (QObject* target = EditTarget())
            QMetaObject::invokeMethod(target, "cut");
    });
    connect(actEditCopy, &QAction::triggered, this, [] {
        if (QObject* target = EditTarget())
            QMetaObject::invokeMethod(target, "copy");
    });
    connect(actEditPaste, &QAction::triggered, this, [] {
        if (QObject* target = EditTarget())
            QMetaObject::invokeMethod(target, "paste");
    });
    connect(actEditCurrentRec, &QAction::triggered, this, &TfrmMain::actEditCurrentRecExecute);
    connect(actDeleteCurrentRec, &QAction::triggered, this, &TfrmMain::actDeleteCurrentRecExecute);
    connect(actAddNewRec, &QAction::triggered, this, &TfrmMain::actAddNewRecExecute);
    connect(actRefreshData, &QAction::triggered, this, &TfrmMain::actRefreshDataExecute);
    connect(actBackup, &QAction::triggered, this, &TfrmMain::actBackupExecute);
    connect(actRestore, &QAction::triggered, this, &TfrmMain::actRestoreExecute);
    connect(actClearDatabase, &QAction::triggered, this, &TfrmMain::actClearDatabaseExecute);
    connect(actRemoveInconsistentData, &QAction::triggered, this,
            &TfrmMain::actRemoveInconsistentDataExecute);
    connect(actImportWAB, &QAction::triggered, this, &TfrmMain::actImportWABExecute);
    connect(actExportToXML, &QAction::triggered, this, &TfrmMain::actExportToXMLExecute);
    connect(actWindowTileHorizontal, &QAction::triggered, this,
            &TfrmMain::actWindowTileHorizontalExecute);
    connect(actWindowTileVertical, &QAction::triggered, this,
            &TfrmMain::actWindowTileVerticalExecute);
    connect(actWindowCascade, &QAction::triggered, mdiMain, &QMdiArea::cascadeSubWindows);
    connect(actWindowMinimizeAll, &QAction::triggered, this, [this] {
        for (QMdiSubWindow* window : mdiMain->subWindowList())
            window->showMinimized();
    });
    connect(actHelpContents, &QAction::triggered, this, &TfrmMain::actHelpContentsExecute);
    connect(actHelpIndex, &QAction::triggered, this, &TfrmMain::actHelpIndexExecute);
    connect(actHelpWhatsThis, &QAction::triggered, this, [] { QWhatsThis::enterWhatsThisMode(); });
    connect(actAbout, &QAction::triggered, this, &TfrmMain::actAboutExecute);
    connect(actAboutLife, &QAction::triggered, this, &TfrmMain::actAboutLifeExecute);
    connect(actNavigationPanel, &QAction::triggered, this, &TfrmMain::actNavigationPanelExecute);
}

void TfrmMain::CreateMenus() {
    mnuMain = menuBar();
    mnuMain->setObjectName(QStringLiteral("mnuMain"));
    auto menu = [](QWidget* parent, const char* name, const QString& title) {
        auto* result = new QMenu(title, parent);
        result->setObjectName(QLatin1String(name));
        return result;
    };

    QMenu* miFile = menu(mnuMain, "miFile", QStringLiteral("File"));
    QMenu* miNew = menu(miFile, "miNew", QStringLiteral("New"));
    miNew->addActions(
        {actNewCall, actNewCustomer, actNewItem, actNewServiceContract, actNewWorker});
    miFile->addMenu(miNew);
    miFile->addSeparator();
    miFile->addAction(actPrint);
    miFile->addAction(actPrinterSetup);
    miFile->addSeparator();
    miFile->addAction(actQuit);
    mnuMain->addMenu(miFile);

    QMenu* miEdit = menu(mnuMain, "miEdit", QStringLiteral("Edit"));
    miEdit->addActions({actEditCut, actEditCopy, actEditPaste});
    miEdit->addSeparator();
    miEdit->addActions({actEditCurrentRec, actDeleteCurrentRec, actAddNewRec});
    miEdit->addSeparator();
    miEdit->addAction(actRefreshData);
    mnuMain->addMenu(miEdit);

    QMenu* miSMS = menu(mnuMain, "miSMS", QStringLiteral("SMS"));
    miSMS->addActions({actSMSSend, actSMSStatus, actSMSSettings});
    mnuMain->addMenu(miSMS)->setVisible(false);

    // The View menu is not offered; its entries do nothing.
    QMenu* miView = menu(mnuMain, "miView", QStringLiteral("View"));
    miView->addAction(QStringLiteral("Company Info"));
    QMenu* miToolbars = menu(miView, "miToolbars", QStringLiteral("Toolbars"));
    miToolbars->addAction(QStringLiteral("New Items"));
    miToolbars->addAction(QStringLiteral("Standard"));
    miToolbars->addAction(QStringLiteral("Show All"));
    miToolbars->addAction(QStringLiteral("Hide All"));
    miView->addMenu(miToolbars);
    miView->addAction(QStringLiteral("Settings"));
    mnuMain->addMenu(miView)->setVisible(false);

    QMenu* miTools = menu(mnuMain, "miTools", QStringLiteral("Tools"));
    QMenu* miDatabase = menu(miTools, "miDatabase", QStringLiteral("Database"));
    miDatabase->addActions({actBackup, actRestore});
    miDatabase->addSeparator();
    miDatabase->addActions({actClearDatabase, actRemoveInconsistentData});
    miDatabase->addSeparator();
    QMenu* miImport = menu(miDatabase, "miImport", QStringLiteral("Import"));
    miImport->addAction(actImportWAB);
    miDatabase->addMenu(miImport);
    QMenu* miExport = menu(miDatabase, "miExport", QStringLiteral("Export"));
    miExport->addAction(actExportToXML);
    miDatabase->addMenu(miExport);
    miTools->addMenu(miDatabase);
    mnuMain->addMenu(miTools);

    mnuWindow = menu(mnuMain, "mnuWindow", QStringLiteral("Window"));
    mnuWindow->addActions(
        {actWindowTileHorizontal, actWindowTileVertical, actWindowCascade, actWindowMinimizeAll});
    connect(mnuWindow, &QMenu::aboutToShow, this, &TfrmMain::mnuWindowShow);
    mnuMain->addMenu(mnuWindow);

    QMenu* miHelp = menu(mnuMain, "miHelp", QStringLiteral("Help"));
    miHelp->addActions({actHelpContents, actHelpIndex, actHelpWhatsThis});
    miHelp->addSeparator();
    miHelp->addActions({actAbout, actAboutLife});
    mnuMain->addMenu(miHelp);
}

void TfrmMain::CreateToolBars() {
    tlbListFunctions = new QToolBar(QStringLiteral("Standard"), this);
    tlbListFunctions->setObjectName(QStringLiteral("tlbListFunctions"));
    tlbListFunctions->addActions({actAddNewRec, actEditCurrentRec, actDeleteCurrentRec, actPrint});
    // The Export button is kept on the toolbar but not shown; the menu offers
    // the export. A button of its own, so that hiding it leaves the menu entry.
    QAction* btnExport =
        tlbListFunctions->addAction(actExportToXML->icon(), QStringLiteral("Export"));
    btnExport->setObjectName(QStringLiteral("btnExport"));
    btnExport->setVisible(false);
    connect(btnExport, &QAction::triggered, actExportToXML, &QAction::trigger);

    tlbNew = new QToolBar(QStringLiteral("New Items"), this);
    tlbNew->setObjectName(QStringLiteral("tlbNew"));
    tlbNew->addActions(
        {actNewCall, actNewCustomer, actNewItem, actNewServiceContract, actNewWorker});

    for (QToolBar* toolBar : {tlbListFunctions, tlbNew}) {
        toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        toolBar->setIconSize(QSize(16, 16));
        addToolBar(Qt::TopToolBarArea, toolBar);
    }
}

void TfrmMain::CreateNavigation() {
    tvNavigation = new QTreeWidget(this);
    tvNavigation->setObjectName(QStringLiteral("tvNavigation"));
    tvNavigation->setHeaderHidden(true);
    tvNavigation->setColumnCount(1);
    tvNavigation->setRootIsDecorated(false);
    tvNavigation->setItemsExpandable(false);
    tvNavigation->setExpandsOnDoubleClick(false);
    tvNavigation->setSelectionMode(QAbstractItemView::SingleSelection);
    tvNavigation->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvNavigation->setAllColumnsShowFocus(true);
    tvNavigation->setUniformRowHeights(true);
    tvNavigation->setIconSize(QSize(16, 16));
    tvNavigation->setIndentation(22);
    tvNavigation->setItemDelegate(new TMarkupDelegate(tvNavigation));

    const QStringList icons = {QStringLiteral("call"), QStringLiteral("customer"),
                               QStringLiteral("worker"), QStringLiteral("item"),
                               QStringLiteral("contract")};
    const QStringList& topTexts = NavigationTopTexts();
    for (int i = 0; i < topTexts.size(); ++i) {
        auto* node = new QTreeWidgetItem(tvNavigation, {topTexts[i]});
        node->setIcon(0, Icon(icons[i]));
    }
    for (const QString& text : NavigationCallTexts())
        new QTreeWidgetItem(tvNavigation->topLevelItem(0), {text});
    connect(tvNavigation, &QTreeWidget::clicked, this, &TfrmMain::tvNavigationClick);

    toolpanelNavigation = new QDockWidget(QStringLiteral("Navigation"), this);
    toolpanelNavigation->setObjectName(QStringLiteral("toolpanelNavigation"));
    toolpanelNavigation->setFeatures(QDockWidget::DockWidgetClosable |
                                     QDockWidget::DockWidgetMovable);
    toolpanelNavigation->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    toolpanelNavigation->setWidget(tvNavigation);
    addDockWidget(Qt::LeftDockWidgetArea, toolpanelNavigation);
    resizeDocks({toolpanelNavigation}, {NavigationWidth}, Qt::Horizontal);
}

void TfrmMain::CreateStatusBar() {
    sbMain = new QStatusBar(this);
    sbMain->setObjectName(QStringLiteral("sbMain"));
    setStatusBar(sbMain);

    m_pCapsPanel = MakePanel(new QLabel(sbMain), 28, Qt::AlignHCenter);
    m_pCapsPanel->setObjectName(QStringLiteral("pnlCapsLock"));
    m_pNumPanel = MakePanel(new QLabel(sbMain), 34, Qt::AlignHCenter);
    m_pNumPanel->setObjectName(QStringLiteral("pnlNumLock"));
    m_pProgressPanel = new QProgressBar(sbMain);
    m_pProgressPanel->setObjectName(QStringLiteral("pnlProgress"));
    m_pProgressPanel->setFixedWidth(120);
    m_pProgressPanel->setMaximumHeight(fontMetrics().height() + 2);
    m_pProgressPanel->setRange(0, 100);
    m_pProgressPanel->setValue(0);
    m_pProgressPanel->setTextVisible(false);
    // A flat sunken panel like its neighbours rather than an input box; the
    // bar fills it smoothly while an export or import runs.
    m_pProgressPanel->setStyleSheet(
        QStringLiteral("QProgressBar { border: 1px solid palette(mid); border-radius: 0px;"
                       " background: transparent; text-align: center; }"
                       "QProgressBar::chunk { background: palette(highlight); }"));
    btnSBCancel = new QPushButton(QStringLiteral("Cancel"), sbMain);
    btnSBCancel->setObjectName(QStringLiteral("btnSBCancel"));
    btnSBCancel->setMaximumHeight(fontMetrics().height() + 4);
    btnSBCancel->hide();
    m_pEllipsisPanel = MakePanel(new TEllipsisLabel(sbMain), 50, Qt::AlignLeft);
    m_pEllipsisPanel->setObjectName(QStringLiteral("pnlEllipsis"));
    m_pTextPanel = MakePanel(new QLabel(sbMain), 0, Qt::AlignLeft);
    m_pTextPanel->setObjectName(QStringLiteral("pnlText"));
    m_pTextPanel->setIndent(3);
    m_pTextPanel->setMinimumWidth(50);

    sbMain->addWidget(m_pCapsPanel);
    sbMain->addWidget(m_pNumPanel);
    sbMain->addWidget(m_pProgressPanel);
    sbMain->addWidget(btnSBCancel);
    sbMain->addWidget(m_pEllipsisPanel);
    sbMain->addWidget(m_pTextPanel, 1);
}

QMenu* TfrmMain::createPopupMenu() {
    auto* popup = new QMenu(this);
    popup->addAction(actNavigationPanel);
    popup->addSeparator();
    popup->addAction(tlbListFunctions->toggleViewAction());
    popup->addAction(tlbNew->toggleViewAction());
    return popup;
}

UStrings::ListStr TfrmMain::GetStatusList() {
    return m_StatusList;
}

UStrings::ListStr TfrmMain::GetCountryList() {
    if (!m_pCountryList)
        m_pCountryList = std::make_unique<UStrings::ListStr>();
    QFile file(m_Locations.CountryFile);
    if (!file.open(QIODevice::ReadOnly))
        ThrowError("Cannot open file \"%s\". %s", QDir::toNativeSeparators(file.fileName()),
                   file.errorString());
    m_pCountryList->SetText(QString::fromUtf8(file.readAll()));
    return *m_pCountryList;
}

void TfrmMain::LoadStatusList() {
    m_StatusList.SetText(DefaultStatusText());
    QString text;
    int errorCode = 0;
    if (!UVidaz::LoadStringResource(1000, 255, text, errorCode, m_Locations.VidazLibrary)) {
        ShowError("Error Loading Vidaz.dll: Code = %d", errorCode);
        return;
    }
    if (text.length() > 0)
        m_StatusList.SetText(text);
}

void TfrmMain::SetDataHooks(TDataHooks hooks) {
    m_Hooks = std::move(hooks);
}

void TfrmMain::SetDataListWindow(int view, QWidget* window) {
    if (view < 0 || view >= int(m_DataLists.size()) || !window)
        return;
    m_DataLists[size_t(view)] = window;
    QMdiSubWindow* child = mdiMain->addSubWindow(window);
    // The lists live as long as the main window: closing one only puts it aside.
    child->setAttribute(Qt::WA_DeleteOnClose, false);
    child->installEventFilter(this);
    child->showNormal();
    child->showMaximized();
}

QWidget* TfrmMain::DataListWindow(int view) const {
    if (view < 0 || view >= int(m_DataLists.size()))
        return nullptr;
    return m_DataLists[size_t(view)];
}

QMdiSubWindow* TfrmMain::SubWindowOf(int view) const {
    QWidget* window = DataListWindow(view);
    return window ? qobject_cast<QMdiSubWindow*>(window->parentWidget()) : nullptr;
}

void TfrmMain::ShowDataList(int view) {
    QMdiSubWindow* child = SubWindowOf(view);
    if (!child)
        return;
    if (child->isMinimized() || child->isHidden())
        child->showMaximized();
    mdiMain->setActiveSubWindow(child);
    child->raise();
}

void TfrmMain::SetRecordEditor(TEditorKind kind, IRecordEditor* editor) {
    if (kind >= 0 && kind < int(m_Editors.size()))
        m_Editors[size_t(kind)] = editor;
}

void TfrmMain::ExecEditor(IRecordEditor* editor, bool newRecord) {
    if (!editor) {
        DebugTrace(QStringLiteral("Null Editor Specified"), QStringLiteral("TfrmMain::ExecEditor"),
                   QLatin1String(Unit));
        return;
    }
    editor->SetEditMode(!newRecord);
    editor->Execute();
}

IDataListWindow* TfrmMain::CurrentDataList() const {
    return m_Hooks.CurrentDataList ? m_Hooks.CurrentDataList() : nullptr;
}

void TfrmMain::SetListTitle(int view, const QString& title) {
    if (auto* list = dynamic_cast<IDataListWindow*>(DataListWindow(view)))
        list->SetTitle(title);
}

void TfrmMain::SelectView(QTreeWidgetItem* node) {
    using namespace UCallViews;
    if (!node || !m_Hooks.IsDatabaseActive || !m_Hooks.IsDatabaseActive())
        return;
    int top = tvNavigation->indexOfTopLevelItem(node);
    int sub = cvAllCalls;
    if (QTreeWidgetItem* parent = node->parent()) {
        sub = parent->indexOfChild(node);
        top = tvNavigation->indexOfTopLevelItem(parent);
    }

    int view = 0;
    QString title;
    switch (top) {
    case 0: {
        TCallViewParameters parameters;
        bool chosen = true;
        if (NeedsWorker(sub)) {
            parameters.WorkerNr = m_Hooks.PickWorker ? m_Hooks.PickWorker() : QString();
            chosen = !parameters.WorkerNr.isEmpty();
        } else if (NeedsMonth(sub)) {
            chosen = frmMonthPicker != nullptr;
            if (chosen) {
                frmMonthPicker->m_dtMonth = QDateTime::currentDateTime();
                chosen = frmMonthPicker->Execute();
                parameters.Month = frmMonthPicker->m_dtMonth.date();
            }
        } else if (NeedsPriority(sub)) {
            chosen = frmPriorityPicker != nullptr && frmPriorityPicker->Execute();
            if (chosen) {
                parameters.Priority = frmPriorityPicker->m_nPriority;
                parameters.HasPriority = true;
            }
        }
        if (!chosen) {
            tvNavigation->setCurrentItem(tvNavigation->topLevelItem(0));
            sub = cvAllCalls;
        }
        const TCallView callView = CallView(sub, DMTables::SqlCallsListText(), parameters);
        if (m_Hooks.ApplyCallView)
            m_Hooks.ApplyCallView(callView);
        view = Interfaces::dvCalls;
        title = callView.Title;
        break;
    }
    case 1:
        view = Interfaces::dvCustomers;
        title = QStringLiteral("All Customers");
        break;
    case 2:
        view = Interfaces::dvWorkers;
        title = QStringLiteral("All Workers");
        break;
    case 3:
        view = Interfaces::dvItems;
        title = QStringLiteral("All Items");
        break;
    case 4:
        view = Interfaces::dvServiceContracts;
        title = QStringLiteral("All Service Contracts");
        break;
    default:
        return;
    }

    ShowDataList(view);
    if (auto* list = dynamic_cast<IDataListWindow*>(DataListWindow(view))) {
        list->MakeCurrent();
        list->SetTitle(title);
    }
}

void TfrmMain::tvNavigationClick() {
    QTreeWidgetItem* node = tvNavigation->currentItem();
    if (!node)
        return;
    TBusyCursor busy;
    SelectView(node);
}

void TfrmMain::SetStatusText(const QString& text) {
    m_sStatusText = text;
    m_pTextPanel->setText(text);
}

QString TfrmMain::StatusText() const {
    return m_sStatusText;
}

void TfrmMain::ShowStatusTip(const QString& tip) {
    // A command's hint takes the text panel while the pointer rests on it.
    m_pTextPanel->setText(tip.isEmpty() ? m_sStatusText : tip);
}

void TfrmMain::UpdateLockPanels() {
    m_pCapsPanel->setText(LedOn(m_CapsLockLeds) ? QStringLiteral("CAP") : QString());
    m_pNumPanel->setText(LedOn(m_NumLockLeds) ? QStringLiteral("NUM") : QString());
}

void TfrmMain::IdleUpdate() {
    IDataListWindow* list = CurrentDataList();
    actEditCurrentRec->setEnabled(list && list->CanEdit());
    actDeleteCurrentRec->setEnabled(list && list->CanDelete());
    actAddNewRec->setEnabled(list != nullptr);
    actPrint->setEnabled(list && list->CanPrint());

    QObject* target = EditTarget();
    actEditCut->setEnabled(target != nullptr);
    actEditCopy->setEnabled(target != nullptr);
    actEditPaste->setEnabled(target != nullptr);

    actNavigationPanel->setChecked(!toolpanelNavigation->isHidden());
    if (list)
        list->IdleUpdate();
}

bool TfrmMain::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        ShowStatusTip(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        if (auto* child = qobject_cast<QMdiSubWindow*>(watched)) {
            event->ignore();
            child->showMinimized();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_bShown && !event->spontaneous()) {
        m_bShown = true;
        FormShow();
    }
}

void TfrmMain::FormShow() {
    setUpdatesEnabled(false);
    try {
        if (m_Hooks.CreateListWindows)
            m_Hooks.CreateListWindows();
        // Every list window is first made normal, then maximised, each pass
        // in this order, so that they all come up maximised whatever state
        // SetDataListWindow left them in.
        const int order[] = {Interfaces::dvCalls, Interfaces::dvServiceContracts,
                             Interfaces::dvItems, Interfaces::dvWorkers, Interfaces::dvCustomers};
        for (int view : order) {
            if (QMdiSubWindow* child = SubWindowOf(view))
                child->showNormal();
        }
        for (int view : order) {
            if (QMdiSubWindow* child = SubWindowOf(view))
                child->showMaximized();
        }
    } catch (...) {
        setUpdatesEnabled(true);
        throw;
    }
    setUpdatesEnabled(true);
    update();

    if (m_Hooks.OpenDatabase)
        m_Hooks.OpenDatabase();

    ShowDataList(Interfaces::dvCalls);
    SetListTitle(Interfaces::dvCalls, QStringLiteral("All Calls"));
    // Selected by program: the calls list already shows all calls.
    tvNavigation->expandAll();
    tvNavigation->setCurrentItem(tvNavigation->topLevelItem(0));

    if (frmSplash) {
        frmSplash->hide();
        frmSplash->deleteLater();
        frmSplash = nullptr;
    }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    SaveLayout();
    QMainWindow::closeEvent(event);
}

void TfrmMain::RestoreLayout() {
    QSettings settings = LayoutSettings();
    settings.beginGroup(PaneGroup());
    const QByteArray geometry = settings.value(QStringLiteral("Geometry")).toByteArray();
    const bool paneVisible = settings.value(QStringLiteral("NavigationVisible"), true).toBool();
    const int paneWidth =
        settings.value(QStringLiteral("NavigationWidth"), NavigationWidth).toInt();
    settings.endGroup();
    const QByteArray state =
        settings.value(QLatin1String(DockGroup) + QStringLiteral("/State")).toByteArray();

    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    if (!state.isEmpty())
        restoreState(state, LayoutVersion);
    toolpanelNavigation->setVisible(paneVisible);
    resizeDocks({toolpanelNavigation}, {paneWidth > 0 ? paneWidth : NavigationWidth},
                Qt::Horizontal);
}

void TfrmMain::SaveLayout() const {
    QSettings settings = LayoutSettings();
    settings.beginGroup(PaneGroup());
    settings.setValue(QStringLiteral("Geometry"), saveGeometry());
    settings.setValue(QStringLiteral("NavigationVisible"), !toolpanelNavigation->isHidden());
    settings.setValue(QStringLiteral("NavigationWidth"), toolpanelNavigation->width());
    settings.endGroup();
    settings.setValue(QLatin1String(DockGroup) + QStringLiteral("/State"),
                      saveState(LayoutVersion));
}

void TfrmMain::TileSubWindows(Qt::Orientation orientation) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : mdiMain->subWindowList()) {
        if (window->isVisible() && !window->isMinimized())
            windows << window;
    }
    if (windows.isEmpty())
        return;
    const QRect area = mdiMain->viewport()->rect();
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

void TfrmMain::mnuWindowShow() {
    qDeleteAll(m_WindowListActions);
    m_WindowListActions.clear();
    const QList<QMdiSubWindow*> windows = mdiMain->subWindowList();
    if (windows.isEmpty())
        return;
    m_WindowListActions << mnuWindow->addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QString title = window->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action =
            mnuWindow->addAction(i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(title) : title);
        action->setCheckable(true);
        action->setChecked(window == mdiMain->currentSubWindow());
        connect(action, &QAction::triggered, this, [this, window = QPointer(window)] {
            if (window) {
                if (window->isMinimized())
                    window->showNormal();
                mdiMain->setActiveSubWindow(window);
            }
        });
        m_WindowListActions << action;
    }
}

void TfrmMain::actNavigationPanelExecute() {
    toolpanelNavigation->setVisible(actNavigationPanel->isChecked());
}

void TfrmMain::actNewCallExecute() {
    ExecEditor(m_Editors[ekCall], true);
    if (QWidget* calls = DataListWindow(Interfaces::dvCalls))
        calls->update();
}

void TfrmMain::actNewCustomerExecute() {
    ExecEditor(m_Editors[ekCustomer], true);
}

void TfrmMain::actNewItemExecute() {
    ExecEditor(m_Editors[ekItem], true);
}

void TfrmMain::actNewServiceContractExecute() {
    ExecEditor(m_Editors[ekServiceContract], true);
}

void TfrmMain::actNewWorkerExecute() {
    ExecEditor(m_Editors[ekWorker], true);
}

void TfrmMain::actEditCurrentRecExecute() {
    IDataListWindow* list = CurrentDataList();
    if (!list) {
        DebugTrace(QStringLiteral("No Current Data List"),
                   QStringLiteral("TfrmMain::actEditCurrentRecExecute"), QLatin1String(Unit));
        return;
    }
    list->EditCurrentRecord();
}

void TfrmMain::actDeleteCurrentRecExecute() {
    IDataListWindow* list = CurrentDataList();
    if (!list) {
        DebugTrace(QStringLiteral("No Current Data List"),
                   QStringLiteral("TfrmMain::actDeleteCurrentRecExecute"), QLatin1String(Unit));
        return;
    }
    list->DeleteCurrentRecord();
}

void TfrmMain::actAddNewRecExecute() {
    IDataListWindow* list = CurrentDataList();
    if (!list) {
        DebugTrace(QStringLiteral("No Current Data List"),
                   QStringLiteral("TfrmMain::actAddNewRecExecute"), QLatin1String(Unit));
        return;
    }
    list->AppendRecord();
}

void TfrmMain::actPrintExecute() {
    if (IDataListWindow* list = CurrentDataList())
        list->Print();
}

void TfrmMain::actPrinterSetupExecute() {
    if (!m_pPrinter)
        m_pPrinter = std::make_unique<QPrinter>();
    QPrintDialog dialog(m_pPrinter.get(), this);
    Dialogs().ExecModal(&dialog, [&dialog] { return dialog.exec(); });
}

void TfrmMain::actRefreshDataExecute() {
    if (m_Hooks.RefreshData)
        m_Hooks.RefreshData();
}

// The commands below are disabled until their work exists: the data
// module's maintenance, the backup and restore dialogs, the address-book
// import, the XML export, the help viewer and the About Life window.

void TfrmMain::actBackupExecute() {}

void TfrmMain::actRestoreExecute() {}

void TfrmMain::actClearDatabaseExecute() {}

void TfrmMain::actRemoveInconsistentDataExecute() {}

void TfrmMain::actImportWABExecute() {}

void TfrmMain::actExportToXMLExecute() {}

void TfrmMain::actHelpContentsExecute() {}

void TfrmMain::actHelpIndexExecute() {}

void TfrmMain::actAboutLifeExecute() {}

void TfrmMain::actAboutExecute() {
    TfrmAbout about(this);
    Dialogs().ExecModal(&about, [&about] { return about.exec(); });
}

void TfrmMain::actWindowTileHorizontalExecute() {
    TileSubWindows(Qt::Horizontal);
}

void TfrmMain::actWindowTileVerticalExecute() {
    TileSubWindows(Qt::Vertical);
}
