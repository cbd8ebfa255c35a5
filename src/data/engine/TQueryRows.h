#pragma once

// Where an open query keeps its rows (see "The storage engine" in
// docs/architecture.md). Either they are read from its statement in the
// statement's order, from the first and only as far as someone looks, with
// the statement's last rows read apart when asked for; or they are held by
// key (TKeyedRows) in an order of the query's own, every one counted at once.
// Positions count from 0, in the order held.

#include "data/engine/TDatabase.h"
#include "data/engine/TFilterExpr.h"
#include "data/engine/TRowStore.h"
#include "data/engine/UQuerySql.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

class TKeyedRows;

class TQueryRows {
public:
    // Rows read at the end of the statement by ReadLast.
    static constexpr qint64 LastRows = 64;

    TQueryRows();
    ~TQueryRows();
    TQueryRows(const TQueryRows&) = delete;
    TQueryRows& operator=(const TQueryRows&) = delete;

    // Holds no row, and reads none.
    void Clear();
    // Reads rows of `columnCount` columns from `statement`, which has been
    // stepped once (`hasRow`: onto a row); of these only the rows that pass
    // `filter`, when there is one, are kept. The filter is looked at while the
    // statement is read.
    void Start(std::unique_ptr<TStatement> statement, bool hasRow, int columnCount,
               const TFilterExpr* filter);
    // Holds `rows` instead of anything read; the statement is let go.
    void HoldByKey(std::unique_ptr<TKeyedRows> rows);
    // The rows held by key; null while they are read from the statement.
    TKeyedRows* Keyed() const { return m_pKeyed.get(); }

    // Every row of the statement is held (always so when held by key).
    bool AllRead() const { return m_AllRead; }
    // The rows read from the statement, from its first.
    const TRowStore& Store() const { return m_Store; }
    // The rows held, the last ones read apart not counted.
    qint64 Count() const;
    // Reads on until `rows` rows are held or the statement ends.
    void ReadUntil(qint64 rows);

    // Reads the statement's last LastRows rows without the ones before:
    // backwards with `reversedSql` when that is not empty (see
    // UQuerySql::ReversedSql), else `sql` with OFFSET. `total` is the number
    // of rows the statement gives. False when it gave other than expected.
    bool ReadLast(TDatabase& database, const QString& reversedSql, const QString& sql,
                  const TParams& params, qint64 total);
    // Whether the last rows are held apart.
    bool HasLast() const { return m_LastStart >= 0; }
    // The position behind the last of them.
    qint64 LastEnd() const { return m_LastStart + m_Last.Count(); }
    // Whether a position is one of the last rows read apart.
    bool InLast(qint64 row) const;

    // A row or a value; rows read from the statement are read on to it.
    QVariantList Record(qint64 row);
    QVariant Value(qint64 row, int column);

    // Rows written through: the row takes its place among those held.
    void Insert(qint64 at, const QVariantList& record);
    void Replace(qint64 at, const QVariantList& record);
    void Remove(qint64 at);

    // Orders the rows read (every one of them) by `columns` as
    // UCellCompare::SortedOrder does; returns the new position of the row at
    // `row` (-1 for -1).
    qint64 SortRead(const QList<int>& columns, bool descending, qint64 row);

    // Turns the rows read so far into rows held in the same order by the
    // rowid of the statement's first table (`sql` as UQuerySql::RowidSql
    // gives it in `rowid`): only the rowids are read for every row. `sql`
    // must read its first table straight through in rowid order, as its plan
    // shows, and the rows read so far must be the first the rowids give;
    // false, changing nothing, otherwise.
    bool HoldInStatementOrder(TDatabase& database, const QString& sql,
                              const UQuerySql::TRowidSql& rowid, const TParams& params);

    // Bytes held for the rows.
    qint64 MemoryUsage() const;

private:
    void ReadOne();

    std::unique_ptr<TStatement> m_pStatement; // open while rows remain to be read
    const TFilterExpr* m_pFilter = nullptr;
    TRowStore m_Store; // the rows read so far, from the first
    bool m_AllRead = true;
    TRowStore m_Last;        // the last rows, read apart by ReadLast
    qint64 m_LastStart = -1; // position of the first of them; -1 when none
    std::unique_ptr<TKeyedRows> m_pKeyed;
};
