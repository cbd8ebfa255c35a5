#pragma once

// Writing a live query's rows through to its table: the one table behind the
// result's columns, which result column is which column of that table, and
// how a row of the result is found in the table again (see "The storage
// engine" in docs/architecture.md).

#include "data/engine/TDatabase.h"
#include "data/engine/UQuerySql.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

class TTableWriter;

class TQueryWriter {
public:
    // A writer for a result with columns of these origins: made when every
    // column that comes from a table comes from the same one, and the result
    // holds that table's primary key; null otherwise.
    static std::unique_ptr<TQueryWriter> ForResult(TDatabase& database,
                                                   const QList<UQuerySql::TOrigin>& origins);
    ~TQueryWriter();
    TQueryWriter(const TQueryWriter&) = delete;
    TQueryWriter& operator=(const TQueryWriter&) = delete;

    // Whether a result column is a column of the table.
    bool Writes(int column) const { return m_TableColumn.value(column, -1) >= 0; }

    // Writes a new row, or changes the row that the result shows as `current`:
    // the result columns marked in `changed` that are table columns. Returns
    // the row as the result shows it then: `values`, with every table column
    // as read back.
    QVariantList Insert(const QVariantList& values, const std::vector<bool>& changed);
    QVariantList Update(const QVariantList& current, const QVariantList& values,
                        const std::vector<bool>& changed);
    void Delete(const QVariantList& current);

private:
    TQueryWriter(std::unique_ptr<TTableWriter> table, const QList<int>& tableColumn);
    // The row's key values in the table, or its rowid when the table has no
    // key (the first row holding the same values).
    QVariantList Identity(const QVariantList& record);
    // The changed result columns that are table columns, and their values.
    void Written(const QVariantList& values, const std::vector<bool>& changed, QList<int>& columns,
                 QVariantList& written) const;
    QVariantList Shown(const QVariantList& values, const QVariantList& stored) const;

    std::unique_ptr<TTableWriter> m_pTable;
    QList<int> m_TableColumn; // per result column: the table column, or -1
};
