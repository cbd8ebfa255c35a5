#include "lists/USearchByList.h"

#include "shell/UErrors.h"

namespace {
// Traces name the list window's unit, where the search box lives.
const QString Unit = QStringLiteral("FDataList");
} // namespace

void TSearchByList::Add(const TSearchByEntry& entry) {
    m_Entries.push_back(entry);
}

QStringList TSearchByList::Captions() const {
    QStringList captions;
    for (const TSearchByEntry& entry : m_Entries)
        captions << entry.Caption;
    return captions;
}

void TSearchByList::SetActiveIndex(int index) {
    if (index < 0 || index >= Count()) {
        DebugTrace(QStringLiteral("Invalid Index"), QStringLiteral("TSearchByList::SetActiveIndex"),
                   Unit);
        return;
    }
    const TSearchByEntry& entry = Entry(index);
    m_iActiveIndex = index;
    m_sActiveFieldName = entry.FieldName;
    m_bActiveIsNumeric = entry.IsNumeric;
    if (m_OnChange)
        m_OnChange(m_iActiveIndex, m_sActiveFieldName, m_bActiveIsNumeric);
}
