#pragma once

// The one way of reporting problems:
//  - EFatalError: the program cannot go on; the application handler shows it
//    with "The Application will now terminate!" and ends the program;
//  - ThrowError: formats a message printf-style and raises an ordinary EError,
//    which the application handler shows while the program goes on;
//  - ShowError / ShowInfo: format a message and show it in a box at once;
//  - EAbort: the user cancelled; the handler shows nothing;
//  - DebugTrace: internal faults; silent in release builds.
//
// Formatting follows C's printf (%s, %d, ...). QString and std::string
// arguments may be passed for %s directly; anything printf cannot take is
// refused at compile time. A format given without arguments is used as
// written, except that "%%" stands for '%'. A formatted message is cut to
// MaxMessageLength characters.

#include <QByteArray>
#include <QString>
#include <exception>
#include <string>
#include <tuple>
#include <type_traits>

// An ordinary failure: shown to the user, the program goes on.
class EError : public std::exception {
public:
    explicit EError(const QString& message);
    const QString& Message() const noexcept { return m_Message; }
    const char* what() const noexcept override { return m_What.constData(); }

private:
    QString m_Message;
    QByteArray m_What;
};

// A failure after which the program cannot go on.
class EFatalError : public EError {
public:
    using EError::EError;
};

// A stop the user chose (a prompt cancelled): whatever was under way is left
// undone and nothing is shown.
class EAbort : public EError {
public:
    using EError::EError;
};

namespace UErrors {

inline constexpr int MaxMessageLength = 2047;

namespace Detail {
// printf-style formatting of already converted arguments, cut to MaxMessageLength.
QString FormatV(const char* format, ...);

template <typename T>
auto Hold(const T& value) {
    if constexpr (std::is_same_v<T, QString>)
        return value.toUtf8();
    else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, QByteArray>)
        return value;
    else
        return value;
}

template <typename T>
auto Pass(const T& value) {
    if constexpr (std::is_same_v<T, QByteArray>)
        return value.constData();
    else if constexpr (std::is_same_v<T, std::string>)
        return value.c_str();
    else
        return value;
}

// Only what C's printf can take may go through the variable argument list;
// anything else (a QStringView, a std::string_view, a class) would be read
// as garbage.
template <typename T>
inline constexpr bool IsPrintfArgument =
    std::is_arithmetic_v<T> || std::is_enum_v<T> || std::is_pointer_v<T>;

// A format used without arguments: "%%" stands for '%', any other '%' is
// taken as written.
QString FormatPlain(const char* format);
} // namespace Detail

// Formats a message the way ThrowError, ShowError and ShowInfo do.
template <typename... Args>
QString FormatMessage(const char* format, const Args&... args) {
    if constexpr (sizeof...(Args) == 0) {
        return Detail::FormatPlain(format);
    } else {
        auto held = std::make_tuple(Detail::Hold(args)...);
        return std::apply(
            [format](const auto&... h) {
                static_assert((Detail::IsPrintfArgument<decltype(Detail::Pass(h))> && ...),
                              "argument cannot be passed to a printf-style format");
                return Detail::FormatV(format, Detail::Pass(h)...);
            },
            held);
    }
}

[[noreturn]] void RaiseError(const QString& message);
void ShowErrorText(const QString& message);
void ShowInfoText(const QString& message);

} // namespace UErrors

template <typename... Args>
[[noreturn]] void ThrowError(const char* format, const Args&... args) {
    UErrors::RaiseError(UErrors::FormatMessage(format, args...));
}

template <typename... Args>
void ShowError(const char* format, const Args&... args) {
    UErrors::ShowErrorText(UErrors::FormatMessage(format, args...));
}

template <typename... Args>
void ShowInfo(const char* format, const Args&... args) {
    UErrors::ShowInfoText(UErrors::FormatMessage(format, args...));
}

// Reports an internal fault. Shows nothing; a debug build writes it to stderr.
void DebugTrace(const QString& message, const QString& function, const QString& unit);
