#include "data/engine/TKeyedRows.h"

#include "data/engine/UCellCompare.h"

#include <algorithm>
#include <numeric>
#include <sqlite3.h>
#include <string_view>

namespace {

// Rows read by key at a time, and the most kept.
constexpr qint64 PageRows = 128;
constexpr qint64 MaxCachedRows = 64 * PageRows;

QString ColumnName(int column) {
    return QStringLiteral("\"c%1\"").arg(column);
}

// A row of the narrow statement seen with the result's column numbers.
class TNarrowRow : public TRowView {
public:
    TNarrowRow(sqlite3_stmt* stmt, const QList<int>& heldAt) : m_pStmt(stmt), m_HeldAt(heldAt) {}
    TCell Cell(int column) const override {
        const int at = m_HeldAt.value(column, -1);
        return at >= 0 ? TCell::FromStatement(m_pStmt, at) : TCell();
    }

private:
    sqlite3_stmt* m_pStmt;
    const QList<int>& m_HeldAt;
};

// A bijection that spreads a hash of small integers (their own value) over
// all 64 bits, so that HasRepeats finds them in many buckets.
quint64 Spread(quint64 hash) {
    return hash * 0x9E3779B97F4A7C15ull;
}

// Whether two values are equal. One pass puts them into buckets by their top
// bits, then each bucket is sorted alone: for a million hashes a fifth of the
// time of sorting them whole.
bool HasRepeats(std::vector<quint64>& values) {
    constexpr int Bits = 16;
    if (values.size() < (size_t(1) << Bits) / 4) {
        std::sort(values.begin(), values.end());
        return std::adjacent_find(values.begin(), values.end()) != values.end();
    }
    std::vector<size_t> starts((size_t(1) << Bits) + 1, 0);
    for (const quint64 value : values)
        ++starts[(value >> (64 - Bits)) + 1];
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    std::vector<quint64> bucketed(values.size());
    std::vector<size_t> next(starts.begin(), starts.end() - 1);
    for (const quint64 value : values)
        bucketed[next[value >> (64 - Bits)]++] = value;
    for (size_t b = 0; b + 1 < starts.size(); ++b) {
        const auto first = bucketed.begin() + qsizetype(starts[b]);
        const auto last = bucketed.begin() + qsizetype(starts[b + 1]);
        std::sort(first, last);
        if (std::adjacent_find(first, last) != last)
            return true;
    }
    return false;
}

// Sorts places; false when two are the same. Places that lie close together,
// as the rowids of a table do, are marked in a map of the range instead.
bool SortPlaces(std::vector<qint64>& places) {
    if (places.empty())
        return true;
    const auto [low, high] = std::minmax_element(places.begin(), places.end());
    const qint64 first = *low;
    if (quint64(*high) - quint64(first) >= 8 * places.size()) {
        std::sort(places.begin(), places.end());
        return std::adjacent_find(places.begin(), places.end()) == places.end();
    }
    std::vector<bool> taken(size_t(*high - first) + 1);
    for (const qint64 place : places) {
        if (taken[size_t(place - first)])
            return false;
        taken[size_t(place - first)] = true;
    }
    size_t at = 0;
    for (size_t i = 0; i < taken.size(); ++i) {
        if (taken[i])
            places[at++] = first + qint64(i);
    }
    return true;
}

// A row of one cell.
class TCellRow : public TRowView {
public:
    explicit TCellRow(const TCell& cell) : m_Cell(cell) {}
    TCell Cell(int column) const override { return column == 0 ? m_Cell : TCell(); }

private:
    const TCell& m_Cell;
};

// A row of a statement whose first cells have been read already.
class TFetchedRow : public TRowView {
public:
    TFetchedRow(sqlite3_stmt* stmt, const std::vector<TCell>& first)
        : m_pStmt(stmt), m_First(first) {}
    TCell Cell(int column) const override {
        return size_t(column) < m_First.size() ? m_First[size_t(column)]
                                               : TCell::FromStatement(m_pStmt, column);
    }

private:
    sqlite3_stmt* m_pStmt;
    const std::vector<TCell>& m_First;
};

void BindCell(sqlite3_stmt* stmt, int index, const TCell& cell) {
    switch (cell.Kind) {
    case TCell::Integer:
        sqlite3_bind_int64(stmt, index, cell.Int);
        break;
    case TCell::Float:
        sqlite3_bind_double(stmt, index, cell.Real);
        break;
    case TCell::Text:
        sqlite3_bind_text(stmt, index, cell.Bytes.data(), int(cell.Bytes.size()), SQLITE_TRANSIENT);
        break;
    case TCell::Blob:
        sqlite3_bind_blob(stmt, index, cell.Bytes.data(), int(cell.Bytes.size()), SQLITE_TRANSIENT);
        break;
    case TCell::Null:
        sqlite3_bind_null(stmt, index);
        break;
    }
}

} // namespace

TCell TKeyedRows::THeldRow::Cell(int column) const {
    const int at = m_Rows.m_HeldAt.value(column, -1);
    return at >= 0 ? m_Rows.m_Held.Cell(m_Row, at) : TCell();
}

TKeyedRows::TKeyedRows(TDatabase& database, const QString& innerSql, const TParams& params,
                       int columnCount, int hiddenColumns)
    : m_Database(database), m_InnerSql(innerSql), m_Params(params), m_ColumnCount(columnCount),
      m_HiddenColumns(hiddenColumns), m_Cache(columnCount) {}

TKeyedRows::~TKeyedRows() = default;

QString TKeyedRows::Sql(const QString& select) const {
    QStringList names;
    for (int c = 0; c < m_ColumnCount; ++c)
        names << ColumnName(c);
    // The CTE renames the columns by position (names of a join may repeat);
    // SQLite flattens it into the outer statement, so the narrow statement
    // leaves out the joins it does not need and a key condition reaches the
    // index.
    return QStringLiteral("WITH \"korvane_rows\"(%1) AS (\n%2\n) %3")
        .arg(names.join(QStringLiteral(", ")), m_InnerSql, select);
}

std::string TKeyedRows::KeyBytes(const TRowView& row, const QList<int>& columns) const {
    std::string key;
    for (const int column : columns)
        UCellCompare::AppendSortKey(key, row.Cell(column), false, false);
    return key;
}

void TKeyedRows::HoldColumns(const QList<int>& columns) {
    m_Columns = columns;
    m_HeldAt = QList<int>(m_ColumnCount, -1);
    for (qsizetype i = 0; i < m_Columns.size(); ++i)
        m_HeldAt[m_Columns[i]] = int(i);
    m_Held.Reset(int(m_Columns.size()));
    ForgetPages();
}

bool TKeyedRows::ReadKeys(TStatement& statement, const TFilterExpr& filter) {
    sqlite3_stmt* stmt = statement.Handle();
    const TNarrowRow narrow(stmt, m_HeldAt);
    const auto keys = size_t(m_KeyColumns.size());
    std::vector<TCell> keyCells(keys);
    const TFetchedRow row(stmt, keyCells);
    // Keys are told apart by a hash of their values; two keys with one hash
    // count as a repeat, which costs only the slower way of reading.
    std::vector<quint64> hashes;
    bool usable = true;
    while (usable && statement.Step()) {
        if (!filter.IsEmpty() && !filter.Matches(narrow))
            continue;
        quint64 hash = 0;
        for (size_t k = 0; k < keys; ++k) {
            const TCell& cell = keyCells[k] = TCell::FromStatement(stmt, int(k));
            usable = usable && !cell.IsNull();
            const size_t part = cell.Kind == TCell::Integer ? std::hash<qint64>{}(cell.Int)
                                : cell.Kind == TCell::Float
                                    ? std::hash<double>{}(cell.Real)
                                    : std::hash<std::string_view>{}(cell.Bytes);
            hash = hash * 1000003u ^ part;
        }
        hashes.push_back(Spread(hash));
        m_Held.Append(row);
    }
    if (!usable || HasRepeats(hashes)) {
        m_Held.Reset(int(m_Columns.size()));
        return false;
    }
    return true;
}

bool TKeyedRows::Load(const QList<int>& keyColumns, const QList<int>& held,
                      const TFilterExpr& filter, int sortColumn, bool descending) {
    m_KeyColumns = keyColumns;
    QList<int> columns = keyColumns;
    for (const int column : held) {
        if (!columns.contains(column))
            columns << column;
    }
    HoldColumns(columns);
    QStringList names;
    for (const int column : std::as_const(m_Columns))
        names << ColumnName(column);
    auto statement = m_Database.PrepareNative(Sql(
        QStringLiteral("SELECT %1 FROM \"korvane_rows\"").arg(names.join(QStringLiteral(", ")))));
    statement->Bind(m_Params);
    if (!ReadKeys(*statement, filter))
        return false;
    Sort(sortColumn, descending);
    return true;
}

bool TKeyedRows::LoadInOrder(const QString& narrowSql, int keyColumn, const TParams& params) {
    m_KeyColumns = {keyColumn};
    HoldColumns(m_KeyColumns);
    auto statement = m_Database.PrepareNative(narrowSql);
    statement->Bind(params);
    // Only integers are read: a million rowids cost little more than SQLite
    // takes to give them.
    sqlite3_stmt* stmt = statement->Handle();
    std::vector<qint64> places;
    while (statement->Step()) {
        if (sqlite3_column_type(stmt, 0) != SQLITE_INTEGER)
            return false;
        places.push_back(sqlite3_column_int64(stmt, 0));
    }
    if (!SortPlaces(places))
        return false;
    TCell cell;
    cell.Kind = TCell::Integer;
    const TCellRow row(cell);
    for (const qint64 place : places) {
        cell.Int = place;
        m_Held.Append(row);
    }
    return true;
}

void TKeyedRows::Sort(int column, bool descending) {
    QList<int> columns{m_HeldAt[column]};
    for (qsizetype k = 0; k < m_KeyColumns.size(); ++k) {
        if (k != columns[0])
            columns << int(k);
    }
    m_Held.Permute(UCellCompare::SortedOrder(m_Held, columns, descending));
    ForgetPages();
}

void TKeyedRows::ForgetPages() {
    m_Cache.Reset(m_ColumnCount);
    m_Pages.clear();
}

const std::vector<qint64>& TKeyedRows::Page(qint64 page) {
    if (const auto it = m_Pages.find(page); it != m_Pages.end())
        return it->second;
    if (m_Cache.Count() >= MaxCachedRows)
        ForgetPages();
    const qint64 first = page * PageRows;
    const qint64 count = std::min(PageRows, Count() - first);
    const auto keys = int(m_KeyColumns.size());
    if (!m_pPageStatement) {
        QStringList slots;
        QStringList names;
        for (const int column : std::as_const(m_KeyColumns))
            names << ColumnName(column);
        const QString slot = QStringList(keys, QStringLiteral("?")).join(QStringLiteral(", "));
        for (qint64 i = 0; i < PageRows; ++i)
            slots << (keys == 1 ? slot : QStringLiteral("(%1)").arg(slot));
        const QString condition =
            keys == 1
                ? QStringLiteral("%1 IN (%2)").arg(names[0], slots.join(QStringLiteral(", ")))
                : QStringLiteral("(%1) IN (VALUES %2)")
                      .arg(names.join(QStringLiteral(", ")), slots.join(QStringLiteral(", ")));
        m_pPageStatement = m_Database.PrepareNative(
            Sql(QStringLiteral("SELECT * FROM \"korvane_rows\" WHERE ") + condition));
        m_pPageStatement->Bind(m_Params);
    }
    TStatement& statement = *m_pPageStatement;
    sqlite3_stmt* stmt = statement.Handle();
    statement.Reset();
    // The key slots come after the statement's own parameters.
    const int firstSlot = sqlite3_bind_parameter_count(stmt) - int(PageRows) * keys + 1;
    std::unordered_map<std::string, qint64> wanted;
    QList<int> keyAt;
    for (int k = 0; k < keys; ++k)
        keyAt << k;
    for (qint64 i = 0; i < PageRows; ++i) {
        for (int k = 0; k < keys; ++k)
            BindCell(stmt, firstSlot + int(i) * keys + k,
                     i < count ? m_Held.Cell(first + i, k) : TCell());
        if (i < count)
            wanted.emplace(KeyBytes(THeldRow(*this, first + i), m_KeyColumns), i);
    }
    std::vector<qint64> rows(size_t(std::max<qint64>(count, 0)), -1);
    const TStatementRow row(stmt);
    try {
        while (statement.Step()) {
            const auto it = wanted.find(KeyBytes(row, m_KeyColumns));
            if (it == wanted.end() || rows[size_t(it->second)] >= 0)
                continue;
            rows[size_t(it->second)] = m_Cache.Count();
            m_Cache.Append(row);
        }
    } catch (...) {
        statement.Reset();
        throw;
    }
    // Reset at once so that the statement holds no lock on the files.
    statement.Reset();
    return m_Pages.emplace(page, std::move(rows)).first->second;
}

TCell TKeyedRows::Cell(qint64 row, int column) {
    if (row < 0 || row >= Count() || column < 0 || column >= m_ColumnCount)
        return {};
    const qint64 at = Page(row / PageRows)[size_t(row % PageRows)];
    // A row gone from the table since the keys were read shows what is held
    // of it until the query is read again.
    return at >= 0 ? m_Cache.Cell(at, column) : THeldRow(*this, row).Cell(column);
}

QVariantList TKeyedRows::Record(qint64 row) {
    QVariantList record;
    if (row < 0 || row >= Count())
        return record;
    record.reserve(m_ColumnCount - m_HiddenColumns);
    for (int c = 0; c < m_ColumnCount - m_HiddenColumns; ++c)
        record << Cell(row, c).ToVariant();
    return record;
}

qint64 TKeyedRows::RowOfOrderedKey(qint64 key) const {
    qint64 low = 0;
    qint64 high = Count();
    while (low < high) {
        const qint64 middle = low + (high - low) / 2;
        const TCell cell = m_Held.Cell(middle, 0);
        if (cell.Kind != TCell::Integer)
            return -1;
        if (cell.Int < key)
            low = middle + 1;
        else
            high = middle;
    }
    return low < Count() && m_Held.Cell(low, 0).Kind == TCell::Integer &&
                   m_Held.Cell(low, 0).Int == key
               ? low
               : -1;
}

QVariantList TKeyedRows::Held(const QVariantList& record) const {
    QVariantList held;
    for (const int column : m_Columns)
        held << record.value(column);
    return held;
}

void TKeyedRows::Insert(qint64 at, const QVariantList& record) {
    m_Held.Insert(at, Held(record));
    ForgetPages();
}

void TKeyedRows::Replace(qint64 at, const QVariantList& record) {
    m_Held.Replace(at, Held(record));
    ForgetPages();
}

void TKeyedRows::Remove(qint64 at) {
    m_Held.Remove(at);
    ForgetPages();
}
