#include "shell/UErrors.h"

#include "shell/UDialogs.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

EError::EError(const QString& message) : m_Message(message), m_What(message.toUtf8()) {}

namespace UErrors {

namespace Detail {

namespace {
// Cuts `text` to MaxMessageLength characters, never between the two halves of
// a surrogate pair.
QString Cut(QString text) {
    if (text.size() > MaxMessageLength) {
        text.truncate(MaxMessageLength);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}
} // namespace

QString FormatV(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    QString result;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        result = QString::fromUtf8(buffer.data(), length);
    }
    va_end(again);
    return Cut(result);
}

QString FormatPlain(const char* format) {
    QString result = QString::fromUtf8(format);
    result.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return Cut(result);
}
} // namespace Detail

void RaiseError(const QString& message) {
    throw EError(message);
}

void ShowErrorText(const QString& message) {
    Dialogs().MessageBox(TMsgKind::Error, QStringLiteral("Error"), message, mbOK);
}

void ShowInfoText(const QString& message) {
    Dialogs().MessageBox(TMsgKind::Information, QStringLiteral("Information"), message, mbOK);
}

} // namespace UErrors

void DebugTrace(const QString& message, const QString& function, const QString& unit) {
#ifdef KORVANE_DEBUG_TRACE
    std::fprintf(stderr, "[%s] %s: %s\n", qPrintable(unit), qPrintable(function),
                 qPrintable(message));
#else
    Q_UNUSED(message);
    Q_UNUSED(function);
    Q_UNUSED(unit);
#endif
}
