// korvane-bench DIRECTORY: how quickly the lists open, search and sort on a
// filled database directory (made by korvane-demo-data), and how much memory
// that takes. Every figure is printed beside its floor, the same SQL run
// straight through SQLite on the same files in the same run, and beside its
// goal for the size of the database (workshop: 100,000 calls; huge: a
// million).
//
// Times are medians of --repeat runs (5 unless given). The engine side is
// measured first and the peak memory read before the floors run, so that the
// floor connection's page cache does not count.

#include "data/DMTables.h"
#include "data/engine/TDataSetModel.h"
#include "data/engine/TDatabase.h"
#include "data/engine/TQuery.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <sqlite3.h>
#include <strings.h>
#include <vector>

namespace {

void Print(const QString& text) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

[[noreturn]] void Die(const QString& text) {
    std::fputs(qPrintable(QStringLiteral("korvane-bench: ") + text + QLatin1Char('\n')), stderr);
    std::exit(1);
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double TimeMs(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

qint64 PeakResidentMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() / 1024;
    return -1;
}

// ---------------------------------------------------------------------------
// The floor: one plain SQLite connection with every table file attached under
// the name the engine gives it, so the engine's translated SQL runs unchanged.

class TFloor {
public:
    explicit TFloor(const TDatabase& db) {
        if (sqlite3_open_v2(":memory:", &m_pDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK)
            Die(QStringLiteral("cannot open SQLite"));
        for (const DMTables::TTableDef& def : DMTables::TableDefs()) {
            const QString file = db.TableFile(QLatin1String(def.Name));
            const QString alias = USqlDialect::TableAlias(QLatin1String(def.Name));
            Exec(QStringLiteral("ATTACH DATABASE '%1' AS \"%2\"")
                     .arg(USqlDialect::EscapeQuotes(file), alias));
            // The same page cache per file as the engine's connection.
            Exec(QStringLiteral("PRAGMA \"%1\".cache_size = -16384").arg(alias));
        }
    }
    ~TFloor() { sqlite3_close_v2(m_pDb); }
    TFloor(const TFloor&) = delete;
    TFloor& operator=(const TFloor&) = delete;

    void Exec(const QString& sql) {
        if (sqlite3_exec(m_pDb, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            Die(QString::fromUtf8(sqlite3_errmsg(m_pDb)));
    }

    sqlite3_stmt* Prepare(const QString& sql) {
        sqlite3_stmt* stmt = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(m_pDb, utf8.constData(), int(utf8.size()), &stmt, nullptr) !=
            SQLITE_OK)
            Die(QString::fromUtf8(sqlite3_errmsg(m_pDb)));
        return stmt;
    }

    // Prepares `sql` and steps it, reading every column of each row, until
    // `stop` says so or the rows end; returns the rows stepped.
    qint64 Step(const QString& sql, const std::function<bool(sqlite3_stmt*, qint64)>& stop) {
        sqlite3_stmt* stmt = Prepare(sql);
        qint64 rows = 0;
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c)
                sqlite3_column_text(stmt, c);
            ++rows;
            if (stop(stmt, rows))
                break;
        }
        sqlite3_finalize(stmt);
        return rows;
    }

    static int Column(sqlite3_stmt* stmt, const char* name) {
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            if (strcasecmp(sqlite3_column_name(stmt, c), name) == 0)
                return c;
        return -1;
    }

private:
    sqlite3* m_pDb = nullptr;
};

// ---------------------------------------------------------------------------
// The table of results.

struct TFigure {
    QString Number;
    QString Name;
    std::optional<double> Value; // nothing: not yet measured
    std::optional<double> Floor;
    std::optional<double> Goal;
    QString Unit = QStringLiteral("ms");
    QString Remark;
};

QString Cell(const std::optional<double>& value, const QString& unit) {
    if (!value)
        return QStringLiteral("-");
    return QStringLiteral("%1 %2")
        .arg(*value, 0, 'f',
             *value < 10    ? 2
             : *value < 100 ? 1
                            : 0)
        .arg(unit);
}

void PrintTable(const std::vector<TFigure>& figures) {
    Print(QStringLiteral("%1 %2 %3 %4 %5 %6  %7")
              .arg(QStringLiteral("#"), -3)
              .arg(QStringLiteral("figure"), -52)
              .arg(QStringLiteral("measured"), 11)
              .arg(QStringLiteral("floor"), 10)
              .arg(QStringLiteral("ratio"), 7)
              .arg(QStringLiteral("goal"), 10)
              .arg(QStringLiteral("")));
    Print(QString(106, QLatin1Char('-')));
    for (const TFigure& f : figures) {
        if (!f.Value) {
            Print(QStringLiteral("%1 %2 %3 %4 %5 %6")
                      .arg(f.Number, -3)
                      .arg(f.Name, -52)
                      .arg(QStringLiteral("not yet measured"), 20)
                      .arg(QString(), 7)
                      .arg(f.Goal ? QStringLiteral("<= ") + Cell(f.Goal, f.Unit)
                                  : QStringLiteral("-"),
                           10)
                      .arg(f.Remark.isEmpty() ? QString() : QStringLiteral(" ") + f.Remark));
            continue;
        }
        const QString ratio = f.Floor && *f.Floor > 0
                                  ? QStringLiteral("%1x").arg(*f.Value / *f.Floor, 0, 'f',
                                                              *f.Value < *f.Floor ? 2 : 1)
                                  : QStringLiteral("-");
        const QString verdict = !f.Goal               ? QString()
                                : *f.Value <= *f.Goal ? QStringLiteral("ok")
                                                      : QStringLiteral("OVER");
        Print(QStringLiteral("%1 %2 %3 %4 %5 %6  %7%8")
                  .arg(f.Number, -3)
                  .arg(f.Name, -52)
                  .arg(Cell(f.Value, f.Unit), 11)
                  .arg(Cell(f.Floor, f.Unit), 10)
                  .arg(ratio, 7)
                  .arg(f.Goal ? QStringLiteral("<= ") + Cell(f.Goal, f.Unit) : QStringLiteral("-"),
                       10)
                  .arg(verdict, -4)
                  .arg(f.Remark.isEmpty() ? QString() : QStringLiteral(" ") + f.Remark));
    }
}

struct TGoals {
    double List, Keystroke, Sort, MemoryMiB;
    std::optional<double> Startup, Goto, Details, DeleteCustomer, AddCall;
};

TFigure Figure(const QString& number, const QString& name, std::optional<double> value,
               std::optional<double> floor, std::optional<double> goal, const QString& remark = {},
               const QString& unit = QStringLiteral("ms")) {
    TFigure figure;
    figure.Number = number;
    figure.Name = name;
    figure.Value = value;
    figure.Floor = floor;
    figure.Goal = goal;
    figure.Unit = unit;
    figure.Remark = remark;
    return figure;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Measures the lists on a database directory filled by korvane-demo-data and prints each "
        "figure beside its SQLite floor and its goal."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("DIRECTORY"), QStringLiteral("database directory"));
    parser.addOption({QStringLiteral("repeat"), QStringLiteral("runs per figure (default 5)"),
                      QStringLiteral("N"), QStringLiteral("5")});
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    const int repeat = std::max(1, parser.value(QStringLiteral("repeat")).toInt());

    TDatabase db;
    qint64 calls = 0;
    try {
        db.Open(parser.positionalArguments().first());
        auto count = db.Prepare(QStringLiteral("SELECT COUNT(*) FROM Call"));
        count->Step();
        calls = count->Integer(0);
    } catch (const EError& e) {
        Die(e.Message());
    }
    if (calls == 0)
        Die(QStringLiteral("the Call table is empty; fill the directory with korvane-demo-data."));
    const bool huge = calls >= 500000;
    // Goals at the two sizes; the huge size has goals for the lists only.
    const TGoals goals = huge ? TGoals{300, 50, 2000, 400, {}, {}, {}, {}, {}}
                              : TGoals{100, 16, 300, 150, 300, 20, 20, 50, 20};

    Print(QStringLiteral("Database: %1 (%2 calls; goals for the %3 size); %4 runs per figure.")
              .arg(QDir::toNativeSeparators(db.Directory()))
              .arg(calls)
              .arg(huge ? QStringLiteral("huge") : QStringLiteral("workshop"))
              .arg(repeat));

    struct TList {
        const char* Name;
        QString Sql;
    };
    const std::vector<TList> lists = {
        {"calls", DMTables::SqlCallText()},
        {"customers", DMTables::SqlCustomerText()},
        {"items", DMTables::SqlItemText()},
        {"service contracts", DMTables::SqlServiceContractText()},
        {"workers", DMTables::SqlWorkerText()},
    };
    constexpr int ShownRows = 40;

    std::vector<TFigure> figures;
    std::vector<QString> translated;
    // The prefix typed in the search, and a text that matches no company.
    QString prefix;
    const QString nothing = QStringLiteral("Zzzzz");
    qint64 prefixRow = 0;
    // The call made current before sorting, and the sorted texts' SQL.
    QString sortedCall;
    QString companySortSql;
    QString callNrSortSql;
    std::vector<double> listTimes[5];
    std::vector<double> keystrokes;
    std::vector<double> missKeystrokes;
    std::vector<double> sortCompany;
    std::vector<double> sortBack;

    try {
        for (const TList& list : lists)
            translated.push_back(db.Prepare(list.Sql)->Sql());

        // (2) Open a list and have 40 rows ready for the grid.
        for (int run = 0; run < repeat; ++run) {
            for (size_t l = 0; l < lists.size(); ++l) {
                TQuery query;
                query.SetDatabase(&db);
                query.SetSQL(lists[l].Sql);
                TDataSetModel model;
                model.SetFetchSize(ShownRows);
                listTimes[l].push_back(TimeMs([&] {
                    query.Open();
                    model.SetDataSet(&query);
                    const int rows = std::min(model.rowCount(), ShownRows);
                    for (int row = 0; row < rows; ++row)
                        for (int column = 0; column < model.columnCount(); ++column)
                            model.data(model.index(row, column));
                }));
            }
        }

        // The company typed into the search: that of the call three quarters
        // down the list.
        {
            TQuery query;
            query.SetDatabase(&db);
            query.SetSQL(DMTables::SqlCallText());
            query.Open();
            query.MoveBy(calls * 3 / 4);
            prefix = query.FieldByName(QStringLiteral("CompanyName")).AsString().left(5);
        }

        // (3) Incremental search: a fresh list, five keystrokes.
        const auto type = [&](const QString& text, std::vector<double>& times, qint64* row) {
            TQuery query;
            query.SetDatabase(&db);
            query.SetSQL(DMTables::SqlCallText());
            TDataSetModel model;
            model.SetFetchSize(ShownRows);
            query.Open();
            model.SetDataSet(&query);
            for (int n = 1; n <= text.size(); ++n)
                times.push_back(TimeMs([&] {
                    query.Locate(QStringLiteral("CompanyName"), text.left(n),
                                 TDataSet::CaseInsensitive | TDataSet::PartialKey);
                }));
            if (row)
                *row = query.RecNo();
        };
        for (int run = 0; run < repeat; ++run) {
            type(prefix, keystrokes, &prefixRow);
            type(nothing, missKeystrokes, nullptr);
        }

        // (4) Sorting by a header and back, on the 21st row.
        for (int run = 0; run < repeat; ++run) {
            TQuery query;
            query.SetDatabase(&db);
            query.SetSQL(DMTables::SqlCallText());
            TDataSetModel model;
            model.SetFetchSize(ShownRows);
            query.Open();
            model.SetDataSet(&query);
            query.MoveBy(20);
            sortedCall = query.FieldByName(QStringLiteral("CallNr")).AsString();
            const auto show = [&] {
                const int rows = std::min(model.rowCount(), ShownRows);
                for (int row = 0; row < rows; ++row)
                    model.data(model.index(row, 3));
            };
            sortCompany.push_back(TimeMs([&] {
                model.sort(model.ColumnOf(QStringLiteral("CompanyName")));
                show();
            }));
            if (query.FieldByName(QStringLiteral("CallNr")).AsString() != sortedCall)
                Die(QStringLiteral("sorting by CompanyName lost the current row"));
            sortBack.push_back(TimeMs([&] {
                model.sort(model.ColumnOf(QStringLiteral("CallNr")));
                show();
            }));
            if (query.FieldByName(QStringLiteral("CallNr")).AsString() != sortedCall)
                Die(QStringLiteral("sorting back by CallNr lost the current row"));
        }
    } catch (const EError& e) {
        Die(e.Message());
    }

    // (9) Peak memory of the engine side.
    const qint64 peak = PeakResidentMiB();

    // Floors.
    TFloor floor(db);
    std::vector<double> listFloors[5];
    std::vector<double> keyFloors;
    std::vector<double> missFloors;
    std::vector<double> companyFloors;
    std::vector<double> backFloors;
    const QString callSql = translated[0];
    // Like the engine, the floor keeps its statement open while the user
    // types and keeps what it has read (here only the company names): each
    // keystroke looks through those first and steps on only when needed.
    const auto typedFloor = [&](const QString& text, std::vector<double>& times) {
        sqlite3_stmt* stmt = floor.Prepare(callSql);
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
                    if (sqlite3_step(stmt) != SQLITE_ROW) {
                        done = true;
                        break;
                    }
                    for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                        sqlite3_column_text(stmt, c);
                    read.emplace_back(
                        reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)));
                    if (matches(read.back().constData()))
                        return;
                }
            }));
        }
        sqlite3_finalize(stmt);
    };
    // The engine sorts in SQL by the column without regard to case, then by
    // the key; the floor's statement does the same and steps to the current
    // row.
    const auto sortedFloor = [&](const char* column) {
        const QString sql = QStringLiteral("SELECT * FROM (%1) ORDER BY \"%2\" COLLATE NOCASE, "
                                           "\"CallNr\"")
                                .arg(callSql, QLatin1String(column));
        const QByteArray key = sortedCall.toUtf8();
        return TimeMs([&] {
            int keyColumn = -1;
            floor.Step(sql, [&](sqlite3_stmt* stmt, qint64 rows) {
                if (keyColumn < 0)
                    keyColumn = TFloor::Column(stmt, "CallNr");
                static_cast<void>(rows);
                return key == reinterpret_cast<const char*>(sqlite3_column_text(stmt, keyColumn));
            });
        });
    };
    for (int run = 0; run < repeat; ++run) {
        for (size_t l = 0; l < lists.size(); ++l)
            listFloors[l].push_back(TimeMs([&] {
                floor.Step(translated[l],
                           [](sqlite3_stmt*, qint64 rows) { return rows >= ShownRows; });
            }));
        typedFloor(prefix, keyFloors);
        typedFloor(nothing, missFloors);
        companyFloors.push_back(sortedFloor("CompanyName"));
        backFloors.push_back(sortedFloor("CallNr"));
    }

    figures.push_back(Figure(QStringLiteral("1"), QStringLiteral("start-up: SetDatabaseActive"), {},
                             {}, goals.Startup, QStringLiteral("(needs the data module)")));
    for (size_t l = 0; l < lists.size(); ++l)
        figures.push_back(Figure(l == 0 ? QStringLiteral("2") : QString(),
                                 QStringLiteral("open the %1 list, 40 rows in the grid")
                                     .arg(QLatin1String(lists[l].Name)),
                                 Median(listTimes[l]), Median(listFloors[l]), goals.List));
    figures.push_back(Figure(QStringLiteral("3"),
                             QStringLiteral("search \"%1\", median keystroke").arg(prefix),
                             Median(keystrokes), Median(keyFloors), goals.Keystroke,
                             QStringLiteral("(found at row %1)").arg(prefixRow)));
    figures.push_back(Figure(QString(), QStringLiteral("  the same, slowest keystroke"),
                             *std::max_element(keystrokes.begin(), keystrokes.end()),
                             *std::max_element(keyFloors.begin(), keyFloors.end()), {}));
    figures.push_back(Figure(QString(), QStringLiteral("search matching nothing, median keystroke"),
                             Median(missKeystrokes), Median(missFloors), goals.Keystroke,
                             QStringLiteral("(typing \"%1\")").arg(nothing)));
    figures.push_back(Figure(QString(), QStringLiteral("  the same, slowest keystroke"),
                             *std::max_element(missKeystrokes.begin(), missKeystrokes.end()),
                             *std::max_element(missFloors.begin(), missFloors.end()), {},
                             QStringLiteral("(the first one reads every call)")));
    figures.push_back(Figure(QStringLiteral("4"),
                             QStringLiteral("sort calls by CompanyName, keep row"),
                             Median(sortCompany), Median(companyFloors), goals.Sort));
    figures.push_back(Figure(QString(), QStringLiteral("  and back by CallNr"), Median(sortBack),
                             Median(backFloors), goals.Sort));
    figures.push_back(Figure(QStringLiteral("5"), QStringLiteral("GotoRecord"), {}, {}, goals.Goto,
                             QStringLiteral("(needs the data module)")));
    figures.push_back(Figure(QStringLiteral("6"), QStringLiteral("detail queries of one call"), {},
                             {}, goals.Details, QStringLiteral("(needs the data module)")));
    figures.push_back(Figure(QStringLiteral("7"),
                             QStringLiteral("delete a customer with its cascade"), {}, {},
                             goals.DeleteCustomer, QStringLiteral("(needs the data module)")));
    figures.push_back(Figure(QStringLiteral("8"), QStringLiteral("add one call"), {}, {},
                             goals.AddCall, QStringLiteral("(needs the data module)")));
    figures.push_back(Figure(QStringLiteral("9"), QStringLiteral("peak resident memory after 2-4"),
                             double(peak), {}, goals.MemoryMiB, QStringLiteral("(VmHWM)"),
                             QStringLiteral("MiB")));
    Print(QString());
    PrintTable(figures);
    return 0;
}
