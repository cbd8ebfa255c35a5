#include "exchange/UWABIterator.h"

#include "shell/UErrors.h"

void CWABIterator::Iterate(IVisitor* visitor, UAbstract::IProgress* progress) {
    if (!visitor || !progress)
        ThrowError("Unable to walk the address book: No visitor or progress object.");
    m_pVisitor = visitor;
    m_pProgress = progress;
    m_pVisitor->OnBegin();

    const UWAB::TContainer container = GetDefaultContainer();
    m_pContainer = &container;
    const int rows = int(container.Rows.size());
    m_pProgress->SetMin(0);
    m_pProgress->SetMax(rows);
    m_pProgress->SetStep(1);
    m_pProgress->SetPosition(0);
    try {
        for (const UWAB::TRow& row : container.Rows) {
            if (m_pProgress->IsCancelled())
                break;
            VisitRow(row);
            m_pProgress->StepIt();
        }
    } catch (...) {
        m_pContainer = nullptr;
        throw;
    }
    m_pContainer = nullptr;
    m_pVisitor->OnEnd();
}

void CWABIterator::VisitRow(const UWAB::TRow& row) {
    m_pVisitor->OnRow(row, true);
    for (const UWAB::TProperty& property : row.Props) {
        if (property.Tag == UWAB::PR_ENTRYID) {
            const UWAB::TEntry& entry = OpenEntry(*m_pContainer, property.Value);
            if (entry.ObjectType == UWAB::MAPI_MAILUSER)
                VisitMailUser(entry);
        } else {
            VisitRowProperty(property);
        }
    }
    m_pVisitor->OnRow(row, false);
}

void CWABIterator::VisitRowProperty(const UWAB::TProperty& property) {
    m_pVisitor->OnRowProperty(property);
}

void CWABIterator::VisitMailUser(const UWAB::TEntry& contact) {
    m_pVisitor->OnMailUser(contact, true);
    for (const UWAB::TProperty& property : contact.Props)
        VisitMailUserProperty(property);
    m_pVisitor->OnMailUser(contact, false);
}

void CWABIterator::VisitMailUserProperty(const UWAB::TProperty& property) {
    m_pVisitor->OnMailUserProperty(property);
}
