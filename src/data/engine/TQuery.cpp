#include "data/engine/TQuery.h"

#include "data/engine/TKeyedRows.h"
#include "data/engine/TTableWriter.h"
#include "data/engine/UCellCompare.h"

#include <QRegularExpression>
#include <algorithm>
#include <limits>
#include <sqlite3.h>

namespace {

// Rows read ahead when a caller looks beyond what has been read.
constexpr qint64 ReadAhead = 256;
// Rows read at the end of the statement by Last.
constexpr qint64 TailRows = 64;

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

// The statement as SQLite runs it, ready to be wrapped in a sub-select.
QString InnerSql(const TStatement& statement) {
    QString sql = QString::fromUtf8(sqlite3_sql(statement.Handle())).trimmed();
    while (sql.endsWith(QLatin1Char(';')))
        sql = sql.chopped(1).trimmed();
    return sql;
}

// Whether a statement combines several SELECTs: the origin SQLite reports for
// a column is then the first one's, while rows come from the others too.
bool IsCompound(const QString& sql) {
    QString outside;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else {
            outside += c;
        }
    }
    static const QRegularExpression words(QStringLiteral("\\b(UNION|INTERSECT|EXCEPT)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    return words.match(outside).hasMatch();
}

// Where a statement's closing ORDER BY begins and its terms; At is -1 when the
// statement does not end in one (a LIMIT after it counts as not ending so).
struct TClosingOrder {
    qsizetype At = -1;
    QStringList Terms;
};

TClosingOrder ClosingOrder(const QString& sql) {
    qsizetype orderAt = -1;
    qsizetype termsAt = -1;
    QList<qsizetype> commas;
    QString previous;
    qsizetype previousAt = -1;
    int depth = 0;
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        const QChar next = i + 1 < sql.size() ? sql[i + 1] : QChar();
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') ||
            c == QLatin1Char('[')) {
            const qsizetype end = sql.indexOf(c == QLatin1Char('[') ? QLatin1Char(']') : c, i + 1);
            if (end < 0)
                return {};
            i = end + 1;
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? sql.size() : end;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? sql.size() : end + 2;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            qsizetype end = i;
            while (end < sql.size() &&
                   (sql[end].isLetterOrNumber() || sql[end] == QLatin1Char('_')))
                ++end;
            const QString word = sql.mid(i, end - i).toUpper();
            if (depth == 0) {
                if (word == QLatin1String("BY") && previous == QLatin1String("ORDER")) {
                    orderAt = previousAt;
                    termsAt = end;
                    commas.clear();
                } else if (termsAt >= 0 &&
                           (word == QLatin1String("LIMIT") || word == QLatin1String("OFFSET"))) {
                    return {};
                }
            }
            previous = word;
            previousAt = i;
            i = end;
        } else {
            if (c == QLatin1Char('('))
                ++depth;
            else if (c == QLatin1Char(')'))
                --depth;
            else if (c == QLatin1Char(',') && depth == 0 && termsAt >= 0)
                commas << i;
            ++i;
        }
    }
    if (orderAt < 0)
        return {};
    TClosingOrder order;
    order.At = orderAt;
    qsizetype from = termsAt;
    commas << sql.size();
    for (const qsizetype comma : std::as_const(commas)) {
        order.Terms << sql.mid(from, comma - from).trimmed();
        from = comma + 1;
    }
    return order;
}

// A term of ORDER BY that names a column, as in C.CallNr or "CallNr" DESC:
// the column's name and the term turned round; false for any other term.
bool ReversedTerm(const QString& term, QString& column, QString& reversed) {
    static const QRegularExpression plain(
        QStringLiteral("^((?:(?:\"[^\"]+\"|\\w+)\\.)*(\"[^\"]+\"|\\w+))(?:\\s+(ASC|DESC))?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = plain.match(term);
    if (!match.hasMatch())
        return false;
    column = match.captured(2);
    if (column.startsWith(QLatin1Char('"')))
        column = column.mid(1, column.size() - 2);
    const bool descending =
        match.captured(3).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
    reversed = match.captured(1) + (descending ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    return true;
}

// The statement's tokens outside brackets, for looking at its clauses.
struct TToken {
    QString Text; // words upper-cased, quoted names without their quotes
    qsizetype At = 0;
    qsizetype End = 0;
    bool Word = false;
};

QList<TToken> TopLevelTokens(const QString& sql) {
    QList<TToken> tokens;
    int depth = 0;
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        const QChar next = i + 1 < sql.size() ? sql[i + 1] : QChar();
        TToken token;
        token.At = i;
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') ||
            c == QLatin1Char('[')) {
            const qsizetype end = sql.indexOf(c == QLatin1Char('[') ? QLatin1Char(']') : c, i + 1);
            if (end < 0)
                return {};
            token.Text = sql.mid(i + 1, end - i - 1);
            token.Word = c != QLatin1Char('\'');
            i = end + 1;
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? sql.size() : end;
            continue;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? sql.size() : end + 2;
            continue;
        } else if (c.isLetterOrNumber() || c == QLatin1Char('_')) {
            qsizetype end = i;
            while (end < sql.size() &&
                   (sql[end].isLetterOrNumber() || sql[end] == QLatin1Char('_')))
                ++end;
            token.Text = sql.mid(i, end - i).toUpper();
            token.Word = true;
            i = end;
        } else {
            token.Text = c;
            ++i;
            // Brackets count as at the level outside them.
            if (c == QLatin1Char('('))
                ++depth;
            else if (c == QLatin1Char(')'))
                --depth;
            if ((c == QLatin1Char('(') && depth == 1) || (c == QLatin1Char(')') && depth == 0)) {
                token.End = i;
                tokens << token;
                continue;
            }
        }
        token.End = i;
        if (depth == 0)
            tokens << token;
    }
    return tokens;
}

// The first table of a plain SELECT whose other tables are all LEFT JOINed
// and that has no clause dropping, merging or ordering rows: such a statement
// gives each row of its first table once or more, in the order that table is
// read.
struct TFirstTable {
    QString Name;  // the table's own name
    QString Alias; // what the statement calls it
    bool Aliased = false;
    qsizetype From = 0;  // where FROM begins
    qsizetype After = 0; // where the first table's name (and alias) ends
};

bool FirstTableOnly(const QString& sql, TFirstTable& first) {
    const QList<TToken> tokens = TopLevelTokens(sql);
    if (tokens.size() < 4 || tokens[0].Text != QLatin1String("SELECT") ||
        tokens[1].Text == QLatin1String("DISTINCT"))
        return false;
    qsizetype from = -1;
    for (qsizetype i = 1; i < tokens.size() && from < 0; ++i) {
        if (tokens[i].Word && tokens[i].Text == QLatin1String("FROM") &&
            sql[tokens[i].At].isLetter())
            from = i;
    }
    if (from < 0 || from + 1 >= tokens.size() || !tokens[from + 1].Word)
        return false;
    qsizetype i = from + 1;
    qsizetype tableEnd = tokens[i].End;
    ++i;
    if (i + 1 < tokens.size() && tokens[i].Text == QLatin1String(".") && tokens[i + 1].Word) {
        first.Name = tokens[i + 1].Text;
        tableEnd = tokens[i + 1].End;
        i += 2;
    }
    if (i < tokens.size() && tokens[i].Text == QLatin1String("("))
        return false; // a table-valued function
    // The name as written keeps its letter case for the plan's wording.
    const auto original = [&](qsizetype t) {
        const TToken& token = tokens[t];
        const QChar c = sql[token.At];
        return c.isLetterOrNumber() || c == QLatin1Char('_')
                   ? sql.mid(token.At, token.End - token.At)
                   : token.Text;
    };
    first.Name = original(i - 1);
    first.From = tokens[from].At;
    first.After = tableEnd;
    first.Alias = first.Name;
    first.Aliased = false;
    static const QStringList joinWords{
        QStringLiteral("LEFT"),  QStringLiteral("OUTER"), QStringLiteral("JOIN"),
        QStringLiteral("INNER"), QStringLiteral("CROSS"), QStringLiteral("NATURAL"),
        QStringLiteral("RIGHT"), QStringLiteral("FULL"),  QStringLiteral("ON"),
        QStringLiteral("USING"), QStringLiteral("WHERE"), QStringLiteral("INDEXED"),
        QStringLiteral("NOT")};
    if (i < tokens.size() && tokens[i].Text == QLatin1String("AS"))
        ++i;
    if (i < tokens.size() && tokens[i].Word && !joinWords.contains(tokens[i].Text)) {
        first.Alias = original(i);
        first.Aliased = true;
        first.After = tokens[i].End;
        ++i;
    }
    static const QStringList ending{
        QStringLiteral("WHERE"),   QStringLiteral("GROUP"),  QStringLiteral("HAVING"),
        QStringLiteral("ORDER"),   QStringLiteral("LIMIT"),  QStringLiteral("WINDOW"),
        QStringLiteral("UNION"),   QStringLiteral("EXCEPT"), QStringLiteral("INTERSECT"),
        QStringLiteral("INDEXED"), QStringLiteral("VALUES")};
    for (; i < tokens.size(); ++i) {
        const TToken& token = tokens[i];
        if (token.Text == QLatin1String(",") || token.Text == QLatin1String(";"))
            return false;
        if (!token.Word)
            continue;
        if (ending.contains(token.Text))
            return false;
        if (token.Text == QLatin1String("JOIN")) {
            const bool left = tokens[i - 1].Text == QLatin1String("LEFT") ||
                              (tokens[i - 1].Text == QLatin1String("OUTER") && i >= 2 &&
                               tokens[i - 2].Text == QLatin1String("LEFT"));
            if (!left)
                return false;
        }
    }
    return true;
}

// The first line of a statement's query plan: its outermost loop.
QString OuterLoop(TDatabase& database, const QString& sql, const TParams& params) {
    auto plan = database.PrepareNative(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    plan->Bind(params);
    return plan->Step() ? plan->Text(3) : QString();
}

bool SameCell(const TCell& a, const TCell& b) {
    if (a.Kind != b.Kind)
        return false;
    switch (a.Kind) {
    case TCell::Integer:
        return a.Int == b.Int;
    case TCell::Float:
        return a.Real == b.Real;
    case TCell::Text:
    case TCell::Blob:
        return a.Bytes == b.Bytes;
    case TCell::Null:
        break;
    }
    return true;
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
    m_Tail.Reset(0);
    m_TailStart = -1;
    m_pKeyed.reset();
    m_Row = -1;
    m_Count = -1;
    m_CountDelta = 0;
    m_pWriter.reset();
    m_WriterColumn.clear();
    m_OrderTried = false;
}

qint64 TQuery::MemoryUsage() const {
    return m_Store.MemoryUsage() + m_Tail.MemoryUsage() + (m_pKeyed ? m_pKeyed->MemoryUsage() : 0);
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
    m_OriginsExact = !IsCompound(m_InnerSql);

    // The natural key: the primary key of the table behind the first column.
    QStringList keyNames; // the key's columns, named as the result and as the table names them
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
            keyNames << names.value(found) << column.Name;
        }
        if (complete)
            m_NaturalKey = key;
    }

    // A statement that ends in ORDER BY is counted without it. When the terms
    // name columns and take in the key, the order is total and known: its end
    // can be read by turning the order round.
    const TClosingOrder order = ClosingOrder(m_InnerSql);
    m_CountSql = order.At >= 0 ? m_InnerSql.left(order.At) : m_InnerSql;
    m_ReversedSql.clear();
    if (order.At >= 0 && m_OriginsExact && !m_NaturalKey.isEmpty()) {
        QStringList named;
        QStringList reversed;
        bool plain = true;
        for (const QString& term : order.Terms) {
            QString column;
            QString turned;
            plain = plain && ReversedTerm(term, column, turned);
            named << column;
            reversed << turned;
        }
        for (qsizetype k = 0; plain && k < keyNames.size(); k += 2)
            plain = named.contains(keyNames[k], Qt::CaseInsensitive) ||
                    named.contains(keyNames[k + 1], Qt::CaseInsensitive);
        if (plain)
            m_ReversedSql = m_InnerSql.left(order.At) + QStringLiteral("ORDER BY ") +
                            reversed.join(QStringLiteral(", ")) +
                            QStringLiteral(" LIMIT %1").arg(TailRows);
    }

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
    m_Columns = columns;
    m_Store.Reset(count);
    m_AllFetched = false;

    // Sorted: by key when the rows have one that tells them apart; otherwise
    // the statement is wrapped in ORDER BY, the sort column's ties going by
    // key.
    if (const int sortColumn = SortColumn(); sortColumn >= 0) {
        statement.reset();
        if (LoadKeyed(KeyColumns())) {
            m_AllFetched = true;
            m_Row = m_pKeyed->Count() > 0 ? 0 : -1;
            return;
        }
        QStringList orderBy;
        orderBy << QStringLiteral("%1 COLLATE NOCASE%2")
                       .arg(QString::number(sortColumn + 1), SortOrder() == Qt::DescendingOrder
                                                                 ? QStringLiteral(" DESC")
                                                                 : QString());
        for (const int keyColumn : KeyColumns()) {
            if (keyColumn != sortColumn)
                orderBy << QString::number(keyColumn + 1);
        }
        statement = db.PrepareNative(QStringLiteral("SELECT * FROM (\n%1\n) ORDER BY %2")
                                         .arg(m_InnerSql, orderBy.join(QStringLiteral(", "))));
        statement->Bind(m_BoundParams);
        hasRow = statement->Step();
    }

    m_pStmt = std::move(statement);
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
    m_pKeyed = std::move(rows);
    return true;
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
    if (hasRow) {
        const TStatementRow row(m_pStmt->Handle());
        if (!FilterActive() || ActiveFilter().Matches(row))
            m_Store.Append(row);
    } else {
        m_pStmt.reset();
        m_AllFetched = true;
    }
    // Read up to where the tail begins, the statement gives the rest.
    if (m_TailStart >= 0 && (m_AllFetched || m_Store.Count() >= m_TailStart)) {
        m_Tail.Reset(0);
        m_TailStart = -1;
    }
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

qint64 TQuery::RowCount() {
    return m_pKeyed ? m_pKeyed->Count() : m_Store.Count();
}

qint64 TQuery::CursorRowsAvailable() {
    return RowCount();
}

bool TQuery::InTail(qint64 row) const {
    return m_TailStart >= 0 && row >= m_TailStart && row >= m_Store.Count() &&
           row - m_TailStart < m_Tail.Count();
}

QVariantList TQuery::RecordAt(qint64 row) {
    if (m_pKeyed)
        return m_pKeyed->Record(row);
    if (InTail(row))
        return m_Tail.Record(row - m_TailStart);
    FetchUntil(row + 1);
    return m_Store.Record(row);
}

bool TQuery::ReadTail() {
    if (m_TailStart >= 0)
        return true;
    // A filter is applied as rows are read, so only reading tells how many
    // pass; local changes move the statement's positions.
    if (FilterActive() || m_CountDelta != 0)
        return false;
    const qint64 total = CursorRecordCount();
    if (total - m_Store.Count() <= ReadAhead)
        return false;
    m_Tail.Reset(FieldCount());
    if (!m_ReversedSql.isEmpty()) {
        auto statement = Database()->PrepareNative(m_ReversedSql);
        statement->Bind(m_BoundParams);
        TRowStore backwards(FieldCount());
        while (statement->Step())
            backwards.Append(TStatementRow(statement->Handle()));
        for (qint64 row = backwards.Count() - 1; row >= 0; --row)
            m_Tail.Append(TRowStore::TRow(backwards, row));
    } else {
        auto statement = Database()->PrepareNative(
            QStringLiteral("SELECT * FROM (\n%1\n) LIMIT %2 OFFSET %3")
                .arg(m_InnerSql, QString::number(TailRows), QString::number(total - TailRows)));
        statement->Bind(m_BoundParams);
        while (statement->Step())
            m_Tail.Append(TStatementRow(statement->Handle()));
    }
    if (m_Tail.Count() != TailRows) {
        // The rows changed since they were counted.
        m_Tail.Reset(0);
        return false;
    }
    m_TailStart = total - TailRows;
    return true;
}

void TQuery::LeaveTail() {
    if (InTail(m_Row))
        FetchUntil(m_Row + 1);
}

// ---------------------------------------------------------------------------
// Moving

bool TQuery::CursorFirst() {
    FetchUntil(1);
    m_Row = RowCount() > 0 ? 0 : -1;
    return m_Row >= 0;
}

bool TQuery::CursorLast() {
    if (!m_pKeyed && !m_AllFetched && ReadTail())
        m_Row = m_TailStart + m_Tail.Count() - 1;
    else {
        FetchAll();
        m_Row = RowCount() - 1;
    }
    return m_Row >= 0;
}

bool TQuery::CursorNext() {
    if (m_Row < 0)
        return false;
    if (!InTail(m_Row + 1)) {
        // The tail ends with the last row.
        if (InTail(m_Row))
            return false;
        FetchUntil(m_Row + 2);
        if (m_Row + 1 >= RowCount())
            return false;
    }
    ++m_Row;
    return true;
}

bool TQuery::CursorPrior() {
    if (m_Row <= 0)
        return false;
    --m_Row;
    if (!m_pKeyed && !InTail(m_Row))
        FetchUntil(m_Row + 1);
    return true;
}

QVariantList TQuery::CursorRecord() {
    return m_Row >= 0 ? RecordAt(m_Row) : QVariantList();
}

bool TQuery::CursorIsEmpty() {
    FetchUntil(1);
    return RowCount() == 0;
}

bool TQuery::CursorGotoRow(qint64 row) {
    if (row < 0)
        return false;
    if (!InTail(row)) {
        FetchUntil(row + 1);
        if (row >= RowCount())
            return false;
    }
    m_Row = row;
    return true;
}

qint64 TQuery::CursorRecordCount() {
    if (m_pKeyed)
        return m_pKeyed->Count();
    if (m_AllFetched)
        return m_Store.Count();
    if (FilterActive()) {
        FetchAll();
        return m_Store.Count();
    }
    if (m_Count < 0) {
        auto statement = Database()->PrepareNative(
            QStringLiteral("SELECT COUNT(*) FROM (\n%1\n)").arg(m_CountSql));
        statement->Bind(m_BoundParams);
        m_Count = statement->Step() ? statement->Integer(0) : 0;
    }
    return m_Count + m_CountDelta;
}

QVariant TQuery::CursorRowValue(qint64 row, int column) {
    if (m_pKeyed)
        return m_pKeyed->Cell(row, column).ToVariant();
    if (InTail(row))
        return m_Tail.Value(row - m_TailStart, column);
    FetchUntil(row + 1);
    return m_Store.Value(row, column);
}

bool TQuery::CursorLocate(const TLocateRequest& request) {
    if (m_pKeyed) {
        if (m_OriginsExact && NoRowCanMatch(request))
            return false;
        bool held = true;
        for (const int column : request.Columns)
            held = held && m_pKeyed->Holds(column);
        if (!held && m_pKeyed->Count() > ReadAhead) {
            // Reading those columns for every row once costs far less than
            // reading whole rows page by page to look at them, and the next
            // keystroke of a search finds them held.
            const QList<int> keys = m_pKeyed->KeyColumns();
            QVariantList current;
            for (const int column : keys)
                current << (m_Row >= 0 ? m_pKeyed->Cell(m_Row, column).ToVariant() : QVariant());
            if (LoadKeyed(keys, m_pKeyed->Columns() + request.Columns)) {
                held = true;
                const qint64 row = m_Row >= 0 ? FindKeyRow(keys, current) : -1;
                m_Row = row >= 0 ? row : std::min(m_Row, m_pKeyed->Count() - 1);
            }
        }
        for (qint64 row = 0; row < m_pKeyed->Count(); ++row) {
            if (held ? request.Matches(TKeyedRows::THeldRow(*m_pKeyed, row))
                     : request.Matches(TKeyedRows::TWholeRow(*m_pKeyed, row))) {
                m_Row = row;
                return true;
            }
        }
        return false;
    }
    bool asked = false;
    for (qint64 row = 0;; ++row) {
        if (row >= m_Store.Count()) {
            if (m_AllFetched)
                return false;
            // Before reading on, an index may tell that nothing matches.
            if (!asked && m_OriginsExact && NoRowCanMatch(request))
                return false;
            asked = true;
            // A search by key far into an unsorted statement: its keys in
            // its order tell the position without reading the rows between.
            if (!m_OrderTried && SortColumn() < 0) {
                QList<int> keys = KeyColumns();
                QList<int> searched = request.Columns;
                std::sort(keys.begin(), keys.end());
                std::sort(searched.begin(), searched.end());
                if (!keys.isEmpty() && keys == searched && HoldInStatementOrder())
                    return CursorLocate(request);
            }
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

QString TQuery::StatementOrderSql() const {
    TFirstTable first;
    if (!FirstTableOnly(m_InnerSql, first))
        return {};
    QStringList keys;
    for (const int column : KeyColumns()) {
        const TColumnInfo& info = m_Columns.value(column);
        if (info.OriginTable.compare(first.Name, Qt::CaseInsensitive) != 0 ||
            info.OriginColumn.isEmpty())
            return {};
        keys << QStringLiteral("\"%1\".\"%2\"").arg(first.Alias, info.OriginColumn);
    }
    // The statement with only the keys selected: SQLite leaves out the joins
    // that cannot repeat a row, and a join that does repeats keys. NOT
    // INDEXED: the table itself is read, in the order the statement reads
    // it, and not a narrower index in that index's order.
    return QStringLiteral("SELECT %1 %2 NOT INDEXED%3")
        .arg(keys.join(QStringLiteral(", ")), m_InnerSql.mid(first.From, first.After - first.From),
             m_InnerSql.mid(first.After));
}

bool TQuery::HoldInStatementOrder() {
    m_OrderTried = true;
    if (m_pKeyed || m_AllFetched || m_pWriter || FilterActive() || m_CountDelta != 0 ||
        !m_OriginsExact || m_CountSql != m_InnerSql)
        return false;
    const QString narrowSql = StatementOrderSql();
    if (narrowSql.isEmpty())
        return false;
    TDatabase& db = *Database();
    // Both must read the first table straight through, in its own order; the
    // statement then gives its rows in that order when it gives each once.
    const QString loop = OuterLoop(db, m_InnerSql, m_BoundParams);
    if (!loop.startsWith(QLatin1String("SCAN ")) || loop.contains(QLatin1String(" USING ")) ||
        loop != OuterLoop(db, narrowSql, m_BoundParams))
        return false;
    const QList<int> keys = KeyColumns();
    auto rows = std::make_unique<TKeyedRows>(db, m_InnerSql, m_BoundParams, FieldCount());
    if (!rows->LoadInOrder(narrowSql, keys, m_BoundParams) || rows->Count() < m_Store.Count())
        return false;
    // The rows read so far must be the first ones the keys give.
    for (qint64 row = 0; row < m_Store.Count(); ++row) {
        const TRowStore::TRow read(m_Store, row);
        for (qsizetype k = 0; k < keys.size(); ++k) {
            if (!SameCell(read.Cell(keys[k]), TKeyedRows::THeldRow(*rows, row).Cell(keys[k])))
                return false;
        }
    }
    m_pStmt.reset();
    m_Store.Reset(FieldCount());
    m_Tail.Reset(0);
    m_TailStart = -1;
    m_AllFetched = true;
    m_pKeyed = std::move(rows);
    return true;
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
        row = std::min(oldRow, RowCount() - 1);
    }
    m_Row = row >= 0 ? row : (RowCount() > 0 ? 0 : -1);
}

void TQuery::CursorSort(const QList<int>& keyColumns, const QVariantList& keyValues) {
    const int sortColumn = SortColumn();
    const bool descending = SortOrder() == Qt::DescendingOrder;
    if (m_pKeyed && m_pKeyed->Holds(sortColumn)) {
        // The keys and the sort column are at hand: no statement runs.
        m_pKeyed->Sort(sortColumn, descending);
        const qint64 row = keyValues.isEmpty() ? -1 : FindKeyRow(keyColumns, keyValues);
        m_Row = row >= 0 ? row : (RowCount() > 0 ? 0 : -1);
        return;
    }
    if (m_pKeyed || !m_AllFetched || sortColumn < 0) {
        CursorReload(keyColumns, keyValues);
        return;
    }
    // Every row is in memory: order the store with the rules SQL would use.
    const quint64 current = m_Row >= 0 ? m_Store.RowId(m_Row) : 0;
    QList<int> columns{sortColumn};
    for (const int column : keyColumns) {
        if (column != sortColumn)
            columns << column;
    }
    m_Store.Permute(UCellCompare::SortedOrder(m_Store, columns, descending));
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
    LeaveTail();
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
        stored = m_pWriter->Update(Identity(RecordAt(m_Row)), columns, written);
    QVariantList record = values;
    for (qsizetype c = 0; c < m_WriterColumn.size(); ++c) {
        if (m_WriterColumn[c] >= 0)
            record[c] = stored.value(m_WriterColumn[c]);
    }
    if (inserting) {
        qint64 at = m_Row < 0 ? 0 : m_Row;
        if (m_InsertAppend) {
            FetchAll();
            at = RowCount();
        }
        if (m_pKeyed)
            m_pKeyed->Insert(at, record);
        else
            m_Store.Insert(at, record);
        m_Row = at;
        ++m_CountDelta;
    } else if (m_pKeyed) {
        m_pKeyed->Replace(m_Row, record);
    } else {
        m_Store.Replace(m_Row, record);
    }
    // A row that no longer passes the filter leaves the dataset.
    if (FilterActive() && !ActiveFilter().Matches(TRecordRow(record)))
        RemoveCurrent();
}

void TQuery::CursorDelete() {
    if (!m_pWriter)
        TDataSet::CursorDelete();
    LeaveTail();
    m_pWriter->Delete(Identity(RecordAt(m_Row)));
    RemoveCurrent();
}

void TQuery::RemoveCurrent() {
    if (m_pKeyed)
        m_pKeyed->Remove(m_Row);
    else
        m_Store.Remove(m_Row);
    --m_CountDelta;
    FetchUntil(m_Row + 1);
    if (m_Row >= RowCount())
        m_Row = RowCount() - 1;
}
