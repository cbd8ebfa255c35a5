#pragma once

// A table model over a dataset, for grids. Columns are the dataset's visible
// fields titled by their display labels; cells show display texts. Rows are
// offered as the dataset has read them: a query's rows come in pages as the
// view scrolls (canFetchMore/fetchMore), so a grid over a million calls opens
// at the speed of its first page. When the dataset moves past the rows read
// (Last reads only the end) the model spans all rows at once and the rows
// between are read when the grid shows them. Sorting by a header re-orders the dataset
// itself (see TDataSet.h) and keeps its current row; with a selection model
// the grid's current row and the dataset's current row follow each other.

#include "data/engine/TDataSource.h"

#include <QAbstractTableModel>
#include <QPointer>

class QItemSelectionModel;

class TDataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TDataSetModel(QObject* parent = nullptr);
    ~TDataSetModel() override;

    // Shows the dataset of a data source (and follows the source when it is
    // re-pointed). The source is not owned.
    void SetDataSource(TDataSource* source);
    // Shows a dataset through a data source of the model's own.
    void SetDataSet(TDataSet* dataSet);
    TDataSource* DataSource() const { return m_pSource; }
    TDataSet* DataSet() const { return m_pSource ? m_pSource->DataSet() : nullptr; }

    // Keeps this selection model's current row and the dataset's current row
    // in step (nullptr to stop).
    void SetSelectionModel(QItemSelectionModel* selection);
    // Rows read per fetchMore.
    void SetFetchSize(int rows) { m_FetchSize = qMax(1, rows); }
    // How cells show their values, for grids a person reads: a check mark
    // ("\u2713", centred) for a true boolean and nothing for a false one
    // instead of "True" and "False"; a date-time field named in
    // `dateOnlyFields` as the short date without its time.
    void SetReadableCells(bool readable) { m_bReadable = readable; }
    void SetDateOnlyFields(const QStringList& fieldNames);

    // The field shown in a column; the column of a field (-1 when hidden).
    TField* ColumnField(int column) const;
    int ColumnOf(const QString& fieldName) const;

    // The sort indicator: the sorted column (-1 when unsorted) and its order.
    int SortColumn() const;
    Qt::SortOrder SortOrder() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void Rebuild();
    void CatchUp();
    void ReachEnd();
    void CurrentRowChanged();
    void RowFieldsChanged();
    void SelectionMoved(const QModelIndex& current);
    void ConnectSource();
    QString ReadableText(const TField& field, const QVariant& stored) const;

    QPointer<TDataSource> m_pSource;
    TDataSource* m_pOwnSource = nullptr;
    QPointer<QItemSelectionModel> m_pSelection;
    QList<QMetaObject::Connection> m_Connections;
    QMetaObject::Connection m_SelectionConnection;
    QList<int> m_Columns; // field index per column
    int m_Rows = 0;
    int m_FetchSize = 256;
    bool m_Syncing = false;
    bool m_bReadable = false;
    QStringList m_DateOnly; // lower case
};
