#pragma once

// The observer pattern through which the data module tells open windows that
// the database was opened or closed, and the progress abstraction with a
// cancel flag that long operations report to.

#include <vector>

namespace UAbstract {

class IObservableSubject;

class IObserver {
public:
    virtual ~IObserver() = default;
    virtual void Update(IObservableSubject* subject) = 0;
};

class IObservableSubject {
public:
    virtual ~IObservableSubject() = default;
    virtual void Attach(IObserver* observer) = 0;
    virtual void Detach(IObserver* observer) = 0;
    virtual void Notify() = 0;
};

// Keeps its observers (not owned) in the order they were attached. An
// observer attached twice is notified twice; an observer detaches itself
// before it is destroyed, and not from inside Update.
class TObservableSubject : public IObservableSubject {
public:
    using ObserverList_t = std::vector<IObserver*>;

    // Appends `observer`; a null pointer is ignored.
    void Attach(IObserver* observer) override;
    // Removes every entry of `observer`; an absent one is ignored.
    void Detach(IObserver* observer) override;
    // Calls Update on each observer, first to last.
    void Notify() override;

    const ObserverList_t& Observers() const { return m_Observers; }

private:
    ObserverList_t m_Observers;
};

class IProgress {
public:
    virtual ~IProgress() = default;
    virtual void SetMax(int max) = 0;
    virtual void SetMin(int min) = 0;
    virtual void SetPosition(int position) = 0;
    virtual void SetStep(int step) = 0;
    virtual void Reset() = 0;
    virtual void Cancel() = 0;
    virtual bool IsCancelled() const = 0;
    virtual int StepIt() = 0;
    virtual int StepBack() = 0;
};

// Progress that only keeps its numbers; the base of the kinds that drive a
// control. Those override the setters and call the versions here.
class TProgress : public IProgress {
public:
    TProgress() = default;
    virtual ~TProgress() = default;

    void SetMax(int max) override { m_iMax = max; }
    void SetMin(int min) override { m_iMin = min; }
    void SetPosition(int position) override { m_iPosition = position; }
    void SetStep(int step) override { m_iStep = step; }
    // Back to the minimum, and no longer cancelled.
    void Reset() override;
    // Only raises the flag; the running operation sees it at its next check.
    void Cancel() override { m_bCancelled = true; }
    bool IsCancelled() const override { return m_bCancelled; }
    // SetPosition(position + step); returns the new position.
    int StepIt() override;
    // SetPosition(position - step); returns the new position.
    int StepBack() override;

    int GetMin() const { return m_iMin; }
    int GetMax() const { return m_iMax; }
    int GetStep() const { return m_iStep; }
    int GetPosition() const { return m_iPosition; }

private:
    int m_iMin = 0;
    int m_iMax = 100;
    int m_iStep = 1;
    int m_iPosition = 0;
    bool m_bCancelled = false;
};

} // namespace UAbstract
