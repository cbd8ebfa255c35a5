#pragma once

// What every group of the benchmark's figures uses: printing and giving up,
// timing, the peak memory, copies of a database directory, the floor (the
// same SQL run straight through SQLite on the same files), the table of
// results and the goals at the two sizes of the database.

#include "data/engine/TDataSetModel.h"
#include "data/engine/TQuery.h"

#include <QString>
#include <QVariantList>
#include <functional>
#include <optional>
#include <vector>

class QAbstractItemModel;
class TDatabase;
struct sqlite3;
struct sqlite3_stmt;

// ---------------------------------------------------------------------------
// Printing, giving up and timing.

void Print(const QString& text);

// The scratch folder of the copies, removed also when the bench gives up
// (none when empty).
void SetScratch(const QString& folder);

[[noreturn]] void Die(const QString& text);

double Median(std::vector<double> values);
double Slowest(const std::vector<double>& values);
double TimeMs(const std::function<void()>& work);

// The process's peak resident memory (VmHWM), -1 when unknown.
qint64 PeakResidentMiB();

// The table files of `from` copied into `to` (made when missing).
void CopyDirectory(const QString& from, const QString& to);

// The table as the engine's statements name it: "alias"."Table".
QString Qualified(TDatabase& db, const char* table);

// Reads the cells of the first screen of a grid's model.
void ShowRows(const QAbstractItemModel& model, int rows = 40);

// `count` of `values`, spread evenly over them.
template <typename T>
std::vector<T> Spread(const std::vector<T>& values, int count) {
    std::vector<T> picked;
    for (int k = 0; k < count && !values.empty(); ++k)
        picked.push_back(values[size_t((k * 2 + 1) * values.size() / size_t(count * 2))]);
    return picked;
}

// ---------------------------------------------------------------------------
// What the figures work on.

// The rows a list window shows on its first screen.
constexpr int ShownRows = 40;

// A list window's query with the grid model over it, as the program has them.
struct TShownList {
    TQuery Query;
    TDataSetModel Model;
    TShownList(TDatabase& db, const QString& sql);
    void Open();
    // Reads the cells of the first screen (one column, or all when -1).
    void Show(int onlyColumn = -1);
};

// A call with a service contract on its item, and its keys.
struct TCallKeys {
    QString CallNr, Customer, Item, Worker;
};

// ---------------------------------------------------------------------------
// The floor: one plain SQLite connection with every table file of a directory
// attached under the name the engine gives it, so the engine's translated SQL
// runs unchanged.

class TFloor {
public:
    explicit TFloor(const QString& directory);
    ~TFloor();
    TFloor(const TFloor&) = delete;
    TFloor& operator=(const TFloor&) = delete;

    void Exec(const QString& sql);
    sqlite3_stmt* Prepare(const QString& sql);

    // Steps a prepared statement to its next row, reading every column as the
    // engine does; false at the end.
    static bool StepRow(sqlite3_stmt* stmt);

    // Prepares `sql` and steps it, reading every column of each row, until
    // `stop` says so or the rows end; returns the rows stepped.
    qint64 Step(const QString& sql, const std::function<bool(sqlite3_stmt*, qint64)>& stop);

    // Runs a statement that returns no rows, with texts bound to its
    // parameters ?1, ?2, ... in order; a null QVariant binds NULL and an
    // integer binds as one.
    void Run(sqlite3_stmt* stmt, const QVariantList& values);

    // The column of that name, whatever its letter case; -1 when none.
    static int Column(sqlite3_stmt* stmt, const char* name);

    // Binds a text to the parameter of that name, whatever its letter case.
    static void BindText(sqlite3_stmt* stmt, const QString& name, const QString& value);

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

TFigure Figure(const QString& number, const QString& name, std::optional<double> value,
               std::optional<double> floor, std::optional<double> goal, const QString& remark = {},
               const QString& unit = QStringLiteral("ms"));

// "(slowest N ms)" for the remark of a median.
QString SlowestRemark(const std::vector<double>& times);

void PrintTable(const std::vector<TFigure>& figures);

// The goals at the two sizes; the huge size has goals for the lists, record
// location (every kind) and the calls list's last row.
struct TGoals {
    double List, Keystroke, Sort, MemoryMiB;
    std::optional<double> Startup, Goto, Details, DeleteCustomer, AddCall, DetailPanel, Picker,
        FollowRow, OpenCallEditor, StatusApplied, LastRow;
};

// The size of the database by its calls: huge from half a million.
bool IsHuge(qint64 calls);
TGoals GoalsFor(qint64 calls);
