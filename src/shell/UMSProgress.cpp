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
        m_pPanel->setRange(GetMin(), GetMax());
}

void TMSStatusBarProgress::SetMax(int max) {
    TProgress::SetMax(max);
    if (m_pPanel)
        m_pPanel->setMaximum(max);
}

void TMSStatusBarProgress::SetMin(int min) {
    TProgress::SetMin(min);
    if (m_pPanel)
        m_pPanel->setMinimum(min);
}

void TMSStatusBarProgress::SetPosition(int position) {
    TProgress::SetPosition(position);
    const int max = GetMax();
    m_iPercent = max == 0 ? position : static_cast<int>(qint64(position) * 100 / max);
    if (m_pPanel) {
        m_pPanel->setValue(std::clamp(position, m_pPanel->minimum(), m_pPanel->maximum()));
        m_pPanel->setFormat(QString::number(m_iPercent) + QLatin1Char('%'));
    }
    constexpr qint64 EventsEveryMs = 15;
    if (!m_LastEvents.isValid() || m_LastEvents.elapsed() >= EventsEveryMs) {
        QCoreApplication::processEvents();
        m_LastEvents.start();
    }
}
