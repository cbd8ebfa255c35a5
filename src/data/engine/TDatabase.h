#pragma once

// The storage engine's connection: one SQLite file per table in one directory
// ("Call.db", "Customer.db", ...), all reached through one SQLite connection.
// Statements are written in the program's own SQL dialect and translated by
// USqlDialect before SQLite sees them.
//
// How values are stored (every layer above relies on it):
//  - CHAR(n)   text; an empty text is stored as '' (the column default), and a
//              comparison with '' also matches a missing (NULL) value;
//  - INTEGER   integer;
//  - BOOLEAN   the texts 'True' and 'False';
//  - TIMESTAMP text "yyyy-MM-dd hh:mm:ss" (sorts and compares in time order);
//  - DATE      text "yyyy-MM-dd".
//
// Every statement that changes rows runs in its own transaction unless the
// caller opened one; the files use a rollback journal with full sync, so a
// killed process never leaves a half-written row.
//
// Secondary indexes are the engine's business, not the creation statements':
// the program declares, once for the whole process, which indexes each of its
// tables should have (DeclareIndexes), and every connection makes the missing
// ones whenever it attaches a table file, so a new file gets them at once and
// a file written by an older version, or restored from an old backup, gets
// them the first time it is opened.

#include "data/engine/EDatabaseError.h"
#include "data/engine/USqlDialect.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Named parameter values, keys without the leading ':' (matched case-insensitively).
using TParams = QVariantMap;

// Texts from `From` up to, not including, `To` (no end when `To` is empty), in
// UTF-8 bytes as an index orders them.
struct TTextRange {
    QByteArray From;
    QByteArray To;
};

class TDatabase;
struct TCell;

// One prepared statement. Column values are read straight from SQLite.
class TStatement {
public:
    ~TStatement();
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    // Parameter names as written, without ':'.
    QStringList ParamNames() const;
    // Binds by name (case-insensitive); unknown names are ignored. A null or
    // invalid QVariant binds NULL; bool binds 'True'/'False'; QDateTime and
    // QDate bind their stored texts.
    void Bind(const QString& name, const QVariant& value);
    void Bind(const TParams& params);

    // Runs to the next row: true when a row is ready, false when done.
    bool Step();
    // Rewinds so the statement can run again (bindings stay).
    void Reset();

    int ColumnCount() const;
    QString ColumnName(int column) const;
    // Declared type of a table column ("CHAR(20)", "TIMESTAMP", ...); empty for
    // expressions.
    QString ColumnDeclType(int column) const;
    // Name of the table column behind a result column, and its table (as
    // created, e.g. "Call"); empty for expressions.
    QString ColumnOrigin(int column) const;
    QString ColumnTable(int column) const;

    bool IsNull(int column) const;
    QString Text(int column) const;
    qint64 Integer(int column) const;
    double Float(int column) const;
    // The value as QVariant (text, qint64, double or null).
    QVariant Value(int column) const;

    sqlite3_stmt* Handle() const { return m_pStmt; }
    const QString& Sql() const { return m_Sql; }

private:
    friend class TDatabase;
    TStatement(TDatabase* database, sqlite3_stmt* stmt, const QString& sql);

    TDatabase* m_pDatabase;
    sqlite3_stmt* m_pStmt;
    QString m_Sql;
};

class TDatabase {
public:
    TDatabase();
    ~TDatabase();
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    // Binds the connection to a directory of table files. Table files are
    // attached when a statement first names them. Raises EDatabaseError when
    // the directory does not exist. Rebinding closes the previous binding.
    void Open(const QString& directory);
    void Close();
    bool IsOpen() const { return m_pDb != nullptr; }
    // The bound directory, with a trailing '/'.
    QString Directory() const { return m_Directory; }

    // Translates and prepares one statement of the local dialect.
    std::unique_ptr<TStatement> Prepare(const QString& localSql);
    // Runs one statement that returns no rows; returns the number of rows changed.
    int Exec(const QString& localSql, const TParams& params = {});
    // Runs SQLite's own SQL unchanged (for the engine layer itself).
    void ExecNative(const QString& sql);
    // Prepares one statement of SQLite's own SQL unchanged (for the engine
    // layer itself); the tables it names must already be attached.
    std::unique_ptr<TStatement> PrepareNative(const QString& sql);

    // The file of a table ("Call" -> "<dir>/Call.db"), found without regard to
    // letter case; empty when there is none.
    QString TableFile(const QString& table) const;
    bool TableFileExists(const QString& table) const { return !TableFile(table).isEmpty(); }
    // Makes sure the table's file is attached; raises EDatabaseError when it is
    // missing or not a valid table file.
    void AttachTable(const QString& table);
    // While one lives, the table files are read through memory maps: reading
    // whole tables in key order (an export) then costs no system call for
    // each page the page cache misses. Writes are unaffected.
    class TMappedReads {
    public:
        explicit TMappedReads(TDatabase& database);
        ~TMappedReads();
        TMappedReads(const TMappedReads&) = delete;
        TMappedReads& operator=(const TMappedReads&) = delete;

    private:
        TDatabase& m_Database;
    };

    // Columns of a table, in created order, with their declared types.
    struct TColumn {
        QString Name;
        QString DeclType;
        bool PrimaryKey = false;
    };
    QList<TColumn> Columns(const QString& table);
    // Removes every row of a table.
    void EmptyTable(const QString& table);

    // A secondary index: its name and its column list as CREATE INDEX takes
    // it ("CustomerID, CallNr", "CompanyName COLLATE NOCASE").
    struct TIndexDef {
        QString Name;
        QString Columns;
    };
    // Declares the indexes of a table for every connection of the process
    // (replacing what was declared before); files attached from then on get
    // those that are missing.
    static void DeclareIndexes(const QString& table, const QList<TIndexDef>& indexes);
    static QList<TIndexDef> DeclaredIndexes(const QString& table);
    // An index of an attached table as the file holds it: its first column and
    // that column's collation ("BINARY", "NOCASE").
    struct TIndexInfo {
        QString Name;
        QString FirstColumn;
        QString Collation;
    };
    QList<TIndexInfo> Indexes(const QString& table);
    // Whether a row of the table holds in `column` a text in one of the ranges
    // (compared with NOCASE when `noCase`, else BINARY): one index seek per
    // range when the column has an index of that collation.
    bool AnyTextIn(const QString& table, const QString& column, bool noCase,
                   const QList<TTextRange>& ranges);
    // The rowids of the rows whose `column` holds a text in one of the ranges
    // (as for AnyTextIn) that `matches`. False when more than `limit` rows
    // lie in the ranges.
    bool RowidsWithTextIn(const QString& table, const QString& column, bool noCase,
                          const QList<TTextRange>& ranges, qint64 limit,
                          const std::function<bool(const TCell&)>& matches,
                          std::vector<qint64>& rowids);

    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const;

    // The kind of a column by name, as the translator needs it.
    USqlDialect::TColumnKind ColumnKind(const QString& column) const;

    // Told after a statement step has written rows: the name of each table
    // written, as created ("Call"), or an empty text when the rows went
    // without SQLite saying whose they were (a table emptied at once). Runs
    // after SQLite has finished the step, so it may use the connection. One
    // handler; an empty one stops the telling.
    using TChangeHandler = std::function<void(const QString& table)>;
    void SetChangeHandler(TChangeHandler handler);

    // Raises EDatabaseError unless `path` is a whole SQLite file holding the
    // table `table` (the file is only read).
    static void CheckTableFile(const QString& path, const QString& table);

    sqlite3* Handle() const { return m_pDb; }
    // Raises EDatabaseError with SQLite's current message, prefixed by `context`.
    [[noreturn]] void Fail(const QString& context = {}) const;

private:
    friend class TStatement;
    static void RowChanged(void* database, int operation, const char* schema, const char* table,
                           long long rowId);
    void ReportChanges(bool rowsChanged);

    struct TAttached {
        QString Alias;
        QString File;
        QList<TColumn> Columns;
    };
    TAttached* Attached(const QString& table);
    void Attach(const QString& file, const QString& alias);
    void MakeDeclaredIndexes(const QString& table, const QString& alias);
    void MapReads(const QString& alias);

    sqlite3* m_pDb = nullptr;
    QString m_Directory;
    QHash<QString, TAttached> m_Attached;             // by lower-case table name
    QHash<QString, USqlDialect::TColumnKind> m_Kinds; // by lower-case column name
    TChangeHandler m_OnChange;
    QList<QByteArray> m_ChangedInStep; // tables written by the running step
    int m_MappedReads = 0;             // TMappedReads living
};

// Conversions between the stored texts and Qt's date-time values.
namespace UStorage {
QString DateTimeText(const QDateTime& value);
QString DateText(const QDate& value);
// Reads "yyyy-MM-dd hh:mm:ss", "yyyy-MM-dd" (and "yyyy-MM-ddThh:mm:ss").
QDateTime ParseDateTime(const QString& text);
// The date and time of a stored text in one of those forms, without asking
// the time zone (quick enough for every cell of a long list); false when the
// text is neither. A date alone gives midnight.
bool ParseStamp(const QString& text, QDate& date, QTime& time);
} // namespace UStorage
