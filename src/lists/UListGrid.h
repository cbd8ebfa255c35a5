#pragma once

// How the lists' grids look and size their columns: the main grid of every
// list window and the detail grids under it.

class QTableView;

namespace UListGrid {

// Whole-row single selection, read-only cells, bold movable and resizable
// column headers, rows 22 pixels high after a narrow (20-pixel) first column.
void SetUpGrid(QTableView* grid);

// The width of `column` for a width the list gives in pixels of a small
// dialog font whose digits are six pixels wide: it grows with the grid's font
// and never leaves the column's bold caption (with the sort arrow) clipped.
int ColumnWidth(const QTableView* grid, int column, int width);

} // namespace UListGrid
