#include "lists/UDetailGrid.h"

#include "data/engine/TDataSetModel.h"
#include "data/engine/TField.h"
#include "data/engine/TQuery.h"
#include "lists/UListGrid.h"

#include <QHeaderView>

TDetailGrid::TDetailGrid(TQuery* query, QWidget* parent)
    : QTableView(parent), m_pQuery(query), m_pModel(new TDataSetModel(this)) {
    UListGrid::SetUpGrid(this);
    verticalHeader()->hide();
    m_pModel->SetReadableCells(true);
    // A call's day is what its history shows; the list of calls has the time.
    m_pModel->SetDateOnlyFields({QStringLiteral("Date_Time")});
    setModel(m_pModel);
    m_pModel->SetSelectionModel(selectionModel());
    m_pModel->SetDataSet(query);
    connect(m_pModel, &QAbstractItemModel::modelReset, this, &TDetailGrid::ArrangeColumns);
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { Q_EMIT RowDoubleClicked(); });
}

void TDetailGrid::SetColumn(const QString& fieldName, const QString& header, int width) {
    if (!header.isEmpty())
        m_pQuery->DefineField(fieldName).SetDisplayLabel(header);
    m_Fields << fieldName.toLower();
    m_Widths << width;
    m_ContentWidths << 0;
    ArrangeColumns();
}

void TDetailGrid::ArrangeColumns() {
    QHeaderView* header = horizontalHeader();
    for (int column = 0; column < m_pModel->columnCount(); ++column) {
        const TField* field = m_pModel->ColumnField(column);
        const qsizetype at = field ? m_Fields.indexOf(field->FieldName().toLower()) : -1;
        setColumnHidden(column, at < 0);
        if (at < 0)
            continue;
        const int least = UListGrid::ColumnWidth(this, column, m_Widths[at]);
        int& content = m_ContentWidths[at];
        content = std::max(content, UListGrid::UsualContentWidth(this, column, 2 * least));
        header->resizeSection(column, std::max(least, content));
    }
    UListGrid::PlaceColumns(this, *m_pModel, m_Fields);
}
