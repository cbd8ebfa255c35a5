#include "shell/abstract/IDataView.h"
#include "shell/abstract/IProgramSettings.h"
#include "shell/abstract/UAbstract.h"

#include <QtTest>
#include <vector>

using namespace UAbstract;

namespace {

// Writes its name into a shared log on every Update.
class TLogObserver : public IObserver {
public:
    TLogObserver(char name, std::string& log) : m_Name(name), m_Log(log) {}
    void Update(IObservableSubject* subject) override {
        m_Log += m_Name;
        LastSubject = subject;
    }
    IObservableSubject* LastSubject = nullptr;

private:
    char m_Name;
    std::string& m_Log;
};

// Records every position it is given, the way the control-driving kinds see it.
class TRecordingProgress : public TProgress {
public:
    void SetPosition(int position) override {
        Shown.push_back(position);
        TProgress::SetPosition(position);
    }
    std::vector<int> Shown;
};

} // namespace

class TestUAbstract : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void NotifiesObserversInAttachOrder() {
        std::string log;
        TLogObserver a('a', log), b('b', log);
        TObservableSubject subject;
        subject.Notify(); // nobody attached: nothing happens
        subject.Attach(&b);
        subject.Attach(&a);
        subject.Attach(&b);
        subject.Attach(nullptr);
        subject.Notify();
        QCOMPARE(log, std::string("bab"));
        QCOMPARE(a.LastSubject, static_cast<IObservableSubject*>(&subject));

        // One Detach removes every entry of the observer; absent ones are ignored.
        subject.Detach(&b);
        subject.Detach(&b);
        log.clear();
        subject.Notify();
        QCOMPARE(log, std::string("a"));
        QCOMPARE(subject.Observers().size(), size_t(1));
    }

    void FreshProgressAndStepping() {
        TProgress progress;
        QCOMPARE(progress.GetMin(), 0);
        QCOMPARE(progress.GetMax(), 100);
        QCOMPARE(progress.GetStep(), 1);
        QCOMPARE(progress.GetPosition(), 0);
        QVERIFY(!progress.IsCancelled());
        QCOMPARE(progress.StepIt(), 1);
        QCOMPARE(progress.StepBack(), 0);

        // The setters only store: no clamping to the range.
        progress.SetStep(5);
        progress.SetMax(10);
        progress.SetPosition(8);
        QCOMPARE(progress.StepIt(), 13);
        QCOMPARE(progress.GetMax(), 10);
    }

    void CancelAndResetGoThroughSetPosition() {
        TRecordingProgress progress;
        progress.SetMin(3);
        progress.SetStep(2);
        QCOMPARE(progress.StepIt(), 2);
        QCOMPARE(progress.StepBack(), 0);
        progress.Cancel();
        QVERIFY(progress.IsCancelled());
        progress.Cancel();
        QVERIFY(progress.IsCancelled());
        progress.Reset();
        QVERIFY(!progress.IsCancelled());
        QCOMPARE(progress.GetPosition(), 3);
        // StepIt, StepBack and Reset all show their position through the override.
        QCOMPARE(progress.Shown, (std::vector<int>{2, 0, 3}));
    }

    void MainWindowInterfacesStartUnset() {
        QCOMPARE(g_pDataView, nullptr);
        QCOMPARE(g_pProgramSettings, nullptr);
    }
};

QTEST_APPLESS_MAIN(TestUAbstract)
#include "tst_UAbstract.moc"
