#include "lists/UListSearch.h"

#include "data/engine/TDataSet.h"
#include "data/engine/TField.h"

namespace {

// Rows read at a time while looking further.
constexpr qint64 ReadAhead = 256;

} // namespace

namespace UListSearch {

bool LocateNext(TDataSet& dataSet, const QString& fieldName, const QString& text) {
    if (!dataSet.Active() || text.isEmpty())
        return false;
    const TField& field = dataSet.FieldByName(fieldName);
    const int column = field.Index();
    for (qint64 row = dataSet.CurrentRow() + 1;; ++row) {
        if (row >= dataSet.RowsAvailable() &&
            (!dataSet.CanFetchMore() || dataSet.FetchMore(ReadAhead) == 0))
            break;
        const QString value =
            TField::DisplayTextOf(field.DataType(), dataSet.RowValue(row, column));
        if (value.startsWith(text, Qt::CaseInsensitive)) {
            dataSet.MoveToRow(row);
            return true;
        }
    }
    // Round to the top.
    return dataSet.Locate(fieldName, text, TDataSet::CaseInsensitive | TDataSet::PartialKey);
}

} // namespace UListSearch
