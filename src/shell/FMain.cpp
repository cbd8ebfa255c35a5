#include "shell/FMain.h"

#include "data/DMTables.h"
#include "exchange/UWABIterator.h"
#include "lists/FMonthPicker.h"
#include "lists/FPriorityPicker.h"
#include "shell/FAbout.h"
#include "shell/FHelp.h"
#include "shell/UApplication.h"
#include "shell/UBusyCursor.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"
#include "shell/UMSProgress.h"
#include "shell/UMainCommands.h"
#include "shell/USettings.h"

#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QStatusTipEvent>
#include <optional>

TfrmMain* frmMain = nullptr;

namespace {

const char* const Unit = "FMain";

// Width of the navigation pane.
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

} // namespace

QString TfrmMain::DefaultStatusText() {
    return QStringLiteral("xNew\r\nxBusy\r\nxIncomplete\r\nxAwaiting Parts\r\nxComplete\r\n");
}

TfrmMain::TfrmMain(QWidget* parent) : TfrmMain(TLocations(), parent) {}

TfrmMain::TfrmMain(const TLocations& locations, QWidget* parent)
    : QMainWindow(parent), m_Locations(locations) {
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
    connect(mdiMain, &QMdiArea::subWindowActivated, this, &TfrmMain::FollowActiveList);

    m_pCommands = new TMainCommands(*this);
    CreateNavigation();
    sbMain = new TMainStatusBar(this);
    sbMain->setObjectName(QStringLiteral("sbMain"));
    btnSBCancel = sbMain->CancelButton();
    setStatusBar(sbMain);
    LoadStatusList();

    resize(1024, 700);
    RestoreLayout();
    IdleUpdate();
}

TfrmMain::~TfrmMain() {
    // The list windows go with the MDI area after this object is no longer a
    // main window; their going must not reach FollowActiveList.
    disconnect(mdiMain, nullptr, this, nullptr);
}

void TfrmMain::CreateNavigation() {
    tvNavigation = new TNavigationTree(this);
    tvNavigation->setObjectName(QStringLiteral("tvNavigation"));
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

QMenu* TfrmMain::createPopupMenu() {
    return m_pCommands->CreatePopupMenu();
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

void TfrmMain::FollowActiveList(QMdiSubWindow* child) {
    if (!child || !tvNavigation)
        return;
    // The pane's top-level rows by list.
    constexpr std::array<int, 5> TopOf{0, 3, 1, 4, 2};
    for (int view = 0; view < int(TopOf.size()); ++view) {
        if (SubWindowOf(view) != child)
            continue;
        QTreeWidgetItem* node = tvNavigation->topLevelItem(TopOf[size_t(view)]);
        if (node && view == Interfaces::dvCalls && m_nCallsNodeSub >= 0 &&
            m_nCallsNodeSub < node->childCount())
            node = node->child(m_nCallsNodeSub);
        if (node)
            tvNavigation->setCurrentItem(node);
        return;
    }
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

IRecordEditor* TfrmMain::RecordEditor(TEditorKind kind) const {
    return kind >= 0 && kind < int(m_Editors.size()) ? m_Editors[size_t(kind)] : nullptr;
}

TDataSet* TfrmMain::GetExportTable(int index) {
    return index >= 0 && index <= 5 && m_Hooks.ExportTable ? m_Hooks.ExportTable(index) : nullptr;
}

QString TfrmMain::ChooseTargetFile(const QString& filter, const QString& defaultExtension) {
    // "Description|*.ext|..." becomes "Description (*.ext);;...".
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << (parts[i].contains(QLatin1Char('('))
                        ? parts[i]
                        : parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')'));
    QString file =
        Dialogs().SaveFileName(QStringLiteral("Choose target file"),
                               QStringLiteral("Exported data"), filters.join(QStringLiteral(";;")));
    if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty() && !defaultExtension.isEmpty())
        file += defaultExtension.startsWith(QLatin1Char('.')) ? defaultExtension
                                                              : QLatin1Char('.') + defaultExtension;
    return file;
}

void TfrmMain::ExecExport(IExporter* exporter, const QString& question) {
    if (Dialogs().MessageBox(TMsgKind::Confirmation, QStringLiteral("Confirm"), question,
                             mbYes | mbNo) != mbYes)
        return;
    if (!exporter)
        UErrors::RaiseError(QStringLiteral("Unable to export data: No export object."));
    TExportSBProgress progress(sbMain->ProgressPanel());
    const QMetaObject::Connection cancel =
        connect(btnSBCancel, &QPushButton::clicked, this, [&progress] { progress.Cancel(); });
    std::optional<TBusyCursor> busy;
    // Put back however the export ends.
    const auto restore = qScopeGuard([this, &progress, &busy, cancel] {
        busy.reset();
        btnSBCancel->hide();
        SetStatusText(QString());
        progress.SetPosition(0);
        sbMain->ProgressPanel()->setTextVisible(false);
        disconnect(cancel);
    });
    btnSBCancel->show();
    busy.emplace();
    sbMain->ProgressPanel()->setTextVisible(true);
    SetStatusText(QStringLiteral("Exporting..."));
    exporter->Export(this, &progress);
    ShowInfo("Export complete.\r\n%d records exported", progress.GetPosition());
}

void TfrmMain::ExecImport() {
    if (Dialogs().MessageBox(TMsgKind::Confirmation, QStringLiteral("Confirm"),
                             QStringLiteral("This will add all contacts in your Windows Address "
                                            "Book (Outlook)\r\nto your customer table.\r\n\r\n"
                                            "Continue?"),
                             mbYes | mbNo) != mbYes)
        return;
    if (!m_Hooks.ImportContacts || !m_Hooks.SetDatabaseActive)
        UErrors::RaiseError(QStringLiteral("Unable to import contacts: No import object."));
    if (!m_pAddressBook)
        m_pAddressBook = std::make_unique<CWABIterator>();
    if (!m_pAddressBook->ChooseAddressBookFile())
        return;
    TMSStatusBarProgress progress(sbMain->ProgressPanel());
    const QMetaObject::Connection cancel =
        connect(btnSBCancel, &QPushButton::clicked, this, [&progress] { progress.Cancel(); });
    std::optional<TBusyCursor> busy;
    // However the import ends; the database is opened again last.
    const auto restore = [this, &progress, &busy, cancel] {
        busy.reset();
        btnSBCancel->hide();
        SetStatusText(QString());
        progress.SetPosition(0);
        sbMain->ProgressPanel()->setTextVisible(false);
        disconnect(cancel);
        m_Hooks.SetDatabaseActive(true);
    };
    try {
        m_Hooks.SetDatabaseActive(false);
        busy.emplace();
        btnSBCancel->show();
        sbMain->ProgressPanel()->setTextVisible(true);
        SetStatusText(QStringLiteral("Importing..."));
        const int added = m_Hooks.ImportContacts(*m_pAddressBook, progress);
        SetStatusText(QStringLiteral("Finished with Import!"));
        ShowInfo("Import complete.\r\n%d contacts imported.", added);
    } catch (...) {
        restore();
        throw;
    }
    restore();
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
    const TNavigationTree::TPlace place = tvNavigation->PlaceOf(node);
    int sub = place.Sub;

    int view = 0;
    QString title;
    switch (place.Top) {
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
            tvNavigation->SelectAllCalls();
            sub = cvAllCalls;
        }
        m_nCallsNodeSub = sub;
        const TCallView callView = CallView(sub, DMTables::SqlCallsListText(), parameters);
        if (m_Hooks.ApplyCallView)
            m_Hooks.ApplyCallView(callView);
        view = Interfaces::dvCalls;
        // The worker or month picked is part of the view's title.
        title = callView.Title;
        if (NeedsWorker(sub))
            title += QStringLiteral(": ") + parameters.WorkerNr;
        else if (NeedsMonth(sub))
            title += QStringLiteral(": ") +
                     QLocale().toString(parameters.Month, QStringLiteral("MMMM yyyy"));
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
    sbMain->SetStatusText(text);
}

QString TfrmMain::StatusText() const {
    return sbMain->StatusText();
}

TfrmHelp* TfrmMain::HelpWindow() {
    if (!m_pHelpWindow) {
        const QString dir = m_Locations.HelpDir;
        if (!THelpIndex::FolderPresent(dir)) {
            ShowError(TfrmHelp::MissingFolderMessage(), QDir::toNativeSeparators(dir));
            return nullptr;
        }
        m_pHelpWindow = new TfrmHelp(dir, this);
    }
    return m_pHelpWindow;
}

void TfrmMain::IdleUpdate() {
    IDataListWindow* list = CurrentDataList();
    m_pCommands->UpdateStates(list);
    sbMain->ShowListState(list ? list->CountText() : QString(),
                          list ? list->StatusNote() : QString());
    if (list)
        list->IdleUpdate();
}

bool TfrmMain::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        sbMain->ShowTip(static_cast<QStatusTipEvent*>(event)->tip());
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
    tvNavigation->SelectAllCalls();

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
