// The dataset model as the data module uses it: states and events, fields,
// navigation, bookmarks and display-update control, on tables and queries.

#include "data/DMTables.h"
#include "data/engine/TDataSource.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "support/TestSupport.h"

#include <QtTest>

using TestSupport::OpenTable;
using TestSupport::TTempDatabase;

namespace {

void AddCall(TDatabase& db, const QString& nr, const QString& status, int priority) {
    db.Exec("INSERT INTO Call (CallNr, CustomerID, Status, Priority, Billed) "
            "VALUES (:N, :C, :S, :P, :B)",
            {{"N", nr}, {"C", "CUST" + nr}, {"S", status}, {"P", priority}, {"B", false}});
}

// Records the events of a dataset by name.
struct TEventLog {
    QStringList Events;
    void Watch(TDataSet& ds) {
        using E = TDataSet::TEvent TDataSet::*;
        const std::pair<const char*, E> events[] = {
            {"BeforeOpen", &TDataSet::BeforeOpen},     {"AfterOpen", &TDataSet::AfterOpen},
            {"BeforeClose", &TDataSet::BeforeClose},   {"AfterClose", &TDataSet::AfterClose},
            {"BeforeInsert", &TDataSet::BeforeInsert}, {"AfterInsert", &TDataSet::AfterInsert},
            {"BeforeEdit", &TDataSet::BeforeEdit},     {"AfterEdit", &TDataSet::AfterEdit},
            {"BeforePost", &TDataSet::BeforePost},     {"AfterPost", &TDataSet::AfterPost},
            {"BeforeCancel", &TDataSet::BeforeCancel}, {"AfterCancel", &TDataSet::AfterCancel},
            {"BeforeDelete", &TDataSet::BeforeDelete}, {"AfterDelete", &TDataSet::AfterDelete},
            {"BeforeScroll", &TDataSet::BeforeScroll}, {"AfterScroll", &TDataSet::AfterScroll}};
        for (const auto& [name, event] : events)
            ds.*event = [this, name](TDataSet&) { Events << QString::fromLatin1(name); };
    }
    QStringList Take() {
        QStringList taken = Events;
        Events.clear();
        return taken;
    }
};

} // namespace

class TestTDataSet : public QObject {
    Q_OBJECT

    TTempDatabase m_Db;

    QList<QStringList> Stored(const QString& sql) {
        return TestSupport::RowTexts(*m_Db.Prepare(sql));
    }

private Q_SLOTS:
    void initTestCase() {
        m_Db.Exec(QString::fromLatin1(DMTables::FindTableDef("Call")->CreateSql));
    }

    void init() { m_Db.EmptyTable("Call"); }

    void EditingGoesThroughItsStatesWithEventsInOrder() {
        TTable tbl;
        tbl.SetDatabase(&m_Db);
        tbl.SetTableName("Call.DB");
        TEventLog log;
        log.Watch(tbl);
        QString cancelledNr;
        tbl.AfterInsert = [&](TDataSet& ds) {
            log.Events << "AfterInsert";
            ds.FieldByName("Billed").SetAsBoolean(false);
            ds.FieldByName("Priority").SetAsInteger(1);
            ds.FieldByName("Status").SetAsString("New");
            ds.FieldByName("CallNr").SetAsString("000001");
        };
        tbl.BeforeCancel = [&](TDataSet& ds) {
            log.Events << "BeforeCancel";
            cancelledNr = ds.FieldByName("CallNr").AsString();
        };

        tbl.Open();
        QCOMPARE(log.Take(), QStringList({"BeforeOpen", "AfterOpen"})); // empty: no scroll
        QCOMPARE(tbl.State(), TDataSetState::Browse);
        QVERIFY(tbl.IsEmpty() && tbl.Eof() && tbl.Bof());

        tbl.Append();
        QCOMPARE(log.Take(),
                 QStringList({"BeforeInsert", "BeforeScroll", "AfterInsert", "AfterScroll"}));
        QCOMPARE(tbl.State(), TDataSetState::Insert);
        QVERIFY(!tbl.IsEmpty());
        QCOMPARE(tbl.FieldByName("status").AsString(), QString("New")); // any letter case
        tbl.FieldByName("ProblemDescr").SetAsString("Paper jam");
        tbl.Post();
        QCOMPARE(log.Take(), QStringList({"BeforePost", "AfterPost"}));
        QCOMPARE(tbl.State(), TDataSetState::Browse);

        // The row is in the file: another statement reads it as stored.
        QCOMPARE(Stored("SELECT Billed, typeof(Priority), Status, ProblemDescr FROM Call"),
                 (QList<QStringList>{{"False", "integer", "New", "Paper jam"}}));

        tbl.Edit();
        QCOMPARE(log.Take(), QStringList({"BeforeEdit", "AfterEdit"}));
        tbl.FieldByName("Status").SetAsString("Busy");
        tbl.Cancel();
        QCOMPARE(log.Take(), QStringList({"BeforeCancel", "AfterCancel"}));
        QCOMPARE(tbl.FieldByName("Status").AsString(), QString("New"));

        // Cancelling a new row: the handler still sees the row being cancelled.
        tbl.Append();
        log.Take();
        tbl.FieldByName("CallNr").SetAsString("000002");
        tbl.Cancel();
        QCOMPARE(log.Take(), QStringList({"BeforeCancel", "AfterCancel"}));
        QCOMPARE(cancelledNr, QString("000002"));
        QCOMPARE(tbl.RecordCount(), 1);
        QCOMPARE(tbl.FieldByName("CallNr").AsString(), QString("000001"));

        tbl.Delete();
        QCOMPARE(log.Take(),
                 QStringList({"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}));
        QVERIFY(tbl.IsEmpty());
        tbl.Close();
        QCOMPARE(log.Take(), QStringList({"BeforeClose", "AfterClose"}));
        QCOMPARE(tbl.State(), TDataSetState::Inactive);
    }

    void AFailingPostKeepsTheRowInItsStateAndWritesNothing() {
        AddCall(m_Db, "000001", "New", 1);
        const auto tbl = OpenTable(m_Db, "Call");
        tbl->BeforePost = [](TDataSet&) { ThrowError("Call Number cannot be null."); };
        tbl->Append();
        tbl->FieldByName("CallNr").SetAsString("000002");
        QVERIFY_THROWS_EXCEPTION(EError, tbl->Post());
        QCOMPARE(tbl->State(), TDataSetState::Insert);
        tbl->BeforePost = nullptr;
        // A key that exists already is refused by the file.
        tbl->FieldByName("CallNr").SetAsString("000001");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, tbl->Post());
        QCOMPARE(tbl->State(), TDataSetState::Insert);
        tbl->Cancel();
        QCOMPARE(tbl->RecordCount(), 1);
    }

    void FieldsConvertAndGuardTheirValues() {
        AddCall(m_Db, "000001", "New", 1);
        m_Db.Exec("UPDATE Call SET Date_Time = :D",
                  {{"D", QDateTime(QDate(2024, 3, 9), QTime(14, 5, 30))}});
        const auto tbl = OpenTable(m_Db, "Call");
        TField& when = tbl->FieldByName("Date_Time");
        QCOMPARE(when.AsDateTime(), QDateTime(QDate(2024, 3, 9), QTime(14, 5, 30)));
        QCOMPARE(when.DisplayText(),
                 QLocale().toString(QDateTime(QDate(2024, 3, 9), QTime(14, 5, 30)),
                                    QLocale::ShortFormat));
        QCOMPARE(tbl->FieldByName("Billed").DisplayText(), QString("False"));
        QCOMPARE(tbl->FieldByName("Billed").Value(), QVariant(false));
        QCOMPARE(tbl->FieldByName("CallNr").Size(), 10);
        QVERIFY(tbl->FieldByName("Date_TimeFinished").IsNull());
        QCOMPARE(tbl->FieldByName("Date_TimeFinished").DisplayText(), QString());
        QVERIFY(!tbl->FindField("NoSuchField"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, tbl->FieldByName("NoSuchField"));

        // Values are refused outside edit and insert.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, tbl->FieldByName("Status").SetAsString("x"));

        tbl->DefineField("Comments").SetSize(5); // narrower than the column, as typed input
        tbl->Edit();
        tbl->FieldByName("Comments").SetAsString("Too long for five");
        tbl->FieldByName("Callout").SetAsString("true");
        tbl->FieldByName("Priority").SetAsString("3");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, tbl->FieldByName("Priority").SetAsString("high"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, tbl->FieldByName("Billed").SetAsString("maybe"));
        tbl->FieldByName("Date_TimeFinished")
            .SetAsDateTime(QDateTime(QDate(2024, 3, 10), QTime(9, 0)));
        QVERIFY(tbl->Modified());
        tbl->Post();

        QCOMPARE(Stored("SELECT Comments, Callout, Priority, Date_TimeFinished FROM Call"),
                 (QList<QStringList>{{"Too l", "True", "3", "2024-03-10 09:00:00"}}));

        // A floating point field takes plain decimal text only.
        QCOMPARE(TField::ToStored(TFieldType::Float, 0, " -2.5e1 ", "Rate"), QVariant(-25.0));
        for (const char* text : {"nan", "inf", "-Infinity", "1e999", "0x10"})
            QVERIFY_THROWS_EXCEPTION(EDatabaseError,
                                     TField::ToStored(TFieldType::Float, 0, text, "Rate"));
        QCOMPARE(TField::TypedValue(TFieldType::Float, "nan"), QVariant("nan"));
    }

    // Paging itself is tried in tst_TTable and tst_TQuery; here the flags and
    // positions that both kinds of dataset report alike.
    void NavigatesBothWaysWithEofBofAndPositions() {
        for (int i = 1; i <= 150; ++i)
            AddCall(m_Db, QString("%1").arg(i, 6, 10, QChar('0')), "New", 1);
        TTable tbl;
        TQuery qry;
        tbl.SetTableName("Call");
        qry.SetSQL("SELECT CallNr FROM Call ORDER BY CallNr");
        for (TDataSet* ds : {static_cast<TDataSet*>(&tbl), static_cast<TDataSet*>(&qry)}) {
            ds->SetDatabase(&m_Db);
            ds->Open();
            QVERIFY(ds->Bof() && !ds->Eof());
            QCOMPARE(ds->RecordCount(), 150);
            QCOMPARE(ds->MoveBy(99), 99);
            QCOMPARE(ds->FieldByName("CallNr").AsString(), QString("000100"));
            QCOMPARE(ds->RecNo(), 100);
            QCOMPARE(ds->MoveBy(-200), -99);
            QVERIFY(ds->Bof() && !ds->Eof());
            ds->Last();
            QVERIFY(ds->Eof() && !ds->Bof());
            QCOMPARE(ds->RecNo(), 150);
            QCOMPARE(ds->MoveBy(1), 0);
            ds->SetRecNo(120);
            QCOMPARE(ds->FieldByName("CallNr").AsString(), QString("000120"));
            QVERIFY(!ds->Bof() && !ds->Eof());
            ds->Close();
        }
    }

    void BookmarksReturnToTheirRowAlsoAfterARefresh() {
        TTable tbl;
        TQuery qry;
        qry.SetSQL("SELECT CallNr, Priority FROM Call ORDER BY Priority DESC");
        tbl.SetTableName("Call");
        for (TDataSet* ds : {static_cast<TDataSet*>(&tbl), static_cast<TDataSet*>(&qry)}) {
            m_Db.EmptyTable("Call");
            for (int i = 1; i <= 5; ++i)
                AddCall(m_Db, QString("00000%1").arg(i), "New", i);
            ds->SetDatabase(&m_Db);
            ds->Open();
            ds->MoveBy(2);
            const QString there = ds->FieldByName("CallNr").AsString();
            const TBookmark mark = ds->GetBookmark();
            ds->First();
            QVERIFY(ds->BookmarkValid(mark));
            QCOMPARE(ds->RecNo(), 1); // checking does not move
            ds->GotoBookmark(mark);
            QCOMPARE(ds->FieldByName("CallNr").AsString(), there);

            // A row added before it shifts positions: found again by key.
            AddCall(m_Db, "000000", "New", 9);
            ds->Refresh();
            ds->First();
            ds->GotoBookmark(mark);
            QCOMPARE(ds->FieldByName("CallNr").AsString(), there);

            m_Db.Exec("DELETE FROM Call WHERE CallNr = :N", {{"N", there}});
            ds->Refresh();
            QVERIFY(!ds->BookmarkValid(mark));
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, ds->GotoBookmark(mark));
            QVERIFY(!ds->BookmarkValid(TBookmark()));
        }
    }

    void DisabledControlsHearOneChangeWhenTheLastEnableComes() {
        for (int i = 1; i <= 3; ++i)
            AddCall(m_Db, QString("00000%1").arg(i), "New", 1);
        TQuery qry;
        qry.SetDatabase(&m_Db);
        qry.SetSQL("SELECT CallNr FROM Call");
        TDataSource src(&qry);
        QSignalSpy moved(&src, &TDataSource::RecordChanged);
        QSignalSpy changed(&src, &TDataSource::DataSetChanged);
        qry.Open();
        QCOMPARE(changed.count(), 1);
        qry.Next();
        QCOMPARE(moved.count(), 1);

        int scrolls = 0;
        qry.AfterScroll = [&](TDataSet&) { ++scrolls; };
        qry.DisableControls();
        qry.DisableControls();
        qry.Last();
        qry.First();
        qry.EnableControls();
        QVERIFY(qry.ControlsDisabled());
        QCOMPARE(moved.count(), 1);
        qry.EnableControls();
        QVERIFY(!qry.ControlsDisabled());
        QCOMPARE(moved.count(), 1);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(scrolls, 2); // events still run while controls are disabled
        qry.EnableControls(); // one too many does no harm
        QCOMPARE(changed.count(), 2);

        // A field change reaches the controls with the field.
        TTable tbl;
        tbl.SetDatabase(&m_Db);
        tbl.SetTableName("Call");
        TDataSource tblSrc(&tbl);
        QSignalSpy fields(&tblSrc, &TDataSource::FieldChanged);
        QSignalSpy states(&tblSrc, &TDataSource::StateChanged);
        tbl.Open();
        tbl.Edit();
        tbl.FieldByName("Status").SetAsString("Busy");
        QCOMPARE(fields.count(), 1);
        QCOMPARE(fields.at(0).at(0).value<TField*>(), &tbl.FieldByName("Status"));
        tbl.Post();
        QCOMPARE(states.count(), 3); // browse, edit, browse
    }
};

QTEST_MAIN(TestTDataSet)
#include "tst_TDataSet.moc"
