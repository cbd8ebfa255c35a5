#include "data/DBTableAccess.h"

#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"

TDBTableAccess::TDBTableAccess(TQuery* query, TTable* table, const QString& keyField)
    : m_pQuery(query), m_pTable(table), m_sKeyField(keyField) {}

TDBTableAccess::~TDBTableAccess() = default;

QStringList TDBTableAccess::KeyFields() const {
    return m_sKeyField.isEmpty() ? QStringList() : QStringList{m_sKeyField};
}

bool TDBTableAccess::BothReady(TDataSet* source, TDataSet* target) {
    return source && target && source->Active() && target->Active() && !source->IsEmpty() &&
           !target->IsEmpty();
}

bool TDBTableAccess::Sync(TDataSet* source, TDataSet* target) {
    const QStringList keys = KeyFields();
    if (keys.isEmpty() || !BothReady(source, target))
        return false;
    QStringList values;
    for (const QString& key : keys) {
        values << source->FieldByName(key).AsString();
        if (values.last().isEmpty())
            return false;
    }
    // Not finding the record leaves the target where it was.
    return target->Locate(keys.join(QLatin1Char(';')),
                          values.size() == 1 ? QVariant(values.first()) : QVariant(values));
}

bool TDBTableAccess::SyncTableToQuery() {
    return Sync(m_pQuery, m_pTable);
}

bool TDBTableAccess::SyncQueryToTable() {
    return Sync(m_pTable, m_pQuery);
}

void TDBTableAccess::RefreshQuery() {
    if (!m_pQuery)
        return;
    if (m_pQuery->Active())
        m_pQuery->Refresh();
    else
        m_pQuery->Open();
    SyncQueryToTable();
}

bool TDBTableAccess::QueryKeyIsBlank() const {
    if (!m_pQuery || !m_pQuery->Active() || m_pQuery->IsEmpty())
        return false;
    for (const QString& key : KeyFields()) {
        if (m_pQuery->FieldByName(key).AsString().isEmpty())
            return true;
    }
    return false;
}

void TDBTableAccess::DeleteQueryRecord() {
    if (!m_pQuery || !m_pTable || !m_pTable->Database() || !m_pQuery->Active() ||
        m_pQuery->IsEmpty())
        return;
    QStringList terms;
    for (const QString& key : KeyFields())
        terms << QStringLiteral("(%1 = '%2')")
                     .arg(key, USqlDialect::EscapeQuotes(m_pQuery->FieldByName(key).AsString()));
    if (terms.isEmpty())
        return;
    // `= ''` also matches a missing value.
    m_pTable->Database()->Exec(
        QStringLiteral("DELETE FROM \"%1\" WHERE %2")
            .arg(m_pTable->TableName(), terms.join(QStringLiteral(" AND "))));
    if (m_pTable->Active())
        m_pTable->Refresh();
}

TSCTableAccess::TSCTableAccess(TQuery* query, TTable* table)
    : TDBTableAccess(query, table, QString()) {}

QStringList TSCTableAccess::KeyFields() const {
    return {QStringLiteral("ItemSerialNr"), QStringLiteral("CustomerID")};
}
