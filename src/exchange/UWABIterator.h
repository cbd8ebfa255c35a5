#pragma once

// Walks the address book's container row by row and tells a visitor about
// everything it meets: the walk's beginning and end, each row (at its start
// and at its end), each property of a row, and, for a row's entry ID, the
// contact it names (at its start and end) with each of its properties.
//
// The progress counts rows: its range is set to the number of rows, and it
// is stepped after every row; before each row the walk asks whether the user
// cancelled, and stops there when so (the visitor's OnEnd is still called).

#include "exchange/UWABAccess.h"
#include "shell/abstract/UAbstract.h"

class CWABIterator : public CWABAccess {
public:
    class IVisitor {
    public:
        virtual ~IVisitor() = default;
        virtual void OnBegin() = 0;
        virtual void OnEnd() = 0;
        virtual void OnRow(const UWAB::TRow& row, bool starting) = 0;
        virtual void OnRowProperty(const UWAB::TProperty& property) = 0;
        virtual void OnMailUser(const UWAB::TEntry& contact, bool starting) = 0;
        virtual void OnMailUserProperty(const UWAB::TProperty& property) = 0;
    };

    // Walks the whole container with `visitor` and `progress` (neither
    // owned, both needed). Failures of the address book are raised; the walk
    // ends there, without OnEnd.
    void Iterate(IVisitor* visitor, UAbstract::IProgress* progress);

protected:
    virtual void VisitRow(const UWAB::TRow& row);
    virtual void VisitRowProperty(const UWAB::TProperty& property);
    virtual void VisitMailUser(const UWAB::TEntry& contact);
    virtual void VisitMailUserProperty(const UWAB::TProperty& property);

private:
    IVisitor* m_pVisitor = nullptr;
    UAbstract::IProgress* m_pProgress = nullptr;
    const UWAB::TContainer* m_pContainer = nullptr;
};
