#pragma once

// Comparing stored values: the sort order used by datasets (the same order as
// SQLite's NOCASE collation, so that rows sorted in memory and rows sorted by
// SQL come out alike) and the matching rules of Locate.

#include "data/engine/TDatabase.h"
#include "data/engine/TField.h"
#include "data/engine/TRowStore.h"

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

namespace UCellCompare {

// Null before numbers before text before blobs; numbers by value; text by
// bytes with the ASCII letters folded, the shorter first on a tie.
int Compare(const TCell& a, const TCell& b);

// Appends to `key` bytes that order, compared bytewise (shorter first on a
// tie), as Compare orders the cells (or, without `noCase`, as the BINARY
// collation does); reversed when `descending`. Keys of several cells appended
// one after another order by the first cell, then by the next. (Integers
// beyond 2^53 may tie.)
void AppendSortKey(std::string& key, const TCell& cell, bool descending = false,
                   bool noCase = true);

// The order of a store's rows by the given columns: the first without regard
// to case (reversed when descending), the others as they are, ties in store
// order; the order SQL gives for ORDER BY first COLLATE NOCASE, others.
// Element i is the row that comes i-th.
std::vector<qint64> SortedOrder(const TRowStore& store, const QList<int>& columns, bool descending);

// The value of a cell as a number, when it is one or is a text that reads as
// one (TField::ReadNumber).
bool NumberOf(const TCell& cell, double& number);

// One value that Locate looks for in one field.
//  - A null or empty value finds a blank field (null or ''); as a partial key
//    it finds every row.
//  - Text is compared with the stored text, whole or as its beginning
//    (partial), with or without regard to letter case.
//  - In a numeric field a whole-value search compares numbers (5 finds 5.0).
//  - In a boolean field 'true', "TRUE" and true all find 'True'.
class TSearchValue {
public:
    TSearchValue(const QVariant& value, TFieldType type, bool caseInsensitive, bool partial);
    bool Matches(const TCell& cell) const;
    // The text looked for ('' for a blank value) and the field type.
    const QString& Text() const { return m_Text; }
    TFieldType Type() const { return m_Type; }

    // Ranges of stored texts, in the order of an index on a text column (its
    // collation NOCASE when `noCase`, else BINARY), outside which no text
    // matches. False when the value cannot be put so: a blank or numeric
    // value, or one with too many spellings in letter case for a BINARY index.
    bool TextRanges(bool noCase, QList<TTextRange>& ranges) const;

private:
    bool MatchesText(std::string_view text) const;

    TFieldType m_Type;
    bool m_CaseInsensitive;
    bool m_Partial;
    bool m_Blank = false;
    bool m_IsNumber = false;
    bool m_Ascii = true;
    double m_Number = 0;
    QString m_Text;
    QString m_Folded;
    QByteArray m_Utf8;
    QByteArray m_Lower; // ASCII-lowered m_Utf8
};

} // namespace UCellCompare
