#include "support/TestSupport.h"

namespace TestSupport {

TTempDir::TTempDir() : m_Dir(QDir::tempPath() + QStringLiteral("/korvane-test-XXXXXX")) {}

QString TTempDir::Path() const {
    return m_Dir.path() + QLatin1Char('/');
}

} // namespace TestSupport
