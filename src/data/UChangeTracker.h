#pragma once

// Which tables' rows have changed since the windows last caught up, and the
// one catching-up that a change asks for: at the next turn of the event
// loop after the first change, however many rows the change writes.

#include <QObject>
#include <QStringList>
#include <exception>
#include <functional>
#include <initializer_list>

class TQuery;

class TChangeTracker {
public:
    // `catchUp` runs once at the next turn of `context`'s event loop after a
    // change is noted (unless Take emptied the list before).
    TChangeTracker(QObject* context, std::function<void()> catchUp);

    // A table whose rows changed (as SQLite names it); an empty name stands
    // for a change whose table is not known.
    void Note(const QString& table);
    bool Pending() const { return !m_Tables.isEmpty(); }
    // The changed tables (lower case; "" for any) since the last Take or
    // Clear, emptying the list.
    QStringList Take();
    void Clear() { m_Tables.clear(); }

    // Whether the SELECT `sql` reads one of the `changed` tables (as Take
    // gives them).
    static bool Reads(const QString& sql, const QStringList& changed);
    // The changed tables as created ("Call"); "" stays for any.
    static QStringList Names(const QStringList& changed);
    // Tables named as Names gives them, in the form Take gives them.
    static QStringList Keys(const QStringList& tables);
    // Reads again in place (same sort, filter and record) each of `queries`
    // that is open, browsing and reads one of the `changed` tables. A query
    // that fails does not stop the others; the first failure comes back,
    // null when there was none.
    static std::exception_ptr RefreshReaders(std::initializer_list<TQuery*> queries,
                                             const QStringList& changed);

private:
    QObject* m_pContext;
    std::function<void()> m_CatchUp;
    QStringList m_Tables;
    bool m_bQueued = false;
};
