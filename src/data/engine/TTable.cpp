#include "data/engine/TTable.h"

#include "data/engine/TDatabase.h"
#include "data/engine/TTableWriter.h"
#include "data/engine/UCellCompare.h"

#include <algorithm>
#include <sqlite3.h>

namespace {

// Rows read per step when paging, and the most kept around the current row.
constexpr qint64 PageSize = 64;
constexpr size_t MaxWindow = 8 * PageSize;
constexpr size_t MaxPages = 64;

const char* const MatchFunction = "korvane_locate";

enum : int { MatchCaseInsensitive = 1, MatchPartial = 2, MatchTypeShift = 4 };

// korvane_locate(value, text, flags): whether a stored value matches what
// Locate looks for, by exactly the rules of the in-memory search.
void LocateMatch(sqlite3_context* context, int, sqlite3_value** args) {
    const TCell cell = TCell::FromValue(args[0]);
    if (const auto* search =
            static_cast<const UCellCompare::TSearchValue*>(sqlite3_get_auxdata(context, 1))) {
        sqlite3_result_int(context, search->Matches(cell) ? 1 : 0);
        return;
    }
    const int flags = sqlite3_value_int(args[2]);
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(args[1]));
    auto* search = new UCellCompare::TSearchValue(
        QString::fromUtf8(text ? text : "", sqlite3_value_bytes(args[1])),
        static_cast<TFieldType>(flags >> MatchTypeShift), flags & MatchCaseInsensitive,
        flags & MatchPartial);
    sqlite3_result_int(context, search->Matches(cell) ? 1 : 0);
    // Kept for the next rows while the text stays the same (SQLite may also
    // drop it at once).
    sqlite3_set_auxdata(context, 1, search,
                        [](void* p) { delete static_cast<UCellCompare::TSearchValue*>(p); });
}

QString Param(int n) {
    return QStringLiteral(":p%1").arg(n);
}

} // namespace

TTable::TTable(QObject* parent) : TDataSet(parent) {}

TTable::~TTable() = default;

void TTable::SetTableName(const QString& name) {
    Close();
    m_TableName = name;
}

void TTable::EmptyTable() {
    if (!Database())
        throw EDatabaseError(QStringLiteral("The table has no database"));
    if (Active())
        CheckBrowseMode();
    m_Statements.clear();
    Database()->EmptyTable(TTableWriter::PlainName(m_TableName));
    if (Active())
        Refresh();
}

// ---------------------------------------------------------------------------
// Opening

void TTable::DoOpen() {
    DoClose();
    if (m_TableName.trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("The table has no name"));
    m_pWriter = std::make_unique<TTableWriter>(*Database(), m_TableName);
    sqlite3_create_function_v2(Database()->Handle(), MatchFunction, 3,
                               SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, LocateMatch, nullptr,
                               nullptr, nullptr);
    QList<TColumnInfo> columns;
    for (const TTableWriter::TColumn& column : m_pWriter->Columns()) {
        TColumnInfo info;
        info.Name = column.Name;
        info.Type = column.Type;
        info.Size = column.Size;
        info.OriginTable = m_pWriter->Table();
        info.OriginColumn = column.Name;
        info.Writable = true;
        columns << info;
    }
    DefineColumns(columns);
    CursorFirst();
}

void TTable::DoClose() {
    m_Statements.clear();
    m_pWriter.reset();
    m_Window.clear();
    m_Pos = -1;
    m_AtStart = m_AtEnd = true;
    ForgetPositions();
}

QStringList TTable::NaturalKeyFields() const {
    QStringList names;
    if (m_pWriter) {
        for (const int column : m_pWriter->KeyColumns())
            names << m_pWriter->Columns()[column].Name;
    }
    return names;
}

void TTable::ForgetPositions() {
    m_RecNo = -1;
    m_Count = -1;
    m_Pages.clear();
}

// ---------------------------------------------------------------------------
// Reading

namespace {
// Resets a statement when it goes out of use, so that it holds no lock.
struct TResetGuard {
    TStatement& Statement;
    ~TResetGuard() { Statement.Reset(); }
};
} // namespace

TStatement& TTable::Cached(const QString& sql) {
    auto it = m_Statements.find(sql);
    if (it == m_Statements.end())
        it = m_Statements.insert(sql, std::shared_ptr<TStatement>(Database()->PrepareNative(sql)));
    it.value()->Reset();
    return *it.value();
}

QString TTable::Select(const QString& where, bool descending, const QString& tail) const {
    QString sql =
        QStringLiteral("SELECT %1 FROM %2").arg(m_pWriter->ColumnList(), m_pWriter->Qualified());
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    sql += QStringLiteral(" ORDER BY ") + m_pWriter->OrderList(descending);
    if (!tail.isEmpty())
        sql += QLatin1Char(' ') + tail;
    return sql;
}

QString TTable::KeysetCondition(TDirection direction) const {
    const QString op =
        direction == TDirection::Forward ? QStringLiteral(" > ") : QStringLiteral(" < ");
    if (!m_pWriter->HasKey())
        return QStringLiteral("rowid") + op + Param(0);
    QStringList names;
    QStringList params;
    for (qsizetype i = 0; i < m_pWriter->KeyColumns().size(); ++i) {
        names << TTableWriter::Quote(m_pWriter->Columns()[m_pWriter->KeyColumns()[i]].Name);
        params << Param(int(i));
    }
    if (names.size() == 1)
        return names[0] + op + params[0];
    return QStringLiteral("(%1)%2(%3)")
        .arg(names.join(QStringLiteral(", ")), op, params.join(QStringLiteral(", ")));
}

void TTable::BindKeyset(TStatement& statement, const QVariantList& from) const {
    const QVariantList identity = m_pWriter->IdentityOf(from);
    for (qsizetype i = 0; i < identity.size(); ++i)
        statement.Bind(QStringLiteral("p%1").arg(i), identity[i]);
}

bool TTable::Passes(const QVariantList& row) const {
    return !FilterActive() || ActiveFilter().Matches(TRecordRow(row));
}

TTable::TRows TTable::Read(TDirection direction, const QVariantList* from, qint64 count) {
    TStatement& statement = Cached(
        Select(from ? KeysetCondition(direction) : QString(), direction == TDirection::Backward));
    TResetGuard guard{statement};
    if (from)
        BindKeyset(statement, *from);
    TRows rows;
    const int columns = statement.ColumnCount();
    while (qint64(rows.size()) < count && statement.Step()) {
        QVariantList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row << statement.Value(c);
        if (Passes(row))
            rows.push_back(std::move(row));
    }
    return rows;
}

QVariantList TTable::ReadOne(TDirection direction, const QVariantList* from) {
    TRows rows = Read(direction, from, 1);
    return rows.empty() ? QVariantList() : rows.front();
}

void TTable::SetWindow(TRows rows, qint64 pos, bool atStart, bool atEnd) {
    m_Window.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    m_Pos = m_Window.empty() ? -1 : pos;
    m_AtStart = atStart;
    m_AtEnd = atEnd;
}

void TTable::PlaceAt(const QVariantList& row) {
    m_Window.clear();
    m_Window.push_back(row);
    m_Pos = 0;
    m_AtStart = m_AtEnd = false;
    m_RecNo = -1;
}

void TTable::PlaceNear(const QVariantList& row) {
    if (QVariantList next = ReadOne(TDirection::Forward, &row); !next.isEmpty()) {
        PlaceAt(next);
        return;
    }
    if (QVariantList prior = ReadOne(TDirection::Backward, &row); !prior.isEmpty()) {
        PlaceAt(prior);
        m_AtEnd = true;
        return;
    }
    SetWindow({}, -1, true, true);
    m_RecNo = -1;
}

// ---------------------------------------------------------------------------
// Moving

bool TTable::CursorFirst() {
    TRows rows = Read(TDirection::Forward, nullptr, PageSize);
    const bool atEnd = qint64(rows.size()) < PageSize;
    SetWindow(std::move(rows), 0, true, atEnd);
    m_RecNo = m_Pos;
    return m_Pos >= 0;
}

bool TTable::CursorLast() {
    TRows rows = Read(TDirection::Backward, nullptr, PageSize);
    const bool atStart = qint64(rows.size()) < PageSize;
    std::reverse(rows.begin(), rows.end());
    const qint64 last = qint64(rows.size()) - 1;
    SetWindow(std::move(rows), last, atStart, true);
    m_RecNo = atStart ? m_Pos : -1;
    return m_Pos >= 0;
}

bool TTable::CursorNext() {
    if (m_Pos < 0)
        return false;
    if (m_Pos + 1 >= qint64(m_Window.size())) {
        if (m_AtEnd)
            return false;
        TRows more = Read(TDirection::Forward, &m_Window.back(), PageSize);
        if (qint64(more.size()) < PageSize)
            m_AtEnd = true;
        if (more.empty())
            return false;
        for (auto& row : more)
            m_Window.push_back(std::move(row));
        while (m_Window.size() > MaxWindow) {
            m_Window.pop_front();
            --m_Pos;
            m_AtStart = false;
        }
    }
    ++m_Pos;
    if (m_RecNo >= 0)
        ++m_RecNo;
    return true;
}

bool TTable::CursorPrior() {
    if (m_Pos < 0)
        return false;
    if (m_Pos == 0) {
        if (m_AtStart)
            return false;
        TRows more = Read(TDirection::Backward, &m_Window.front(), PageSize);
        if (qint64(more.size()) < PageSize)
            m_AtStart = true;
        if (more.empty())
            return false;
        for (auto& row : more) {
            m_Window.push_front(std::move(row));
            ++m_Pos;
        }
        while (m_Window.size() > MaxWindow) {
            m_Window.pop_back();
            m_AtEnd = false;
        }
    }
    --m_Pos;
    if (m_RecNo > 0)
        --m_RecNo;
    return true;
}

QVariantList TTable::CursorRecord() {
    return m_Pos >= 0 ? m_Window[size_t(m_Pos)] : QVariantList();
}

qint64 TTable::CursorRow() {
    if (m_Pos < 0)
        return -1;
    if (m_RecNo >= 0)
        return m_RecNo;
    const QVariantList& current = m_Window[size_t(m_Pos)];
    if (!FilterActive()) {
        TStatement& statement =
            Cached(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2")
                       .arg(m_pWriter->Qualified(), KeysetCondition(TDirection::Backward)));
        TResetGuard guard{statement};
        BindKeyset(statement, current);
        m_RecNo = statement.Step() ? statement.Integer(0) : 0;
        return m_RecNo;
    }
    const QVariantList identity = m_pWriter->IdentityOf(current);
    qint64 row = 0;
    QVariantList probe = ReadOne(TDirection::Forward, nullptr);
    while (!probe.isEmpty() && m_pWriter->IdentityOf(probe) != identity) {
        ++row;
        probe = ReadOne(TDirection::Forward, &probe);
    }
    m_RecNo = row;
    return m_RecNo;
}

bool TTable::CursorGotoRow(qint64 row) {
    if (row < 0)
        return false;
    QVariantList found;
    if (!FilterActive()) {
        TStatement& statement = Cached(Select({}, false, QStringLiteral("LIMIT 1 OFFSET :p0")));
        TResetGuard guard{statement};
        statement.Bind(QStringLiteral("p0"), row);
        if (statement.Step()) {
            for (int c = 0; c < statement.ColumnCount(); ++c)
                found << statement.Value(c);
        }
    } else {
        TStatement& statement = Cached(Select({}, false));
        TResetGuard guard{statement};
        qint64 seen = 0;
        while (found.isEmpty() && statement.Step()) {
            QVariantList candidate;
            for (int c = 0; c < statement.ColumnCount(); ++c)
                candidate << statement.Value(c);
            if (Passes(candidate) && seen++ == row)
                found = candidate;
        }
    }
    if (found.isEmpty())
        return false;
    PlaceAt(found);
    m_RecNo = row;
    return true;
}

qint64 TTable::CursorRecordCount() {
    if (m_Count >= 0)
        return m_Count;
    if (!FilterActive()) {
        TStatement& statement =
            Cached(QStringLiteral("SELECT COUNT(*) FROM %1").arg(m_pWriter->Qualified()));
        TResetGuard guard{statement};
        m_Count = statement.Step() ? statement.Integer(0) : 0;
        return m_Count;
    }
    TStatement& statement = Cached(Select({}, false));
    TResetGuard guard{statement};
    qint64 count = 0;
    while (statement.Step()) {
        QVariantList row;
        for (int c = 0; c < statement.ColumnCount(); ++c)
            row << statement.Value(c);
        if (Passes(row))
            ++count;
    }
    m_Count = count;
    return m_Count;
}

QVariant TTable::CursorRowValue(qint64 row, int column) {
    const qint64 page = row / PageSize;
    auto it = m_Pages.find(page);
    if (it == m_Pages.end()) {
        if (m_Pages.size() >= MaxPages)
            m_Pages.clear();
        TRows rows;
        if (auto before = m_Pages.find(page - 1);
            before != m_Pages.end() && !before->second.empty())
            rows = Read(TDirection::Forward, &before->second.back(), PageSize);
        else if (!FilterActive()) {
            TStatement& statement =
                Cached(Select({}, false, QStringLiteral("LIMIT :p0 OFFSET :p1")));
            TResetGuard guard{statement};
            statement.Bind(QStringLiteral("p0"), PageSize);
            statement.Bind(QStringLiteral("p1"), page * PageSize);
            while (statement.Step()) {
                QVariantList values;
                for (int c = 0; c < statement.ColumnCount(); ++c)
                    values << statement.Value(c);
                rows.push_back(std::move(values));
            }
        } else {
            TStatement& statement = Cached(Select({}, false));
            TResetGuard guard{statement};
            qint64 seen = 0;
            while (qint64(rows.size()) < PageSize && statement.Step()) {
                QVariantList values;
                for (int c = 0; c < statement.ColumnCount(); ++c)
                    values << statement.Value(c);
                if (Passes(values) && seen++ >= page * PageSize)
                    rows.push_back(std::move(values));
            }
        }
        it = m_Pages.emplace(page, std::move(rows)).first;
    }
    const qint64 index = row % PageSize;
    if (index >= qint64(it->second.size()))
        return {};
    return it->second[size_t(index)].value(column);
}

// ---------------------------------------------------------------------------
// Finding rows

bool TTable::CursorLocate(const TLocateRequest& request) {
    QStringList conditions;
    QVariantList values;
    for (qsizetype i = 0; i < request.Columns.size(); ++i) {
        const UCellCompare::TSearchValue& search = request.Values[size_t(i)];
        const QString name = TTableWriter::Quote(m_pWriter->Columns()[request.Columns[i]].Name);
        const TFieldType type = search.Type();
        if (search.Text().isEmpty()) {
            if (!request.Partial)
                conditions << QStringLiteral("(%1 IS NULL OR %1 = '')").arg(name);
            continue;
        }
        const QString param = Param(int(values.size()));
        if (!request.CaseInsensitive && !request.Partial && type == TFieldType::String) {
            // Plain equality: an index on the column (the primary key) serves it.
            conditions << name + QStringLiteral(" = ") + param;
            values << search.Text();
            continue;
        }
        int flags = int(type) << MatchTypeShift;
        if (request.CaseInsensitive)
            flags |= MatchCaseInsensitive;
        if (request.Partial)
            flags |= MatchPartial;
        conditions << QStringLiteral("%1(%2, %3, %4)")
                          .arg(QLatin1String(MatchFunction), name, param, QString::number(flags));
        values << search.Text();
    }
    TStatement& statement = Cached(Select(conditions.join(QStringLiteral(" AND ")), false));
    TResetGuard guard{statement};
    for (qsizetype i = 0; i < values.size(); ++i)
        statement.Bind(QStringLiteral("p%1").arg(i), values[i]);
    while (statement.Step()) {
        QVariantList row;
        for (int c = 0; c < statement.ColumnCount(); ++c)
            row << statement.Value(c);
        if (Passes(row) && request.Matches(TRecordRow(row))) {
            PlaceAt(row);
            return true;
        }
    }
    return false;
}

bool TTable::CursorFindKey(const QList<int>& columns, const QVariantList& values, bool move) {
    if (columns.isEmpty() || columns.size() != values.size())
        return false;
    TLocateRequest request;
    request.Columns = columns;
    for (qsizetype i = 0; i < columns.size(); ++i)
        request.Values.emplace_back(values[i], Fields()[columns[i]]->DataType(), false, false);
    if (move)
        return CursorLocate(request);
    // Look without moving: keep the window as it is.
    std::deque<QVariantList> window = m_Window;
    const qint64 pos = m_Pos;
    const bool atStart = m_AtStart;
    const bool atEnd = m_AtEnd;
    const qint64 recNo = m_RecNo;
    const bool found = CursorLocate(request);
    m_Window = std::move(window);
    m_Pos = pos;
    m_AtStart = atStart;
    m_AtEnd = atEnd;
    m_RecNo = recNo;
    return found;
}

// ---------------------------------------------------------------------------
// Writing

void TTable::CursorPost(bool inserting, const QVariantList& values,
                        const std::vector<bool>& changed) {
    QList<int> columns;
    QVariantList written;
    for (size_t c = 0; c < changed.size(); ++c) {
        if (changed[c]) {
            columns << int(c);
            written << values[qsizetype(c)];
        }
    }
    const QVariantList stored =
        inserting
            ? m_pWriter->Insert(columns, written)
            : m_pWriter->Update(m_pWriter->IdentityOf(m_Window[size_t(m_Pos)]), columns, written);
    ForgetPositions();
    if (stored.isEmpty()) {
        CursorFirst();
        return;
    }
    if (Passes(stored))
        PlaceAt(stored);
    else
        PlaceNear(stored);
}

void TTable::CursorDelete() {
    const QVariantList current = m_Window[size_t(m_Pos)];
    m_pWriter->Delete(m_pWriter->IdentityOf(current));
    const qint64 recNo = m_RecNo;
    ForgetPositions();
    PlaceNear(current);
    if (recNo >= 0 && !m_AtEnd)
        m_RecNo = recNo;
}

void TTable::CursorReload(const QList<int>&, const QVariantList&) {
    ForgetPositions();
    m_Statements.clear();
    if (m_Pos < 0) {
        CursorFirst();
        return;
    }
    const QVariantList current = m_Window[size_t(m_Pos)];
    const QVariantList fresh = m_pWriter->Read(m_pWriter->IdentityOf(current));
    if (!fresh.isEmpty() && Passes(fresh))
        PlaceAt(fresh);
    else
        PlaceNear(current);
}
