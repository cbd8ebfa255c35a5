#pragma once

// The small pieces the data module builds its statements and messages from:
// keys between quotes, "%s" formats, new GUIDs, the message of the error
// being handled and the integer reading of a call number.

#include <QString>
#include <initializer_list>

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

} // namespace UDMStatements
