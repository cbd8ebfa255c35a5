#include "lists/UListGreeting.h"

#include <QAbstractItemView>
#include <QEvent>

TListGreeting::TListGreeting(QAbstractItemView* grid)
    : QLabel(grid->viewport()), m_pViewport(grid->viewport()) {
    setObjectName(QStringLiteral("lblGreeting"));
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    // Read like a hint, not like a row.
    setForegroundRole(QPalette::PlaceholderText);
    QFont larger = font();
    larger.setPointSizeF(larger.pointSizeF() * 1.15);
    setFont(larger);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pViewport->installEventFilter(this);
    hide();
}

void TListGreeting::ShowText(const QString& text) {
    setText(text);
    setVisible(!text.isEmpty());
    if (!text.isEmpty())
        Centre();
}

bool TListGreeting::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pViewport && event->type() == QEvent::Resize)
        Centre();
    return QLabel::eventFilter(watched, event);
}

void TListGreeting::Centre() {
    const QRect area = m_pViewport->rect();
    const int width = std::min(area.width() - 20, fontMetrics().horizontalAdvance(text()) + 20);
    const int height = heightForWidth(std::max(width, 1));
    setGeometry(area.x() + (area.width() - width) / 2, area.y() + (area.height() - height) / 3,
                std::max(width, 1), std::max(height, fontMetrics().height()));
}
