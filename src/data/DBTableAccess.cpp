#include "data/DBTableAccess.h"

#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"

#include <QStringList>

namespace {
const QString ItemSerialNr = QStringLiteral("ItemSerialNr");
const QString CustomerID = QStringLiteral("CustomerID");
} // namespace

TDBTableAccess::TDBTableAccess(TQuery* query, TTable* table, const QString& keyField)
    : m_pQuery(query), m_pTable(table), m_sKeyField(keyField) {}

TDBTableAccess::~TDBTableAccess() = default;

bool TDBTableAccess::BothReady(TDataSet* source, TDataSet* target) {
    return source && target && source->Active() && target->Active() && !source->IsEmpty() &&
           !target->IsEmpty();
}

bool TDBTableAccess::Sync(TDataSet* source, TDataSet* target) {
    if (m_sKeyField.isEmpty() || !BothReady(source, target))
        return false;
    const QString key = source->FieldByName(m_sKeyField).AsString();
    if (key.isEmpty())
        return false;
    // Not finding the record is no failure: the target simply stays put.
    target->Locate(m_sKeyField, key);
    return true;
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
    m_pQuery->Close();
    m_pQuery->Open();
    SyncQueryToTable();
}

TSCTableAccess::TSCTableAccess(TQuery* query, TTable* table)
    : TDBTableAccess(query, table, QString()) {}

bool TSCTableAccess::Sync(TDataSet* source, TDataSet* target) {
    if (!BothReady(source, target))
        return false;
    const QString item = source->FieldByName(ItemSerialNr).AsString();
    const QString customer = source->FieldByName(CustomerID).AsString();
    if (item.isEmpty() || customer.isEmpty())
        return false;
    return target->Locate(ItemSerialNr + QLatin1Char(';') + CustomerID,
                          QStringList{item, customer});
}

bool TSCTableAccess::SyncTableToQuery() {
    return Sync(m_pQuery, m_pTable);
}

bool TSCTableAccess::SyncQueryToTable() {
    return Sync(m_pTable, m_pQuery);
}
