// The generic list window over the data module's customer query on a real
// database: searching, sorting, deleting, editing, picking, the current list
// and the deferred detail refresh.

#include "data/DBTableAccess.h"
#include "data/DMGlobals.h"
#include "data/engine/TDataSetModel.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "lists/FDataList.h"
#include "shell/USettings.h"
#include "support/TestDataModule.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// A customer list as a concrete list would build it; the detail panel is a
// pair of counters.
class TTestList : public TfrmDataList {
public:
    TTestList(QWidget* owner, bool popupMode, TDataSet* dataSet, TDBTableAccess* link,
              IRecordEditor* editor, bool details = false)
        : TfrmDataList(owner, popupMode), m_bDetails(details) {
        SetDataSet(dataSet);
        m_pEditor = editor;
        m_pTableLink = link;
        m_sSortKeyField = "CustomerID";
        m_SearchBy.Add({"Customer", "CustomerID", false});
        m_SearchBy.Add({"Last Name", "LastName", false});
        m_SearchBy.Add({"Tel", "Tel", true});
        LoadSearchByEntries();
        SetColumn("LastName", "Surname", 120);
    }
    void SetPopup(TfrmDataList* popup) { frmPopup = popup; }
    void UseDataModule(TdmlGlobals* module) { m_pDataModule = module; }
    using TfrmDataList::SetColumn;

    int Closed = 0;
    int Refreshed = 0;

protected:
    bool HasDetails() const override { return m_bDetails; }
    void CloseDetails() override { ++Closed; }
    void RefreshDetails() override { ++Refreshed; }

private:
    bool m_bDetails;
};

} // namespace

class TestFDataList : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSupport::TTempDataModule> m_pDml;
    std::unique_ptr<TestWindows::TInstalledDialogs> m_pDialogs;
    TestWindows::TFakeEditor m_Editor;

    TQuery* Customers() const { return m_pDml->sqlCustomer; }
    QString Current(const char* field = "CustomerID") const {
        return Customers()->FieldByName(field).AsString();
    }

    std::unique_ptr<TTestList> MakeList(bool details = false) {
        return std::make_unique<TTestList>(nullptr, false, Customers(), m_pDml->CustomersAccess(),
                                           &m_Editor, details);
    }

    // The customer shown in the grid's current row.
    static QString GridCurrent(TfrmDataList& list) {
        return TestWindows::CellText(list, list.dbcGrid->currentIndex().row(), "CustomerID");
    }

    // Double-clicks the grid's current cell, after a click as a user would.
    [[nodiscard]] static bool DoubleClickCurrent(TfrmDataList& list) {
        const QRect cell = list.dbcGrid->visualRect(list.dbcGrid->currentIndex());
        if (!cell.isValid())
            return false;
        QTest::mouseClick(list.dbcGrid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list.dbcGrid->viewport(), Qt::LeftButton, {}, cell.center());
        return true;
    }

private Q_SLOTS:
    void init() {
        m_pDml = std::make_unique<TestSupport::TTempDataModule>(
            QStringList{"INSERT INTO Customer (CustomerID, LastName, Tel) VALUES "
                        "('C1', 'Adams', '0215550001'), ('C2', 'Jones', '0825550002'), "
                        "('C3', 'smith', '0215550003'), ('C4', 'Smithers', '0835550004'), "
                        "('C5', 'Brown', '0825550005')"});
        // The columns a list keeps stay with the test.
        SetSettingsStoreLocation(m_pDml->Root() + "user", m_pDml->Root() + "machine");
        m_pDialogs = std::make_unique<TestWindows::TInstalledDialogs>();
        m_Editor = TestWindows::TFakeEditor();
    }

    void cleanup() {
        m_pDialogs.reset();
        CurrentDataList = nullptr;
        m_pDml.reset();
    }

    void TheWindowAndItsColumnsAreLaidOutAndKept() {
        auto list = MakeList();
        QVERIFY(list->btnOK->isHidden() && list->btnCancel->isHidden());
        QVERIFY(list->dbcGrid->horizontalHeader()->sectionsMovable());
        // Column widths grow with the font, never below the width asked for
        // nor below the bold caption; they survive the query being reopened.
        QHeaderView* header = list->dbcGrid->horizontalHeader();
        const int surname = list->Model()->ColumnOf("LastName");
        QCOMPARE(list->Model()->headerData(surname, Qt::Horizontal).toString(), QString("Surname"));
        const int width = header->sectionSize(surname);
        QVERIFY(width >= 120);
        list->SetColumn("Tel", "Telephone number", 10);
        QVERIFY(header->sectionSize(list->Model()->ColumnOf("Tel")) >
                QFontMetrics(header->font()).horizontalAdvance("Telephone number"));
        m_pDml->RefreshQueries();
        QCOMPARE(header->sectionSize(surname), width);

        list->SetTitle("Customers & more");
        QCOMPARE(TestSupport::ShownText(list->lblTitle->text()), QString("Customers & more"));

        TTestList popup(list.get(), true, Customers(), nullptr, nullptr);
        QVERIFY(popup.isWindow() && !popup.btnOK->isHidden() && !popup.btnCancel->isHidden());

        // The grid's columns are the list's: a query reopened with its fields
        // in another order, as the call views do, moves none of them, and
        // what the user moved or widened stays so.
        QVERIFY(TestWindows::ShowExposed(*list));
        auto place = [&](const char* field) {
            return header->visualIndex(list->Model()->ColumnOf(field));
        };
        auto reopen = [this](const char* sql) {
            Customers()->Close();
            Customers()->SetSQL(sql);
            m_pDml->OpenDataSet(Customers());
        };
        reopen("SELECT Tel, CompanyName, LastName, CustomerID FROM Customer");
        QCOMPARE(place("LastName"), 0);

        header->moveSection(place("CustomerID"), 1);
        const int tel = list->Model()->ColumnOf("Tel");
        const int wider = header->sectionSize(tel) + 40;
        TestWindows::DragSectionEdge(*header, tel, 40);

        reopen("SELECT CustomerID, CompanyName, Tel, LastName FROM Customer");
        QCOMPARE(place("LastName"), 0);
        QCOMPARE(place("CustomerID"), 1);
        QCOMPARE(header->sectionSize(list->Model()->ColumnOf("Tel")), wider);
    }

    void SearchBoxLocatesAsTheUserTypes() {
        auto list = MakeList();
        QVERIFY(TestWindows::ShowExposed(*list));
        // Choosing an entry empties the box and switches the field.
        QTest::keyClicks(list->edtSearch, "C");
        QTest::keyClick(list->cbxSearchBy, Qt::Key_Down);
        QCOMPARE(list->cbxSearchBy->currentIndex(), 1);
        QCOMPARE(list->SearchField(), QString("LastName"));
        QCOMPARE(list->edtSearch->text(), QString());

        QTest::keyClicks(list->edtSearch, "SMI");
        QCOMPARE(Current(), QString("C3"));
        QCOMPARE(GridCurrent(*list), QString("C3"));
        QTest::keyClicks(list->edtSearch, "THE");
        QCOMPARE(Current(), QString("C4"));
        // No match, or an empty box: the record stays; nothing is filtered.
        QTest::keyClicks(list->edtSearch, "x");
        QCOMPARE(Current(), QString("C4"));
        list->edtSearch->clear();
        QCOMPARE(Current(), QString("C4"));
        QCOMPARE(list->Model()->rowCount(), 5);

        // Numeric entries take digits only.
        list->SearchBy().SetActiveIndex(2);
        QTest::keyClicks(list->edtSearch, "0a8b2");
        QCOMPARE(list->edtSearch->text(), QString("082"));
        QCOMPARE(Current(), QString("C2"));
        list->SearchBy().SetActiveIndex(0);
        QTest::keyClicks(list->edtSearch, "c5");
        QCOMPARE(Current(), QString("C5"));

        // An entry that is not there changes nothing.
        for (int bad : {-1, 3}) {
            list->SearchBy().SetActiveIndex(bad);
            QCOMPARE(list->SearchBy().ActiveIndex(), 0);
            QCOMPARE(list->SearchField(), QString("CustomerID"));
            QCOMPARE(list->edtSearch->text(), QString("c5"));
        }
    }

    // Which record the list stays on is tried on the real lists (tst_FLists);
    // here the header's sort indicator.
    void HeaderSortShowsInTheHeaderAlsoAfterReopening() {
        auto list = MakeList();
        const int surname = list->Model()->ColumnOf("LastName");
        list->dbcGrid->sortByColumn(surname, Qt::DescendingOrder);
        QCOMPARE(Customers()->SortField(), QString("LastName"));
        // smith, Smithers, Jones, Brown, Adams (case does not count)
        QCOMPARE(TestWindows::CellText(*list, 0, "LastName"), QString("Smithers"));
        QCOMPARE(list->dbcGrid->horizontalHeader()->sortIndicatorSection(), surname);
        m_pDml->RefreshQueries();
        QCOMPARE(list->dbcGrid->horizontalHeader()->sortIndicatorSection(),
                 list->Model()->SortColumn());
        // An empty list sorts without a word.
        m_pDml->ExecSQL("DELETE FROM Customer");
        m_pDml->RefreshQueries();
        list->dbcGrid->sortByColumn(0, Qt::AscendingOrder);
        QCOMPARE(m_pDialogs->Requests().size(), 0);
    }

    void DeletingTakesTheRowAloneAlsoWithoutALink() {
        m_pDml->ExecSQL("INSERT INTO Customer (CustomerID, LastName) VALUES (\"\", \"Blank\")");
        m_pDml->ExecSQL("INSERT INTO Item (SerialNr, Owner) VALUES (\"SN-1\", \"\")");
        m_pDml->ApplyChanges();
        auto list = MakeList();
        list->UseDataModule(m_pDml.get());
        QVERIFY(Customers()->Locate("LastName", "Blank"));
        m_pDialogs->AnswerButton(mbYes);
        QVERIFY(list->DeleteCurrentRecord());
        QCOMPARE(m_pDialogs->Requests().size(), 1); // the question, no error
        QCOMPARE(Customers()->RecordCount(), 5);
        QVERIFY(m_pDml->ItemExists("SN-1")); // an item without owner is not the row's

        // Without a table link the base deletes the row of its dataset
        // itself (the question and No are tried on the calls list).
        TTestList tableList(nullptr, false, m_pDml->tblCustomer, nullptr, nullptr);
        QVERIFY(m_pDml->tblCustomer->Locate("CustomerID", "C2"));
        m_pDialogs->AnswerButton(mbYes);
        QVERIFY(tableList.DeleteCurrentRecord());
        QVERIFY(!m_pDml->CustomerExists("C2"));
        QVERIFY(m_pDml->CustomerExists("C1"));
    }

    void ARecordThatIsGoneIsNeitherEditedNorDeleted() {
        auto list = MakeList();
        list->UseDataModule(m_pDml.get());
        QVERIFY(Customers()->Locate("CustomerID", "C3"));
        // Gone behind the list's back, before the list could catch up.
        m_pDml->Connection().Exec("DELETE FROM Customer WHERE CustomerID = 'C3'");
        m_pDialogs->AnswerButton(mbOK);
        QVERIFY(!list->EditCurrentRecord());
        QCOMPARE(m_Editor.Runs, 0);
        QCOMPARE(m_pDialogs->Requests().at(0).MsgKind, TMsgKind::Error);
        QCOMPARE(m_pDialogs->Requests().at(0).Text,
                 QString("Error editing record: Record not found!"));
        QCOMPARE(Customers()->RecordCount(), 4); // and the list shows what is there

        m_pDml->Connection().Exec("DELETE FROM Customer WHERE CustomerID = '" + Current() + "'");
        m_pDialogs->Clear();
        m_pDialogs->AnswerButton(mbYes);
        m_pDialogs->AnswerButton(mbOK);
        QVERIFY(list->DeleteCurrentRecord());
        QCOMPARE(m_pDialogs->Requests().at(1).Text,
                 QString("Error deleting record: Record not found!"));
        QCOMPARE(Customers()->RecordCount(), 3);
    }

    void TheListFollowsChangesMadeElsewhere() {
        auto list = MakeList();
        list->UseDataModule(m_pDml.get());
        QVERIFY(Customers()->Locate("CustomerID", "C3"));
        QSignalSpy resets(list->Model(), &QAbstractItemModel::modelReset);
        // Added and changed elsewhere (a New command, another window), two
        // writes to the list's table.
        m_pDml->tblCustomer->Append();
        m_pDml->tblCustomer->FieldByName("CustomerID").SetAsString("C0");
        m_pDml->tblCustomer->Post();
        m_pDml->ExecSQL("UPDATE Customer SET LastName = 'Smyth' WHERE CustomerID = 'C3'");
        QTRY_COMPARE(Customers()->RecordCount(), 6);
        QCOMPARE(resets.size(), 1);
        QCOMPARE(Current(), QString("C3"));
        QCOMPARE(Current("LastName"), QString("Smyth"));
        QCOMPARE(GridCurrent(*list), QString("C3"));
    }

    // Saving through the editor is followed on the program's lists
    // (the Edit step in tst_FLists); here what the list does when the editor is cancelled.
    void CancelledEditorLeavesTheListAndDoubleClickEdits() {
        auto list = MakeList();
        QVERIFY(Customers()->Locate("CustomerID", "C3"));
        m_Editor.OnExecute = [this] { m_pDml->tblCustomer->Locate("CustomerID", "C1"); };
        QVERIFY(!list->EditCurrentRecord());
        QVERIFY(!list->AppendRecord());
        QCOMPARE(m_Editor.Modes, QList<bool>({true, false}));
        QCOMPARE(Current(), QString("C3"));

        QVERIFY(TestWindows::ShowExposed(*list));
        m_Editor.OnExecute = nullptr;
        QVERIFY(DoubleClickCurrent(*list));
        QCOMPARE(m_Editor.Modes, QList<bool>({true, false, true}));
    }

    void MissingPartsAreOnlyTraced() {
        TTestList bare(nullptr, false, nullptr, nullptr, nullptr);
        QVERIFY(!bare.CanEdit() && !bare.CanDelete() && !bare.CanPrint());
        QVERIFY(!bare.EditCurrentRecord() && !bare.AppendRecord() && !bare.DeleteCurrentRecord());
        QCOMPARE(bare.ExecutePopup("CustomerID"), QString());
        QTest::keyClicks(bare.edtSearch, "abc");

        TTestList noEditor(nullptr, false, Customers(), m_pDml->CustomersAccess(), nullptr);
        QVERIFY(!noEditor.EditCurrentRecord() && !noEditor.AppendRecord());
        QCOMPARE(m_pDialogs->Requests().size(), 0);
    }

    void PopupReturnsThePickAndKeepsThePosition() {
        auto list = MakeList();
        auto* popup =
            new TTestList(list.get(), true, Customers(), m_pDml->CustomersAccess(), &m_Editor);
        list->SetPopup(popup);
        QVERIFY(Customers()->Locate("CustomerID", "C2"));

        // A pick and the kept row are tried on the real lists (tst_FLists);
        // here a cancelled pick, the twin's own ways of closing and an empty list.
        m_pDialogs->AnswerModal([&](QObject*) {
            Customers()->Last();
            return int(QDialog::Rejected);
        });
        QCOMPARE(list->ExecutePopup("LastName"), QString());
        QCOMPARE(Current(), QString("C2"));

        // The twin closes itself with OK on a double-click or its OK button.
        QVERIFY(TestWindows::ShowExposed(*popup));
        QVERIFY(DoubleClickCurrent(*popup));
        QCOMPARE(popup->result(), int(QDialog::Accepted));
        QVERIFY(!popup->isVisible());
        QCOMPARE(m_Editor.Runs, 0);
        QVERIFY(CurrentDataList != popup);
        // Also below the last row.
        QVERIFY(TestWindows::ShowExposed(*popup));
        popup->setResult(QDialog::Rejected);
        const QWidget* rows = popup->dbcGrid->viewport();
        QTest::mouseDClick(popup->dbcGrid->viewport(), Qt::LeftButton, {},
                           QPoint(rows->width() / 2, rows->height() - 2));
        QCOMPARE(popup->result(), int(QDialog::Accepted));

        m_pDml->ExecSQL("DELETE FROM Customer");
        m_pDml->RefreshQueries();
        m_pDialogs->AnswerModal(QDialog::Accepted);
        QCOMPARE(list->ExecutePopup("CustomerID"), QString());
    }

    void CurrentDataListFollowsActivationAndClicks() {
        QMdiArea area;
        area.resize(800, 600);
        auto* first =
            new TTestList(nullptr, false, Customers(), m_pDml->CustomersAccess(), &m_Editor);
        auto* second =
            new TTestList(nullptr, false, m_pDml->sqlWorker, m_pDml->WorkersAccess(), &m_Editor);
        QMdiSubWindow* firstWindow = area.addSubWindow(first);
        QMdiSubWindow* secondWindow = area.addSubWindow(second);
        QVERIFY(TestWindows::ShowExposed(area));
        area.activateWindow();

        area.setActiveSubWindow(firstWindow);
        QCOMPARE(CurrentDataList, first);
        // The current list's selection stands out from the other's.
        const auto highlight = [](TfrmDataList* list) {
            return list->dbcGrid->palette().color(QPalette::Highlight);
        };
        const QColor currentHighlight = highlight(first);
        QVERIFY(highlight(second) != currentHighlight);
        area.setActiveSubWindow(secondWindow);
        QCOMPARE(CurrentDataList, second);
        QCOMPARE(highlight(second), currentHighlight);
        QVERIFY(highlight(first) != currentHighlight);

        QTest::mouseClick(first->dbcGrid->viewport(), Qt::LeftButton, {}, QPoint(30, 5));
        QCOMPARE(CurrentDataList, first);

        // Leaving a list that is not current leaves the current one alone.
        CurrentDataList = second;
        first->FormDeactivate();
        QCOMPARE(CurrentDataList, second);
        second->FormDeactivate();
        QCOMPARE(CurrentDataList, nullptr);

        delete secondWindow;
        CurrentDataList = first;
        delete firstWindow;
        QCOMPARE(CurrentDataList, nullptr);
    }

    void DetailsAreRefreshedOnceWhenIdle() {
        auto list = MakeList(true);
        QVERIFY(TestWindows::ShowExposed(*list));
        list->IdleUpdate();
        const int refreshedAtStart = list->Refreshed;
        list->Closed = 0;

        Customers()->First();
        for (int i = 0; i < 3; ++i)
            Customers()->Next();
        QVERIFY(list->DetailsPending());
        QVERIFY(list->Closed >= 3);
        QCOMPARE(list->Refreshed, refreshedAtStart);
        list->IdleUpdate();
        list->IdleUpdate();
        QCOMPARE(list->Refreshed, refreshedAtStart + 1);
        QVERIFY(!list->DetailsPending());

        // Moving in the grid counts as well.
        list->dbcGrid->setCurrentIndex(list->Model()->index(0, 0));
        QCOMPARE(Current(), QString("C1"));
        QVERIFY(list->DetailsPending());
        list->IdleUpdate();
        QCOMPARE(list->Refreshed, refreshedAtStart + 2);

        // A list without detail panels never asks.
        auto plain = MakeList(false);
        Customers()->Next();
        QVERIFY(!plain->DetailsPending());
    }
};

QTEST_MAIN(TestFDataList)
#include "tst_FDataList.moc"
