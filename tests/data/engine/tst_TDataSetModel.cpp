// The grid model: columns and texts, reading in pages, the current row
// shared with a selection, and header sorting that keeps the current row.

#include "data/engine/TDataSetModel.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "support/TestSupport.h"

#include <QtTest>
#include <QtWidgets>

using TestSupport::OpenTable;
using TestSupport::TTempDatabase;

class TestTDataSetModel : public QObject {
    Q_OBJECT

    TTempDatabase m_Db;

private Q_SLOTS:
    void initTestCase() {
        m_Db.Exec("CREATE TABLE 'Call.db' (CallNr CHAR(10), Status CHAR(20), Priority INTEGER, "
                  "Billed BOOLEAN, Date_Time TIMESTAMP, PRIMARY KEY (CallNr));");
        m_Db.StartTransaction();
        for (int i = 1; i <= 1000; ++i)
            m_Db.Exec("INSERT INTO Call (CallNr, Status, Priority, Billed, Date_Time) "
                      "VALUES (:N, :S, :P, :B, :D)",
                      {{"N", QString("%1").arg(i, 6, 10, QChar('0'))},
                       {"S", i % 2 ? "New" : "Busy"},
                       {"P", 1000 - i},
                       {"B", i % 2 == 0},
                       {"D", QDateTime(QDate(2020, 1, 1), QTime(8, 30)).addDays(i)}});
        m_Db.Commit();
    }

    void ShowsVisibleFieldsInPagesWithTheirDisplayTexts() {
        TQuery qry;
        qry.SetDatabase(&m_Db);
        qry.SetSQL("SELECT * FROM Call");
        qry.DefineField("Priority").SetVisible(false);
        qry.DefineField("CallNr").SetDisplayLabel("Call #");
        qry.Open();
        TDataSetModel model;
        model.SetFetchSize(100);
        model.SetDataSet(&qry);
        QCOMPARE(model.columnCount(), 4);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Call #"));
        QCOMPARE(model.ColumnOf("Priority"), -1);
        // A page, not the whole result.
        QCOMPARE(model.rowCount(), 100);
        QVERIFY(model.canFetchMore({}));
        model.fetchMore({});
        QCOMPARE(model.rowCount(), 200);
        QCOMPARE(model.data(model.index(1, 2)).toString(), QString("True"));
        QCOMPARE(
            model.data(model.index(0, 3)).toString(),
            QLocale().toString(QDateTime(QDate(2020, 1, 2), QTime(8, 30)), QLocale::ShortFormat));
        QCOMPARE(model.data(model.index(0, 0)).toString(), QString("000001"));

        // A view asks for the rest as it scrolls to the end.
        QTableView view;
        view.setModel(&model);
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        for (int i = 0; i < 20 && model.canFetchMore({}); ++i) {
            view.scrollToBottom();
            QCoreApplication::processEvents();
        }
        QCOMPARE(model.rowCount(), 1000);
        QVERIFY(!model.canFetchMore({}));

        qry.Close();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 0);
    }

    void KeepsTheGridAndTheDatasetOnTheSameRow() {
        TQuery qry;
        qry.SetDatabase(&m_Db);
        qry.SetSQL("SELECT CallNr, Status, Priority FROM Call");
        qry.Open();
        TDataSetModel model;
        model.SetFetchSize(50);
        model.SetDataSet(&qry);
        QItemSelectionModel selection(&model);
        model.SetSelectionModel(&selection);
        QCOMPARE(selection.currentIndex().row(), 0);

        // The dataset moves beyond the rows shown: the grid grows and follows.
        QVERIFY(qry.Locate("CallNr", "000700"));
        QCOMPARE(selection.currentIndex().row(), 699);
        QVERIFY(model.rowCount() >= 700);
        QVERIFY(selection.isRowSelected(699, {}));

        // The grid moves: the dataset follows.
        selection.setCurrentIndex(model.index(9, 1), QItemSelectionModel::ClearAndSelect);
        QCOMPARE(qry.FieldByName("CallNr").AsString(), QString("000010"));

        // The row being edited shows what has been typed.
        const auto tbl = OpenTable(m_Db, "Call");
        TDataSetModel tableModel;
        tableModel.SetDataSet(tbl.get());
        QCOMPARE(tableModel.rowCount(), 1000);
        tbl->Edit();
        tbl->FieldByName("Status").SetAsString("Typed");
        QCOMPARE(tableModel.data(tableModel.index(0, 1)).toString(), QString("Typed"));
        tbl->Cancel();
        QCOMPARE(tableModel.data(tableModel.index(0, 1)).toString(), QString("New"));
        QCOMPARE(tableModel.data(tableModel.index(999, 0)).toString(), QString("001000"));
    }

    void HeaderSortingReordersTheDatasetAndKeepsItsRow() {
        TQuery qry;
        qry.SetDatabase(&m_Db);
        qry.SetSQL("SELECT CallNr, Status, Priority FROM Call");
        qry.Open();
        TDataSetModel model;
        model.SetDataSet(&qry);
        QTableView view;
        view.setModel(&model);
        model.SetSelectionModel(view.selectionModel());
        view.setSortingEnabled(true);
        QVERIFY(qry.Locate("CallNr", "000300"));

        view.sortByColumn(model.ColumnOf("Priority"), Qt::AscendingOrder);
        QCOMPARE(model.SortColumn(), model.ColumnOf("Priority"));
        QCOMPARE(model.data(model.index(0, 0)).toString(), QString("001000"));
        QCOMPARE(qry.FieldByName("CallNr").AsString(), QString("000300"));
        QCOMPARE(view.currentIndex().row(), int(qry.CurrentRow()));
        QCOMPARE(model.data(model.index(view.currentIndex().row(), 0)).toString(),
                 QString("000300"));

        // The order of text and of ties: tst_TQuery.
        view.sortByColumn(model.ColumnOf("Status"), Qt::DescendingOrder);
        QCOMPARE(model.SortOrder(), Qt::DescendingOrder);
        QCOMPARE(qry.FieldByName("CallNr").AsString(), QString("000300"));
        QCOMPARE(view.currentIndex().row(), int(qry.CurrentRow()));

        // A table keeps its key order.
        const auto tbl = OpenTable(m_Db, "Call");
        TDataSetModel tableModel;
        tableModel.SetDataSet(tbl.get());
        tableModel.sort(1);
        QCOMPARE(tableModel.SortColumn(), -1);
    }
};

QTEST_MAIN(TestTDataSetModel)
#include "tst_TDataSetModel.moc"
