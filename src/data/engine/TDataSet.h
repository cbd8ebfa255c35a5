#pragma once

// Datasets: rows of a table (TTable) or of a SELECT (TQuery) with a current
// row, fields, navigation, editing and the events the data module hangs its
// rules on.
//
// No dataset copies a whole table or result into memory: a query steps its
// statement only as far as someone looks and keeps the rows read as compact
// byte runs (TQueryRows, TRowStore), sorts by holding narrow rows by key
// (TKeyedRows), and locates through what is held, an index check and reading
// on; a table reads a window of rows by its key and writes rows through at
// once. Rows are addressed by key wherever a position could go stale. Events
// are std::function members called in the order of the classic dataset
// model; display updates go through TDataSource signals. docs/architecture.md
// ("The storage engine") tells the whole design.

#include "data/engine/TField.h"
#include "data/engine/TFilterExpr.h"
#include "data/engine/TLocateRequest.h"
#include "data/engine/UCellCompare.h"

#include <QFlags>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class TDatabase;
class TDataSource;

enum class TDataSetState { Inactive, Browse, Edit, Insert };

// A remembered row: its position and the values of the dataset's key fields.
struct TBookmark {
    QVariantList Key;
    qint64 Row = -1;
    quint64 Generation = 0;
    bool IsNull() const { return Row < 0 && Key.isEmpty(); }
};

class TDataSet : public QObject {
public:
    using TEvent = std::function<void(TDataSet&)>;
    enum TLocateOption { CaseInsensitive = 0x1, PartialKey = 0x2 };
    Q_DECLARE_FLAGS(TLocateOptions, TLocateOption)

    explicit TDataSet(QObject* parent = nullptr);
    ~TDataSet() override;

    TDatabase* Database() const { return m_pDatabase; }
    // Binds the dataset to a connection; closes it first.
    void SetDatabase(TDatabase* database);

    // --- Opening and closing
    void Open();
    void Close();
    void SetActive(bool active);
    bool Active() const { return m_State != TDataSetState::Inactive; }
    TDataSetState State() const { return m_State; }

    // --- Fields
    int FieldCount() const { return int(m_Fields.size()); }
    const QList<TField*>& Fields() const { return m_Fields; }
    TField* Field(int index) const;
    // Case-insensitive; nullptr when there is no such field.
    TField* FindField(const QString& name) const;
    // Raises EDatabaseError "Field 'X' not found".
    TField& FieldByName(const QString& name) const;
    // A field object that keeps its settings (label, visibility, width) from
    // before the first Open and across re-opening.
    TField& DefineField(const QString& name);

    // --- Navigation
    void First();
    void Last();
    void Next();
    void Prior();
    // Moves by `distance` rows; returns how far it moved.
    qint64 MoveBy(qint64 distance);
    bool Eof() const { return m_Eof; }
    bool Bof() const { return m_Bof; }
    bool IsEmpty();
    // Position of the current row, from 1; 0 when there is none.
    qint64 RecNo();
    void SetRecNo(qint64 recNo);
    qint64 RecordCount();

    // Makes the first row in the dataset's order whose fields (names separated
    // by ';') hold the values current; `values` is one value, a QVariantList or
    // a QStringList. Returns false, leaving the current row, when none does.
    bool Locate(const QString& fields, const QVariant& values, TLocateOptions options = {});

    TBookmark GetBookmark();
    // Raises EDatabaseError when the row is gone.
    void GotoBookmark(const TBookmark& bookmark);
    bool BookmarkValid(const TBookmark& bookmark);

    // Suspends notifications to data sources (nesting); the last
    // EnableControls sends DataSetChanged when anything happened meanwhile.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return m_DisableCount > 0; }

    // --- Filtering (see TFilterExpr for the text)
    const QString& Filter() const { return m_FilterText; }
    // Raises EDatabaseError for a text that cannot be read (nothing changes).
    void SetFilter(const QString& filter);
    bool Filtered() const { return m_Filtered; }
    void SetFiltered(bool filtered);

    // --- Sorting. Keeps the current row (by key).
    virtual bool CanSort() const { return false; }
    void SortBy(const QString& field, Qt::SortOrder order = Qt::AscendingOrder);
    void ClearSort();
    const QString& SortField() const { return m_SortField; }
    Qt::SortOrder SortOrder() const { return m_SortOrder; }

    // --- Keys
    // Fields that identify a row ("A;B"); empty to use the natural key.
    void SetKeyFields(const QString& fields);
    QStringList KeyFields() const;
    QVariantList KeyValues();

    // --- Editing
    bool CanModify() const;
    void Append();
    void Insert();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    // Posts a modified row, cancels an untouched one.
    void CheckBrowseMode();
    bool Modified() const { return m_Modified; }
    // Reads the rows again, staying on the current row where it still exists.
    void Refresh();

    // --- Row access for views (no events, the current row stays)
    // Rows that can be read now without reading further.
    qint64 RowsAvailable();
    bool CanFetchMore() const;
    // Reads up to `rows` more rows; returns how many were added.
    qint64 FetchMore(qint64 rows);
    QVariant RowValue(qint64 row, int column);
    QString RowDisplayText(qint64 row, int column);
    // The current row's position from 0; -1 when there is none.
    qint64 CurrentRow();
    // Makes a row current (with scroll events).
    void MoveToRow(qint64 row);

    // --- Events
    TEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;

protected:
    // A column of the result, as the cursor reports it at open.
    struct TColumnInfo {
        QString Name;
        TFieldType Type = TFieldType::String;
        int Size = 0;
        QString OriginTable;
        QString OriginColumn;
        bool Writable = false;
    };
    // --- Implemented by each kind of dataset
    // Runs the statement; calls DefineColumns; positions on the first row.
    virtual void DoOpen() = 0;
    virtual void DoClose() = 0;
    virtual bool CursorFirst() = 0;
    virtual bool CursorLast() = 0;
    virtual bool CursorNext() = 0;
    virtual bool CursorPrior() = 0;
    virtual QVariantList CursorRecord() = 0;
    virtual bool CursorIsEmpty() = 0;
    // From 0; -1 when there is no current row.
    virtual qint64 CursorRow() = 0;
    virtual bool CursorGotoRow(qint64 row) = 0;
    virtual qint64 CursorRecordCount() = 0;
    virtual bool CursorLocate(const TLocateRequest& request) = 0;
    // The row whose key columns hold exactly these values (case-sensitive,
    // whole values): made current when `move`, else only looked for. The
    // current row stays when there is none.
    virtual bool CursorFindKey(const QList<int>& columns, const QVariantList& values,
                               bool move) = 0;
    // The current row's position when it is known without work; -1 otherwise.
    virtual qint64 CursorKnownRow() { return CursorRow(); }
    virtual bool CursorCanModify() const { return false; }
    // Writes the row; afterwards the cursor is on the written row.
    virtual void CursorPost(bool inserting, const QVariantList& values,
                            const std::vector<bool>& changed);
    // Deletes the current row; afterwards the cursor is on the next row (the
    // previous one when it was the last).
    virtual void CursorDelete();
    // Re-reads the rows (after a change of filter or sort too); afterwards the
    // cursor is on the row with the given key, or near where it was.
    virtual void CursorReload(const QList<int>& keyColumns, const QVariantList& keyValues) = 0;
    // Applies a new sort order; by default like CursorReload.
    virtual void CursorSort(const QList<int>& keyColumns, const QVariantList& keyValues) {
        CursorReload(keyColumns, keyValues);
    }
    virtual qint64 CursorRowsAvailable() = 0;
    virtual bool CursorCanFetchMore() const { return false; }
    virtual qint64 CursorFetchMore(qint64) { return 0; }
    virtual QVariant CursorRowValue(qint64 row, int column) = 0;
    // The key fields to use when none are set.
    virtual QStringList NaturalKeyFields() const { return {}; }
    // Called when the insert row is set up (Append: at the end).
    virtual void CursorInsertStarted(bool append) { Q_UNUSED(append); }

    // --- For the implementations
    void DefineColumns(const QList<TColumnInfo>& columns);
    const TFilterExpr& ActiveFilter() const { return m_Filter; }
    bool FilterActive() const { return m_Filtered && !m_Filter.IsEmpty(); }
    // Columns of the key fields; empty when a key field is missing.
    QList<int> KeyColumns() const;
    void CheckActive() const;
    // The sort column (-1 when unsorted or the field is missing).
    int SortColumn() const;
    // Raises when the dataset cannot be written.
    void CheckCanModify() const;

private:
    friend class TField;
    friend class TDataSource;
    enum class TNotify { RecordChanged, FieldChanged, StateChanged, DataSetChanged, UpdateRecord };

    QVariant FieldStoredValue(const TField& field) const;
    void SetFieldStoredValue(const TField& field, const QVariant& value);
    void AttachSource(TDataSource* source);
    void DetachSource(TDataSource* source);
    void Notify(TNotify what, TField* field = nullptr);
    void Call(const TEvent& event);
    void SetState(TDataSetState state);
    // Starts a new row at the end (append) or before the current row.
    void StartInsert(bool append);
    void LoadCurrent();
    // First (last = false) or Last.
    void MoveToEnd(bool last);
    TFilterExpr BoundFilter(const QString& text) const;
    void Reload(bool sortOnly = false);
    bool GotoBookmarkRow(const TBookmark& bookmark, bool move);
    void DiscardEdit();

    TDatabase* m_pDatabase = nullptr;
    TDataSetState m_State = TDataSetState::Inactive;
    std::vector<std::unique_ptr<TField>> m_AllFields;
    QList<TField*> m_Fields;
    QVariantList m_Current;
    QVariantList m_Edit;
    std::vector<bool> m_Changed;
    bool m_Modified = false;
    bool m_Bof = true;
    bool m_Eof = true;
    QString m_FilterText;
    TFilterExpr m_Filter;
    bool m_Filtered = false;
    QString m_SortField;
    Qt::SortOrder m_SortOrder = Qt::AscendingOrder;
    QString m_KeyFields;
    quint64 m_Generation = 0;
    QList<TDataSource*> m_Sources;
    int m_DisableCount = 0;
    bool m_PendingChange = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TDataSet::TLocateOptions)

// Suspends a dataset's display updates for a scope.
class TControlsDisabled {
public:
    explicit TControlsDisabled(TDataSet* dataSet) : m_pDataSet(dataSet) {
        if (m_pDataSet)
            m_pDataSet->DisableControls();
    }
    ~TControlsDisabled() {
        if (m_pDataSet)
            m_pDataSet->EnableControls();
    }
    TControlsDisabled(const TControlsDisabled&) = delete;
    TControlsDisabled& operator=(const TControlsDisabled&) = delete;

private:
    TDataSet* m_pDataSet;
};
