#include "support/TestSupport.h"

#include <QTextDocumentFragment>

namespace TestSupport {

TTempDir::TTempDir() : m_Dir(QDir::tempPath() + QStringLiteral("/korvane-test-XXXXXX")) {}

QString TTempDir::Path() const {
    return m_Dir.path() + QLatin1Char('/');
}

QString ShownText(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QTextDocumentFragment::fromHtml(text).toPlainText().trimmed();
}

} // namespace TestSupport
