#pragma once

// What a list window tells the user in words: how many records it shows (for
// the status bar), what to do first when it shows none, and that a search
// found nothing.

#include <QString>

class QAction;

namespace UListTexts {

// The names of a list's records: "call" and "calls".
struct TRecordNames {
    QString One;
    QString Many;
};

// "No calls", "1 call", "1,234 calls" (the locale's digit grouping);
// "1,234+ calls" when `complete` is false because more rows may follow those
// counted.
QString CountText(qint64 count, bool complete, const TRecordNames& names);

// The line an empty list shows: "No customers yet. Press New Customer (Ctrl+T)
// to add one." with the text and shortcut of `newCommand` (its toolbar text;
// without a shortcut the brackets are left out). Without a command only the
// first sentence.
QString GreetingText(const TRecordNames& names, const QAction* newCommand);
// What an empty view of a list with other rows says: "No calls in this view."
QString EmptyViewText(const TRecordNames& names);

// The status bar's note for a search without a match:
// "No Surname begins with "smx"."
QString NoMatchText(const QString& searchCaption, const QString& text);

} // namespace UListTexts
