#pragma once

// What Locate looks for: a result column and a value per searched field,
// matched by the rules of UCellCompare::TSearchValue; and whether an index
// shows, before any row is read, that no row can match (see "A keystroke in a
// list's search box" in docs/architecture.md).

#include "data/engine/TDatabase.h"
#include "data/engine/TRowStore.h"
#include "data/engine/UCellCompare.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

class TDataSet;
class TField;

struct TLocateRequest {
    QList<int> Columns;
    std::vector<UCellCompare::TSearchValue> Values;
    bool CaseInsensitive = false;
    bool Partial = false;

    // The request for the dataset's fields named in `fields` (separated by
    // ';') and `values`: one value, a QVariantList or a QStringList, one value
    // per field. Raises EDatabaseError when the counts differ or a field is
    // missing.
    static TLocateRequest For(const TDataSet& dataSet, const QString& fields,
                              const QVariant& values, bool caseInsensitive, bool partial);

    bool Matches(const TRowView& row) const;
    // The same request for only the searched columns that `keep` accepts.
    TLocateRequest Part(const std::function<bool(int column)>& keep) const;

    // The ranges of an index of the table behind the `i`-th searched field
    // that hold every value the search matches there. False when that field's
    // values do not come straight from a text column of that table with an
    // index (`fields`: a dataset's fields by column), or when its value
    // gives no ranges.
    struct TIndexRanges {
        QString Table;
        QString Column;
        bool NoCase = false;
        QList<TTextRange> Ranges;
    };
    bool IndexRanges(TDatabase& database, const QList<TField*>& fields, qsizetype i,
                     TIndexRanges& out) const;

    // True when an index of the table behind one of the searched fields (of
    // `fields`, a dataset's fields by column) shows that no row of that table
    // holds a value the search matches, so that Locate can fail without
    // reading rows. Only for fields whose values come straight from a text
    // column of that table.
    bool NoRowCanMatch(TDatabase& database, const QList<TField*>& fields) const;
};
