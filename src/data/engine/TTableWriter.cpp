#include "data/engine/TTableWriter.h"

#include "data/engine/TDatabase.h"

#include <algorithm>
#include <sqlite3.h>

namespace {

QString Param(int n) {
    return QStringLiteral(":p%1").arg(n);
}

QString ParamName(int n) {
    return QStringLiteral("p%1").arg(n);
}

} // namespace

QString TTableWriter::PlainName(const QString& table) {
    QString name = table.trimmed();
    if (name.size() >= 2 &&
        (name.front() == QLatin1Char('\'') || name.front() == QLatin1Char('"')) &&
        name.back() == name.front())
        name = name.mid(1, name.size() - 2);
    if (name.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
        name.chop(3);
    return name;
}

QString TTableWriter::Quote(const QString& identifier) {
    return QLatin1Char('"') + USqlDialect::EscapeQuotes(identifier, QLatin1Char('"')) +
           QLatin1Char('"');
}

TTableWriter::TTableWriter(TDatabase& database, const QString& table)
    : m_Database(database), m_Table(PlainName(table)) {
    m_Database.AttachTable(m_Table);
    m_Qualified = Quote(USqlDialect::TableAlias(m_Table)) + QLatin1Char('.') + Quote(m_Table);
    auto info =
        m_Database.PrepareNative(QStringLiteral("PRAGMA %1.table_info(%2)")
                                     .arg(Quote(USqlDialect::TableAlias(m_Table)), Quote(m_Table)));
    QList<std::pair<int, int>> key; // key order, column
    while (info->Step()) {
        TColumn column;
        column.Name = info->Text(1);
        column.Type = TField::TypeOfDeclType(info->Text(2), &column.Size);
        if (column.Type == TFieldType::Unknown)
            column.Type = TFieldType::String;
        column.KeyOrder = int(info->Integer(5));
        if (column.KeyOrder > 0)
            key.append({column.KeyOrder, int(m_Columns.size())});
        m_Columns << column;
    }
    if (m_Columns.isEmpty())
        throw EDatabaseError(QStringLiteral("Table '%1' has no columns").arg(m_Table));
    std::sort(key.begin(), key.end());
    for (const auto& [order, column] : key)
        m_Key << column;
}

int TTableWriter::IndexOf(const QString& column) const {
    for (qsizetype i = 0; i < m_Columns.size(); ++i) {
        if (m_Columns[i].Name.compare(column, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QString TTableWriter::ColumnList() const {
    QStringList names;
    for (const TColumn& column : m_Columns)
        names << Quote(column.Name);
    if (!HasKey())
        names << QStringLiteral("rowid");
    return names.join(QStringLiteral(", "));
}

QString TTableWriter::OrderList(bool descending) const {
    const QString direction = descending ? QStringLiteral(" DESC") : QString();
    if (!HasKey())
        return QStringLiteral("rowid") + direction;
    QStringList names;
    for (const int column : m_Key)
        names << Quote(m_Columns[column].Name) + direction;
    return names.join(QStringLiteral(", "));
}

QString TTableWriter::IdentityCondition(int firstParam) const {
    if (!HasKey())
        return QStringLiteral("rowid = ") + Param(firstParam);
    QStringList parts;
    for (qsizetype i = 0; i < m_Key.size(); ++i)
        parts << Quote(m_Columns[m_Key[i]].Name) + QStringLiteral(" = ") +
                     Param(firstParam + int(i));
    return parts.join(QStringLiteral(" AND "));
}

void TTableWriter::BindIdentity(TStatement& statement, const QVariantList& identity,
                                int firstParam) const {
    for (qsizetype i = 0; i < identity.size(); ++i)
        statement.Bind(ParamName(firstParam + int(i)),
                       HasKey() ? Writable(m_Key[i], identity[i]) : identity[i]);
}

QVariantList TTableWriter::IdentityOf(const QVariantList& row) const {
    QVariantList identity;
    if (!HasKey()) {
        identity << row.value(m_Columns.size());
        return identity;
    }
    for (const int column : m_Key)
        identity << row.value(column);
    return identity;
}

QVariant TTableWriter::Writable(int column, const QVariant& value) const {
    if (value.isNull() && m_Columns[column].Type == TFieldType::String)
        return QString(QLatin1String(""));
    return value;
}

QVariantList TTableWriter::Read(const QVariantList& identity) {
    auto statement =
        m_Database.PrepareNative(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                     .arg(ColumnList(), m_Qualified, IdentityCondition(0)));
    BindIdentity(*statement, identity, 0);
    QVariantList row;
    if (statement->Step()) {
        for (int c = 0; c < statement->ColumnCount(); ++c)
            row << statement->Value(c);
    }
    return row;
}

qint64 TTableWriter::FindRowId(const QList<int>& columns, const QVariantList& values) {
    QStringList parts;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QString name = Quote(m_Columns[columns[i]].Name);
        // A blank text matches '' and NULL alike.
        if (m_Columns[columns[i]].Type == TFieldType::String &&
            (values[i].isNull() || values[i].toString().isEmpty()))
            parts << QStringLiteral("(%1 = '' OR %1 IS NULL)").arg(name);
        else
            parts << QStringLiteral("%1 IS %2").arg(name, Param(int(i)));
    }
    auto statement = m_Database.PrepareNative(
        QStringLiteral("SELECT rowid FROM %1 WHERE %2 LIMIT 1")
            .arg(m_Qualified, parts.isEmpty() ? QStringLiteral("1") : parts.join(" AND ")));
    for (qsizetype i = 0; i < columns.size(); ++i)
        statement->Bind(ParamName(int(i)), values[i]);
    return statement->Step() ? statement->Integer(0) : -1;
}

QVariantList TTableWriter::Insert(const QList<int>& columns, const QVariantList& values) {
    QStringList names;
    QStringList params;
    QVariantList bound;
    QVariantList written(m_Columns.size());
    for (qsizetype i = 0; i < m_Columns.size(); ++i) {
        const qsizetype given = columns.indexOf(int(i));
        QVariant value = given >= 0 ? Writable(int(i), values[given]) : Writable(int(i), {});
        if (value.isNull())
            continue;
        written[i] = value;
        names << Quote(m_Columns[i].Name);
        params << Param(int(bound.size()));
        bound << value;
    }
    const QString sql = names.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_Qualified)
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(m_Qualified, names.join(QStringLiteral(", ")),
                                       params.join(QStringLiteral(", ")));
    auto statement = m_Database.PrepareNative(sql);
    for (qsizetype i = 0; i < bound.size(); ++i)
        statement->Bind(ParamName(int(i)), bound[i]);
    statement->Step();
    QVariantList identity;
    if (HasKey()) {
        for (const int column : m_Key)
            identity << written[column];
    } else {
        identity << qint64(sqlite3_last_insert_rowid(m_Database.Handle()));
    }
    return Read(identity);
}

QVariantList TTableWriter::Update(const QVariantList& identity, const QList<int>& columns,
                                  const QVariantList& values) {
    QVariantList after = identity;
    if (!columns.isEmpty()) {
        QStringList sets;
        for (qsizetype i = 0; i < columns.size(); ++i)
            sets << Quote(m_Columns[columns[i]].Name) + QStringLiteral(" = ") +
                        Param(int(identity.size() + i));
        auto statement = m_Database.PrepareNative(
            QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                .arg(m_Qualified, sets.join(QStringLiteral(", ")), IdentityCondition(0)));
        BindIdentity(*statement, identity, 0);
        for (qsizetype i = 0; i < columns.size(); ++i)
            statement->Bind(ParamName(int(identity.size() + i)), Writable(columns[i], values[i]));
        statement->Step();
        if (sqlite3_changes(m_Database.Handle()) == 0)
            throw EDatabaseError(
                QStringLiteral("The row was changed or removed by someone else in table '%1'")
                    .arg(m_Table));
        for (qsizetype k = 0; HasKey() && k < m_Key.size(); ++k) {
            const qsizetype given = columns.indexOf(m_Key[k]);
            if (given >= 0)
                after[k] = Writable(m_Key[k], values[given]);
        }
    }
    return Read(after);
}

void TTableWriter::Delete(const QVariantList& identity) {
    auto statement = m_Database.PrepareNative(
        QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_Qualified, IdentityCondition(0)));
    BindIdentity(*statement, identity, 0);
    statement->Step();
}
