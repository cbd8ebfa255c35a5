#include "shell/abstract/UAbstract.h"

#include <QtTest>
#include <vector>

using namespace UAbstract;

namespace {

struct TLogObserver : IObserver {
    TLogObserver(char name, std::string& log) : Name(name), Log(log) {}
    void Update(IObservableSubject* subject) override {
        Log += Name;
        LastSubject = subject;
    }
    char Name;
    std::string& Log;
    IObservableSubject* LastSubject = nullptr;
};

// Records the positions it is given, as the kinds that drive a control see them.
struct TRecordingProgress : TProgress {
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
    void NotifiesObserversInAttachOrderAndProgressSteps() {
        std::string log;
        TLogObserver a('a', log), b('b', log);
        TObservableSubject subject;
        subject.Notify();
        for (IObserver* observer : {&b, &a, &b, static_cast<TLogObserver*>(nullptr)})
            subject.Attach(observer);
        subject.Notify();
        QCOMPARE(log, std::string("bab"));
        QCOMPARE(a.LastSubject, static_cast<IObservableSubject*>(&subject));
        // One Detach removes every entry of the observer.
        subject.Detach(&b);
        subject.Notify();
        QCOMPARE(log, std::string("baba"));

        // Progress: stepping, cancel and reset.
        TRecordingProgress progress;
        QCOMPARE(progress.StepIt(), 1);
        QCOMPARE(progress.StepBack(), 0);
        progress.SetMin(3);
        progress.SetStep(5);
        progress.SetMax(4);
        QCOMPARE(progress.StepIt(), 5); // only stored: no clamping to the range
        progress.Cancel();
        QVERIFY(progress.IsCancelled());
        progress.Reset();
        QVERIFY(!progress.IsCancelled());
        QCOMPARE(progress.GetPosition(), 3);
        QCOMPARE(progress.Shown, (std::vector<int>{1, 0, 5, 3}));
    }
};

QTEST_APPLESS_MAIN(TestUAbstract)
#include "tst_UAbstract.moc"
