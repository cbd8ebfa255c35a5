#include "data/engine/TQueryWriter.h"

#include "data/engine/EDatabaseError.h"
#include "data/engine/TTableWriter.h"

std::unique_ptr<TQueryWriter> TQueryWriter::ForResult(TDatabase& database,
                                                      const QList<UQuerySql::TOrigin>& origins) {
    QString table;
    for (const UQuerySql::TOrigin& origin : origins) {
        if (origin.Table.isEmpty())
            continue;
        if (table.isEmpty())
            table = origin.Table;
        else if (origin.Table.compare(table, Qt::CaseInsensitive) != 0)
            return nullptr;
    }
    if (table.isEmpty())
        return nullptr;
    auto writer = std::make_unique<TTableWriter>(database, table);
    QList<int> map;
    for (const UQuerySql::TOrigin& origin : origins)
        map << (origin.Table.isEmpty() ? -1 : writer->IndexOf(origin.Column));
    for (const int keyColumn : writer->KeyColumns()) {
        if (!map.contains(keyColumn))
            return nullptr;
    }
    return std::unique_ptr<TQueryWriter>(new TQueryWriter(std::move(writer), map));
}

TQueryWriter::TQueryWriter(std::unique_ptr<TTableWriter> table, const QList<int>& tableColumn)
    : m_pTable(std::move(table)), m_TableColumn(tableColumn) {}

TQueryWriter::~TQueryWriter() = default;

QVariantList TQueryWriter::Identity(const QVariantList& record) {
    if (m_pTable->HasKey()) {
        QVariantList identity;
        for (const int keyColumn : m_pTable->KeyColumns())
            identity << record.value(m_TableColumn.indexOf(keyColumn));
        return identity;
    }
    QList<int> columns;
    QVariantList values;
    for (qsizetype c = 0; c < m_TableColumn.size(); ++c) {
        if (m_TableColumn[c] >= 0) {
            columns << m_TableColumn[c];
            values << record.value(c);
        }
    }
    const qint64 rowId = m_pTable->FindRowId(columns, values);
    if (rowId < 0)
        throw EDatabaseError(QStringLiteral("The row was changed or removed by someone else in "
                                            "table '%1'")
                                 .arg(m_pTable->Table()));
    return {rowId};
}

void TQueryWriter::Written(const QVariantList& values, const std::vector<bool>& changed,
                           QList<int>& columns, QVariantList& written) const {
    for (qsizetype c = 0; c < m_TableColumn.size(); ++c) {
        if (changed[size_t(c)] && m_TableColumn[c] >= 0) {
            columns << m_TableColumn[c];
            written << values[c];
        }
    }
}

QVariantList TQueryWriter::Shown(const QVariantList& values, const QVariantList& stored) const {
    QVariantList record = values;
    for (qsizetype c = 0; c < m_TableColumn.size(); ++c) {
        if (m_TableColumn[c] >= 0)
            record[c] = stored.value(m_TableColumn[c]);
    }
    return record;
}

QVariantList TQueryWriter::Insert(const QVariantList& values, const std::vector<bool>& changed) {
    QList<int> columns;
    QVariantList written;
    Written(values, changed, columns, written);
    return Shown(values, m_pTable->Insert(columns, written));
}

QVariantList TQueryWriter::Update(const QVariantList& current, const QVariantList& values,
                                  const std::vector<bool>& changed) {
    QList<int> columns;
    QVariantList written;
    Written(values, changed, columns, written);
    return Shown(values, m_pTable->Update(Identity(current), columns, written));
}

void TQueryWriter::Delete(const QVariantList& current) {
    m_pTable->Delete(Identity(current));
}
