#pragma once

// The program's tables as the harnesses see them: the columns of every table
// and their declared types, read from the data module's CREATE TABLE
// statements (no database file is opened).

#include "data/DMTables.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace FuzzSchema {

struct TColumn {
    QString Name;
    QString DeclType; // "CHAR(10)", "INTEGER", ...
};

// The columns of a CREATE TABLE statement of the data module, in order.
inline QList<TColumn> ColumnsOf(const DMTables::TTableDef& def) {
    const QString sql = QString::fromLatin1(def.CreateSql);
    const qsizetype open = sql.indexOf(QLatin1Char('('));
    const qsizetype key = sql.indexOf(QLatin1String("PRIMARY KEY"), open);
    QList<TColumn> columns;
    if (open < 0 || key < 0)
        return columns;
    for (const QString& part : sql.mid(open + 1, key - open - 1).split(QLatin1Char(','))) {
        const QString item = part.trimmed();
        const qsizetype blank = item.indexOf(QLatin1Char(' '));
        if (blank > 0)
            columns.append({item.left(blank), item.mid(blank + 1).trimmed()});
    }
    return columns;
}

// Every table's columns by the table's name in lower case.
inline QHash<QString, QList<TColumn>> Tables() {
    QHash<QString, QList<TColumn>> tables;
    for (const DMTables::TTableDef& def : DMTables::TableDefs())
        tables.insert(QString::fromLatin1(def.Name).toLower(), ColumnsOf(def));
    return tables;
}

} // namespace FuzzSchema
