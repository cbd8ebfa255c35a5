#include "data/engine/TQueryRows.h"

#include "data/engine/TKeyedRows.h"
#include "data/engine/UCellCompare.h"

namespace {

// The lines of a statement's query plan, its outermost loop first.
QStringList Plan(TDatabase& database, const QString& sql, const TParams& params) {
    auto plan = database.PrepareNative(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    plan->Bind(params);
    QStringList lines;
    while (plan->Step())
        lines << plan->Text(3);
    return lines;
}

bool SameCell(const TCell& a, const TCell& b) {
    if (a.Kind != b.Kind)
        return false;
    switch (a.Kind) {
    case TCell::Integer:
        return a.Int == b.Int;
    case TCell::Float:
        return a.Real == b.Real;
    case TCell::Text:
    case TCell::Blob:
        return a.Bytes == b.Bytes;
    case TCell::Null:
        break;
    }
    return true;
}

} // namespace

TQueryRows::TQueryRows() = default;

TQueryRows::~TQueryRows() = default;

void TQueryRows::Clear() {
    m_pStatement.reset();
    m_pFilter = nullptr;
    m_Store.Reset(0);
    m_AllRead = true;
    m_Last.Reset(0);
    m_LastStart = -1;
    m_pKeyed.reset();
}

void TQueryRows::Start(std::unique_ptr<TStatement> statement, bool hasRow, int columnCount,
                       const TFilterExpr* filter) {
    Clear();
    m_Store.Reset(columnCount);
    m_pFilter = filter;
    if (!hasRow)
        return;
    m_pStatement = std::move(statement);
    m_AllRead = false;
    const TStatementRow row(m_pStatement->Handle());
    if (!m_pFilter || m_pFilter->Matches(row))
        m_Store.Append(row);
}

void TQueryRows::HoldByKey(std::unique_ptr<TKeyedRows> rows) {
    m_pStatement.reset();
    m_Store.Reset(m_Store.ColumnCount());
    m_Last.Reset(0);
    m_LastStart = -1;
    m_AllRead = true;
    m_pKeyed = std::move(rows);
}

qint64 TQueryRows::Count() const {
    return m_pKeyed ? m_pKeyed->Count() : m_Store.Count();
}

void TQueryRows::ReadOne() {
    bool hasRow = false;
    try {
        hasRow = m_pStatement->Step();
    } catch (...) {
        // A failed statement starts over when stepped again; stop here.
        m_pStatement.reset();
        m_AllRead = true;
        throw;
    }
    if (hasRow) {
        const TStatementRow row(m_pStatement->Handle());
        if (!m_pFilter || m_pFilter->Matches(row))
            m_Store.Append(row);
    } else {
        m_pStatement.reset();
        m_AllRead = true;
    }
    // Read up to where the last rows begin, the statement gives the rest.
    if (m_LastStart >= 0 && (m_AllRead || m_Store.Count() >= m_LastStart)) {
        m_Last.Reset(0);
        m_LastStart = -1;
    }
}

void TQueryRows::ReadUntil(qint64 rows) {
    while (!m_AllRead && m_Store.Count() < rows)
        ReadOne();
}

bool TQueryRows::ReadLast(TDatabase& database, const QString& reversedSql, const QString& sql,
                          const TParams& params, qint64 total) {
    m_Last.Reset(m_Store.ColumnCount());
    if (!reversedSql.isEmpty()) {
        auto statement = database.PrepareNative(reversedSql);
        statement->Bind(params);
        TRowStore backwards(m_Store.ColumnCount());
        while (statement->Step())
            backwards.Append(TStatementRow(statement->Handle()));
        for (qint64 row = backwards.Count() - 1; row >= 0; --row)
            m_Last.Append(TRowStore::TRow(backwards, row));
    } else {
        auto statement = database.PrepareNative(
            QStringLiteral("SELECT * FROM (\n%1\n) LIMIT %2 OFFSET %3")
                .arg(sql, QString::number(LastRows), QString::number(total - LastRows)));
        statement->Bind(params);
        while (statement->Step())
            m_Last.Append(TStatementRow(statement->Handle()));
    }
    if (m_Last.Count() != LastRows) {
        // The rows changed since they were counted.
        m_Last.Reset(0);
        return false;
    }
    m_LastStart = total - LastRows;
    return true;
}

bool TQueryRows::InLast(qint64 row) const {
    return m_LastStart >= 0 && row >= m_LastStart && row >= m_Store.Count() &&
           row - m_LastStart < m_Last.Count();
}

QVariantList TQueryRows::Record(qint64 row) {
    if (m_pKeyed)
        return m_pKeyed->Record(row);
    if (InLast(row))
        return m_Last.Record(row - m_LastStart);
    ReadUntil(row + 1);
    return m_Store.Record(row);
}

QVariant TQueryRows::Value(qint64 row, int column) {
    if (m_pKeyed)
        return m_pKeyed->Cell(row, column).ToVariant();
    if (InLast(row))
        return m_Last.Value(row - m_LastStart, column);
    ReadUntil(row + 1);
    return m_Store.Value(row, column);
}

void TQueryRows::Insert(qint64 at, const QVariantList& record) {
    if (m_pKeyed)
        m_pKeyed->Insert(at, record);
    else
        m_Store.Insert(at, record);
}

void TQueryRows::Replace(qint64 at, const QVariantList& record) {
    if (m_pKeyed)
        m_pKeyed->Replace(at, record);
    else
        m_Store.Replace(at, record);
}

void TQueryRows::Remove(qint64 at) {
    if (m_pKeyed)
        m_pKeyed->Remove(at);
    else
        m_Store.Remove(at);
}

qint64 TQueryRows::SortRead(const QList<int>& columns, bool descending, qint64 row) {
    const quint64 current = row >= 0 ? m_Store.RowId(row) : 0;
    m_Store.Permute(UCellCompare::SortedOrder(m_Store, columns, descending));
    return row >= 0 ? m_Store.Find(current) : -1;
}

bool TQueryRows::HoldInStatementOrder(TDatabase& database, const QString& sql,
                                      const UQuerySql::TRowidSql& rowid, const TParams& params) {
    // The statement must read its first table straight through, in rowid
    // order; it then gives its rows in that order when it gives each once.
    const QString loop = Plan(database, sql, params).value(0);
    if (!loop.startsWith(QLatin1String("SCAN ")) || loop.contains(QLatin1String(" USING ")))
        return false;
    const int columns = m_Store.ColumnCount();
    auto rows = std::make_unique<TKeyedRows>(database, rowid.Rows, params, columns + 1, 1);
    // Every rowid is a row of one table: they differ unless a join repeats
    // a row. When SQLite leaves out every join, the table alone is read.
    const QString& rowids =
        Plan(database, rowid.InOrder, params).size() == 1 ? rowid.Alone : rowid.InOrder;
    if (!rows->LoadInOrder(rowids, columns, params) || rows->Count() < m_Store.Count())
        return false;
    // The rows read so far must be the first ones the rowids give.
    for (qint64 row = 0; row < m_Store.Count(); ++row) {
        const TRowStore::TRow read(m_Store, row);
        for (int column = 0; column < columns; ++column) {
            if (!SameCell(read.Cell(column), rows->Cell(row, column)))
                return false;
        }
    }
    HoldByKey(std::move(rows));
    return true;
}

qint64 TQueryRows::MemoryUsage() const {
    return m_Store.MemoryUsage() + m_Last.MemoryUsage() + (m_pKeyed ? m_pKeyed->MemoryUsage() : 0);
}
