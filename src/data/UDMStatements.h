#pragma once

// The small pieces the data module builds its statements and messages from:
// keys between quotes, "%s" formats, new GUIDs, the message of the error
// being handled and the integer reading of a call number.

#include <QString>
#include <functional>
#include <initializer_list>
#include <memory>

class QLockFile;

namespace UDMStatements {

// A key between single quotes in a WHERE clause.
QString Sq(const QString& key);
// A value between double quotes.
QString Dq(const QString& value);
// Puts the texts in place of the "%s" markers of `format`, in order.
QString Format(const char* format, std::initializer_list<QString> args);
// A new GUID in registry text form, with braces, in capitals.
QString NewGuidText();
// The message of the exception being handled, or an empty text when it
// carries none. Call only inside a catch block.
QString CurrentMessage(bool* hasMessage = nullptr);
// The whole text as an integer, or an error in the words of a failed
// conversion.
int ToInteger(const QString& text);

// The first key from `first` on ("CUST0042": `prefix`, then the number with
// at least `digits` digits) that `taken` does not claim; `used` receives its
// number.
QString NextFreeKey(qint64 first, const QString& prefix, int digits,
                    const std::function<bool(const QString&)>& taken, qint64* used = nullptr);
// Locks the folder `dir` (made when missing) for this process with the lock
// file ".korvane.lock"; a lock left by a process that is gone is taken over.
// Raises EFatalError when another process holds it or the folder cannot be
// used.
std::unique_ptr<QLockFile> LockFolder(const QString& dir);

} // namespace UDMStatements
