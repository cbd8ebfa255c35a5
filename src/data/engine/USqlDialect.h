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

#include <QString>
#include <QStringList>
#include <functional>

namespace USqlDialect {

enum class TColumnKind { Unknown, Text, Integer, Float, Boolean, Date, Timestamp };

// The kind of a column, looked up by its name (without regard to letter case).
using TColumnKindLookup = std::function<TColumnKind(const QString& column)>;

struct TTranslation {
    QString Sql;          // the statement in SQLite's SQL
    QStringList Tables;   // tables named in the statement, without suffix or quotes
    QString CreatedTable; // for CREATE TABLE: the table created; empty otherwise
};

// Translates one statement. Raises EDatabaseError for text it cannot read
// (an unterminated literal, for example).
TTranslation Translate(const QString& localSql, const TColumnKindLookup& lookup = {});

// The schema alias under which a table's file is attached.
QString TableAlias(const QString& table);

// Doubles every `quote` character in `value`, so that the text can stand
// between two such quotes in a statement. Every piece of typed text that the
// program puts into a statement goes through here.
QString EscapeQuotes(const QString& value, QChar quote = QLatin1Char('\''));

// The kind of a column from its declared type ("CHAR(20)" -> Text, ...).
TColumnKind KindOfDeclType(const QString& declType);

} // namespace USqlDialect
