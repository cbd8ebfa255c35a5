#pragma once

// Progress objects that drive a control. Both let pending events run after
// each new position, so the window repaints and a Cancel button wired to
// Cancel() takes effect between two units of work of a long operation.

#include "shell/abstract/UAbstract.h"

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
// status bar, not owned), which shows a percentage: the panel's maximum is the
// one given to SetMax, and a position is shown as position * 100 / maximum
// (integer division), or unchanged while the maximum is 0. The bar itself
// runs from 0 to 100 so that it draws that percentage; values outside are
// shown as 0 or 100.
class TMSStatusBarProgress : public UAbstract::TProgress {
public:
    explicit TMSStatusBarProgress(QProgressBar* panel);

    void SetPosition(int position) override;

private:
    QPointer<QProgressBar> m_pPanel;
};
