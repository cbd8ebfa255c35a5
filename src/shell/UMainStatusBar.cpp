#include "shell/UMainStatusBar.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace {

// A status panel that shortens its text with an ellipsis when it is too long.
class TEllipsisLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        drawFrame(&painter);
        const QRect area = contentsRect().adjusted(3, 0, -3, 0);
        painter.drawText(area, Qt::AlignVCenter | Qt::AlignLeft,
                         fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
    }
};

QLabel* MakePanel(QLabel* panel, int width, Qt::Alignment alignment) {
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(alignment | Qt::AlignVCenter);
    if (width > 0)
        panel->setFixedWidth(width);
    return panel;
}

// Whether any of the LED brightness files says "on".
bool LedOn(const QStringList& files) {
    for (const QString& name : files) {
        QFile file(name);
        if (file.open(QIODevice::ReadOnly) && file.read(8).trimmed() != "0")
            return true;
    }
    return false;
}

// The keyboard lock LEDs of the machine ("input3::capslock", ...).
QStringList LedFiles(const char* suffix) {
    const QDir leds(QStringLiteral("/sys/class/leds"));
    QStringList files;
    for (const QString& name : leds.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        if (name.endsWith(QLatin1String(suffix)))
            files << leds.filePath(name + QStringLiteral("/brightness"));
    }
    return files;
}

} // namespace

TMainStatusBar::TMainStatusBar(QWidget* window) : QStatusBar(window) {
    m_pCapsPanel = MakePanel(new QLabel(this), 28, Qt::AlignHCenter);
    m_pCapsPanel->setObjectName(QStringLiteral("pnlCapsLock"));
    m_pNumPanel = MakePanel(new QLabel(this), 34, Qt::AlignHCenter);
    m_pNumPanel->setObjectName(QStringLiteral("pnlNumLock"));
    m_pProgressPanel = new QProgressBar(this);
    m_pProgressPanel->setObjectName(QStringLiteral("pnlProgress"));
    m_pProgressPanel->setFixedWidth(120);
    m_pProgressPanel->setMaximumHeight(window->fontMetrics().height() + 2);
    m_pProgressPanel->setRange(0, 100);
    m_pProgressPanel->setValue(0);
    m_pProgressPanel->setTextVisible(false);
    // A flat sunken panel like its neighbours rather than an input box; the
    // bar fills it smoothly while an export or import runs.
    m_pProgressPanel->setStyleSheet(
        QStringLiteral("QProgressBar { border: 1px solid palette(mid); border-radius: 0px;"
                       " background: transparent; text-align: center; }"
                       "QProgressBar::chunk { background: palette(highlight); }"));
    m_pCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_pCancelButton->setObjectName(QStringLiteral("btnSBCancel"));
    m_pCancelButton->setMaximumHeight(window->fontMetrics().height() + 4);
    m_pCancelButton->hide();
    m_pEllipsisPanel = MakePanel(new TEllipsisLabel(this), 50, Qt::AlignLeft);
    m_pEllipsisPanel->setObjectName(QStringLiteral("pnlEllipsis"));
    m_pTextPanel = MakePanel(new QLabel(this), 0, Qt::AlignLeft);
    m_pTextPanel->setObjectName(QStringLiteral("pnlText"));
    m_pTextPanel->setIndent(3);
    m_pTextPanel->setMinimumWidth(50);

    addWidget(m_pCapsPanel);
    addWidget(m_pNumPanel);
    addWidget(m_pProgressPanel);
    addWidget(m_pCancelButton);
    addWidget(m_pEllipsisPanel);
    addWidget(m_pTextPanel, 1);

    m_CapsLockLeds = LedFiles("::capslock");
    m_NumLockLeds = LedFiles("::numlock");
    if (!m_CapsLockLeds.isEmpty() || !m_NumLockLeds.isEmpty()) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &TMainStatusBar::UpdateLockPanels);
        timer->start(400);
        UpdateLockPanels();
    }
}

void TMainStatusBar::SetStatusText(const QString& text) {
    m_sStatusText = text;
    m_pTextPanel->setText(text);
}

void TMainStatusBar::ShowTip(const QString& tip) {
    // A command's hint takes the text panel while the pointer rests on it.
    m_pTextPanel->setText(tip.isEmpty() ? m_sStatusText : tip);
}

void TMainStatusBar::ShowListState(const QString& countText, const QString& note) {
    if (countText != m_pEllipsisPanel->text()) {
        m_pEllipsisPanel->setText(countText);
        const int needed = m_pEllipsisPanel->fontMetrics().horizontalAdvance(countText) + 12;
        m_pEllipsisPanel->setFixedWidth(std::clamp(needed, 50, 220));
    }
    if (note == m_sListNote)
        return;
    // The note goes again with what it said, not with another's text.
    if (!note.isEmpty())
        SetStatusText(note);
    else if (m_sStatusText == m_sListNote)
        SetStatusText(QString());
    m_sListNote = note;
}

QString TMainStatusBar::CountText() const {
    return m_pEllipsisPanel->text();
}

void TMainStatusBar::UpdateLockPanels() {
    m_pCapsPanel->setText(LedOn(m_CapsLockLeds) ? QStringLiteral("CAP") : QString());
    m_pNumPanel->setText(LedOn(m_NumLockLeds) ? QStringLiteral("NUM") : QString());
}
