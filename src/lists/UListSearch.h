#pragma once

// Finding the next row of a list that matches its search text.

#include <QString>

class TDataSet;

namespace UListSearch {

// Makes the first row after the current one whose `fieldName` begins with
// `text` (ignoring case) current, reading on as far as needed; when none
// follows, the first such row of the whole dataset (which may be the current
// one). False, with the current row kept, when no row matches at all.
bool LocateNext(TDataSet& dataSet, const QString& fieldName, const QString& text);

} // namespace UListSearch
