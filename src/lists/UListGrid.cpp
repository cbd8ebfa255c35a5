#include "lists/UListGrid.h"

#include "data/engine/TDataSetModel.h"

#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <algorithm>

namespace {

constexpr int RowHeight = 22;
constexpr int IndicatorWidth = 20;
// Digit width of the font the lists' column widths were chosen for.
constexpr int DesignDigitWidth = 6;
// Rows looked at for a column's usual content.
constexpr int SampleRows = 200;

} // namespace

namespace UListGrid {

void SetUpGrid(QTableView* grid) {
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One line per row: a wrapped text would show its first words and blanks.
    grid->setWordWrap(false);
    grid->setTextElideMode(Qt::ElideRight);
    QHeaderView* header = grid->horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
    // No empty band right of the columns on a wide screen.
    header->setStretchLastSection(true);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    QHeaderView* rows = grid->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(RowHeight);
    rows->setFixedWidth(IndicatorWidth);
}

int ColumnWidth(const QTableView* grid, int column, int width) {
    const QFontMetrics cells(grid->font());
    const double scale = std::max(1.0, cells.horizontalAdvance(QStringLiteral("0123456789")) /
                                           double(10 * DesignDigitWidth));
    const QHeaderView* header = grid->horizontalHeader();
    const QStyle* style = header->style();
    const int margin = style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int arrow = style->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header);
    const QString caption =
        grid->model() ? grid->model()->headerData(column, Qt::Horizontal).toString() : QString();
    const int captionWidth =
        QFontMetrics(header->font()).horizontalAdvance(caption) + 3 * margin + arrow;
    return std::max(int(width * scale + 0.5), captionWidth);
}

} // namespace UListGrid

namespace UListGrid {

int UsualContentWidth(const QTableView* grid, int column, int widest) {
    const QAbstractItemModel* model = grid->model();
    if (!model)
        return 0;
    const int rows = std::min(model->rowCount(), SampleRows);
    if (rows == 0)
        return 0;
    const QFontMetrics cells(grid->font());
    int usual = 0;
    for (int row = 0; row < rows; ++row)
        usual =
            std::max(usual, cells.horizontalAdvance(model->index(row, column).data().toString()));
    // The cell's margins on both sides, the grid line, and a few pixels more
    // so that a text that fits is never cut by the drawing's rounding.
    const int margin =
        2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 1 + 4;
    return std::min(usual + margin, widest);
}

void PlaceColumns(QTableView* grid, const TDataSetModel& model, const QStringList& order) {
    QHeaderView* header = grid->horizontalHeader();
    int place = 0;
    for (const QString& name : order) {
        const int column = model.ColumnOf(name);
        if (column < 0)
            continue;
        if (header->visualIndex(column) != place)
            header->moveSection(header->visualIndex(column), place);
        ++place;
    }
}

} // namespace UListGrid
