#include "data/engine/TQuery.h"

#include "data/engine/TTableWriter.h"
#include "data/engine/UCellCompare.h"

#include <algorithm>
#include <cstring>
#include <sqlite3.h>

namespace {

// Rows read ahead when a caller looks beyond what has been read.
constexpr qint64 ReadAhead = 256;

// Column names made unique the way the dataset names its fields.
QStringList UniqueNames(const QStringList& names) {
    QStringList result;
    for (const QString& base : names) {
        QString name = base;
        for (int n = 1; result.contains(name, Qt::CaseInsensitive); ++n)
            name = base + QLatin1Char('_') + QString::number(n);
        result << name;
    }
    return result;
}

int IndexOfName(const QStringList& names, const QString& name) {
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

// The statement as SQLite runs it, ready to be wrapped in a sub-select.
QString InnerSql(const TStatement& statement) {
    QString sql = QString::fromUtf8(sqlite3_sql(statement.Handle())).trimmed();
    while (sql.endsWith(QLatin1Char(';')))
        sql = sql.chopped(1).trimmed();
    return sql;
}

} // namespace

TQuery::TQuery(QObject* parent) : TDataSet(parent) {}

TQuery::~TQuery() = default;

void TQuery::SetSQL(const QString& sql) {
    Close();
    m_Sql = sql;
}

void TQuery::SetParam(const QString& name, const QVariant& value) {
    QString key = name.startsWith(QLatin1Char(':')) ? name.mid(1) : name;
    for (auto it = m_Params.begin(); it != m_Params.end(); ++it) {
        if (it.key().compare(key, Qt::CaseInsensitive) == 0) {
            it.value() = value;
            return;
        }
    }
    m_Params.insert(key, value);
}

QVariant TQuery::Param(const QString& name) const {
    for (auto it = m_Params.cbegin(); it != m_Params.cend(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return {};
}

QStringList TQuery::ParamNames() const {
    QStringList names;
    const QString& s = m_Sql;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype end = s.indexOf(c, i + 1);
            if (end < 0)
                break;
            i = end;
        } else if (c == QLatin1Char(':') && i + 1 < s.size() &&
                   (s[i + 1].isLetter() || s[i + 1] == QLatin1Char('_'))) {
            qsizetype j = i + 1;
            while (j < s.size() && (s[j].isLetterOrNumber() || s[j] == QLatin1Char('_')))
                ++j;
            const QString name = s.mid(i + 1, j - i - 1);
            if (!names.contains(name, Qt::CaseInsensitive))
                names << name;
            i = j - 1;
        }
    }
    return names;
}

void TQuery::SetMasterSource(TDataSource* master) {
    m_MasterLink.SetDataSource(master);
}

TParams TQuery::EffectiveParams(const QStringList& names) const {
    TParams result;
    const TDataSet* master = m_MasterLink.DataSet();
    for (const QString& name : names) {
        if (name.isEmpty())
            continue;
        const QVariant explicitValue = Param(name);
        if (!explicitValue.isNull())
            result.insert(name, explicitValue);
        if (master) {
            if (const TField* field = master->FindField(name))
                result.insert(name, master->Active() ? field->StoredValue() : QVariant());
        }
    }
    return result;
}

void TQuery::MasterChanged() {
    if (!Active())
        return;
    if (EffectiveParams(m_BoundNames) == m_BoundParams)
        return;
    DisableControls();
    try {
        Close();
        Open();
    } catch (...) {
        EnableControls();
        throw;
    }
    EnableControls();
}

int TQuery::ExecSQL() {
    if (!Database())
        throw EDatabaseError(QStringLiteral("The query has no database"));
    return Database()->Exec(m_Sql, EffectiveParams(ParamNames()));
}

// ---------------------------------------------------------------------------
// Running the statement

void TQuery::DoOpen() {
    RunStatement();
}

void TQuery::DoClose() {
    m_pStmt.reset();
    m_Store.Reset(0);
    m_AllFetched = true;
    m_Row = -1;
    m_Count = -1;
    m_CountDelta = 0;
    m_pWriter.reset();
    m_WriterColumn.clear();
}

void TQuery::RunStatement() {
    DoClose();
    m_NaturalKey.clear();
    if (m_Sql.trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("The query has no statement"));
    TDatabase& db = *Database();
    std::unique_ptr<TStatement> statement = db.Prepare(m_Sql);
    const int count = statement->ColumnCount();
    if (count == 0)
        throw EDatabaseError(QStringLiteral("The statement returns no rows"));

    QStringList rawNames;
    QList<TColumnInfo> columns;
    for (int c = 0; c < count; ++c) {
        rawNames << statement->ColumnName(c);
        TColumnInfo column;
        column.Type = TField::TypeOfDeclType(statement->ColumnDeclType(c), &column.Size);
        column.OriginTable = statement->ColumnTable(c);
        column.OriginColumn = statement->ColumnOrigin(c);
        columns << column;
    }
    const QStringList names = UniqueNames(rawNames);
    for (int c = 0; c < count; ++c)
        columns[c].Name = rawNames[c];
    m_InnerSql = InnerSql(*statement);

    // The natural key: the primary key of the table behind the first column.
    if (const QString table = columns[0].OriginTable; !table.isEmpty()) {
        QStringList key;
        bool complete = true;
        for (const TDatabase::TColumn& column : db.Columns(table)) {
            if (!column.PrimaryKey)
                continue;
            int found = -1;
            for (int c = 0; c < count && found < 0; ++c) {
                if (columns[c].OriginTable.compare(table, Qt::CaseInsensitive) == 0 &&
                    columns[c].OriginColumn.compare(column.Name, Qt::CaseInsensitive) == 0)
                    found = c;
            }
            if (found < 0)
                complete = false;
            else
                key << names[found];
        }
        if (complete)
            m_NaturalKey = key;
    }

    // Sorting wraps the statement; the sort column's ties go by key.
    if (const int sortColumn = IndexOfName(names, SortField()); sortColumn >= 0) {
        QStringList order;
        order << QStringLiteral("%1 COLLATE NOCASE%2")
                     .arg(sortColumn + 1)
                     .arg(SortOrder() == Qt::DescendingOrder ? QStringLiteral(" DESC") : QString());
        for (const QString& keyField : KeyFields()) {
            const int keyColumn = IndexOfName(names, keyField);
            if (keyColumn >= 0 && keyColumn != sortColumn)
                order << QString::number(keyColumn + 1);
        }
        statement = db.PrepareNative(QStringLiteral("SELECT * FROM (\n%1\n) ORDER BY %2")
                                         .arg(m_InnerSql, order.join(QStringLiteral(", "))));
    }

    m_BoundNames.clear();
    for (const QString& name : statement->ParamNames()) {
        if (!name.isEmpty() && !m_BoundNames.contains(name, Qt::CaseInsensitive))
            m_BoundNames << name;
    }
    m_BoundParams = EffectiveParams(m_BoundNames);
    statement->Bind(m_BoundParams);

    const bool hasRow = statement->Step();
    for (int c = 0; c < count; ++c) {
        if (columns[c].Type != TFieldType::Unknown)
            continue;
        const int type = hasRow ? sqlite3_column_type(statement->Handle(), c) : SQLITE_TEXT;
        columns[c].Type = type == SQLITE_INTEGER ? TFieldType::Integer
                          : type == SQLITE_FLOAT ? TFieldType::Float
                                                 : TFieldType::String;
    }

    // Live: one table behind every column, with its key in the result.
    if (m_RequestLive) {
        QString table;
        bool single = true;
        for (const TColumnInfo& column : columns) {
            if (column.OriginTable.isEmpty())
                continue;
            if (table.isEmpty())
                table = column.OriginTable;
            else if (column.OriginTable.compare(table, Qt::CaseInsensitive) != 0)
                single = false;
        }
        if (single && !table.isEmpty()) {
            auto writer = std::make_unique<TTableWriter>(db, table);
            QList<int> map;
            for (const TColumnInfo& column : columns)
                map << (column.OriginTable.isEmpty() ? -1 : writer->IndexOf(column.OriginColumn));
            bool keyed = true;
            for (const int keyColumn : writer->KeyColumns())
                keyed = keyed && map.contains(keyColumn);
            if (keyed) {
                m_pWriter = std::move(writer);
                m_WriterColumn = map;
                for (int c = 0; c < count; ++c)
                    columns[c].Writable = map[c] >= 0;
            }
        }
    }

    DefineColumns(columns);
    m_Store.Reset(count);
    m_pStmt = std::move(statement);
    m_AllFetched = false;
    if (hasRow) {
        const TStatementRow row(m_pStmt->Handle());
        if (!FilterActive() || ActiveFilter().Matches(row))
            m_Store.Append(row);
    } else {
        m_AllFetched = true;
        m_pStmt.reset();
    }
    FetchUntil(1);
    m_Row = m_Store.Count() > 0 ? 0 : -1;
}

void TQuery::FetchOne() {
    bool hasRow = false;
    try {
        hasRow = m_pStmt->Step();
    } catch (...) {
        // A failed statement starts over when stepped again; stop here.
        m_pStmt.reset();
        m_AllFetched = true;
        throw;
    }
    if (!hasRow) {
        m_pStmt.reset();
        m_AllFetched = true;
        return;
    }
    const TStatementRow row(m_pStmt->Handle());
    if (!FilterActive() || ActiveFilter().Matches(row))
        m_Store.Append(row);
}

void TQuery::FetchUntil(qint64 rows) {
    while (!m_AllFetched && m_Store.Count() < rows)
        FetchOne();
}

void TQuery::FetchAll() {
    if (Active())
        FetchUntil(std::numeric_limits<qint64>::max());
}

qint64 TQuery::CursorFetchMore(qint64 rows) {
    const qint64 before = m_Store.Count();
    FetchUntil(before + rows);
    return m_Store.Count() - before;
}

// ---------------------------------------------------------------------------
// Moving

bool TQuery::CursorFirst() {
    FetchUntil(1);
    m_Row = m_Store.Count() > 0 ? 0 : -1;
    return m_Row >= 0;
}

bool TQuery::CursorLast() {
    FetchAll();
    m_Row = m_Store.Count() - 1;
    return m_Row >= 0;
}

bool TQuery::CursorNext() {
    if (m_Row < 0)
        return false;
    FetchUntil(m_Row + 2);
    if (m_Row + 1 >= m_Store.Count())
        return false;
    ++m_Row;
    return true;
}

bool TQuery::CursorPrior() {
    if (m_Row <= 0)
        return false;
    --m_Row;
    return true;
}

QVariantList TQuery::CursorRecord() {
    return m_Row >= 0 ? m_Store.Record(m_Row) : QVariantList();
}

bool TQuery::CursorIsEmpty() {
    FetchUntil(1);
    return m_Store.Count() == 0;
}

bool TQuery::CursorGotoRow(qint64 row) {
    FetchUntil(row + 1);
    if (row < 0 || row >= m_Store.Count())
        return false;
    m_Row = row;
    return true;
}

qint64 TQuery::CursorRecordCount() {
    if (m_AllFetched)
        return m_Store.Count();
    if (FilterActive()) {
        FetchAll();
        return m_Store.Count();
    }
    if (m_Count < 0) {
        auto statement = Database()->PrepareNative(
            QStringLiteral("SELECT COUNT(*) FROM (\n%1\n)").arg(m_InnerSql));
        statement->Bind(m_BoundParams);
        m_Count = statement->Step() ? statement->Integer(0) : 0;
    }
    return m_Count + m_CountDelta;
}

QVariant TQuery::CursorRowValue(qint64 row, int column) {
    FetchUntil(row + 1);
    return m_Store.Value(row, column);
}

bool TQuery::CursorLocate(const TLocateRequest& request) {
    for (qint64 row = 0;; ++row) {
        if (row >= m_Store.Count()) {
            if (m_AllFetched)
                return false;
            FetchUntil(row + ReadAhead);
            if (row >= m_Store.Count())
                return false;
        }
        if (request.Matches(TRowStore::TRow(m_Store, row))) {
            m_Row = row;
            return true;
        }
    }
}

qint64 TQuery::FindKeyRow(const QList<int>& columns, const QVariantList& values) {
    if (columns.isEmpty() || columns.size() != values.size())
        return -1;
    TLocateRequest request;
    request.Columns = columns;
    for (qsizetype i = 0; i < columns.size(); ++i)
        request.Values.emplace_back(values[i], Fields()[columns[i]]->DataType(), false, false);
    const qint64 saved = m_Row;
    const bool found = CursorLocate(request);
    const qint64 row = found ? m_Row : -1;
    m_Row = saved;
    return row;
}

bool TQuery::CursorFindKey(const QList<int>& columns, const QVariantList& values, bool move) {
    const qint64 row = FindKeyRow(columns, values);
    if (row < 0)
        return false;
    if (move)
        m_Row = row;
    return true;
}

// ---------------------------------------------------------------------------
// Reloading and sorting

void TQuery::CursorReload(const QList<int>& keyColumns, const QVariantList& keyValues) {
    const qint64 oldRow = m_Row;
    RunStatement();
    qint64 row = keyValues.isEmpty() ? -1 : FindKeyRow(keyColumns, keyValues);
    if (row < 0 && oldRow >= 0) {
        FetchUntil(oldRow + 1);
        row = std::min(oldRow, m_Store.Count() - 1);
    }
    m_Row = row >= 0 ? row : (m_Store.Count() > 0 ? 0 : -1);
}

void TQuery::CursorSort(const QList<int>& keyColumns, const QVariantList& keyValues) {
    const int sortColumn = SortColumn();
    if (!m_AllFetched || sortColumn < 0) {
        CursorReload(keyColumns, keyValues);
        return;
    }
    // Every row is in memory: order the index with the rules SQL would use.
    // Each row gets one byte key (the sort column without regard to case, then
    // the key columns as they are, like the SQL order) so that rows
    // compare by their first eight bytes mostly, and by memcmp otherwise.
    const qint64 n = m_Store.Count();
    const quint64 current = m_Row >= 0 ? m_Store.RowId(m_Row) : 0;
    QList<int> columns{sortColumn};
    for (const int column : keyColumns) {
        if (column != sortColumn)
            columns << column;
    }
    const bool descending = SortOrder() == Qt::DescendingOrder;
    struct TEntry {
        quint64 Prefix;
        quint64 Offset;
        quint32 Length;
        quint32 Row;
    };
    std::string keys;
    std::vector<TEntry> entries(static_cast<size_t>(n));
    for (qint64 row = 0; row < n; ++row) {
        const size_t offset = keys.size();
        for (qsizetype c = 0; c < columns.size(); ++c)
            UCellCompare::AppendSortKey(keys, m_Store.Cell(row, columns[c]), descending && c == 0,
                                        c == 0);
        TEntry& entry = entries[size_t(row)];
        entry.Offset = offset;
        entry.Length = quint32(keys.size() - offset);
        entry.Row = quint32(row);
        entry.Prefix = 0;
        for (size_t i = 0; i < 8; ++i)
            entry.Prefix = (entry.Prefix << 8) |
                           (i < entry.Length ? static_cast<unsigned char>(keys[offset + i]) : 0);
    }
    const char* base = keys.data();
    std::sort(entries.begin(), entries.end(), [base](const TEntry& a, const TEntry& b) {
        if (a.Prefix != b.Prefix)
            return a.Prefix < b.Prefix;
        const int c = std::memcmp(base + a.Offset, base + b.Offset, std::min(a.Length, b.Length));
        if (c != 0)
            return c < 0;
        if (a.Length != b.Length)
            return a.Length < b.Length;
        return a.Row < b.Row;
    });
    std::vector<qint64> order;
    order.reserve(entries.size());
    for (const TEntry& entry : entries)
        order.push_back(entry.Row);
    entries = {};
    keys = {};
    m_Store.Permute(order);
    m_Row = m_Row >= 0 ? m_Store.Find(current) : -1;
}

// ---------------------------------------------------------------------------
// Writing through

QVariantList TQuery::Identity(const QVariantList& record) {
    if (m_pWriter->HasKey()) {
        QVariantList identity;
        for (const int keyColumn : m_pWriter->KeyColumns())
            identity << record.value(m_WriterColumn.indexOf(keyColumn));
        return identity;
    }
    QList<int> columns;
    QVariantList values;
    for (qsizetype c = 0; c < m_WriterColumn.size(); ++c) {
        if (m_WriterColumn[c] >= 0) {
            columns << m_WriterColumn[c];
            values << record.value(c);
        }
    }
    const qint64 rowId = m_pWriter->FindRowId(columns, values);
    if (rowId < 0)
        throw EDatabaseError(QStringLiteral("The row was changed or removed by someone else in "
                                            "table '%1'")
                                 .arg(m_pWriter->Table()));
    return {rowId};
}

void TQuery::CursorPost(bool inserting, const QVariantList& values,
                        const std::vector<bool>& changed) {
    if (!m_pWriter)
        TDataSet::CursorPost(inserting, values, changed);
    QList<int> columns;
    QVariantList written;
    for (qsizetype c = 0; c < m_WriterColumn.size(); ++c) {
        if (changed[size_t(c)] && m_WriterColumn[c] >= 0) {
            columns << m_WriterColumn[c];
            written << values[c];
        }
    }
    QVariantList stored;
    if (inserting)
        stored = m_pWriter->Insert(columns, written);
    else
        stored = m_pWriter->Update(Identity(m_Store.Record(m_Row)), columns, written);
    QVariantList record = values;
    for (qsizetype c = 0; c < m_WriterColumn.size(); ++c) {
        if (m_WriterColumn[c] >= 0)
            record[c] = stored.value(m_WriterColumn[c]);
    }
    if (inserting) {
        qint64 at = m_Row < 0 ? 0 : m_Row;
        if (m_InsertAppend) {
            FetchAll();
            at = m_Store.Count();
        }
        m_Store.Insert(at, record);
        m_Row = at;
        ++m_CountDelta;
    } else {
        m_Store.Replace(m_Row, record);
    }
    // A row that no longer passes the filter leaves the dataset.
    if (FilterActive() && !ActiveFilter().Matches(TRecordRow(record))) {
        m_Store.Remove(m_Row);
        --m_CountDelta;
        FetchUntil(m_Row + 1);
        if (m_Row >= m_Store.Count())
            m_Row = m_Store.Count() - 1;
    }
}

void TQuery::CursorDelete() {
    if (!m_pWriter)
        TDataSet::CursorDelete();
    m_pWriter->Delete(Identity(m_Store.Record(m_Row)));
    m_Store.Remove(m_Row);
    --m_CountDelta;
    FetchUntil(m_Row + 1);
    if (m_Row >= m_Store.Count())
        m_Row = m_Store.Count() - 1;
}
