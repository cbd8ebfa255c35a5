#include "data/engine/TQuery.h"

#include "data/engine/TKeyedRows.h"

#include <algorithm>
#include <limits>
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
    return UQuerySql::ParamNames(m_Sql);
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
    m_Rows.Clear();
    m_Row = -1;
    m_Count = -1;
    m_CountDelta = 0;
    m_pWriter.reset();
    m_OrderTried = false;
    m_RowidTable.clear();
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
    m_InnerSql = UQuerySql::InnerSql(*statement);
    m_OriginsExact = !UQuerySql::IsCompound(m_InnerSql);

    // The natural key: the primary key of the table behind the first column.
    QList<QStringList> keyNames; // per key column: its names in the result and in the table
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
            keyNames << QStringList{names.value(found), column.Name};
        }
        if (complete)
            m_NaturalKey = key;
    }

    // A statement that ends in ORDER BY is counted without it. When the terms
    // name columns and take in the key, the order is total and known: its end
    // can be read by turning the order round.
    const UQuerySql::TClosingOrder order = UQuerySql::ClosingOrder(m_InnerSql);
    m_CountSql = order.At >= 0 ? m_InnerSql.left(order.At) : m_InnerSql;
    m_ReversedSql.clear();
    if (m_OriginsExact && !m_NaturalKey.isEmpty())
        m_ReversedSql = UQuerySql::ReversedSql(m_InnerSql, order, keyNames, TQueryRows::LastRows);

    m_BoundNames.clear();
    for (const QString& name : statement->ParamNames()) {
        if (!name.isEmpty() && !m_BoundNames.contains(name, Qt::CaseInsensitive))
            m_BoundNames << name;
    }
    m_BoundParams = EffectiveParams(m_BoundNames);
    statement->Bind(m_BoundParams);

    bool hasRow = statement->Step();
    for (int c = 0; c < count; ++c) {
        if (columns[c].Type != TFieldType::Unknown)
            continue;
        const int type = hasRow ? sqlite3_column_type(statement->Handle(), c) : SQLITE_TEXT;
        columns[c].Type = type == SQLITE_INTEGER ? TFieldType::Integer
                          : type == SQLITE_FLOAT ? TFieldType::Float
                                                 : TFieldType::String;
    }

    m_Origins.clear();
    for (const TColumnInfo& column : std::as_const(columns))
        m_Origins << UQuerySql::TOrigin{column.OriginTable, column.OriginColumn};
    // Live: one table behind every column, with its key in the result.
    if (m_RequestLive) {
        m_pWriter = TQueryWriter::ForResult(db, m_Origins);
        for (int c = 0; m_pWriter && c < count; ++c)
            columns[c].Writable = m_pWriter->Writes(c);
    }

    DefineColumns(columns);

    // Sorted: by key when the rows have one that tells them apart; otherwise
    // the statement is wrapped in ORDER BY, the sort column's ties going by
    // key.
    if (const int sortColumn = SortColumn(); sortColumn >= 0) {
        statement.reset();
        if (LoadKeyed(KeyColumns())) {
            m_Row = m_Rows.Count() > 0 ? 0 : -1;
            return;
        }
        statement = db.PrepareNative(UQuerySql::SortedSql(
            m_InnerSql, sortColumn, SortOrder() == Qt::DescendingOrder, KeyColumns()));
        statement->Bind(m_BoundParams);
        hasRow = statement->Step();
    }

    m_Rows.Start(std::move(statement), hasRow, count, FilterActive() ? &ActiveFilter() : nullptr);
    m_Rows.ReadUntil(1);
    m_Row = m_Rows.Count() > 0 ? 0 : -1;
}

bool TQuery::LoadKeyed(const QList<int>& keys, const QList<int>& extra) {
    if (keys.isEmpty())
        return false;
    QList<int> held = extra;
    held << SortColumn();
    static const TFilterExpr none;
    if (FilterActive()) {
        for (const QString& name : ActiveFilter().FieldNames()) {
            if (const TField* field = FindField(name))
                held << field->Index();
        }
    }
    auto rows = std::make_unique<TKeyedRows>(*Database(), m_InnerSql, m_BoundParams, FieldCount());
    if (!rows->Load(keys, held, FilterActive() ? ActiveFilter() : none, SortColumn(),
                    SortOrder() == Qt::DescendingOrder))
        return false;
    m_Rows.HoldByKey(std::move(rows));
    m_RowidTable.clear();
    return true;
}

void TQuery::FetchAll() {
    if (Active())
        m_Rows.ReadUntil(std::numeric_limits<qint64>::max());
}

qint64 TQuery::CursorFetchMore(qint64 rows) {
    const qint64 before = m_Rows.Store().Count();
    m_Rows.ReadUntil(before + rows);
    return m_Rows.Store().Count() - before;
}

qint64 TQuery::CursorRowsAvailable() {
    return m_Rows.Count();
}

bool TQuery::ReadTail() {
    if (m_Rows.HasLast())
        return true;
    // A filter is applied as rows are read, so only reading tells how many
    // pass; local changes move the statement's positions.
    if (FilterActive() || m_CountDelta != 0)
        return false;
    const qint64 total = CursorRecordCount();
    if (total - m_Rows.Store().Count() <= ReadAhead)
        return false;
    return m_Rows.ReadLast(*Database(), m_ReversedSql, m_InnerSql, m_BoundParams, total);
}

void TQuery::LeaveTail() {
    if (m_Rows.InLast(m_Row))
        m_Rows.ReadUntil(m_Row + 1);
}

// ---------------------------------------------------------------------------
// Moving

bool TQuery::CursorFirst() {
    m_Rows.ReadUntil(1);
    m_Row = m_Rows.Count() > 0 ? 0 : -1;
    return m_Row >= 0;
}

bool TQuery::CursorLast() {
    // The end of an unsorted statement far beyond the rows read: its keys in
    // its own order tell every position (without the joins of the rows
    // between), and the last rows are read by key, as a sorted list does.
    if (!m_Rows.AllRead() && !m_OrderTried && SortColumn() < 0 && !FilterActive() &&
        m_Rows.Store().Count() + ReadAhead < CursorRecordCount() && HoldInStatementOrder()) {
        m_Row = m_Rows.Count() - 1;
        return m_Row >= 0;
    }
    if (!m_Rows.AllRead() && ReadTail())
        m_Row = m_Rows.LastEnd() - 1;
    else {
        FetchAll();
        m_Row = m_Rows.Count() - 1;
    }
    return m_Row >= 0;
}

bool TQuery::CursorNext() {
    if (m_Row < 0)
        return false;
    if (!m_Rows.InLast(m_Row + 1)) {
        // The tail ends with the last row.
        if (m_Rows.InLast(m_Row))
            return false;
        m_Rows.ReadUntil(m_Row + 2);
        if (m_Row + 1 >= m_Rows.Count())
            return false;
    }
    ++m_Row;
    return true;
}

bool TQuery::CursorPrior() {
    if (m_Row <= 0)
        return false;
    --m_Row;
    if (!m_Rows.InLast(m_Row))
        m_Rows.ReadUntil(m_Row + 1);
    return true;
}

QVariantList TQuery::CursorRecord() {
    return m_Row >= 0 ? m_Rows.Record(m_Row) : QVariantList();
}

bool TQuery::CursorIsEmpty() {
    m_Rows.ReadUntil(1);
    return m_Rows.Count() == 0;
}

bool TQuery::CursorGotoRow(qint64 row) {
    if (row < 0)
        return false;
    if (!m_Rows.InLast(row)) {
        m_Rows.ReadUntil(row + 1);
        if (row >= m_Rows.Count())
            return false;
    }
    m_Row = row;
    return true;
}

qint64 TQuery::CursorRecordCount() {
    if (m_Rows.AllRead())
        return m_Rows.Count();
    if (FilterActive()) {
        FetchAll();
        return m_Rows.Count();
    }
    if (m_Count < 0) {
        // Counted through a subquery of no columns, which SQLite does not
        // merge into the count: its joins that cannot change the number of
        // rows are left out (a tenth of the time for the calls list).
        auto statement = Database()->PrepareNative(
            QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM (\n%1\n) LIMIT -1)")
                .arg(m_CountSql));
        statement->Bind(m_BoundParams);
        m_Count = statement->Step() ? statement->Integer(0) : 0;
    }
    return m_Count + m_CountDelta;
}

QVariant TQuery::CursorRowValue(qint64 row, int column) {
    return m_Rows.Value(row, column);
}

bool TQuery::CursorLocate(const TLocateRequest& request) {
    if (m_Rows.Keyed()) {
        if (m_OriginsExact && request.NoRowCanMatch(*Database(), Fields()))
            return false;
        bool held = true;
        for (const int column : request.Columns)
            held = held && m_Rows.Keyed()->Holds(column);
        // Rows held by rowid in the statement's order: an index tells which
        // rows can match.
        if (bool found = false; !held && !m_RowidTable.isEmpty() && LocateByRowid(request, found))
            return found;
        // Reading the searched columns for every row once costs far less than
        // reading whole rows page by page to look at them, and the next
        // keystroke of a search finds them held.
        if (!held && m_Rows.Keyed()->Count() > ReadAhead && HoldColumnsToo(request.Columns))
            held = true;
        // The rows held now, read anew above or not. When some searched
        // columns are not held, only the rows whose held ones match are read
        // whole (by key and one more field: one row).
        TKeyedRows& rows = *m_Rows.Keyed();
        const TLocateRequest heldPart =
            held ? request : request.Part([&](int column) { return rows.Holds(column); });
        for (qint64 row = 0; row < rows.Count(); ++row) {
            if (heldPart.Matches(TKeyedRows::THeldRow(rows, row)) &&
                (held || request.Matches(TKeyedRows::TWholeRow(rows, row)))) {
                m_Row = row;
                return true;
            }
        }
        return false;
    }
    bool asked = false;
    const TRowStore& read = m_Rows.Store();
    for (qint64 row = 0;; ++row) {
        if (row >= read.Count()) {
            if (m_Rows.AllRead())
                return false;
            // Before reading on, an index may tell that nothing matches.
            if (!asked && m_OriginsExact && request.NoRowCanMatch(*Database(), Fields()))
                return false;
            asked = true;
            // A search by key (and perhaps more) far into an unsorted
            // statement: its keys in its order tell the position without
            // reading the rows between.
            if (!m_OrderTried && SortColumn() < 0) {
                const QList<int> keys = KeyColumns();
                const bool byKey =
                    !keys.isEmpty() && std::all_of(keys.begin(), keys.end(), [&](int column) {
                        return request.Columns.contains(column);
                    });
                if (byKey && HoldInStatementOrder())
                    return CursorLocate(request);
            }
            m_Rows.ReadUntil(row + ReadAhead);
            if (row >= read.Count())
                return false;
        }
        if (request.Matches(TRowStore::TRow(read, row))) {
            m_Row = row;
            return true;
        }
    }
}

bool TQuery::HoldInStatementOrder() {
    m_OrderTried = true;
    if (m_Rows.AllRead() || m_pWriter || FilterActive() || m_CountDelta != 0 || !m_OriginsExact ||
        m_CountSql != m_InnerSql)
        return false;
    const UQuerySql::TRowidSql rowid = UQuerySql::RowidSql(m_InnerSql);
    if (rowid.Rows.isEmpty() ||
        !m_Rows.HoldInStatementOrder(*Database(), m_InnerSql, rowid, m_BoundParams))
        return false;
    m_RowidTable = rowid.Table;
    return true;
}

bool TQuery::HoldColumnsToo(const QList<int>& columns) {
    TKeyedRows& rows = *m_Rows.Keyed();
    const QList<int> keys = rows.KeyColumns();
    const QList<int> held = rows.Columns() + columns;
    if (m_RowidTable.isEmpty()) {
        if (SortColumn() < 0)
            return false;
        QVariantList current;
        for (const int column : keys)
            current << (m_Row >= 0 ? m_Rows.Value(m_Row, column) : QVariant());
        if (!LoadKeyed(keys, held))
            return false;
        const qint64 row = m_Row >= 0 ? FindKeyRow(keys, current) : -1;
        m_Row = row >= 0 ? row : std::min(m_Row, m_Rows.Count() - 1);
        return true;
    }
    // Held by rowid: read again in rowid order, the statement's own.
    const int rowidColumn = FieldCount();
    const qint64 current = m_Row >= 0 ? m_Rows.Value(m_Row, rowidColumn).toLongLong() : -1;
    auto more = std::make_unique<TKeyedRows>(*Database(), UQuerySql::RowidSql(m_InnerSql).Rows,
                                             m_BoundParams, rowidColumn + 1, 1);
    static const TFilterExpr none;
    if (!more->Load(keys, held, none, rowidColumn, false))
        return false;
    m_Rows.HoldByKey(std::move(more));
    const qint64 row = current >= 0 ? m_Rows.Keyed()->RowOfOrderedKey(current) : -1;
    m_Row = row >= 0 ? row : std::min(m_Row, m_Rows.Count() - 1);
    return true;
}

bool TQuery::LocateByRowid(const TLocateRequest& request, bool& found) {
    // At most this many rows are looked at by their searched field; a search
    // that more rows could match looks at every row.
    constexpr qint64 MostCandidates = 10000;
    TKeyedRows& rows = *m_Rows.Keyed();
    TLocateRequest::TIndexRanges ranges;
    std::vector<qint64> rowids;
    for (qsizetype i = 0; i < request.Columns.size(); ++i) {
        if (!request.IndexRanges(*Database(), Fields(), i, ranges) ||
            ranges.Table.compare(m_RowidTable, Qt::CaseInsensitive) != 0 ||
            !Database()->RowidsWithTextIn(
                ranges.Table, ranges.Column, ranges.NoCase, ranges.Ranges, MostCandidates,
                [&](const TCell& cell) { return request.Values[size_t(i)].Matches(cell); }, rowids))
            continue;
        std::vector<qint64> candidates;
        for (const qint64 rowid : rowids) {
            if (const qint64 row = rows.RowOfOrderedKey(rowid); row >= 0)
                candidates.push_back(row);
        }
        std::sort(candidates.begin(), candidates.end());
        for (const qint64 row : candidates) {
            if (request.Matches(TKeyedRows::TWholeRow(rows, row))) {
                m_Row = row;
                found = true;
                return true;
            }
        }
        found = false;
        return true;
    }
    return false;
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
        m_Rows.ReadUntil(oldRow + 1);
        row = std::min(oldRow, m_Rows.Count() - 1);
    }
    m_Row = row >= 0 ? row : (m_Rows.Count() > 0 ? 0 : -1);
}

void TQuery::CursorSort(const QList<int>& keyColumns, const QVariantList& keyValues) {
    const int sortColumn = SortColumn();
    const bool descending = SortOrder() == Qt::DescendingOrder;
    if (TKeyedRows* keyed = m_Rows.Keyed();
        keyed && m_RowidTable.isEmpty() && keyed->Holds(sortColumn)) {
        // The keys and the sort column are at hand: no statement runs.
        keyed->Sort(sortColumn, descending);
        const qint64 row = keyValues.isEmpty() ? -1 : FindKeyRow(keyColumns, keyValues);
        m_Row = row >= 0 ? row : (m_Rows.Count() > 0 ? 0 : -1);
        return;
    }
    if (m_Rows.Keyed() || !m_Rows.AllRead() || sortColumn < 0) {
        CursorReload(keyColumns, keyValues);
        return;
    }
    // Every row is in memory: order them with the rules SQL would use.
    QList<int> columns{sortColumn};
    for (const int column : keyColumns) {
        if (column != sortColumn)
            columns << column;
    }
    m_Row = m_Rows.SortRead(columns, descending, m_Row);
}

// ---------------------------------------------------------------------------
// Writing through

void TQuery::CursorPost(bool inserting, const QVariantList& values,
                        const std::vector<bool>& changed) {
    if (!m_pWriter)
        TDataSet::CursorPost(inserting, values, changed);
    LeaveTail();
    const QVariantList record = inserting
                                    ? m_pWriter->Insert(values, changed)
                                    : m_pWriter->Update(m_Rows.Record(m_Row), values, changed);
    if (inserting) {
        qint64 at = m_Row < 0 ? 0 : m_Row;
        if (m_InsertAppend) {
            FetchAll();
            at = m_Rows.Count();
        }
        m_Rows.Insert(at, record);
        m_Row = at;
        ++m_CountDelta;
    } else {
        m_Rows.Replace(m_Row, record);
    }
    // A row that no longer passes the filter leaves the dataset.
    if (FilterActive() && !ActiveFilter().Matches(TRecordRow(record)))
        RemoveCurrent();
}

void TQuery::CursorDelete() {
    if (!m_pWriter)
        TDataSet::CursorDelete();
    LeaveTail();
    m_pWriter->Delete(m_Rows.Record(m_Row));
    RemoveCurrent();
}

void TQuery::RemoveCurrent() {
    m_Rows.Remove(m_Row);
    --m_CountDelta;
    m_Rows.ReadUntil(m_Row + 1);
    if (m_Row >= m_Rows.Count())
        m_Row = m_Rows.Count() - 1;
}
