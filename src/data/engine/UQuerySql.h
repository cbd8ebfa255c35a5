#pragma once

// What a query reads from the text of its statement, and the statements it
// derives from it to read its rows another way (see "The storage engine" in
// docs/architecture.md): counted without the closing ORDER BY, the last rows
// read backwards, the rows sorted by a column, only the keys in the
// statement's own order. All of it works on SQLite's SQL, the statement as
// the dialect translated it.

#include <QList>
#include <QString>
#include <QStringList>

class TStatement;

namespace UQuerySql {

// The statement as SQLite runs it, without closing semicolons, ready to be
// wrapped in a sub-select.
QString InnerSql(const TStatement& statement);

// The parameter names (without ':') of a statement of the local dialect, in
// order, each once (without regard to letter case); text in quotes is passed
// over.
QStringList ParamNames(const QString& sql);

// Whether a statement combines several SELECTs (UNION, INTERSECT, EXCEPT):
// the origin SQLite reports for a column is then the first one's, while rows
// come from the others too.
bool IsCompound(const QString& sql);

// Where a statement's closing ORDER BY begins, and its terms as written. At
// is -1 when the statement does not end in one: an ORDER BY inside brackets
// does not count, nor does one followed by LIMIT or OFFSET.
struct TClosingOrder {
    qsizetype At = -1;
    QStringList Terms;
};
TClosingOrder ClosingOrder(const QString& sql);

// The statement's last `rows` rows, last first: its closing ORDER BY turned
// round and LIMITed. Only when every term names a column (C.CallNr,
// "CallNr" DESC) and the terms take in each of the key columns, so that the
// order is total; `keyNames` gives, per key column, the names it may go by.
// Empty otherwise.
QString ReversedSql(const QString& sql, const TClosingOrder& order,
                    const QList<QStringList>& keyNames, qint64 rows);

// The statement sorted by a result column (from 0) without regard to case,
// ties going by the key columns: SELECT * FROM (...) ORDER BY ....
QString SortedSql(const QString& sql, int sortColumn, bool descending,
                  const QList<int>& keyColumns);

// The table column behind a result column; empty for an expression.
struct TOrigin {
    QString Table;
    QString Column;
};

// For a plain SELECT of a first table whose other tables are all LEFT JOINed,
// with nothing after the joins (no WHERE, GROUP, ORDER, ...): the same
// statement selecting only `keys`, every one a column of that first table,
// the table read NOT INDEXED. Such a statement gives each row of its first
// table once or more, in the order that table is read; the narrow one reads
// the table in that same order, and SQLite leaves out the joins that cannot
// repeat a row. Empty for any other statement.
QString KeysInOrderSql(const QString& sql, const QList<TOrigin>& keys);

} // namespace UQuerySql
