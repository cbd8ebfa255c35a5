#pragma once

// The link between a dataset and whatever shows or follows it: data-aware
// controls and grids connect to a data source's signals, and detail queries
// follow it through a TDataLink, instead of binding to the dataset, so they
// can be moved to another dataset by re-pointing the source. A source without
// a dataset stays silent.
//
// Links are called before the signals are emitted, as plain C++ calls, so an
// error raised by a link (a detail query that fails to re-run) reaches the
// code that moved the dataset.

#include "data/engine/TDataSet.h"

#include <QObject>
#include <QPointer>

class TDataSource;

// A C++ listener to a data source.
class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return m_pSource; }
    void SetDataSource(TDataSource* source);
    // The source's dataset, or nullptr.
    TDataSet* DataSet() const;

protected:
    virtual void RecordChanged() {}
    virtual void FieldChanged(TField* field) { Q_UNUSED(field); }
    virtual void StateChanged() {}
    virtual void DataSetChanged() {}
    virtual void UpdateRecord() {}

private:
    friend class TDataSource;
    TDataSource* m_pSource = nullptr;
};

class TDataSource : public QObject {
    Q_OBJECT
public:
    explicit TDataSource(QObject* parent = nullptr);
    explicit TDataSource(TDataSet* dataSet, QObject* parent = nullptr);
    ~TDataSource() override;

    TDataSet* DataSet() const { return m_pDataSet; }
    // Re-points the source; listeners get DataSetChanged.
    void SetDataSet(TDataSet* dataSet);
    // The dataset's state; Inactive without a dataset.
    TDataSetState State() const;

Q_SIGNALS:
    // The current row moved, or was reloaded (also when a row is inserted).
    void RecordChanged();
    // A field of the row being edited or inserted was given a value.
    void FieldChanged(TField* field);
    // The dataset went to another state (inactive, browse, edit, insert).
    void StateChanged();
    // The rows as a whole changed: opened, closed, refreshed, re-sorted,
    // filtered, or a row was posted or deleted. Also sent when display updates
    // resume after DisableControls.
    void DataSetChanged();
    // The dataset is about to post: controls write their pending input now.
    void UpdateRecord();

private:
    friend class TDataSet;
    friend class TDataLink;
    enum class TEvent { RecordChanged, FieldChanged, StateChanged, DataSetChanged, UpdateRecord };
    // Called by the dataset.
    void Notify(TEvent event, TField* field);
    void DataSetDestroyed();

    TDataSet* m_pDataSet = nullptr;
    QList<TDataLink*> m_Links;
};
