#include "shell/abstract/UAbstract.h"

#include <algorithm>

namespace UAbstract {

void TObservableSubject::Attach(IObserver* observer) {
    if (observer)
        m_Observers.push_back(observer);
}

void TObservableSubject::Detach(IObserver* observer) {
    std::erase(m_Observers, observer);
}

void TObservableSubject::Notify() {
    // Walked by index so that an observer that breaks the rule and attaches
    // or detaches from Update cannot make the walk read freed memory.
    for (size_t i = 0; i < m_Observers.size(); ++i)
        m_Observers[i]->Update(this);
}

void TProgress::Reset() {
    SetPosition(m_iMin);
    m_bCancelled = false;
}

int TProgress::StepIt() {
    SetPosition(m_iPosition + m_iStep);
    return m_iPosition;
}

int TProgress::StepBack() {
    SetPosition(m_iPosition - m_iStep);
    return m_iPosition;
}

} // namespace UAbstract
