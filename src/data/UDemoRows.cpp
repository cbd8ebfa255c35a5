#include "data/UDemoRows.h"

#include "data/DMTables.h"
#include "data/engine/TDatabase.h"

#include <sqlite3.h>

namespace UDemoData {

TBatch::~TBatch() {
    if (m_Db.InTransaction())
        m_Db.Rollback();
}

void TBatch::RowWritten() {
    if (!m_Db.InTransaction())
        m_Db.StartTransaction();
    if (++m_Rows % CommitRows == 0)
        m_Db.Commit();
}

void TBatch::Finish() {
    if (m_Db.InTransaction())
        m_Db.Commit();
}

TRowWriter::TRowWriter(TDatabase& db, TBatch& batch, const QString& table, const char* columns)
    : m_Db(db), m_Batch(batch), m_Table(table) {
    const TTableWriter layout(db, table);
    QStringList names;
    QStringList params;
    for (const QString& name : QString::fromLatin1(columns).split(QLatin1Char(','))) {
        const int index = layout.IndexOf(name);
        if (index < 0)
            throw EDatabaseError(QStringLiteral("Table '%1' has no column '%2'").arg(table, name));
        m_Columns << layout.Columns()[index];
        names << TTableWriter::Quote(m_Columns.back().Name);
        params << QStringLiteral("?%1").arg(m_Columns.size());
    }
    if (m_Columns.size() != layout.Columns().size())
        throw EDatabaseError(QStringLiteral("The rows of '%1' give %2 of its %3 columns")
                                 .arg(table)
                                 .arg(m_Columns.size())
                                 .arg(layout.Columns().size()));
    m_Statement = db.PrepareNative(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                       .arg(layout.Qualified(), names.join(QStringLiteral(", ")),
                                            params.join(QStringLiteral(", "))));
}

TRowWriter::~TRowWriter() = default;

void TRowWriter::Write(std::initializer_list<QVariant> values) {
    Q_ASSERT(qsizetype(values.size()) == m_Columns.size());
    m_Batch.RowWritten();
    int param = 0;
    for (const QVariant& value : values) {
        Bind(param + 1, m_Columns[param], value);
        ++param;
    }
    m_Statement->Step();
    m_Statement->Reset();
    ++m_Rows;
}

void TRowWriter::Bind(int param, const TTableWriter::TColumn& column, const QVariant& value) {
    sqlite3_stmt* stmt = m_Statement->Handle();
    int rc = SQLITE_OK;
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        rc = column.Type == TFieldType::String
                 ? sqlite3_bind_text(stmt, param, "", 0, SQLITE_STATIC)
                 : sqlite3_bind_null(stmt, param);
        break;
    case QMetaType::Bool:
        rc = sqlite3_bind_text(stmt, param, value.toBool() ? "True" : "False", -1, SQLITE_STATIC);
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
        rc = sqlite3_bind_int64(stmt, param, value.toLongLong());
        break;
    default: {
        QString text = value.typeId() == QMetaType::QDateTime
                           ? UStorage::DateTimeText(value.toDateTime())
                           : value.toString();
        if (column.Size > 0 && text.size() > column.Size)
            text.truncate(column.Size);
        m_Buffer = text.toUtf8();
        rc = sqlite3_bind_text(stmt, param, m_Buffer.constData(), int(m_Buffer.size()),
                               SQLITE_TRANSIENT);
    }
    }
    if (rc != SQLITE_OK)
        m_Db.Fail(QStringLiteral("Binding %1.%2").arg(m_Table, column.Name));
}

TBulkLoad::TBulkLoad(TDatabase& db) : m_Db(db) {
    for (const DMTables::TTableDef& def : DMTables::TableDefs()) {
        db.AttachTable(QLatin1String(def.Name));
        Set(QLatin1String(def.Name), "synchronous = OFF; PRAGMA %1.journal_mode = MEMORY; "
                                     "PRAGMA %1.cache_size = -262144");
    }
}

TBulkLoad::~TBulkLoad() {
    for (const DMTables::TTableDef& def : DMTables::TableDefs()) {
        try {
            Set(QLatin1String(def.Name), "synchronous = FULL; PRAGMA %1.journal_mode = DELETE; "
                                         "PRAGMA %1.cache_size = -16384");
        } catch (const EDatabaseError&) {
            // The connection is being given up on anyway.
        }
    }
}

void TBulkLoad::Set(const QString& table, const char* pragmas) {
    const QString alias = QLatin1Char('"') + USqlDialect::TableAlias(table) + QLatin1Char('"');
    m_Db.ExecNative((QStringLiteral("PRAGMA %1.") + QLatin1String(pragmas)).arg(alias));
}

} // namespace UDemoData
