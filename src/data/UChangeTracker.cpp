#include "data/UChangeTracker.h"

#include "data/DMTables.h"
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
