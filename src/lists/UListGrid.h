#pragma once

// How the lists' grids look and size their columns: the main grid of every
// list window and the detail grids under it.

#include <QStringList>

class QTableView;
class TDataSetModel;

namespace UListGrid {

// Whole-row single selection, read-only cells on one line each (a text too
// long for its column ends in an ellipsis), bold movable and resizable column
// headers, rows 22 pixels high after a narrow (20-pixel) first column.
void SetUpGrid(QTableView* grid);

// The width of `column` for a width the list gives in pixels of a small
// dialog font whose digits are six pixels wide: it grows with the grid's font
// and never leaves the column's bold caption (with the sort arrow) clipped.
int ColumnWidth(const QTableView* grid, int column, int width);

// The width that `column`'s usual content needs: wide enough for every text
// of the first rows (up to 200 rows looked at), at most `widest` pixels; 0
// while there are no rows.
int UsualContentWidth(const QTableView* grid, int column, int widest);

// Moves the columns of the fields named in `order` to the front of the grid's
// header, in that order; names the model lacks are passed over.
void PlaceColumns(QTableView* grid, const TDataSetModel& model, const QStringList& order);

} // namespace UListGrid
