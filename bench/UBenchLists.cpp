#include "UBenchLists.h"

#include "data/DMGlobals.h"
#include "data/DMTables.h"
#include "data/engine/TDatabase.h"
#include "data/engine/TTable.h"
#include "data/engine/TTableWriter.h"
#include "shell/UErrors.h"
#include "shell/UStartup.h"

#include <QDateTime>
#include <QUuid>
#include <algorithm>
#include <memory>
#include <sqlite3.h>
#include <strings.h>

namespace {

struct TList {
    const char* Name;
    QString Sql;
};

const std::vector<TList>& Lists() {
    static const std::vector<TList> lists = {
        {"calls", DMTables::SqlCallText()},
        {"customers", DMTables::SqlCustomerText()},
        {"items", DMTables::SqlItemText()},
        {"service contracts", DMTables::SqlServiceContractText()},
        {"workers", DMTables::SqlWorkerText()},
    };
    return lists;
}

// The three detail boxes of the calls list: the call's customer, its item,
// and its worker with the contract on the item. Their parameters take the
// values of the calls list's fields of the same names.
struct TDetailQuery {
    const char* Name;
    const char* Sql;
    const char* Param;
    std::vector<const char*> Shown; // the fields the box shows
};

const std::vector<TDetailQuery>& DetailQueries() {
    static const std::vector<TDetailQuery> queries = {
        {"customer",
         "Select * \nFrom Customer\nwhere CustomerID = :CustomerID",
         "CustomerID",
         {"FirstName", "LastName", "CompanyName", "Tel", "Fax", "Cell", "Email"}},
        {"item",
         "Select * \nFrom Item\nwhere SerialNr = :EquipmentSerialNr",
         "EquipmentSerialNr",
         // The box also names MeterReading, which the item rows do not have.
         {"Brand", "Model", "Description"}},
        {"service",
         "SELECT C.ProblemDescr AS Problem, C.CustomerID, C.WorkerNr, C.EquipmentSerialNr, "
         "S.ServiceType, W.Name, W.Surname\n"
         "FROM Call C\n"
         "FULL OUTER JOIN Worker W ON (C.WorkerNr = W.WorkerNR)\n"
         "FULL OUTER JOIN ServiceContract S ON ((C.EquipmentSerialNr = S.ItemSerialNr) AND "
         "(C.CustomerID = S.CustomerID))\n"
         "Where (C.CallNr = :CallNr)",
         "CallNr",
         {"Name", "Surname", "ServiceType", "Problem"}},
    };
    return queries;
}

// The statements of deleting a customer with its items, calls and contracts.
const char* const CustomerCascade[] = {
    "DELETE FROM Customer WHERE CustomerID = '%1'",
    "DELETE FROM Item WHERE Owner = '%1'",
    "DELETE FROM Call WHERE CustomerID = '%1'",
    "DELETE FROM ServiceContract WHERE CustomerID='%1'",
};

} // namespace

TListFigures::TListFigures(TdmlGlobals& dm, int repeat, qint64 calls)
    : m_Dm(dm), m_Repeat(repeat), m_Calls(calls) {}

void TListFigures::MeasureProgram() {
    try {
        // (1) Start-up: the tables are made where missing and the database
        // opened, tables and list queries, as at the main window's first show.
        for (int run = 0; run < m_Repeat; ++run) {
            m_Dm.SetDatabaseActive(false);
            m_Startup.push_back(TimeMs([&] { OpenDatabaseAtStartup(m_Dm); }));
        }
        for (TQuery* query : {m_Dm.sqlCall, m_Dm.sqlCustomer, m_Dm.sqlItem, m_Dm.sqlServiceContract,
                              m_Dm.sqlWorker})
            if (!query->Active())
                Die(QStringLiteral("a list query is closed after start-up"));
        TDatabase& db = m_Dm.Connection();
        for (TTable* table :
             {m_Dm.tblCustomer, m_Dm.tblWorker, m_Dm.tblServiceContract, m_Dm.tblCall, m_Dm.tblItem,
              m_Dm.tblCallComments, m_Dm.tblStateTimes}) {
            const TTableWriter layout(db, table->TableName());
            m_TableReads.push_back(
                QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                    .arg(layout.ColumnList(), layout.Qualified(), layout.OrderList()));
        }
        for (const TList& list : Lists())
            m_Translated.push_back(db.Prepare(list.Sql)->Sql());

        // (2) Open a list and have 40 rows ready for the grid.
        for (int run = 0; run < m_Repeat; ++run) {
            for (size_t l = 0; l < Lists().size(); ++l) {
                TShownList list(db, Lists()[l].Sql);
                m_ListTimes[l].push_back(TimeMs([&] {
                    list.Open();
                    list.Show();
                }));
            }
        }

        MeasureSearch();
        MeasureSort();
        PickSamples();
        MeasureGoto();
        MeasureDetails();
    } catch (const EError& e) {
        Die(e.Message());
    }
}

void TListFigures::MeasureSearch() {
    TDatabase& db = m_Dm.Connection();
    // The company typed into the search: that of the call three quarters
    // down the list.
    {
        TQuery query;
        query.SetDatabase(&db);
        query.SetSQL(DMTables::SqlCallText());
        query.Open();
        query.MoveBy(m_Calls * 3 / 4);
        m_Prefix = query.FieldByName(QStringLiteral("CompanyName")).AsString().left(5);
    }

    // (3) Incremental search: a fresh list, five keystrokes.
    const auto type = [&](const QString& text, std::vector<double>& times, qint64* row) {
        TShownList list(db, DMTables::SqlCallText());
        list.Open();
        TQuery& query = list.Query;
        for (int n = 1; n <= text.size(); ++n)
            times.push_back(TimeMs([&] {
                query.Locate(QStringLiteral("CompanyName"), text.left(n),
                             TDataSet::CaseInsensitive | TDataSet::PartialKey);
            }));
        if (row)
            *row = query.RecNo();
    };
    for (int run = 0; run < m_Repeat; ++run) {
        type(m_Prefix, m_Keystrokes, &m_PrefixRow);
        type(m_Nothing, m_MissKeystrokes, nullptr);
    }
}

void TListFigures::MeasureSort() {
    // (4) Sorting by a header and back, on the 21st row.
    for (int run = 0; run < m_Repeat; ++run) {
        TShownList list(m_Dm.Connection(), DMTables::SqlCallText());
        list.Open();
        TQuery& query = list.Query;
        TDataSetModel& model = list.Model;
        query.MoveBy(20);
        m_SortedCall = query.FieldByName(QStringLiteral("CallNr")).AsString();
        const auto show = [&] { list.Show(3); };
        m_SortCompany.push_back(TimeMs([&] {
            model.sort(model.ColumnOf(QStringLiteral("CompanyName")));
            show();
        }));
        if (query.FieldByName(QStringLiteral("CallNr")).AsString() != m_SortedCall)
            Die(QStringLiteral("sorting by CompanyName lost the current row"));
        m_SortBack.push_back(TimeMs([&] {
            model.sort(model.ColumnOf(QStringLiteral("CallNr")));
            show();
        }));
        if (query.FieldByName(QStringLiteral("CallNr")).AsString() != m_SortedCall)
            Die(QStringLiteral("sorting back by CallNr lost the current row"));
    }
}

void TListFigures::PickSamples() {
    // Calls whose item has a service contract held by the call's customer,
    // spread over the calls list.
    TDatabase& db = m_Dm.Connection();
    std::vector<TCallKeys> all;
    auto query = db.PrepareNative(
        QStringLiteral("SELECT C.CallNr, C.CustomerID, C.EquipmentSerialNr, C.WorkerNr "
                       "FROM %1 C JOIN %2 S ON (S.ItemSerialNr = C.EquipmentSerialNr "
                       "AND S.CustomerID = C.CustomerID) ORDER BY C.CallNr")
            .arg(Qualified(db, "Call"), Qualified(db, "ServiceContract")));
    while (query->Step())
        all.push_back({query->Text(0), query->Text(1), query->Text(2), query->Text(3)});
    m_Samples = Spread(all, m_Repeat);
    if (m_Samples.empty())
        Die(QStringLiteral("no call has a service contract on its item"));
}

void TListFigures::MeasureGoto() {
    // (5) From a call to its customer, item, worker and contract, each list
    // freshly opened as after start-up.
    for (const TCallKeys& call : m_Samples) {
        m_Dm.RefreshQueries();
        const auto go = [&](std::vector<double>& times, TdmlGlobals::TRecordKind kind,
                            const QString& second, TQuery* list, const char* field,
                            const QString& key) {
            bool found = false;
            times.push_back(TimeMs([&] { found = m_Dm.GotoRecord(kind, key, second); }));
            if (!found || list->FieldByName(QLatin1String(field))
                                  .AsString()
                                  .compare(key, Qt::CaseInsensitive) != 0)
                Die(QStringLiteral("GotoRecord did not find %1 %2").arg(field, key));
        };
        go(m_GotoTimes[0], TdmlGlobals::rkCustomer, {}, m_Dm.sqlCustomer, "CustomerID",
           call.Customer);
        go(m_GotoTimes[1], TdmlGlobals::rkItem, {}, m_Dm.sqlItem, "SerialNr", call.Item);
        go(m_GotoTimes[2], TdmlGlobals::rkWorker, {}, m_Dm.sqlWorker, "WorkerNR", call.Worker);
        go(m_GotoTimes[3], TdmlGlobals::rkServiceContract, call.Customer, m_Dm.sqlServiceContract,
           "ItemSerialNr", call.Item);
    }
}

void TListFigures::MeasureDetails() {
    // (6) The details of a call: the three queries opened on the call the
    // calls list stands on, and the fields the boxes show read.
    TDatabase& db = m_Dm.Connection();
    std::vector<std::unique_ptr<TQuery>> details;
    for (const TDetailQuery& detail : DetailQueries()) {
        details.push_back(std::make_unique<TQuery>());
        details.back()->SetSQL(QLatin1String(detail.Sql));
        details.back()->SetMasterSource(m_Dm.dsQCall);
        m_DetailSql.push_back(db.Prepare(QLatin1String(detail.Sql))->Sql());
    }
    for (const TCallKeys& call : m_Samples) {
        if (!m_Dm.sqlCall->Locate(QStringLiteral("CallNr"), call.CallNr))
            Die(QStringLiteral("call %1 is not in the calls list").arg(call.CallNr));
        m_DetailTimes.push_back(TimeMs([&] {
            for (size_t d = 0; d < details.size(); ++d) {
                m_Dm.OpenDataSet(details[d].get());
                for (const char* field : DetailQueries()[d].Shown)
                    details[d]->FieldByName(QLatin1String(field)).AsString();
            }
        }));
        if (details[0]->FieldByName(QStringLiteral("CustomerID")).AsString() != call.Customer ||
            details[1]->FieldByName(QStringLiteral("SerialNr")).AsString() != call.Item ||
            details[2]->FieldByName(QStringLiteral("ServiceType")).AsString().isEmpty())
            Die(QStringLiteral("the details of call %1 are wrong").arg(call.CallNr));
        for (const auto& detail : details)
            detail->Close();
    }
}

// ---------------------------------------------------------------------------
// The floors of 1 to 6.

// Like the engine, the floor keeps its statement open while the user types
// and keeps what it has read (here only the company names): each keystroke
// looks through those first and steps on only when needed.
void TListFigures::TypedFloor(TFloor& floor, const QString& text, std::vector<double>& times) {
    sqlite3_stmt* stmt = floor.Prepare(CallListSql());
    const int column = TFloor::Column(stmt, "CompanyName");
    std::vector<QByteArray> read;
    bool done = false;
    const QByteArray bytes = text.toUtf8();
    for (int n = 1; n <= text.size(); ++n) {
        const QByteArray typed = bytes.left(n);
        const auto matches = [&](const char* value) {
            return strncasecmp(value, typed.constData(), size_t(n)) == 0;
        };
        times.push_back(TimeMs([&] {
            for (const QByteArray& value : read)
                if (matches(value.constData()))
                    return;
            while (!done) {
                if (!TFloor::StepRow(stmt)) {
                    done = true;
                    break;
                }
                read.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)));
                if (matches(read.back().constData()))
                    return;
            }
        }));
    }
    sqlite3_finalize(stmt);
}

// The engine sorts in SQL by the column without regard to case, then by the
// key; the floor's statement does the same and steps to the current row.
double TListFigures::SortedFloor(TFloor& floor, const char* column) {
    const QString sql = QStringLiteral("SELECT * FROM (%1) ORDER BY \"%2\" COLLATE NOCASE, "
                                       "\"CallNr\"")
                            .arg(CallListSql(), QLatin1String(column));
    const QByteArray key = m_SortedCall.toUtf8();
    return TimeMs([&] {
        int keyColumn = -1;
        floor.Step(sql, [&](sqlite3_stmt* stmt, qint64 rows) {
            if (keyColumn < 0)
                keyColumn = TFloor::Column(stmt, "CallNr");
            static_cast<void>(rows);
            return key == reinterpret_cast<const char*>(sqlite3_column_text(stmt, keyColumn));
        });
    });
}

// Locating: the list's statement is open on its first row; it steps on until
// the key columns hold the keys, whatever their letter case.
void TListFigures::LocateFloor(TFloor& floor, const QString& sql,
                               const std::vector<const char*>& columns, const QStringList& keys,
                               std::vector<double>& times) {
    sqlite3_stmt* stmt = floor.Prepare(sql);
    if (!TFloor::StepRow(stmt))
        Die(QStringLiteral("an empty list"));
    std::vector<int> at;
    for (const char* column : columns)
        at.push_back(TFloor::Column(stmt, column));
    std::vector<QByteArray> wanted;
    for (const QString& key : keys)
        wanted.push_back(key.toUtf8());
    const auto matches = [&] {
        for (size_t k = 0; k < at.size(); ++k) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, at[k]));
            if (!text || strcasecmp(text, wanted[k].constData()) != 0)
                return false;
        }
        return true;
    };
    bool found = false;
    times.push_back(TimeMs([&] {
        found = matches();
        while (!found && TFloor::StepRow(stmt))
            found = matches();
    }));
    sqlite3_finalize(stmt);
    if (!found)
        Die(QStringLiteral("the floor did not find %1").arg(keys.join(QLatin1Char(';'))));
}

void TListFigures::MeasureFloors(const QString& directory) {
    for (int run = 0; run < m_Repeat; ++run) {
        std::unique_ptr<TFloor> fresh;
        const auto first = [](sqlite3_stmt*, qint64) { return true; };
        m_StartupFloors.push_back(TimeMs([&] {
            fresh = std::make_unique<TFloor>(directory);
            for (const QString& sql : m_TableReads)
                fresh->Step(sql, first);
            for (const QString& sql : m_Translated)
                fresh->Step(sql, first);
        }));
    }
    TFloor floor(directory);
    for (int run = 0; run < m_Repeat; ++run) {
        for (size_t l = 0; l < Lists().size(); ++l)
            m_ListFloors[l].push_back(TimeMs([&] {
                floor.Step(m_Translated[l],
                           [](sqlite3_stmt*, qint64 rows) { return rows >= ShownRows; });
            }));
        TypedFloor(floor, m_Prefix, m_KeyFloors);
        TypedFloor(floor, m_Nothing, m_MissFloors);
        m_CompanyFloors.push_back(SortedFloor(floor, "CompanyName"));
        m_BackFloors.push_back(SortedFloor(floor, "CallNr"));
    }
    const QStringList detailParams = {QStringLiteral("CustomerID"),
                                      QStringLiteral("EquipmentSerialNr"),
                                      QStringLiteral("CallNr")};
    for (const TCallKeys& call : m_Samples) {
        LocateFloor(floor, m_Translated[1], {"CustomerID"}, {call.Customer}, m_GotoFloors[0]);
        LocateFloor(floor, m_Translated[2], {"SerialNr"}, {call.Item}, m_GotoFloors[1]);
        LocateFloor(floor, m_Translated[4], {"WorkerNR"}, {call.Worker}, m_GotoFloors[2]);
        LocateFloor(floor, m_Translated[3], {"ItemSerialNr", "CustomerID"},
                    {call.Item, call.Customer}, m_GotoFloors[3]);
        const QStringList values = {call.Customer, call.Item, call.CallNr};
        m_DetailFloors.push_back(TimeMs([&] {
            for (size_t d = 0; d < m_DetailSql.size(); ++d) {
                sqlite3_stmt* stmt = floor.Prepare(m_DetailSql[d]);
                TFloor::BindText(stmt, detailParams[qsizetype(d)], values[qsizetype(d)]);
                TFloor::StepRow(stmt);
                sqlite3_finalize(stmt);
            }
        }));
    }
}

// ---------------------------------------------------------------------------
// 7 and 8: deleting a customer and adding a call.

void TListFigures::PrepareChanges() {
    TDatabase& db = m_Dm.Connection();
    // Customers that have items, calls and contracts, spread over the
    // customer list.
    {
        std::vector<QString> all;
        auto query = db.PrepareNative(
            QStringLiteral("SELECT CustomerID FROM %1 WHERE CustomerID IN (SELECT Owner FROM "
                           "%2) AND CustomerID IN (SELECT CustomerID FROM %3) AND CustomerID "
                           "IN (SELECT CustomerID FROM %4) ORDER BY CustomerID")
                .arg(Qualified(db, "Customer"), Qualified(db, "Item"), Qualified(db, "Call"),
                     Qualified(db, "ServiceContract")));
        while (query->Step())
            all.push_back(query->Text(0));
        m_Customers = Spread(all, m_Repeat);
        if (m_Customers.empty())
            Die(QStringLiteral("no customer has items, calls and contracts"));
    }
    for (const QString& customer : m_Customers) {
        QStringList statements;
        for (const char* statement : CustomerCascade)
            statements << db.Prepare(QString::fromLatin1(statement).arg(customer))->Sql();
        m_Cascades.push_back(statements);
    }
    m_LastCallSql = db.Prepare(QStringLiteral("SELECT CallNr FROM CALL ORDER BY CallNr"))->Sql();
    m_FreeCallSql =
        db.Prepare(QStringLiteral("SELECT CallNr FROM CALL WHERE CallNr = :CallNr"))->Sql();
    m_InsertLineSql = QStringLiteral("INSERT INTO %1 (CallNr, ID, DateTime, CommentLine) VALUES "
                                     "(?1, ?2, ?3, ?4)")
                          .arg(Qualified(db, "CallComments"));
    m_InsertCallSql =
        QStringLiteral("INSERT INTO %1 (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, "
                       "OrderNumber, JobcardNumber, Date_Time, Status, Priority, ProblemDescr, "
                       "Comments, PartsUsedReplaced, BillTime, Billed, Callout, StorageArea, "
                       "MeterReading) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, "
                       "?12, ?13, ?14, ?15, ?16, ?17)")
            .arg(Qualified(db, "Call"));
}

void TListFigures::MeasureChanges(const QString& programCopy) {
    try {
        m_Dm.SetDatabaseActive(false);
        m_Dm.SetDatabaseDir(programCopy);
        OpenDatabaseAtStartup(m_Dm);
        PrepareChanges();

        // (7) Deleting a customer with its items, calls and contracts.
        for (const QString& customer : m_Customers) {
            m_Deletes.push_back(TimeMs([&] { m_Dm.DeleteCustomer(customer); }));
            if (m_Dm.CustomerExists(customer))
                Die(QStringLiteral("customer %1 is still there").arg(customer));
        }

        // (8) Adding a call: the table's new row gets its defaults, number
        // and first comment line, the user's keys, and is saved.
        for (const TCallKeys& call : m_Samples) {
            QString number;
            m_Adds.push_back(TimeMs([&] {
                TTable& table = *m_Dm.tblCall;
                table.Append();
                table.FieldByName(QStringLiteral("CustomerID")).SetAsString(call.Customer);
                table.FieldByName(QStringLiteral("EquipmentSerialNr")).SetAsString(call.Item);
                table.FieldByName(QStringLiteral("WorkerNr")).SetAsString(call.Worker);
                table.FieldByName(QStringLiteral("ProblemDescr"))
                    .SetAsString(QStringLiteral("Does not start."));
                table.Post();
                number = table.FieldByName(QStringLiteral("CallNr")).AsString();
            }));
            if (number.size() < 6 ||
                m_Dm.QueryIsEmpty(
                    QStringLiteral("SELECT * FROM CallComments WHERE CallNr = '%1'").arg(number)))
                Die(QStringLiteral("the new call %1 has no first comment line").arg(number));
        }
    } catch (const EError& e) {
        Die(e.Message());
    }
}

void TListFigures::MeasureChangeFloors(TFloor& copyFloor) {
    for (const QStringList& statements : m_Cascades)
        m_DeleteFloors.push_back(TimeMs([&] {
            for (const QString& sql : statements)
                copyFloor.Exec(sql);
        }));
    // The statements of adding a call: the greatest number (the last in text
    // order), whether the next one is free, the first comment line, the call
    // with its defaults and keys; the blank texts as the engine writes them.
    for (const TCallKeys& call : m_Samples)
        m_AddFloors.push_back(TimeMs([&] {
            QByteArray last;
            copyFloor.Step(m_LastCallSql, [&](sqlite3_stmt* stmt, qint64) {
                last = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
                return false;
            });
            qint64 next = last.toLongLong();
            QString number;
            for (bool taken = true; taken;) {
                number = QString::number(++next).rightJustified(6, QLatin1Char('0'));
                sqlite3_stmt* stmt = copyFloor.Prepare(m_FreeCallSql);
                TFloor::BindText(stmt, QStringLiteral("CallNr"), number);
                taken = TFloor::StepRow(stmt);
                sqlite3_finalize(stmt);
            }
            const QString now = UStorage::DateTimeText(QDateTime::currentDateTime());
            sqlite3_stmt* line = copyFloor.Prepare(m_InsertLineSql);
            copyFloor.Run(line, {number, QUuid::createUuid().toString(QUuid::WithBraces).toUpper(),
                                 now, QStringLiteral("Call Created.")});
            sqlite3_finalize(line);
            sqlite3_stmt* insert = copyFloor.Prepare(m_InsertCallSql);
            const QString blank = QLatin1String("");
            copyFloor.Run(insert, {number, call.Customer, call.Worker, call.Item, blank, blank, now,
                                   QStringLiteral("New"), 1, QStringLiteral("Does not start."),
                                   blank, blank, blank, QStringLiteral("False"),
                                   QStringLiteral("False"), blank, 0});
            sqlite3_finalize(insert);
        }));
}

// ---------------------------------------------------------------------------

std::vector<TFigure> TListFigures::Figures(const TGoals& goals) const {
    std::vector<TFigure> figures;
    figures.push_back(Figure(
        QStringLiteral("1"), QStringLiteral("start-up: missing tables, SetDatabaseActive"),
        Median(m_Startup), Median(m_StartupFloors), goals.Startup, SlowestRemark(m_Startup)));
    for (size_t l = 0; l < Lists().size(); ++l)
        figures.push_back(Figure(l == 0 ? QStringLiteral("2") : QString(),
                                 QStringLiteral("open the %1 list, 40 rows in the grid")
                                     .arg(QLatin1String(Lists()[l].Name)),
                                 Median(m_ListTimes[l]), Median(m_ListFloors[l]), goals.List));
    figures.push_back(Figure(QStringLiteral("3"),
                             QStringLiteral("search \"%1\", median keystroke").arg(m_Prefix),
                             Median(m_Keystrokes), Median(m_KeyFloors), goals.Keystroke,
                             QStringLiteral("(found at row %1)").arg(m_PrefixRow)));
    figures.push_back(Figure(QString(), QStringLiteral("  the same, slowest keystroke"),
                             Slowest(m_Keystrokes), Slowest(m_KeyFloors), {}));
    figures.push_back(Figure(QString(), QStringLiteral("search matching nothing, median keystroke"),
                             Median(m_MissKeystrokes), Median(m_MissFloors), goals.Keystroke,
                             QStringLiteral("(typing \"%1\")").arg(m_Nothing)));
    figures.push_back(Figure(QString(), QStringLiteral("  the same, slowest keystroke"),
                             Slowest(m_MissKeystrokes), Slowest(m_MissFloors), {},
                             QStringLiteral("(the first one reads every call)")));
    figures.push_back(Figure(QStringLiteral("4"),
                             QStringLiteral("sort calls by CompanyName, keep row"),
                             Median(m_SortCompany), Median(m_CompanyFloors), goals.Sort));
    figures.push_back(Figure(QString(), QStringLiteral("  and back by CallNr"), Median(m_SortBack),
                             Median(m_BackFloors), goals.Sort));
    const char* const targets[] = {"customer", "item", "worker", "service contract"};
    for (int k = 0; k < 4; ++k)
        figures.push_back(Figure(
            k == 0 ? QStringLiteral("5") : QString(),
            QStringLiteral("GotoRecord from a call to its %1").arg(QLatin1String(targets[k])),
            Median(m_GotoTimes[k]), Median(m_GotoFloors[k]), goals.Goto,
            SlowestRemark(m_GotoTimes[k])));
    figures.push_back(Figure(QStringLiteral("6"),
                             QStringLiteral("detail queries of one call (customer, item, service)"),
                             Median(m_DetailTimes), Median(m_DetailFloors), goals.Details,
                             SlowestRemark(m_DetailTimes)));
    figures.push_back(Figure(
        QStringLiteral("7"), QStringLiteral("delete a customer with its cascade"),
        Median(m_Deletes), Median(m_DeleteFloors), goals.DeleteCustomer, SlowestRemark(m_Deletes)));
    figures.push_back(
        Figure(QStringLiteral("8"), QStringLiteral("add one call: defaults, number, comment line"),
               Median(m_Adds), Median(m_AddFloors), goals.AddCall, SlowestRemark(m_Adds)));
    return figures;
}
