#pragma once

// Translation of the program's local SQL dialect into SQLite's SQL.
//
// The dialect: table names bare, with a ".db" suffix in any letter case, or in
// single or double quotes ('Item.db', "CallComments.DB", CALL.DB); string
// literals in double or single quotes; date literals "mm/dd/yyyy hh:nn:ss";
// booleans as the texts 'True' and 'False'; an empty text compared with ''
// matches a blank value; named parameters (:ID).
//
// Every table "Name" lives in its own attached file under the schema alias
// TableAlias("Name"); the translation names tables as "alias"."Name".
//
// What the translation does besides naming tables:
//  - a double-quoted text is a string literal (it becomes a single-quoted
//    one), except where it names a table or stands next to a '.';
//  - a date literal compared with, assigned to or inserted into a DATE or
//    TIMESTAMP column becomes the stored text ("yyyy-MM-dd hh:mm:ss",
//    "yyyy-MM-dd"); the same text going into a CHAR column is left alone;
//  - TRUE and FALSE become 'True' and 'False', and a 'true' or 'false'
//    compared with or put into a BOOLEAN column is spelt 'True' / 'False';
//  - `col = ''` becomes `(col = '' OR col IS NULL)`, so that a missing value
//    counts as blank (`<> ''` is left alone, and so is `SET col = ''`);
//  - CREATE TABLE gives every text column the default '';
//  - in a SELECT over several tables, a bare column name that more than one
//    of them has is qualified with the first of them (in FROM order) that
//    has it, when the columns of the tables are known;
//  - in a SELECT without subqueries, every FULL [OUTER] JOIN of the FROM
//    chain becomes a LEFT OUTER JOIN when the WHERE clause is a chain of ANDs
//    one of which compares a column of the first table (named by its alias,
//    or its name when it has none) with a value or parameter (=, <>, <, <=,
//    >, >=, [NOT] LIKE, [NOT] IN (...); not `= ''`, which also matches NULL).
//    Such a WHERE drops every row the FULL join adds to the LEFT one (those
//    have a NULL first table), and SQLite then reads the first table by its
//    key instead of scanning it. Nested joins in parentheses are left alone.

#include <QString>
#include <QStringList>
#include <functional>

namespace USqlDialect {

enum class TColumnKind { Unknown, Text, Integer, Float, Boolean, Date, Timestamp };

// The kind of a column, looked up by its name (without regard to letter case).
using TColumnKindLookup = std::function<TColumnKind(const QString& column)>;

// The column names of a table (as named in a statement, without suffix), in
// created order; empty when the table is unknown.
using TTableColumnsLookup = std::function<QStringList(const QString& table)>;

struct TTranslation {
    QString Sql;          // the statement in SQLite's SQL
    QStringList Tables;   // tables named in the statement, without suffix or quotes,
                          // once each, spelt as first written; the created table
                          // of a CREATE TABLE is not among them (its file does not
                          // exist yet)
    QString CreatedTable; // for CREATE TABLE: the table created; empty otherwise
};

// Translates one statement. Raises EDatabaseError for text it cannot read
// (an unterminated literal, for example, or parentheses nested more than 200
// deep). Without `lookup` no literal is
// converted for its column's kind; without `columnsOf` no column name is
// qualified and an INSERT without a column list converts nothing.
TTranslation Translate(const QString& localSql, const TColumnKindLookup& lookup = {},
                       const TTableColumnsLookup& columnsOf = {});

// The schema alias under which a table's file is attached ("Call" -> "db_call").
// Letter case does not matter; the prefix keeps table names such as "Main"
// or "Temp" clear of SQLite's own schema names.
QString TableAlias(const QString& table);

// Doubles every `quote` character in `value`, so that the text can stand
// between two such quotes in a statement. Every piece of typed text that the
// program puts into a statement goes through here.
QString EscapeQuotes(const QString& value, QChar quote = QLatin1Char('\''));

// The kind of a column from its declared type ("CHAR(20)" -> Text, ...).
TColumnKind KindOfDeclType(const QString& declType);

} // namespace USqlDialect
