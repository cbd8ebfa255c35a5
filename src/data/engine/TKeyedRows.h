#pragma once

// The rows of a query sorted by a column, held by key (see "The storage
// engine" in docs/architecture.md): one narrow statement reads, for every
// row, the key columns, the sort column and the columns the filter looks at;
// those are kept and sorted in memory, and whole rows are read a page at a
// time by their keys (WHERE key IN (...)) when someone looks at them. Only the
// last pages read are kept. Rows in a statement's own order are held the same
// way by its first table's rowid (LoadInOrder).

#include "data/engine/TDatabase.h"
#include "data/engine/TFilterExpr.h"
#include "data/engine/TRowStore.h"

#include <QList>
#include <memory>
#include <unordered_map>
#include <vector>

class TKeyedRows {
public:
    // `innerSql` is the query's statement as SQLite runs it, run with
    // `params`; its rows have `columnCount` columns, of which the last
    // `hiddenColumns` serve only to find rows (a rowid) and are left out of
    // Record.
    TKeyedRows(TDatabase& database, const QString& innerSql, const TParams& params, int columnCount,
               int hiddenColumns = 0);
    ~TKeyedRows();
    TKeyedRows(const TKeyedRows&) = delete;
    TKeyedRows& operator=(const TKeyedRows&) = delete;

    // Reads the key columns and the other `held` columns (the sort column
    // among them) of every row that passes `filter` (when it is not empty),
    // sorted as Sort sorts. False, keeping nothing, when some key is null or
    // two rows share a key: such rows cannot be read back by key.
    bool Load(const QList<int>& keyColumns, const QList<int>& held, const TFilterExpr& filter,
              int sortColumn, bool descending);

    // Holds the rows by an integer that is both their key (result column
    // `keyColumn`) and their place, such as the first table's rowid: reads it
    // from `narrowSql`, whose one column it is, and keeps the rows in its
    // order, whatever order the statement gives them in. False, keeping
    // nothing, on a value that is not an integer or is repeated.
    bool LoadInOrder(const QString& narrowSql, int keyColumn, const TParams& params);

    qint64 Count() const { return m_Held.Count(); }
    // The row whose key is `key`, when the rows are held by LoadInOrder; -1
    // when none.
    qint64 RowOfOrderedKey(qint64 key) const;
    bool Holds(int column) const { return column >= 0 && m_HeldAt.value(column, -1) >= 0; }
    const QList<int>& KeyColumns() const { return m_KeyColumns; }
    // The held columns, the key's first.
    const QList<int>& Columns() const { return m_Columns; }
    // Orders the rows by a held column (without regard to case, reversed when
    // descending), ties by key: the order of ORDER BY column COLLATE NOCASE, key.
    void Sort(int column, bool descending);

    // The held columns of a row; the others read as null.
    class THeldRow : public TRowView {
    public:
        THeldRow(const TKeyedRows& rows, qint64 row) : m_Rows(rows), m_Row(row) {}
        TCell Cell(int column) const override;

    private:
        const TKeyedRows& m_Rows;
        qint64 m_Row;
    };
    // A whole row, read with its page when needed.
    class TWholeRow : public TRowView {
    public:
        TWholeRow(TKeyedRows& rows, qint64 row) : m_Rows(rows), m_Row(row) {}
        TCell Cell(int column) const override { return m_Rows.Cell(m_Row, column); }

    private:
        TKeyedRows& m_Rows;
        qint64 m_Row;
    };

    // A cell of a whole row; valid until the next page is read.
    TCell Cell(qint64 row, int column);
    QVariantList Record(qint64 row);

    // Rows written through a live query: the row's place changes here, its
    // values are read back from the table.
    void Insert(qint64 at, const QVariantList& record);
    void Replace(qint64 at, const QVariantList& record);
    void Remove(qint64 at);

    qint64 MemoryUsage() const { return m_Held.MemoryUsage() + m_Cache.MemoryUsage(); }

private:
    QString Sql(const QString& select) const;
    void HoldColumns(const QList<int>& columns);
    // Appends the rows of a statement whose first columns are the key; false
    // on a null or repeated key.
    bool ReadKeys(TStatement& statement, const TFilterExpr& filter);
    QVariantList Held(const QVariantList& record) const;
    // The page's rows in the cache, by position in the page (-1: not read).
    const std::vector<qint64>& Page(qint64 page);
    std::string KeyBytes(const TRowView& row, const QList<int>& columns) const;
    void ForgetPages();

    TDatabase& m_Database;
    QString m_InnerSql;
    TParams m_Params;
    int m_ColumnCount;
    int m_HiddenColumns;
    QList<int> m_KeyColumns; // result columns of the key
    QList<int> m_Columns;    // result column of each held column
    QList<int> m_HeldAt;     // held column of each result column, or -1
    TRowStore m_Held;
    std::unique_ptr<TStatement> m_pPageStatement;
    TRowStore m_Cache;
    std::unordered_map<qint64, std::vector<qint64>> m_Pages;
};
