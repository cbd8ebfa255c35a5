#include "lists/UDetailQueries.h"

#include "data/DMGlobals.h"
#include "data/UChangeTracker.h"
#include "data/engine/TField.h"
#include "data/engine/TQuery.h"

TDetailQueries::TDetailQueries(TdmlGlobals* module, TDataSet* master, QObject* parent)
    : QObject(parent), m_pModule(module), m_pMaster(master) {
    if (m_pModule)
        connect(m_pModule, &TdmlGlobals::TablesChanged, this, &TDetailQueries::TablesChanged);
}

TDetailQueries::~TDetailQueries() {
    // The queries go before the module they are bound to.
    qDeleteAll(m_Queries);
}

TQuery* TDetailQueries::Add(const QString& name, const QStringList& lines) {
    auto* query = new TQuery;
    query->setObjectName(name);
    query->SetSQL(lines.join(QLatin1Char('\n')));
    m_Queries << query;
    return query;
}

bool TDetailQueries::Bind(TQuery* query) const {
    const bool hasRow = m_pMaster && m_pMaster->Active() && !m_pMaster->IsEmpty();
    bool changed = false;
    for (const QString& name : query->ParamNames()) {
        const TField* field = hasRow ? m_pMaster->FindField(name) : nullptr;
        const QVariant value = field ? field->StoredValue() : QVariant();
        if (query->Param(name) != value || query->Param(name).isNull() != value.isNull()) {
            query->SetParam(name, value);
            changed = true;
        }
    }
    return changed;
}

void TDetailQueries::Open(TQuery* query) {
    if (Bind(query) || !query->Active()) {
        query->Close();
        m_pModule->OpenDataSet(query);
    }
}

void TDetailQueries::Open() {
    if (!m_pModule || !m_pModule->DatabaseActive())
        return;
    for (TQuery* query : std::as_const(m_Queries))
        Open(query);
}

void TDetailQueries::Activate() {
    if (!m_pModule)
        return;
    for (TQuery* query : std::as_const(m_Queries)) {
        if (m_pModule->DatabaseActive())
            Open(query);
        else
            m_pModule->ActivateDataSet(query);
    }
}

void TDetailQueries::Close() {
    for (TQuery* query : std::as_const(m_Queries))
        query->Close();
}

void TDetailQueries::TablesChanged(const QStringList& tables) {
    const QStringList changed = TChangeTracker::Keys(tables);
    for (TQuery* query : std::as_const(m_Queries)) {
        if (query->Active() && TChangeTracker::Reads(query->SQL(), changed)) {
            query->Close();
            Open(query);
        }
    }
}
