#include "data/UChangeTracker.h"

#include "data/DMTables.h"
#include "data/engine/TQuery.h"
#include "data/engine/USqlDialect.h"

#include <utility>

TChangeTracker::TChangeTracker(QObject* context, std::function<void()> catchUp)
    : m_pContext(context), m_CatchUp(std::move(catchUp)) {}

void TChangeTracker::Note(const QString& table) {
    const QString name = table.toLower();
    if (!m_Tables.contains(name))
        m_Tables << name;
    if (m_bQueued)
        return;
    m_bQueued = true;
    QMetaObject::invokeMethod(
        m_pContext,
        [this] {
            m_bQueued = false;
            if (Pending())
                m_CatchUp();
        },
        Qt::QueuedConnection);
}

QStringList TChangeTracker::Take() {
    return std::exchange(m_Tables, {});
}

bool TChangeTracker::Reads(const QString& sql, const QStringList& changed) {
    if (changed.contains(QString()))
        return true;
    for (const QString& table : USqlDialect::Translate(sql).Tables) {
        if (changed.contains(table.toLower()))
            return true;
    }
    return false;
}

QStringList TChangeTracker::Names(const QStringList& changed) {
    QStringList names;
    for (const QString& table : changed) {
        const DMTables::TTableDef* def = table.isEmpty() ? nullptr : DMTables::FindTableDef(table);
        names << (def ? QString::fromLatin1(def->Name) : table);
    }
    return names;
}

QStringList TChangeTracker::Keys(const QStringList& tables) {
    QStringList keys;
    for (const QString& table : tables)
        keys << table.toLower();
    return keys;
}

std::exception_ptr TChangeTracker::RefreshReaders(std::initializer_list<TQuery*> queries,
                                                  const QStringList& changed) {
    std::exception_ptr failure;
    for (TQuery* query : queries) {
        if (!query->Active() || query->State() != TDataSetState::Browse)
            continue;
        try {
            if (Reads(query->SQL(), changed))
                query->Refresh();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    return failure;
}
