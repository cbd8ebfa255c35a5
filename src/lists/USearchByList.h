#pragma once

// The fields a list's search box can search ("Search By"), and which one is
// in use.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// One field the search box can search.
struct TSearchByEntry {
    QString Caption;   // as shown in the "Search By" drop-down
    QString FieldName; // the dataset field searched
    bool IsNumeric = false;
};

// The fields a list can be searched on, and which one is in use.
class TSearchByList {
public:
    using TChangeHandler = std::function<void(int index, const QString& fieldName, bool numeric)>;

    void Add(const TSearchByEntry& entry);
    int Count() const { return int(m_Entries.size()); }
    const TSearchByEntry& Entry(int index) const { return m_Entries.at(size_t(index)); }
    QStringList Captions() const;

    // Makes an entry the active one and tells the change handler; an index
    // out of range is an internal fault and changes nothing.
    void SetActiveIndex(int index);
    int ActiveIndex() const { return m_iActiveIndex; }
    const QString& ActiveFieldName() const { return m_sActiveFieldName; }
    bool ActiveIsNumeric() const { return m_bActiveIsNumeric; }

    void SetChangeHandler(TChangeHandler handler) { m_OnChange = std::move(handler); }

private:
    std::vector<TSearchByEntry> m_Entries;
    int m_iActiveIndex = 0;
    QString m_sActiveFieldName;
    bool m_bActiveIsNumeric = false;
    TChangeHandler m_OnChange;
};
