#include "data/UDMStatements.h"

#include "data/engine/USqlDialect.h"
#include "shell/UErrors.h"

#include <QDir>
#include <QLockFile>
#include <QUuid>
#include <exception>

namespace UDMStatements {

QString Sq(const QString& key) {
    return USqlDialect::EscapeQuotes(key, QLatin1Char('\''));
}

QString Dq(const QString& value) {
    return USqlDialect::EscapeQuotes(value, QLatin1Char('"'));
}

QString Format(const char* format, std::initializer_list<QString> args) {
    QString result = QString::fromLatin1(format);
    qsizetype from = 0;
    for (const QString& arg : args) {
        const qsizetype at = result.indexOf(QLatin1String("%s"), from);
        if (at < 0)
            break;
        result.replace(at, 2, arg);
        from = at + arg.size();
    }
    return result;
}

QString NewGuidText() {
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}

QString CurrentMessage(bool* hasMessage) {
    try {
        throw;
    } catch (const EError& e) {
        if (hasMessage)
            *hasMessage = true;
        return e.Message();
    } catch (const std::exception& e) {
        if (hasMessage)
            *hasMessage = true;
        return QString::fromUtf8(e.what());
    } catch (...) {
        if (hasMessage)
            *hasMessage = false;
        return QString();
    }
}

int ToInteger(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        UErrors::RaiseError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

QString NextFreeKey(qint64 first, const QString& prefix, int digits,
                    const std::function<bool(const QString&)>& taken, qint64* used) {
    const auto text = [&prefix, digits](qint64 n) {
        return prefix + QString::number(n).rightJustified(digits, QLatin1Char('0'));
    };
    qint64 number = first;
    QString key = text(number);
    while (taken(key))
        key = text(++number);
    if (used)
        *used = number;
    return key;
}

std::unique_ptr<QLockFile> LockFolder(const QString& dir) {
    QDir().mkpath(dir);
    auto lock = std::make_unique<QLockFile>(dir + QStringLiteral(".korvane.lock"));
    // A lock is stale only when its process is gone, however long it was held.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (lock->error() == QLockFile::LockFailedError)
            throw EFatalError(QStringLiteral("The database is in use by another Korvane window."));
        throw EFatalError(QStringLiteral("The database folder cannot be used:\r\n") +
                          QDir::toNativeSeparators(dir));
    }
    return lock;
}

} // namespace UDMStatements
