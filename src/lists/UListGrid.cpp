#include "lists/UListGrid.h"

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

} // namespace

namespace UListGrid {

void SetUpGrid(QTableView* grid) {
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* header = grid->horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
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
