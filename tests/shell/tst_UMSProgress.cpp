#include "shell/UMSProgress.h"

#include <QtTest>
#include <QtWidgets>

class TestUMSProgress : public QObject {
    Q_OBJECT
private:
    // Runs SetPosition over 0..999 with a queued click on a Cancel button
    // wired to Cancel(); returns the position at which the loop saw it.
    static int LoopUntilCancelled(UAbstract::TProgress& progress) {
        QPushButton cancel;
        QObject::connect(&cancel, &QPushButton::clicked, [&progress] { progress.Cancel(); });
        QMetaObject::invokeMethod(&cancel, &QPushButton::click, Qt::QueuedConnection);
        progress.SetMax(1000);
        for (int i = 0; i < 1000; ++i) {
            progress.SetPosition(i);
            if (progress.IsCancelled())
                return i;
        }
        return -1;
    }

private Q_SLOTS:
    void ProgressBarFollowsRangeAndPositionAndSeesCancel() {
        QProgressBar bar;
        TMSProgress progress(&bar);
        progress.SetMax(40);
        progress.SetMin(10);
        progress.Reset();
        QCOMPARE(progress.StepIt(), 11);
        QCOMPARE(QList<int>({bar.minimum(), bar.maximum(), bar.value()}), QList<int>({10, 40, 11}));

        // The control may go first.
        auto* gone = new QProgressBar;
        TMSProgress orphan(gone);
        delete gone;
        orphan.SetMax(5);
        QCOMPARE(orphan.StepIt(), 1);

        // Cancel is seen during a long loop.
        QCOMPARE(LoopUntilCancelled(progress), 0);

        QProgressBar panel;
        TMSStatusBarProgress panelProgress(&panel);
        QCOMPARE(LoopUntilCancelled(panelProgress), 0);
    }

    void StatusBarPanelShowsAPercentage_data() {
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("shown");
        for (const auto& [name, max, position, shown] : {std::tuple{"half of 200", 200, 100, 50},
                                                         {"no overflow", 1000000000, 500000000, 50},
                                                         {"maximum 0: position as is", 0, 42, 42},
                                                         {"past the end", 10, 20, 200}})
            QTest::newRow(name) << max << position << shown;
    }
    void StatusBarPanelShowsAPercentage() {
        QFETCH(int, max);
        QFETCH(int, position);
        QFETCH(int, shown);
        QProgressBar panel;
        panel.setRange(0, 500);
        TMSStatusBarProgress progress(&panel);
        progress.SetMax(max);
        progress.SetPosition(position);
        QCOMPARE(progress.Percent(), shown);
        QCOMPARE(panel.format(), QString::number(shown) + "%");
        // The panel has the counter's range and draws the position in it.
        QCOMPARE(panel.maximum(), max);
        QCOMPARE(panel.value(), std::min(position, max));
    }
};

QTEST_MAIN(TestUMSProgress)
#include "tst_UMSProgress.moc"
