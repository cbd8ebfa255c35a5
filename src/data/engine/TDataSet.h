#pragma once

// Datasets: rows of a table (TTable) or of a SELECT (TQuery) with a current
// row, fields, navigation, editing and the events the data module hangs its
// rules on.
//
// Design
// ------
// The database may hold twenty years of a workshop's work (a million calls,
// three million comment lines), so no dataset ever copies a whole table or
// result into memory up front, and nothing keeps rows as QVariants except the
// one current row and the row being edited.
//
// TQuery keeps its SQLite statement open and steps it only as far as someone
// looks: opening reads one row, a grid asks for pages as it scrolls
// (CanFetchMore/FetchMore), Locate reads on until it finds a match. Rows read
// are kept in a TRowStore: one compact byte run per row with an 8-byte index
// entry (about 160 bytes a row for the joined calls list), never as QVariants.
// When the last row has been read the statement is finalized. RecordCount asks
// SQLite (SELECT COUNT(*) over the statement, without its closing ORDER BY)
// instead of reading every row. Last reads only the end: the statement's last
// rows, turned round and LIMITed when it ends in an ORDER BY of columns that
// take in the key (so the order is known), or else counted and read with
// OFFSET; they are kept apart until reading from the start reaches them, so
// Prior and Next go on from there. Filters are evaluated as rows are read, on
// the stored bytes, so the store holds only rows that pass.
//
// Sorting by a column does not re-run the statement with ORDER BY (SQLite
// would sort whole wide rows of the join). A narrow statement reads only the
// key columns, the sort column and the columns the filter looks at, for every
// row (SQLite leaves out the joins those do not need), and the filter is
// evaluated on them; TKeyedRows keeps these narrow rows and sorts them in
// memory (one byte key per row compared by memcmp, the same order as ORDER BY
// column COLLATE NOCASE, key). Whole rows are then read a page at a time by
// key (WHERE key IN (...), through the primary key index) when a grid or the
// cursor looks at them; only the last pages are kept. Every row counts as
// available at once (RowsAvailable is the count), positions are exact, and
// sorting again by a held column (back to the key, say) is done in memory
// without SQL. Where the rows have no key that tells them apart (a key column
// missing, null or repeated), sorting falls back to the statement wrapped in
// SELECT * FROM (...) ORDER BY. When every row has already been read, the
// store's index is re-ordered in memory with the same rules. Either way the
// current row is found again by its key.
//
// Locate scans what is held (ASCII fast path for case-insensitive prefix
// search) and continues reading when needed, so the first match in the
// dataset's current order wins; on rows held by key it first reads a searched
// column that is not held yet for every row, once. Before it reads on, it asks
// an index of the table behind a searched text field (when the field's values
// come straight from that column, as sqlite3_column_table_name tells) whether
// any row could match at all, by ranges that follow the same matching rules;
// when none can, Locate fails without reading the rest.
//
// A Locate by the key far into an unsorted statement (a plain table with
// LEFT JOINs and nothing after them) does not read the whole rows up to the
// match: it reads only the keys, in the statement's own order (the first
// table scanned NOT INDEXED, as the wide statement scans it), checks that the
// rows already read come first in that list, and from then on holds the rows
// by key as a sorted query does. When the plans or the first keys disagree it
// reads on as before.
//
// TTable never holds a statement open between calls and never reads more than
// a window of rows around the current one. Its order is the primary key's;
// Next/Prior page through it with keyset queries (WHERE key > :last ORDER BY
// key) that walk the primary key index, First/Last read the ends, and the
// position (RecNo) is counted with SQL only when asked. Locate on the primary
// key is an index lookup; other Locates are one SQL scan in key order with a
// registered match function that applies exactly the in-memory rules. Post and
// Delete write through at once with UPDATE/INSERT/DELETE by primary key (by
// rowid when a table has none) and read the written row back, so the row shows
// what the file holds.
//
// A live TQuery (RequestLive, on a single table whose key columns are in the
// result) writes through the same way and keeps its rows in place.
//
// Rows are addressed by key wherever a position could go stale: bookmarks
// carry the row's key values besides its position, and Refresh, sorting and
// filtering find the current row again by key. The key is the table's primary
// key (TTable), or, for a query, the key of the table behind its first column
// when all of that key's columns are in the result; SetKeyFields overrides it.
//
// Events are std::function members called with the dataset, in the order of
// the classic dataset model; a handler that raises stops the operation (a
// Before... handler before anything has changed). Display updates go through
// TDataSource signals (detail queries follow through a TDataLink) and can be
// suspended with DisableControls.

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
