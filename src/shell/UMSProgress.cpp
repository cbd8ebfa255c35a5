#include "shell/UMSProgress.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <algorithm>

TMSProgress::TMSProgress(QProgressBar* bar) : m_pBar(bar) {}

void TMSProgress::SetMax(int max) {
    TProgress::SetMax(max);
    if (m_pBar)
        m_pBar->setMaximum(max);
}

void TMSProgress::SetMin(int min) {
    TProgress::SetMin(min);
    if (m_pBar)
        m_pBar->setMinimum(min);
}

void TMSProgress::SetPosition(int position) {
    TProgress::SetPosition(position);
    if (m_pBar)
        m_pBar->setValue(position);
    QCoreApplication::processEvents();
}

TMSStatusBarProgress::TMSStatusBarProgress(QProgressBar* panel) : m_pPanel(panel) {
    if (m_pPanel)
        m_pPanel->setRange(0, 100);
}

void TMSStatusBarProgress::SetPosition(int position) {
    TProgress::SetPosition(position);
    if (m_pPanel) {
        const int max = GetMax();
        const qint64 percent = max == 0 ? position : qint64(position) * 100 / max;
        m_pPanel->setValue(static_cast<int>(std::clamp<qint64>(percent, 0, 100)));
    }
    QCoreApplication::processEvents();
}
