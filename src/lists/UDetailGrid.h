#pragma once

// A grid of a list's detail panel over one of its detail queries: the
// columns the list names, in its order, with their captions and widths (the
// query's other fields are not shown), one whole row selected. A column
// grows to what the rows it has shown need (up to twice its width) and does
// not shrink again when the panel follows another record. A double-click
// on a row tells RowDoubleClicked with the query on that row.

#include <QStringList>
#include <QTableView>

class TDataSetModel;
class TQuery;

class TDetailGrid : public QTableView {
    Q_OBJECT
public:
    TDetailGrid(TQuery* query, QWidget* parent = nullptr);

    // The column of `fieldName`, after those named before; an empty header
    // leaves the field's name as its caption. `width` as for the lists'
    // grids (UListGrid::ColumnWidth).
    void SetColumn(const QString& fieldName, const QString& header, int width);

    TQuery* Query() const { return m_pQuery; }
    TDataSetModel* Model() const { return m_pModel; }

Q_SIGNALS:
    void RowDoubleClicked();

private:
    void ArrangeColumns();

    TQuery* m_pQuery;
    TDataSetModel* m_pModel;
    QStringList m_Fields; // lower case, in order
    QList<int> m_Widths;
    QList<int> m_ContentWidths; // the most the rows shown so far needed
};
