#pragma once

// Progress objects that drive a control. Both let pending events run after
// each new position, so the window repaints and a Cancel button wired to
// Cancel() takes effect between two units of work of a long operation.

#include "exchange/UExporter.h"
#include "shell/abstract/UAbstract.h"

#include <QElapsedTimer>
#include <QPointer>

class QProgressBar;

// Drives a progress bar (not owned) over the range [min, max].
class TMSProgress : public UAbstract::TProgress {
public:
    explicit TMSProgress(QProgressBar* bar);

    void SetMax(int max) override;
    void SetMin(int min) override;
    void SetPosition(int position) override;

private:
    QPointer<QProgressBar> m_pBar;
};

// Drives the progress panel of a status bar (a progress bar placed in the
// status bar, not owned). The panel takes the range given to SetMin and
// SetMax and draws the position within it; its text is the percentage
// position * 100 / maximum (integer division), or the position itself while
// the maximum is 0. Pending events run after a new position at most every
// few milliseconds (always the first time), so counting a million rows stays
// quick while the window still repaints and Cancel is noticed at once.
class TMSStatusBarProgress : public UAbstract::TProgress {
public:
    explicit TMSStatusBarProgress(QProgressBar* panel);

    void SetMax(int max) override;
    void SetMin(int min) override;
    void SetPosition(int position) override;
    // The percentage the panel shows.
    int Percent() const { return m_iPercent; }

private:
    QPointer<QProgressBar> m_pPanel;
    int m_iPercent = 0;
    QElapsedTimer m_LastEvents;
};

// The main window's export progress: the status bar's progress panel counts
// the rows; the exporter's notifications are ignored.
class TExportSBProgress : public TMSStatusBarProgress, public TCountingExportProgress {
public:
    explicit TExportSBProgress(QProgressBar* panel) : TMSStatusBarProgress(panel) {}

    UAbstract::IProgress& Progress() override { return *this; }
};
