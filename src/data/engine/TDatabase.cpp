#include "data/engine/TDatabase.h"

#include "data/engine/TRowStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <utility>

namespace {

// SQLite allows ten attached files per connection; keep a margin for the
// engine's own use.
constexpr int MaxAttachedTables = 9;
constexpr int BusyTimeoutMs = 2000;
constexpr int CacheKiB = 16384;

QString FromUtf8(const unsigned char* text, int bytes) {
    return QString::fromUtf8(reinterpret_cast<const char*>(text), bytes);
}

QString Quoted(const QString& identifier) {
    return QLatin1Char('"') + USqlDialect::EscapeQuotes(identifier, QLatin1Char('"')) +
           QLatin1Char('"');
}

// The declared indexes, by lower-case table name, for every connection.
QHash<QString, QList<TDatabase::TIndexDef>>& IndexRegistry() {
    static QHash<QString, QList<TDatabase::TIndexDef>> registry;
    return registry;
}

bool OnlyBlanksAndSemicolons(const char* tail) {
    for (; tail && *tail; ++tail) {
        if (*tail != ';' && !QChar::isSpace(static_cast<unsigned char>(*tail)))
            return false;
    }
    return true;
}

} // namespace

// ---------------------------------------------------------------------------
// TStatement

TStatement::TStatement(TDatabase* database, sqlite3_stmt* stmt, const QString& sql)
    : m_pDatabase(database), m_pStmt(stmt), m_Sql(sql) {}

TStatement::~TStatement() {
    sqlite3_finalize(m_pStmt);
}

QStringList TStatement::ParamNames() const {
    QStringList names;
    const int count = sqlite3_bind_parameter_count(m_pStmt);
    for (int i = 1; i <= count; ++i) {
        const char* name = sqlite3_bind_parameter_name(m_pStmt, i);
        names << (name ? QString::fromUtf8(name + 1) : QString());
    }
    return names;
}

void TStatement::Bind(const QString& name, const QVariant& value) {
    const int count = sqlite3_bind_parameter_count(m_pStmt);
    for (int i = 1; i <= count; ++i) {
        const char* raw = sqlite3_bind_parameter_name(m_pStmt, i);
        if (!raw || QString::fromUtf8(raw + 1).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        int rc = SQLITE_OK;
        if (value.isNull() || !value.isValid()) {
            rc = sqlite3_bind_null(m_pStmt, i);
        } else {
            switch (value.typeId()) {
            case QMetaType::Bool:
                rc = sqlite3_bind_text(m_pStmt, i, value.toBool() ? "True" : "False", -1,
                                       SQLITE_STATIC);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
                rc = sqlite3_bind_int64(m_pStmt, i, value.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(m_pStmt, i, value.toDouble());
                break;
            default: {
                QString text;
                if (value.typeId() == QMetaType::QDateTime)
                    text = UStorage::DateTimeText(value.toDateTime());
                else if (value.typeId() == QMetaType::QDate)
                    text = UStorage::DateText(value.toDate());
                else
                    text = value.toString();
                const QByteArray utf8 = text.toUtf8();
                rc = sqlite3_bind_text(m_pStmt, i, utf8.constData(), int(utf8.size()),
                                       SQLITE_TRANSIENT);
            }
            }
        }
        if (rc != SQLITE_OK)
            m_pDatabase->Fail(QStringLiteral("Binding parameter '%1'").arg(name));
    }
}

void TStatement::Bind(const TParams& params) {
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        Bind(it.key(), it.value());
}

bool TStatement::Step() {
    sqlite3* db = m_pDatabase->Handle();
    const bool watch = m_pDatabase->m_OnChange && !sqlite3_stmt_readonly(m_pStmt);
    const qint64 before = watch ? sqlite3_total_changes64(db) : 0;
    if (watch)
        m_pDatabase->m_ChangedInStep.clear();
    const int rc = sqlite3_step(m_pStmt);
    if (watch)
        m_pDatabase->ReportChanges(sqlite3_total_changes64(db) != before);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString message = QString::fromUtf8(sqlite3_errmsg(db));
    const int code = sqlite3_extended_errcode(db);
    sqlite3_reset(m_pStmt);
    throw EDatabaseError(message, code);
}

void TStatement::Reset() {
    sqlite3_reset(m_pStmt);
}

int TStatement::ColumnCount() const {
    return sqlite3_column_count(m_pStmt);
}

QString TStatement::ColumnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(m_pStmt, column));
}

QString TStatement::ColumnDeclType(int column) const {
    return QString::fromUtf8(sqlite3_column_decltype(m_pStmt, column));
}

QString TStatement::ColumnOrigin(int column) const {
    return QString::fromUtf8(sqlite3_column_origin_name(m_pStmt, column));
}

QString TStatement::ColumnTable(int column) const {
    return QString::fromUtf8(sqlite3_column_table_name(m_pStmt, column));
}

bool TStatement::IsNull(int column) const {
    return sqlite3_column_type(m_pStmt, column) == SQLITE_NULL;
}

QString TStatement::Text(int column) const {
    const unsigned char* text = sqlite3_column_text(m_pStmt, column);
    return text ? FromUtf8(text, sqlite3_column_bytes(m_pStmt, column)) : QString();
}

qint64 TStatement::Integer(int column) const {
    return sqlite3_column_int64(m_pStmt, column);
}

double TStatement::Float(int column) const {
    return sqlite3_column_double(m_pStmt, column);
}

QVariant TStatement::Value(int column) const {
    switch (sqlite3_column_type(m_pStmt, column)) {
    case SQLITE_INTEGER:
        return Integer(column);
    case SQLITE_FLOAT:
        return Float(column);
    case SQLITE_NULL:
        return {};
    default:
        return Text(column);
    }
}

// ---------------------------------------------------------------------------
// TDatabase

TDatabase::TDatabase() = default;

TDatabase::~TDatabase() {
    Close();
}

void TDatabase::Open(const QString& directory) {
    Close();
    QFileInfo info(directory);
    if (directory.isEmpty() || !info.isDir())
        throw EDatabaseError(QStringLiteral("The database directory \"%1\" does not exist.")
                                 .arg(QDir::toNativeSeparators(directory)));
    // The connection is used from the user-interface thread only, so SQLite
    // need not lock around every call.
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(":memory:", &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw EDatabaseError(message);
    }
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    // Text in double quotes is never taken as a string here: the translator
    // has already turned the dialect's double-quoted strings into literals.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_update_hook(db, &TDatabase::RowChanged, this);
    m_pDb = db;
    m_Directory = QDir::cleanPath(info.absoluteFilePath()) + QLatin1Char('/');
}

void TDatabase::Close() {
    if (!m_pDb)
        return;
    // Statements still prepared keep the connection alive until they are
    // finalized; sqlite3_close_v2 defers the close until then.
    sqlite3_close_v2(m_pDb);
    m_pDb = nullptr;
    m_Directory.clear();
    m_Attached.clear();
    m_Kinds.clear();
}

void TDatabase::Fail(const QString& context) const {
    QString message = m_pDb ? QString::fromUtf8(sqlite3_errmsg(m_pDb))
                            : QStringLiteral("The database is not open.");
    if (!context.isEmpty())
        message = context + QStringLiteral(": ") + message;
    throw EDatabaseError(message, m_pDb ? sqlite3_extended_errcode(m_pDb) : 0);
}

// ---------------------------------------------------------------------------
// Telling about changed rows

void TDatabase::SetChangeHandler(TChangeHandler handler) {
    m_OnChange = std::move(handler);
}

void TDatabase::RowChanged(void* database, int, const char*, const char* table, sqlite3_int64) {
    // Called by SQLite for every row written; the statement is still running,
    // so only the table's name is noted here (once per statement step).
    auto* self = static_cast<TDatabase*>(database);
    if (!self->m_OnChange)
        return;
    for (const QByteArray& noted : std::as_const(self->m_ChangedInStep)) {
        if (noted == table)
            return;
    }
    self->m_ChangedInStep << QByteArray(table);
}

void TDatabase::ReportChanges(bool rowsChanged) {
    if (!m_OnChange)
        return;
    const QList<QByteArray> tables = std::exchange(m_ChangedInStep, {});
    for (const QByteArray& table : tables)
        m_OnChange(QString::fromUtf8(table));
    // A DELETE without WHERE empties the table at once, without a word per
    // row: the change is there, its table unknown.
    if (tables.isEmpty() && rowsChanged)
        m_OnChange(QString());
}

QString TDatabase::TableFile(const QString& table) const {
    if (m_Directory.isEmpty())
        return {};
    const QString wanted = table + QStringLiteral(".db");
    const QString exact = m_Directory + wanted;
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList files = QDir(m_Directory).entryList(QDir::Files);
    for (const QString& file : files) {
        if (file.compare(wanted, Qt::CaseInsensitive) == 0)
            return m_Directory + file;
    }
    return {};
}

TDatabase::TAttached* TDatabase::Attached(const QString& table) {
    auto it = m_Attached.find(table.toLower());
    return it == m_Attached.end() ? nullptr : &it.value();
}

void TDatabase::AttachTable(const QString& table) {
    if (!m_pDb)
        Fail();
    if (Attached(table))
        return;
    const QString file = TableFile(table);
    if (file.isEmpty())
        throw EDatabaseError(
            QStringLiteral("Table '%1' does not exist: there is no file \"%2\".")
                .arg(table, QDir::toNativeSeparators(m_Directory + table + QStringLiteral(".db"))));
    if (m_Attached.size() >= MaxAttachedTables)
        throw EDatabaseError(
            QStringLiteral("Too many tables in use at once to open '%1'.").arg(table));
    const QString alias = USqlDialect::TableAlias(table);
    const QString context = QStringLiteral("Table file \"%1\"").arg(QDir::toNativeSeparators(file));
    try {
        Attach(file, alias);
    } catch (const EDatabaseError& e) {
        throw EDatabaseError(context + QStringLiteral(": ") + e.Message());
    }
    TAttached attached{alias, file, {}};
    try {
        // Reading the table's layout also proves that the file is a table file.
        try {
            auto info = PrepareNative(
                QStringLiteral("PRAGMA %1.table_info(%2)").arg(Quoted(alias), Quoted(table)));
            while (info->Step())
                attached.Columns << TColumn{info->Text(1), info->Text(2), info->Integer(5) > 0};
        } catch (const EDatabaseError& e) {
            throw EDatabaseError(context + QStringLiteral(": ") + e.Message());
        }
        if (attached.Columns.isEmpty())
            throw EDatabaseError(context +
                                 QStringLiteral(" holds no table named '%1'.").arg(table));
    } catch (...) {
        sqlite3_exec(m_pDb, QStringLiteral("DETACH DATABASE %1").arg(Quoted(alias)).toUtf8(),
                     nullptr, nullptr, nullptr);
        throw;
    }
    MakeDeclaredIndexes(table, alias);
    for (const TColumn& column : attached.Columns) {
        const QString key = column.Name.toLower();
        if (!m_Kinds.contains(key))
            m_Kinds.insert(key, USqlDialect::KindOfDeclType(column.DeclType));
    }
    m_Attached.insert(table.toLower(), attached);
}

void TDatabase::DeclareIndexes(const QString& table, const QList<TIndexDef>& indexes) {
    IndexRegistry().insert(table.toLower(), indexes);
}

QList<TDatabase::TIndexDef> TDatabase::DeclaredIndexes(const QString& table) {
    return IndexRegistry().value(table.toLower());
}

void TDatabase::MakeDeclaredIndexes(const QString& table, const QString& alias) {
    for (const TIndexDef& index : DeclaredIndexes(table)) {
        // An index that cannot be made (a read-only file, a file of another
        // layout) only costs speed; the table is used without it.
        sqlite3_exec(m_pDb,
                     QStringLiteral("CREATE INDEX IF NOT EXISTS %1.%2 ON %3 (%4)")
                         .arg(Quoted(alias), Quoted(index.Name), Quoted(table), index.Columns)
                         .toUtf8()
                         .constData(),
                     nullptr, nullptr, nullptr);
    }
}

QList<TDatabase::TIndexInfo> TDatabase::Indexes(const QString& table) {
    AttachTable(table);
    const QString alias = Quoted(Attached(table)->Alias);
    QList<TIndexInfo> indexes;
    auto list = PrepareNative(QStringLiteral("PRAGMA %1.index_list(%2)").arg(alias, Quoted(table)));
    while (list->Step()) {
        TIndexInfo index;
        index.Name = list->Text(1);
        // Partial indexes hold only some rows.
        if (list->Integer(4) != 0)
            continue;
        auto columns = PrepareNative(
            QStringLiteral("PRAGMA %1.index_xinfo(%2)").arg(alias, Quoted(index.Name)));
        while (columns->Step()) {
            if (columns->Integer(0) == 0) {
                index.FirstColumn = columns->Text(2);
                index.Collation = columns->Text(4);
                break;
            }
        }
        if (!index.FirstColumn.isEmpty())
            indexes << index;
    }
    return indexes;
}

bool TDatabase::AnyTextIn(const QString& table, const QString& column, bool noCase,
                          const QList<TTextRange>& ranges) {
    std::vector<qint64> rowids;
    return !RowidsWithTextIn(
               table, column, noCase, ranges, 0, [](const TCell&) { return true; }, rowids) ||
           !rowids.empty();
}

bool TDatabase::RowidsWithTextIn(const QString& table, const QString& column, bool noCase,
                                 const QList<TTextRange>& ranges, qint64 limit,
                                 const std::function<bool(const TCell&)>& matches,
                                 std::vector<qint64>& rowids) {
    AttachTable(table);
    rowids.clear();
    const QString name = Quoted(column) + (noCase ? QStringLiteral(" COLLATE NOCASE") : QString());
    const QString from = QStringLiteral("SELECT rowid, %3 FROM %1.%2 WHERE %3 >= ?1")
                             .arg(Quoted(Attached(table)->Alias), Quoted(table), name);
    const QString cap = QStringLiteral(" LIMIT %1").arg(limit + 1);
    qint64 seen = 0;
    for (const TTextRange& range : ranges) {
        auto statement = PrepareNative(range.To.isEmpty()
                                           ? from + cap
                                           : from + QStringLiteral(" AND %1 < ?2").arg(name) + cap);
        sqlite3_stmt* stmt = statement->Handle();
        sqlite3_bind_text(stmt, 1, range.From.constData(), int(range.From.size()), SQLITE_STATIC);
        if (!range.To.isEmpty())
            sqlite3_bind_text(stmt, 2, range.To.constData(), int(range.To.size()), SQLITE_STATIC);
        while (statement->Step()) {
            if (++seen > limit)
                return false;
            if (matches(TCell::FromStatement(stmt, 1)))
                rowids.push_back(sqlite3_column_int64(stmt, 0));
        }
    }
    return true;
}

QList<TDatabase::TColumn> TDatabase::Columns(const QString& table) {
    AttachTable(table);
    return Attached(table)->Columns;
}

USqlDialect::TColumnKind TDatabase::ColumnKind(const QString& column) const {
    return m_Kinds.value(column.toLower(), USqlDialect::TColumnKind::Unknown);
}

std::unique_ptr<TStatement> TDatabase::Prepare(const QString& localSql) {
    if (!m_pDb)
        Fail();
    const auto lookup = [this](const QString& column) { return ColumnKind(column); };
    const auto columnsOf = [this](const QString& table) {
        QStringList names;
        if (const TAttached* attached = Attached(table)) {
            for (const TColumn& column : attached->Columns)
                names << column.Name;
        }
        return names;
    };
    USqlDialect::TTranslation translation = USqlDialect::Translate(localSql, lookup, columnsOf);
    bool attachedAny = false;
    for (const QString& table : translation.Tables) {
        if (table.compare(translation.CreatedTable, Qt::CaseInsensitive) == 0 || Attached(table))
            continue;
        AttachTable(table);
        attachedAny = true;
    }
    // Column kinds of newly attached tables can change the translation.
    if (attachedAny)
        translation = USqlDialect::Translate(localSql, lookup, columnsOf);

    const QByteArray sql = translation.Sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(m_pDb, sql.constData(), int(sql.size()), &stmt, &tail) != SQLITE_OK)
        Fail();
    std::unique_ptr<TStatement> statement(new TStatement(this, stmt, translation.Sql));
    if (!OnlyBlanksAndSemicolons(tail))
        throw EDatabaseError(QStringLiteral("Only one statement can be run at a time."));
    if (!stmt)
        throw EDatabaseError(QStringLiteral("The statement is empty."));
    return statement;
}

std::unique_ptr<TStatement> TDatabase::PrepareNative(const QString& sql) {
    if (!m_pDb)
        Fail();
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(m_pDb, utf8.constData(), int(utf8.size()), &stmt, &tail) != SQLITE_OK)
        Fail();
    std::unique_ptr<TStatement> statement(new TStatement(this, stmt, sql));
    if (!OnlyBlanksAndSemicolons(tail))
        throw EDatabaseError(QStringLiteral("Only one statement can be run at a time."));
    if (!stmt)
        throw EDatabaseError(QStringLiteral("The statement is empty."));
    return statement;
}

int TDatabase::Exec(const QString& localSql, const TParams& params) {
    if (!m_pDb)
        Fail();
    const USqlDialect::TTranslation translation = USqlDialect::Translate(localSql);
    const QString created = translation.CreatedTable;
    if (created.isEmpty()) {
        std::unique_ptr<TStatement> statement = Prepare(localSql);
        statement->Bind(params);
        while (statement->Step()) {
        }
        return sqlite3_changes(m_pDb);
    }

    // CREATE TABLE makes the table's file in the bound directory.
    if (TableFileExists(created))
        throw EDatabaseError(QStringLiteral("Table '%1' already exists.").arg(created));
    if (m_Attached.size() >= MaxAttachedTables)
        throw EDatabaseError(
            QStringLiteral("Too many tables in use at once to create '%1'.").arg(created));
    const QString file = m_Directory + created + QStringLiteral(".db");
    const QString alias = USqlDialect::TableAlias(created);
    Attach(file, alias);
    try {
        std::unique_ptr<TStatement> statement = Prepare(localSql);
        statement->Bind(params);
        while (statement->Step()) {
        }
    } catch (...) {
        sqlite3_exec(m_pDb, QStringLiteral("DETACH DATABASE %1").arg(Quoted(alias)).toUtf8(),
                     nullptr, nullptr, nullptr);
        QFile::remove(file);
        QFile::remove(file + QStringLiteral("-journal"));
        throw;
    }
    ExecNative(QStringLiteral("DETACH DATABASE %1").arg(Quoted(alias)));
    AttachTable(created);
    return 0;
}

void TDatabase::Attach(const QString& file, const QString& alias) {
    ExecNative(QStringLiteral("ATTACH DATABASE %1 AS %2")
                   .arg(QLatin1Char('\'') + USqlDialect::EscapeQuotes(file) + QLatin1Char('\''),
                        Quoted(alias)));
    // A page cache of its own for each table file; the joined lists over a
    // large Call table are much quicker with more than the default 2 MB.
    ExecNative(
        QStringLiteral("PRAGMA %1.cache_size = -%2").arg(Quoted(alias), QString::number(CacheKiB)));
    if (m_MappedReads > 0)
        MapReads(alias);
}

void TDatabase::MapReads(const QString& alias) {
    // SQLite maps at most what it was built to allow (2 GB as shipped).
    ExecNative(QStringLiteral("PRAGMA %1.mmap_size = %2")
                   .arg(Quoted(alias),
                        m_MappedReads > 0 ? QStringLiteral("2147418112") : QStringLiteral("0")));
}

TDatabase::TMappedReads::TMappedReads(TDatabase& database) : m_Database(database) {
    if (m_Database.m_MappedReads++ == 0) {
        for (const TAttached& attached : std::as_const(m_Database.m_Attached))
            m_Database.MapReads(attached.Alias);
    }
}

TDatabase::TMappedReads::~TMappedReads() {
    if (--m_Database.m_MappedReads == 0 && m_Database.m_pDb) {
        for (const TAttached& attached : std::as_const(m_Database.m_Attached)) {
            try {
                m_Database.MapReads(attached.Alias);
            } catch (const EDatabaseError&) {
                // The file stays mapped until it is detached; nothing is lost.
            }
        }
    }
}

void TDatabase::ExecNative(const QString& sql) {
    if (!m_pDb)
        Fail();
    char* error = nullptr;
    if (sqlite3_exec(m_pDb, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : sqlite3_errmsg(m_pDb));
        sqlite3_free(error);
        throw EDatabaseError(message);
    }
}

void TDatabase::EmptyTable(const QString& table) {
    AttachTable(table);
    ExecNative(QStringLiteral("DELETE FROM %1.%2")
                   .arg(Quoted(USqlDialect::TableAlias(table)), Quoted(table)));
    if (m_OnChange)
        m_OnChange(table);
}

void TDatabase::StartTransaction() {
    ExecNative(QStringLiteral("BEGIN"));
}

void TDatabase::Commit() {
    ExecNative(QStringLiteral("COMMIT"));
}

void TDatabase::Rollback() {
    if (InTransaction())
        ExecNative(QStringLiteral("ROLLBACK"));
}

bool TDatabase::InTransaction() const {
    return m_pDb && !sqlite3_get_autocommit(m_pDb);
}

// ---------------------------------------------------------------------------

namespace UStorage {

QString DateTimeText(const QDateTime& value) {
    return value.isValid() ? value.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : QString();
}

QString DateText(const QDate& value) {
    return value.isValid() ? value.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

bool ParseStamp(const QString& text, QDate& date, QTime& time) {
    const QStringView t = QStringView(text).trimmed();
    // Digits at fixed places: "yyyy-MM-dd" and, after a blank or a T,
    // "hh:mm:ss".
    const auto number = [t](qsizetype from, qsizetype length, int& value) {
        value = 0;
        for (qsizetype i = from; i < from + length; ++i) {
            const char16_t c = t[i].unicode();
            if (c < u'0' || c > u'9')
                return false;
            value = value * 10 + (c - u'0');
        }
        return true;
    };
    int y, m, d, h = 0, mi = 0, sec = 0;
    if ((t.size() != 10 && t.size() != 19) || t[4] != u'-' || t[7] != u'-' || !number(0, 4, y) ||
        !number(5, 2, m) || !number(8, 2, d))
        return false;
    if (t.size() == 19 && ((t[10] != u' ' && t[10] != u'T') || t[13] != u':' || t[16] != u':' ||
                           !number(11, 2, h) || !number(14, 2, mi) || !number(17, 2, sec)))
        return false;
    date = QDate(y, m, d);
    time = QTime(h, mi, sec);
    return date.isValid() && time.isValid();
}

QDateTime ParseDateTime(const QString& text) {
    QDate stampDate;
    QTime stampTime;
    if (ParseStamp(text, stampDate, stampTime))
        return QDateTime(stampDate, stampTime);
    const QString t = text.trimmed();
    QDateTime result = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!result.isValid())
        result = QDateTime::fromString(t, Qt::ISODate);
    if (!result.isValid()) {
        const QDate date = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
        if (date.isValid())
            result = date.startOfDay();
    }
    return result;
}

} // namespace UStorage

void TDatabase::CheckTableFile(const QString& path, const QString& table) {
    sqlite3* db = nullptr;
    const int opened =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> closer(db, sqlite3_close);
    const auto answer = [db](const char* sql, QString& text) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
            return false;
        const int step = sqlite3_step(statement);
        if (step == SQLITE_ROW)
            text =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return step == SQLITE_ROW || step == SQLITE_DONE;
    };
    QString check;
    if (opened != SQLITE_OK || !answer("PRAGMA quick_check", check) || check != QLatin1String("ok"))
        throw EDatabaseError(QStringLiteral("The file is damaged or is not a table file."));
    QString found;
    const QByteArray lookup = "SELECT name FROM sqlite_master WHERE type = 'table' AND "
                              "name = '" +
                              USqlDialect::EscapeQuotes(table).toUtf8() + "' COLLATE NOCASE";
    if (!answer(lookup.constData(), found) || found.isEmpty())
        throw EDatabaseError(QStringLiteral("The file does not hold the table %1.").arg(table));
}
