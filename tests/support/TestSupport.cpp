#include "support/TestSupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QTextDocumentFragment>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace TestSupport {

TTempDir::TTempDir() : m_Dir(QDir::tempPath() + QStringLiteral("/korvane-test-XXXXXX")) {}

QString TTempDir::Path() const {
    return m_Dir.path() + QLatin1Char('/');
}

QString ShownCaption(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    if (!handle)
        return {};
    const QString title = handle->title();
    // Without a display name of its own the application's display name is
    // its plain name, and nothing is added.
    const QString name = QGuiApplication::applicationDisplayName();
    if (name == QCoreApplication::applicationName() || title.endsWith(name))
        return title.isEmpty() ? QCoreApplication::applicationName() : title;
    return title.isEmpty() ? name : title + QStringLiteral(" \u2014 ") + name;
}

int CaptionTextWidth(const QString& caption) {
    int width = 0;
    for (QFont font : {QApplication::font("QMdiSubWindowTitleBar"), QApplication::font()}) {
        font.setBold(true);
        width = std::max(width, QFontMetrics(font).horizontalAdvance(caption));
    }
    return width;
}

QString ShownText(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QTextDocumentFragment::fromHtml(text).toPlainText().trimmed();
}

} // namespace TestSupport
