#pragma once

// The layout of one table file and the writing of single rows to it, for the
// datasets that write through (TTable, live TQuery). Statements are SQLite's
// own, on "alias"."Table", with bound values.
//
// A row is identified by the values of its primary key columns; a table
// without a primary key identifies rows by rowid. Text columns are written as
// '' rather than NULL when blank, as the files keep them.

#include "data/engine/TField.h"

#include <QList>
#include <QString>
#include <QVariant>

class TDatabase;

class TTableWriter {
public:
    struct TColumn {
        QString Name;
        TFieldType Type = TFieldType::String;
        int Size = 0;
        int KeyOrder = 0; // position in the primary key from 1; 0 when not in it
    };

    // Attaches the table (a name as written: bare, with ".db", in quotes).
    TTableWriter(TDatabase& database, const QString& table);

    // The table name without suffix or quotes.
    static QString PlainName(const QString& table);
    static QString Quote(const QString& identifier);

    const QString& Table() const { return m_Table; }
    // "alias"."Table", for statements.
    const QString& Qualified() const { return m_Qualified; }
    const QList<TColumn>& Columns() const { return m_Columns; }
    int IndexOf(const QString& column) const;
    // Columns of the primary key, in key order; empty when the table has none.
    const QList<int>& KeyColumns() const { return m_Key; }
    bool HasKey() const { return !m_Key.isEmpty(); }

    // Text for a statement: the quoted column names, comma separated.
    QString ColumnList() const;
    // The table's identity columns for ORDER BY (quoted, comma separated):
    // the primary key, or rowid.
    QString OrderList(bool descending = false) const;

    // A row as stored, in column order; a table without a key has its rowid
    // appended. Empty when there is no such row.
    QVariantList Read(const QVariantList& identity);
    // The identity of a row as read (key values, or the appended rowid).
    QVariantList IdentityOf(const QVariantList& row) const;
    // The rowid of the first row whose given columns hold the given values.
    qint64 FindRowId(const QList<int>& columns, const QVariantList& values);

    // Writes the given columns (by index) of a new row; blank text columns
    // that are not given are written as ''. Returns the row as read back.
    QVariantList Insert(const QList<int>& columns, const QVariantList& values);
    // Changes the given columns of the row; returns the row as read back.
    QVariantList Update(const QVariantList& identity, const QList<int>& columns,
                        const QVariantList& values);
    void Delete(const QVariantList& identity);

private:
    QString IdentityCondition(int firstParam) const;
    void BindIdentity(class TStatement& statement, const QVariantList& identity,
                      int firstParam) const;
    QVariant Writable(int column, const QVariant& value) const;

    TDatabase& m_Database;
    QString m_Table;
    QString m_Qualified;
    QList<TColumn> m_Columns;
    QList<int> m_Key;
};
