#include "shell/FAbout.h"
#include "shell/FMain.h"
#include "shell/UBusyCursor.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

using TestWindows::Front;
using TestWindows::Node;
using TestWindows::ShowExposed;

namespace {

IDataListWindow* g_pCurrent = nullptr;

// A list window that records what the main window asks of it.
class TFakeList : public QWidget, public IDataListWindow {
public:
    QString Title;
    int Idles = 0;

    bool CanEdit() override { return false; }
    bool CanDelete() override { return false; }
    bool CanPrint() override { return false; }
    bool EditCurrentRecord() override { return false; }
    bool DeleteCurrentRecord() override { return false; }
    bool AppendRecord() override { return false; }
    void Print() override {}
    void IdleUpdate() override { ++Idles; }
    void SetTitle(const QString& title) override { Title = title; }
    void MakeCurrent() override { g_pCurrent = this; }
};

} // namespace

class TestFMain : public QObject {
    Q_OBJECT
private:
    TestSupport::TTempDir m_Dir;
    std::unique_ptr<TestWindows::TInstalledDialogs> m_pDialogs;
    std::array<TFakeList*, 5> m_Lists{};

    TfrmMain::TLocations Locations() const { return TestWindows::Locations(m_Dir.Path()); }

    void AddLists(TfrmMain& frm) {
        for (int view = 0; view < 5; ++view) {
            m_Lists[size_t(view)] = new TFakeList;
            frm.SetDataListWindow(view, m_Lists[size_t(view)]);
        }
    }

private Q_SLOTS:
    void initTestCase() { TestWindows::UseTestSettings(m_Dir); }

    void init() {
        m_pDialogs = std::make_unique<TestWindows::TInstalledDialogs>();
        g_pCurrent = nullptr;
    }

    void cleanup() { m_pDialogs.reset(); }

    void ConstructionSetsUpTheWindowAndAboutShowsTheBox() {
        QDir(m_Dir.Path() + "backups").removeRecursively();
        TfrmMain frm(Locations());
        QVERIFY(QFileInfo(m_Dir.Path() + "backups").isDir());

        QVERIFY(ShowExposed(frm));
        // The bold markup is drawn as bold text, not as tags.
        const QModelIndex contracts = frm.tvNavigation->model()->index(4, 0);
        QVERIFY(
            frm.tvNavigation->itemDelegate()->sizeHint(QStyleOptionViewItem(), contracts).width() <
            frm.tvNavigation->fontMetrics().horizontalAdvance(Node(frm, 4)->text(0)));

        // About shows the about box, not the splash, and destroys it again.
        bool splash = true;
        m_pDialogs->AnswerModal([&splash](QObject* window) {
            splash = qobject_cast<TfrmAbout*>(window)->IsSplash();
            return int(QDialog::Accepted);
        });
        frm.actAbout->trigger();
        QCOMPARE(m_pDialogs->Requests().size(), 1);
        QCOMPARE(m_pDialogs->Requests()[0].WindowClass, QString("TfrmAbout"));
        QVERIFY(!splash);
        QVERIFY(!m_pDialogs->Requests()[0].Window); // destroyed again
    }

    // The commands' enabled states and the call views on real lists: tst_FLists.
    void CommandsMenusListsAndPaneWorkTogether() {
        // Five fake lists and a database that is open.
        std::optional<UCallViews::TCallView> applied;
        bool databaseOpen = true;
        TfrmMain frm(Locations());
        AddLists(frm);
        TfrmMain::TDataHooks hooks;
        hooks.IsDatabaseActive = [&] { return databaseOpen; };
        hooks.ApplyCallView = [&](const UCallViews::TCallView& view) { applied = view; };
        hooks.CurrentDataList = [] { return g_pCurrent; };
        frm.SetDataHooks(hooks);
        TFakeList* calls = m_Lists[0];
        calls->MakeCurrent();
        frm.IdleUpdate();
        frm.IdleUpdate();
        QVERIFY(frm.actAddNewRec->isEnabled());
        QCOMPARE(calls->Idles, 2);

        TestWindows::TFakeEditor editor;
        frm.SetRecordEditor(TfrmMain::ekCustomer, &editor);
        frm.actNewCustomer->trigger();
        frm.actNewCall->trigger(); // no call editor yet: nothing happens
        QCOMPARE(editor.Modes, QList<bool>({false}));

        QVERIFY(ShowExposed(frm));
        QStringList shown, hidden;
        for (QAction* menu : frm.mnuMain->actions())
            (menu->isVisible() ? shown : hidden) << menu->text();
        QCOMPARE(shown, QStringList({"File", "Edit", "Tools", "Window", "Help"}));
        QCOMPARE(hidden, QStringList({"SMS", "View"}));

        // The Window menu lists the list windows, the front one ticked, and
        // brings the one chosen to the front; opened again it lists them anew.
        m_Lists[2]->setWindowTitle("Customer List");
        frm.ShowDataList(Interfaces::dvCalls);
        for (int round = 0; round < 2; ++round) {
            Q_EMIT frm.mnuWindow->aboutToShow();
            QList<QAction*> entries = frm.mnuWindow->actions().mid(7);
            QCOMPARE(entries.size(), 5);
            QVERIFY(entries[0]->isChecked());
            QCOMPARE(entries[2]->text(), QString("&3 Customer List"));
        }
        frm.mnuWindow->actions()[9]->trigger();
        QCOMPARE(Front(frm), m_Lists[2]);

        // A command's hint shows in the text panel and gives way to the status text.
        auto* panel = frm.sbMain->findChild<QLabel*>("pnlText");
        frm.SetStatusText("Exporting...");
        QStatusTipEvent tip(frm.actNewCall->statusTip());
        QCoreApplication::sendEvent(&frm, &tip);
        QCOMPARE(panel->text(), QString("Add a new Call"));
        QStatusTipEvent none("");
        QCoreApplication::sendEvent(&frm, &none);
        QCOMPARE(panel->text(), QString("Exporting..."));
        QVERIFY(frm.sbMain->currentMessage().isEmpty());

        // Each view brings its list to the front, maximised.
        const std::pair<int, int> views[] = {{Interfaces::dvCustomers, 2},
                                             {Interfaces::dvItems, 1},
                                             {Interfaces::dvWorkers, 4},
                                             {Interfaces::dvCalls, 0},
                                             {Interfaces::dvServiceContracts, 3}};
        for (auto [view, list] : views) {
            frm.ShowDataList(view);
            QCOMPARE(Front(frm), m_Lists[size_t(list)]);
            QVERIFY(frm.mdiMain->currentSubWindow()->isMaximized());
        }
        for (int view : {-1, 5, 99}) {
            frm.ShowDataList(view);
            QCOMPARE(Front(frm), m_Lists[3]);
        }

        // Closing a list only puts it aside; it comes back when asked for.
        QPointer<TFakeList> customers = m_Lists[2];
        customers->parentWidget()->close();
        QVERIFY(customers);
        QVERIFY(customers->parentWidget()->isMinimized());
        frm.ShowDataList(Interfaces::dvCustomers);
        QCOMPARE(Front(frm), customers.data());
        QVERIFY(frm.mdiMain->currentSubWindow()->isMaximized());

        // The pane brings up the list chosen.
        frm.ShowDataList(Interfaces::dvWorkers);
        QTreeWidgetItem* node = Node(frm, 3);

        // Nothing happens while the database is closed.
        databaseOpen = false;
        frm.SelectView(node);
        QCOMPARE(Front(frm), m_Lists[Interfaces::dvWorkers]);

        databaseOpen = true;
        QTest::mouseClick(frm.tvNavigation->viewport(), Qt::LeftButton, {},
                          frm.tvNavigation->visualItemRect(node).center());
        QVERIFY(!TBusyCursor::IsBusy());
        TFakeList* items = m_Lists[Interfaces::dvItems];
        QCOMPARE(Front(frm), items);
        QCOMPARE(items->Title, QString("All Items"));
        QCOMPARE(g_pCurrent, static_cast<IDataListWindow*>(items));
        QVERIFY(!applied); // the calls list keeps its view
        // The pane follows the list brought to the front, back to this one.
        frm.ShowDataList(Interfaces::dvWorkers);
        QVERIFY(frm.tvNavigation->currentItem() != node);
        frm.ShowDataList(Interfaces::dvItems);
        QCOMPARE(frm.tvNavigation->currentItem(), node);
        // Back on the calls, the pane marks the view they show.
        QTreeWidgetItem* pending = Node(frm, 0, 2);
        frm.SelectView(pending);
        QVERIFY(applied);
        frm.ShowDataList(Interfaces::dvItems);
        frm.ShowDataList(Interfaces::dvCalls);
        QCOMPARE(frm.tvNavigation->currentItem(), pending);
    }

    void StatusListComesFromTheLibraryCountryListFromItsFile() {
        TfrmMain shipped(Locations());
        QCOMPARE(shipped.GetStatusList().Lines(),
                 QStringList({"New", "Busy", "Pending", "Awaiting Parts", "Complete"}));
        QCOMPARE(m_pDialogs->Requests().size(), 0);

        // The country list is read again at every call.
        const QString countries = m_Dir.Path() + "Countries.dat";
        TestSupport::WriteFile(countries, "Chile\nKenya\n");
        QCOMPARE(shipped.GetCountryList().Lines(), QStringList({"Chile", "Kenya"}));
        TestSupport::WriteFile(countries, "Norway\r\nSão Tomé\r\n");
        QCOMPARE(shipped.GetCountryList().Lines(), QStringList({"Norway", "São Tomé"}));

        QVERIFY(QFile::remove(countries));
        const QString error = TestSupport::ErrorOf([&shipped] { shipped.GetCountryList(); });
        QVERIFY2(error.contains("Countries.dat"), qPrintable(error));

        const QStringList defaults = {"xNew", "xBusy", "xIncomplete", "xAwaiting Parts",
                                      "xComplete"};
        TfrmMain::TLocations empty = Locations();
        empty.VidazLibrary = QCoreApplication::applicationDirPath() + "/vidaz-empty/Vidaz";
        TfrmMain withoutList(empty);
        QCOMPARE(withoutList.GetStatusList().Lines(), defaults);
        QCOMPARE(m_pDialogs->Requests().size(), 0);

        TfrmMain::TLocations missing = Locations();
        missing.VidazLibrary = m_Dir.Path() + "Vidaz";
        m_pDialogs->AnswerButton(mbOK);
        TfrmMain withoutLibrary(missing);
        QCOMPARE(withoutLibrary.GetStatusList().Lines(), defaults);
        QCOMPARE(m_pDialogs->Requests().size(), 1);
        QCOMPARE(m_pDialogs->Requests()[0].MsgKind, TMsgKind::Error);
        QCOMPARE(m_pDialogs->Requests()[0].Text, QString("Error Loading Vidaz.dll: Code = 2"));
    }

    void FirstShowBringsUpListsDatabaseAndCallsView() {
        QStringList steps;
        TfrmMain frm(Locations());
        TfrmMain::TDataHooks hooks;
        hooks.CreateListWindows = [&] {
            steps << "lists";
            AddLists(frm);
        };
        hooks.OpenDatabase = [&] { steps << "database"; };
        hooks.ApplyCallView = [&](const UCallViews::TCallView&) { steps << "view"; };
        frm.SetDataHooks(hooks);
        frmSplash = new TfrmAbout;
        QPointer<TfrmAbout> splash = frmSplash;
        splash->SetSplash(true);
        splash->show();

        QVERIFY(ShowExposed(frm));
        QCOMPARE(steps, QStringList({"lists", "database"}));
        QCOMPARE(Front(frm), m_Lists[Interfaces::dvCalls]);
        QCOMPARE(m_Lists[Interfaces::dvCalls]->Title, QString("All Calls"));
        QCOMPARE(frm.tvNavigation->currentItem(), Node(frm, 0));
        QVERIFY(Node(frm, 0)->isExpanded());
        QVERIFY(frmSplash == nullptr);
        QTRY_VERIFY(!splash);

        frm.hide();
        frm.show();
        QCOMPARE(steps.size(), 2);
    }

    // The layout, the navigation pane's command following the pane.
    void LayoutIsKeptFromOneRunToTheNext() {
        QFile::remove(m_Dir.Path() + "user/Tarnwick/Korvane.ini");
        {
            TfrmMain frm(Locations());
            QVERIFY(ShowExposed(frm));
            frm.addToolBar(Qt::LeftToolBarArea, frm.tlbNew);
            frm.resizeDocks({frm.toolpanelNavigation}, {240}, Qt::Horizontal);
            QTRY_COMPARE(frm.toolpanelNavigation->width(), 240);
            frm.close();
        }
        {
            TfrmMain frm(Locations());
            QVERIFY(ShowExposed(frm));
            QCOMPARE(frm.toolBarArea(frm.tlbNew), Qt::LeftToolBarArea);
            QCOMPARE(frm.toolBarArea(frm.tlbListFunctions), Qt::TopToolBarArea);
            QCOMPARE(frm.toolpanelNavigation->width(), 240);
            frm.IdleUpdate();
            QVERIFY(frm.actNavigationPanel->isChecked());
            frm.toolpanelNavigation->close();
            frm.IdleUpdate();
            QVERIFY(!frm.actNavigationPanel->isChecked());
            frm.close();
        }
        {
            TfrmMain frm(Locations());
            QVERIFY(ShowExposed(frm));
            QVERIFY(frm.toolpanelNavigation->isHidden());
            frm.actNavigationPanel->trigger();
            QVERIFY(frm.toolpanelNavigation->isVisible());
            frm.actNavigationPanel->trigger();
            QVERIFY(!frm.toolpanelNavigation->isVisible());
        }
        QSettings settings(m_Dir.Path() + "user/Tarnwick/Korvane.ini", QSettings::IniFormat);
        QVERIFY(!settings.value("Software/Merrowdyne/Korvane/GUI/DockTop/State").isNull());
        QCOMPARE(settings.value("Software/Tarnwick/Korvane/1.x/GUI/NavigationVisible").toBool(),
                 false);
    }
};

QTEST_MAIN(TestFMain)
#include "tst_FMain.moc"
