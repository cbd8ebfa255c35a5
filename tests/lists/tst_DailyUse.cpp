// The lists as a person uses them every day, in the main window on a small
// real database: keys, counts, greetings, cells and the columns arranged.

#include "data/DMGlobals.h"
#include "data/engine/TDataSetModel.h"
#include "data/engine/TQuery.h"
#include "lists/FCallsList.h"
#include "lists/FCustomerList.h"
#include "lists/FServiceContractList.h"
#include "lists/UListTexts.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

using TestSupport::TTempDir;

namespace {

// Two customers, five calls (odd ones of C1), one valid contract.
struct TRunningProgram : TestWindows::TRunningProgram {
    TRunningProgram() : TestWindows::TRunningProgram(Rows()) {}

    static QStringList Rows() {
        QStringList sql = {"INSERT INTO Customer (CustomerID, CompanyName, LastName) "
                           "VALUES ('C1', 'Acme Engineering and Sons', 'Abel'), "
                           "('C2', 'Bolt', 'Burt')",
                           "INSERT INTO Item (SerialNr, Brand, Owner) VALUES ('S1', 'Hex', 'C1')",
                           "INSERT INTO ServiceContract (ItemSerialNr, CustomerID, StillValid) "
                           "VALUES ('S1', 'C1', 'True')"};
        for (int nr = 1; nr <= 5; ++nr)
            sql << QString("INSERT INTO Call (CallNr, CustomerID, Status, Billed, Date_Time) "
                           "VALUES ('00000%1', 'C%2', 'New', '%3', '2007-03-0%1 10:30:00')")
                       .arg(nr)
                       .arg(nr % 2 ? 1 : 2)
                       .arg(nr == 1 ? "True" : "False");
        return sql;
    }
    QString Count() const {
        Main->IdleUpdate();
        return Main->sbMain->CountText();
    }
    QString CurrentCall() const { return DataModule.sqlCall->FieldByName("CallNr").AsString(); }
};

// A key pressed with Ctrl, leaving no Ctrl held behind for the next test.
void PressWithCtrl(QWidget* widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

} // namespace

class TestDailyUse : public QObject {
    Q_OBJECT

    TTempDir m_Settings;

private Q_SLOTS:
    void initTestCase() { TestWindows::UseTestSettings(m_Settings); }

    // Enter, Delete, F3 and Escape in the grid and the search box.
    void KeyboardCommandsActOnTheCurrentRow() {
        TRunningProgram program;
        TfrmCallsList* list = frmCallsList;
        TestWindows::TFakeEditor editor;
        list->SetEditor(&editor);
        list->SearchBy().SetActiveIndex(1); // Customer

        QTest::keyClick(list->dbcGrid, Qt::Key_Return);
        QTest::keyClick(list->edtSearch, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(editor.Modes, QList<bool>({true, true}));

        // F3 goes on to the next match and round to the first.
        QTest::keyClicks(list->edtSearch, "c1");
        QCOMPARE(program.CurrentCall(), QString("000001"));
        QStringList found;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(i % 2 ? list->dbcGrid : static_cast<QWidget*>(list->edtSearch),
                            Qt::Key_F3);
            found << program.CurrentCall();
        }
        QCOMPARE(found, QStringList({"000003", "000005", "000001"}));

        // No match: the box is tinted and the status bar says so; Escape
        // empties the box and both go.
        const QColor plain = list->edtSearch->palette().color(QPalette::Base);
        QTest::keyClick(list->edtSearch, Qt::Key_9);
        QVERIFY(list->edtSearch->palette().color(QPalette::Base) != plain);
        program.Count();
        QCOMPARE(program.Main->StatusText(), QString("No Customer begins with \"c19\"."));
        QTest::keyClick(list->dbcGrid, Qt::Key_Escape);
        QCOMPARE(list->edtSearch->text(), QString());
        QCOMPARE(list->edtSearch->palette().color(QPalette::Base), plain);
        program.Count();
        QCOMPARE(program.Main->StatusText(), QString());

        // Delete asks first, and only in the grid; in the search box it is text.
        list->edtSearch->setText("c2");
        QTest::keyClick(list->edtSearch, Qt::Key_Home);
        QTest::keyClick(list->edtSearch, Qt::Key_Delete);
        QCOMPARE(list->edtSearch->text(), QString("2"));
        QCOMPARE(program.Dialogs.Requests().size(), 0);
        list->edtSearch->setText("c2");
        const QString doomed = program.CurrentCall();
        program.Dialogs.AnswerButton(mbNo);
        QTest::keyClick(list->dbcGrid, Qt::Key_Delete);
        QVERIFY(program.DataModule.sqlCall->Locate("CallNr", doomed));
        program.Dialogs.AnswerButton(mbYes);
        QTest::keyClick(list->dbcGrid, Qt::Key_Delete);
        QCOMPARE(program.Dialogs.Requests().size(), 2);
        const TDialogRequest& asked = program.Dialogs.Requests().at(1);
        QCOMPARE(asked.Text, QString("Delete the selected record?"));
        QVERIFY(asked.MsgKind == TMsgKind::Confirmation && asked.Buttons == (mbYes | mbNo));
        QVERIFY(!program.DataModule.sqlCall->Locate("CallNr", doomed));
        list->SetEditor(nullptr);
    }

    // Ctrl+End goes to the last call of all, not of those read so far; the
    // rows between are there when the grid shows them; Ctrl+Home goes back.
    // A query without a key reads its end alone; the grid model then spans
    // every row and reads those between when they are shown.
    void TheLastRowOfAThousandIsReachedAtOnce() {
        TRunningProgram program;
        // Calls 000006 to 001000 besides, far more than a grid reads ahead.
        QStringList rows;
        for (int nr = 6; nr <= 1000; ++nr)
            rows << QString("('%1', 'New', %2)").arg(nr, 6, 10, QChar('0')).arg(nr);
        program.DataModule.ExecSQL("INSERT INTO Call (CallNr, Status, Priority) VALUES " +
                                   rows.join(", "));
        program.DataModule.ApplyChanges();
        TfrmCallsList* list = frmCallsList;
        QVERIFY(list->Model()->rowCount() < 1000);
        PressWithCtrl(list->dbcGrid, Qt::Key_End);
        QCOMPARE(program.CurrentCall(), QString("001000"));
        QCOMPARE(list->Model()->rowCount(), 1000);
        QCOMPARE(list->dbcGrid->currentIndex().row(), 999);
        QCOMPARE(TestWindows::CellText(*list, 600, "CallNr"), QString("000601"));
        QCOMPARE(program.Count(), QString("1,000 calls"));
        PressWithCtrl(list->dbcGrid, Qt::Key_Home);
        QCOMPARE(program.CurrentCall(), QString("000001"));
        QCOMPARE(list->dbcGrid->currentIndex().row(), 0);

        // The model alone, on a query without a key.
        std::unique_ptr<TQuery> query =
            program.DataModule.CreateQuery("SELECT Priority FROM Call", true);
        TDataSetModel model;
        model.SetDataSet(query.get());
        QVERIFY(model.rowCount() < 1000);
        QItemSelectionModel selection(&model);
        model.SetSelectionModel(&selection);
        query->Last();
        QCOMPARE(model.rowCount(), 1000);
        QCOMPARE(selection.currentIndex().row(), 999);
        QVERIFY(!model.canFetchMore({}));
        QCOMPARE(model.index(999, 0).data().toString(), QString("1000"));
        QCOMPARE(model.index(600, 0).data().toString(), QString("601"));
    }

    // Check marks instead of "True", dates in the short form, a time only
    // where it matters, and columns as wide as their usual content. The
    // fourth panel of the status bar counts the current list's records, also
    // in a filtered view and after a change made elsewhere (additions and
    // deletions are counted in tst_FLists). An empty list says what to do
    // first, with the command's shortcut when it has one; an empty view of
    // calls says only that it is empty.
    void CellsCountsAndEmptyListsReadAsAPersonExpects() {
        TRunningProgram program;
        QCOMPARE(TestWindows::CellText(*frmServiceContractList, 0, "StillValid"),
                 QString("\u2713"));
        QCOMPARE(
            TestWindows::CellText(*frmCallsList, 0, "Date_Time"),
            QLocale().toString(QDateTime(QDate(2007, 3, 1), QTime(10, 30)), QLocale::ShortFormat));
        program.DataModule.ExecSQL("UPDATE ServiceContract SET StillValid = 'False'");
        program.DataModule.ApplyChanges();
        QCOMPARE(TestWindows::CellText(*frmServiceContractList, 0, "StillValid"), QString());

        // The company column fits "Acme Engineering and Sons", one line long.
        QTableView* grid = frmCallsList->dbcGrid;
        QVERIFY(!grid->wordWrap());
        const int company = frmCallsList->Model()->ColumnOf("CompanyName");
        QVERIFY(grid->horizontalHeader()->sectionSize(company) >
                grid->fontMetrics().horizontalAdvance("Acme Engineering and Sons"));

        // The counts, and the greeting of an empty view; a count of a
        // filtered view still being read says that there may be more.
        const UListTexts::TRecordNames names{"service contract", "service contracts"};
        QCOMPARE(UListTexts::CountText(1, false, names), QString("1+ service contracts"));
        TfrmMain& frm = *program.Main;
        QCOMPARE(program.Count(), QString("5 calls"));
        frm.SelectView(TestWindows::Node(frm, 1));
        QCOMPARE(program.Count(), QString("2 customers"));
        frm.SelectView(TestWindows::Node(frm, 0, 4)); // Complete
        QCOMPARE(program.Count(), QString("No calls"));
        QCOMPARE(frmCallsList->GreetingText(), QString("No calls in this view."));
        program.DataModule.ExecSQL("UPDATE Call SET Status = 'Complete' WHERE CallNr = '000002'");
        program.DataModule.ApplyChanges();
        QCOMPARE(program.Count(), QString("1 call"));

        // The greetings of emptied lists.
        QCOMPARE(frmServiceContractList->GreetingText(), QString());
        program.DataModule.ExecSQL("DELETE FROM ServiceContract");
        program.DataModule.ApplyChanges();
        QCOMPARE(frmServiceContractList->GreetingText(),
                 QString("No service contracts yet. Press New Service Contract to add one."));
        auto* greeting = frmServiceContractList->dbcGrid->viewport()->findChild<QLabel*>();
        QVERIFY(greeting && greeting->isVisibleTo(frmServiceContractList));
        QCOMPARE(greeting->text(), frmServiceContractList->GreetingText());

        frm.actNewCustomer->setShortcut(QKeySequence("Ctrl+Shift+U"));
        frmCustomerList->SetNewCommand(frm.actNewCustomer);
        program.DataModule.ExecSQL("DELETE FROM Customer");
        program.DataModule.ApplyChanges();
        QCOMPARE(frmCustomerList->GreetingText(),
                 QString("No customers yet. Press New Customer (Ctrl+Shift+U) to add one."));

        frm.SelectView(TestWindows::Node(frm, 0));
        QCOMPARE(frmCallsList->GreetingText(), QString());
        QVERIFY(frmCallsList->dbcGrid->viewport()->findChild<QLabel*>()->isHidden());
    }

    // What the user moved and widened comes back with the next start.
    void ColumnsComeBackAsTheUserLeftThem() {
        int width = 0;
        {
            TRunningProgram program;
            QHeaderView* header = frmCustomerList->dbcGrid->horizontalHeader();
            const int surname = frmCustomerList->Model()->ColumnOf("LastName");
            header->moveSection(header->visualIndex(surname), 0);
            TestWindows::DragSectionEdge(*header, surname, 30);
            width = header->sectionSize(surname);
        }
        TRunningProgram program;
        QHeaderView* header = frmCustomerList->dbcGrid->horizontalHeader();
        const int surname = frmCustomerList->Model()->ColumnOf("LastName");
        QCOMPARE(header->visualIndex(surname), 0);
        QCOMPARE(header->sectionSize(surname), width);
        // Other lists keep their own.
        QCOMPARE(frmCallsList->dbcGrid->horizontalHeader()->visualIndex(
                     frmCallsList->Model()->ColumnOf("CallNr")),
                 0);
    }
};

QTEST_MAIN(TestDailyUse)
#include "tst_DailyUse.moc"
