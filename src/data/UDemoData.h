#pragma once

// Demonstration databases: a workshop's customers, their items, service
// contracts, workers and twenty years of calls with their comment lines,
// written into the table files of a database directory through the data
// module's connection.
//
// The same sizes and seed always give the same rows: every value comes from
// SplitMix64 streams derived from the seed, one stream per record (so the
// customers do not change when only the number of calls does), and all dates
// lie in a fixed period, never relative to today.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class TDatabase;
class TdmlGlobals;

namespace UDemoData {

struct TSizes {
    qint64 Calls = 0;
    qint64 Customers = 0;
    qint64 Items = 0;
    qint64 Contracts = 0;
    qint64 Workers = 0;
    qint64 CommentLines = 0;
};

// "small", "workshop" or "huge"; nothing for an unknown name.
std::optional<TSizes> Preset(const QString& name);
QStringList PresetNames();

// Where the rows come from and how many; the counts written.
struct TReport {
    TSizes Written;
    qint64 Representatives = 0;
    // Lines about adjustments made to the sizes asked for (too few comment
    // lines for the calls, more contracts than items, ...).
    QStringList Notes;
};

// Called after each table with its name, the rows written and the time taken.
using TProgress = std::function<void(const QString& table, qint64 rows, qint64 ms)>;

// Tables of the connection's directory that already hold rows, as
// "Name (n rows)".
QStringList TablesWithRows(TDatabase& db);

// Fills the (empty) tables of the data module's directory through the
// module's connection, with the values the program itself stores. Raises
// EDatabaseError when a statement fails; what was committed before stays.
TReport Fill(TdmlGlobals& dataModule, const TSizes& sizes, quint64 seed,
             const TProgress& progress = {});

// A GUID text "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" made from two numbers,
// shaped like the random GUIDs the program makes for its rows.
QString GuidText(quint64 high, quint64 low);

} // namespace UDemoData
