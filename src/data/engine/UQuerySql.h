#pragma once

// What a query reads from the text of its statement, and the statements it
// derives from it to read its rows another way (see "The storage engine" in
// docs/architecture.md): counted without the closing ORDER BY, the last rows
// read backwards, the rows sorted by a column, the rows by rowid in the
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
// with nothing after the joins (no WHERE, GROUP, ORDER, ...): such a
// statement gives each row of its first table once or more, and when it reads
// that table straight through (as its plan shows), in rowid order. `Rows` is
// the statement with the first table's rowid as one more column at the end;
// `InOrder` selects only that rowid (a key that is its own place for
// TKeyedRows::LoadInOrder), and `Alone` the same from the first table without
// the joins: the same rows when SQLite leaves every join out of `InOrder`
// (its plan reads one table), and read from the narrowest index (the columns
// of the joins' conditions no longer count). All empty for any other
// statement.
struct TRowidSql {
    QString Table; // the first table's own name
    QString Rows;
    QString InOrder;
    QString Alone;
};
TRowidSql RowidSql(const QString& sql);

} // namespace UQuerySql
