#include "data/engine/TDataSet.h"

#include "data/engine/TDataSource.h"
#include "data/engine/TDatabase.h"

TDataSet::TDataSet(QObject* parent) : QObject(parent) {}

TDataSet::~TDataSet() {
    for (TDataSource* source : std::as_const(m_Sources))
        source->DataSetDestroyed();
}

void TDataSet::SetDatabase(TDatabase* database) {
    if (database == m_pDatabase)
        return;
    Close();
    m_pDatabase = database;
}

// ---------------------------------------------------------------------------
// Notifications and events

void TDataSet::AttachSource(TDataSource* source) {
    if (!m_Sources.contains(source))
        m_Sources << source;
}

void TDataSet::DetachSource(TDataSource* source) {
    m_Sources.removeAll(source);
}

void TDataSet::Notify(TNotify what, TField* field) {
    if (m_DisableCount > 0 && what != TNotify::UpdateRecord) {
        m_PendingChange = true;
        return;
    }
    const auto event = static_cast<TDataSource::TEvent>(what);
    const QList<TDataSource*> sources = m_Sources;
    for (TDataSource* source : sources) {
        if (m_Sources.contains(source))
            source->Notify(event, field);
    }
}

void TDataSet::Call(const TEvent& event) {
    if (event)
        event(*this);
}

void TDataSet::DisableControls() {
    ++m_DisableCount;
}

void TDataSet::EnableControls() {
    if (m_DisableCount == 0 || --m_DisableCount > 0)
        return;
    if (m_PendingChange) {
        m_PendingChange = false;
        Notify(TNotify::StateChanged);
        Notify(TNotify::DataSetChanged);
    }
}

void TDataSet::SetState(TDataSetState state) {
    if (state == m_State)
        return;
    m_State = state;
    Notify(TNotify::StateChanged);
}

void TDataSet::LoadCurrent() {
    m_Current = CursorRecord();
}

void TDataSet::DiscardEdit() {
    m_Edit.clear();
    m_Changed.clear();
    m_Modified = false;
}

void TDataSet::CheckActive() const {
    if (!Active())
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

// ---------------------------------------------------------------------------
// Opening and closing

void TDataSet::Open() {
    if (Active())
        return;
    if (!m_pDatabase || !m_pDatabase->IsOpen())
        throw EDatabaseError(QStringLiteral("The dataset has no open database"));
    Call(BeforeOpen);
    try {
        DoOpen();
    } catch (...) {
        try {
            DoClose();
        } catch (...) {
        }
        for (TField* field : std::as_const(m_Fields))
            field->m_Index = -1;
        m_Fields.clear();
        throw;
    }
    m_State = TDataSetState::Browse;
    ++m_Generation;
    DiscardEdit();
    LoadCurrent();
    m_Bof = true;
    m_Eof = m_Current.isEmpty();
    Notify(TNotify::StateChanged);
    Notify(TNotify::DataSetChanged);
    Call(AfterOpen);
    if (!m_Eof)
        Call(AfterScroll);
}

void TDataSet::Close() {
    if (!Active())
        return;
    Call(BeforeClose);
    DiscardEdit();
    m_State = TDataSetState::Inactive;
    try {
        DoClose();
    } catch (...) {
    }
    for (TField* field : std::as_const(m_Fields))
        field->m_Index = -1;
    m_Fields.clear();
    m_Current.clear();
    m_Bof = m_Eof = true;
    Notify(TNotify::StateChanged);
    Notify(TNotify::DataSetChanged);
    Call(AfterClose);
}

void TDataSet::SetActive(bool active) {
    if (active)
        Open();
    else
        Close();
}

// ---------------------------------------------------------------------------
// Fields

void TDataSet::DefineColumns(const QList<TColumnInfo>& columns) {
    for (TField* field : std::as_const(m_Fields))
        field->m_Index = -1;
    m_Fields.clear();
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const TColumnInfo& column = columns[i];
        // A repeated column name gets a suffix, as the second CustomerID of a
        // join becomes CustomerID_1.
        QString name = column.Name;
        for (int n = 1; FindField(name); ++n)
            name = column.Name + QLatin1Char('_') + QString::number(n);
        TField* field = nullptr;
        for (const auto& candidate : m_AllFields) {
            if (candidate->m_Name.compare(name, Qt::CaseInsensitive) == 0) {
                field = candidate.get();
                break;
            }
        }
        if (!field) {
            m_AllFields.push_back(std::make_unique<TField>(this, name));
            field = m_AllFields.back().get();
        }
        field->m_Index = int(i);
        field->m_Type = column.Type;
        field->m_DeclaredSize = column.Size;
        if (!field->m_SizeSet)
            field->m_Size = column.Size;
        field->m_OriginTable = column.OriginTable;
        field->m_OriginColumn = column.OriginColumn;
        field->m_Writable = column.Writable;
        m_Fields << field;
    }
    m_Filter = m_Filtered ? BoundFilter(m_FilterText) : TFilterExpr();
}

TField* TDataSet::Field(int index) const {
    return index >= 0 && index < m_Fields.size() ? m_Fields[index] : nullptr;
}

TField* TDataSet::FindField(const QString& name) const {
    for (TField* field : m_Fields) {
        if (field->m_Name.compare(name, Qt::CaseInsensitive) == 0)
            return field;
    }
    return nullptr;
}

TField& TDataSet::FieldByName(const QString& name) const {
    TField* field = FindField(name);
    if (!field)
        throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(name));
    return *field;
}

TField& TDataSet::DefineField(const QString& name) {
    for (const auto& field : m_AllFields) {
        if (field->m_Name.compare(name, Qt::CaseInsensitive) == 0)
            return *field;
    }
    m_AllFields.push_back(std::make_unique<TField>(this, name));
    return *m_AllFields.back();
}

QVariant TDataSet::FieldStoredValue(const TField& field) const {
    if (!Active())
        return {};
    if (field.m_Index < 0)
        throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(field.m_Name));
    const QVariantList& values =
        (m_State == TDataSetState::Edit || m_State == TDataSetState::Insert) ? m_Edit : m_Current;
    return field.m_Index < values.size() ? values[field.m_Index] : QVariant();
}

void TDataSet::SetFieldStoredValue(const TField& field, const QVariant& value) {
    CheckActive();
    if (field.m_Index < 0)
        throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(field.m_Name));
    if (m_State != TDataSetState::Edit && m_State != TDataSetState::Insert)
        throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    if (field.ReadOnly())
        throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(field.m_Name));
    m_Edit[field.m_Index] = value;
    m_Changed[size_t(field.m_Index)] = true;
    m_Modified = true;
    Notify(TNotify::FieldChanged, const_cast<TField*>(&field));
}

// ---------------------------------------------------------------------------
// Navigation

void TDataSet::First() {
    MoveToEnd(false);
}

void TDataSet::Last() {
    MoveToEnd(true);
}

void TDataSet::MoveToEnd(bool last) {
    CheckActive();
    CheckBrowseMode();
    Call(BeforeScroll);
    if (last)
        CursorLast();
    else
        CursorFirst();
    LoadCurrent();
    // At the end reached; at the other one only when there is no row.
    m_Bof = !last || m_Current.isEmpty();
    m_Eof = last || m_Current.isEmpty();
    Notify(TNotify::RecordChanged);
    Call(AfterScroll);
}

void TDataSet::Next() {
    MoveBy(1);
}

void TDataSet::Prior() {
    MoveBy(-1);
}

qint64 TDataSet::MoveBy(qint64 distance) {
    CheckActive();
    CheckBrowseMode();
    Call(BeforeScroll);
    qint64 moved = 0;
    if (distance > 0) {
        while (moved < distance && CursorNext())
            ++moved;
        m_Eof = moved < distance;
        if (moved > 0)
            m_Bof = false;
    } else if (distance < 0) {
        while (moved > distance && CursorPrior())
            --moved;
        m_Bof = moved > distance;
        if (moved < 0)
            m_Eof = false;
    }
    if (moved != 0) {
        LoadCurrent();
        Notify(TNotify::RecordChanged);
    }
    Call(AfterScroll);
    return moved;
}

bool TDataSet::IsEmpty() {
    if (!Active())
        return true;
    return m_State != TDataSetState::Insert && CursorIsEmpty();
}

qint64 TDataSet::RecNo() {
    if (!Active() || m_State == TDataSetState::Insert)
        return 0;
    return CursorRow() + 1;
}

void TDataSet::SetRecNo(qint64 recNo) {
    CheckActive();
    CheckBrowseMode();
    if (recNo < 1)
        return;
    Call(BeforeScroll);
    if (CursorGotoRow(recNo - 1)) {
        LoadCurrent();
        m_Bof = m_Eof = false;
        Notify(TNotify::RecordChanged);
    }
    Call(AfterScroll);
}

qint64 TDataSet::RecordCount() {
    return Active() ? CursorRecordCount() : 0;
}

bool TDataSet::Locate(const QString& fields, const QVariant& values, TLocateOptions options) {
    CheckActive();
    const TLocateRequest request = TLocateRequest::For(
        *this, fields, values, options.testFlag(CaseInsensitive), options.testFlag(PartialKey));
    CheckBrowseMode();
    Call(BeforeScroll);
    if (!CursorLocate(request))
        return false;
    LoadCurrent();
    m_Bof = m_Eof = false;
    Notify(TNotify::RecordChanged);
    Call(AfterScroll);
    return true;
}

// ---------------------------------------------------------------------------
// Keys and bookmarks

void TDataSet::SetKeyFields(const QString& fields) {
    m_KeyFields = fields;
}

QStringList TDataSet::KeyFields() const {
    const QStringList names = TField::SplitNames(m_KeyFields);
    return names.isEmpty() ? NaturalKeyFields() : names;
}

QList<int> TDataSet::KeyColumns() const {
    QList<int> columns;
    for (const QString& name : KeyFields()) {
        const TField* field = FindField(name);
        if (!field)
            return {};
        columns << field->m_Index;
    }
    return columns;
}

QVariantList TDataSet::KeyValues() {
    QVariantList values;
    if (m_Current.isEmpty())
        return values;
    for (const int column : KeyColumns())
        values << m_Current.value(column);
    return values;
}

TBookmark TDataSet::GetBookmark() {
    TBookmark bookmark;
    if (!Active() || m_Current.isEmpty())
        return bookmark;
    bookmark.Key = KeyValues();
    bookmark.Row = bookmark.Key.isEmpty() ? CursorRow() : CursorKnownRow();
    bookmark.Generation = m_Generation;
    return bookmark;
}

bool TDataSet::GotoBookmarkRow(const TBookmark& bookmark, bool move) {
    const QList<int> keys = KeyColumns();
    const bool byKey = !bookmark.Key.isEmpty() && keys.size() == bookmark.Key.size();
    if (bookmark.Row >= 0 && bookmark.Generation == m_Generation) {
        bool same = bookmark.Row < CursorRowsAvailable();
        for (qsizetype i = 0; same && byKey && i < keys.size(); ++i)
            same = CursorRowValue(bookmark.Row, keys[i]) == bookmark.Key[i];
        if (same)
            return !move || CursorGotoRow(bookmark.Row);
    }
    return byKey && CursorFindKey(keys, bookmark.Key, move);
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
    CheckActive();
    CheckBrowseMode();
    if (bookmark.IsNull())
        throw EDatabaseError(QStringLiteral("Record not found"));
    Call(BeforeScroll);
    if (!GotoBookmarkRow(bookmark, true))
        throw EDatabaseError(QStringLiteral("Record not found"));
    LoadCurrent();
    m_Bof = m_Eof = false;
    Notify(TNotify::RecordChanged);
    Call(AfterScroll);
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) {
    return Active() && !bookmark.IsNull() && GotoBookmarkRow(bookmark, false);
}

// ---------------------------------------------------------------------------
// Filtering, sorting, refreshing

TFilterExpr TDataSet::BoundFilter(const QString& text) const {
    TFilterExpr expr = TFilterExpr::Parse(text);
    expr.Bind([this](const QString& name, TFieldType& type) {
        const TField* field = FindField(name);
        if (!field)
            return -1;
        type = field->DataType();
        return field->m_Index;
    });
    return expr;
}

void TDataSet::SetFilter(const QString& filter) {
    TFilterExpr parsed = TFilterExpr::Parse(filter);
    if (Active() && m_Filtered) {
        CheckBrowseMode();
        parsed = BoundFilter(filter);
        m_FilterText = filter;
        m_Filter = std::move(parsed);
        Reload();
        Notify(TNotify::DataSetChanged);
        return;
    }
    m_FilterText = filter;
}

void TDataSet::SetFiltered(bool filtered) {
    if (filtered == m_Filtered)
        return;
    if (!Active()) {
        m_Filtered = filtered;
        return;
    }
    CheckBrowseMode();
    TFilterExpr parsed = filtered ? BoundFilter(m_FilterText) : TFilterExpr();
    m_Filtered = filtered;
    m_Filter = std::move(parsed);
    Reload();
    Notify(TNotify::DataSetChanged);
}

int TDataSet::SortColumn() const {
    if (m_SortField.isEmpty())
        return -1;
    const TField* field = FindField(m_SortField);
    return field ? field->m_Index : -1;
}

void TDataSet::SortBy(const QString& field, Qt::SortOrder order) {
    if (!CanSort())
        throw EDatabaseError(QStringLiteral("This dataset keeps the order of its key"));
    if (Active()) {
        CheckBrowseMode();
        FieldByName(field);
    }
    m_SortField = field;
    m_SortOrder = order;
    if (Active()) {
        Reload(true);
        Notify(TNotify::DataSetChanged);
    }
}

void TDataSet::ClearSort() {
    if (m_SortField.isEmpty())
        return;
    if (Active())
        CheckBrowseMode();
    m_SortField.clear();
    m_SortOrder = Qt::AscendingOrder;
    if (Active()) {
        Reload();
        Notify(TNotify::DataSetChanged);
    }
}

void TDataSet::Reload(bool sortOnly) {
    const QList<int> keys = KeyColumns();
    QVariantList values;
    if (!m_Current.isEmpty())
        for (const int column : keys)
            values << m_Current.value(column);
    try {
        if (sortOnly)
            CursorSort(keys, values);
        else
            CursorReload(keys, values);
    } catch (...) {
        // The rows are gone with the failed statement: the dataset closes.
        Close();
        throw;
    }
    ++m_Generation;
    LoadCurrent();
    m_Bof = m_Eof = m_Current.isEmpty();
}

void TDataSet::Refresh() {
    CheckActive();
    CheckBrowseMode();
    Reload();
    Notify(TNotify::DataSetChanged);
}

// ---------------------------------------------------------------------------
// Editing

bool TDataSet::CanModify() const {
    return Active() && CursorCanModify();
}

void TDataSet::CheckCanModify() const {
    if (!CanModify())
        throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}

void TDataSet::CheckBrowseMode() {
    CheckActive();
    if (m_State == TDataSetState::Edit || m_State == TDataSetState::Insert) {
        Notify(TNotify::UpdateRecord);
        if (m_Modified)
            Post();
        else
            Cancel();
    }
}

void TDataSet::Append() {
    StartInsert(true);
}

void TDataSet::Insert() {
    StartInsert(false);
}

void TDataSet::StartInsert(bool append) {
    CheckActive();
    CheckBrowseMode();
    CheckCanModify();
    Call(BeforeInsert);
    Call(BeforeScroll);
    CursorInsertStarted(append);
    m_Edit = QVariantList(m_Fields.size());
    m_Changed.assign(size_t(m_Fields.size()), false);
    m_Modified = false;
    SetState(TDataSetState::Insert);
    m_Bof = m_Eof = false;
    Notify(TNotify::RecordChanged);
    Call(AfterInsert);
    Call(AfterScroll);
}

void TDataSet::Edit() {
    CheckActive();
    if (m_State == TDataSetState::Edit || m_State == TDataSetState::Insert)
        return;
    if (IsEmpty()) {
        Insert();
        return;
    }
    CheckCanModify();
    Call(BeforeEdit);
    m_Edit = m_Current;
    m_Changed.assign(size_t(m_Fields.size()), false);
    m_Modified = false;
    SetState(TDataSetState::Edit);
    Call(AfterEdit);
}

void TDataSet::Post() {
    CheckActive();
    if (m_State != TDataSetState::Edit && m_State != TDataSetState::Insert)
        return;
    Notify(TNotify::UpdateRecord);
    Call(BeforePost);
    const bool inserting = m_State == TDataSetState::Insert;
    CursorPost(inserting, m_Edit, m_Changed);
    DiscardEdit();
    // A new row shifts the positions after it; a changed one keeps its place
    // (or, in key order, is found by its key).
    if (inserting)
        ++m_Generation;
    LoadCurrent();
    m_Bof = m_Eof = m_Current.isEmpty();
    SetState(TDataSetState::Browse);
    Notify(TNotify::DataSetChanged);
    Call(AfterPost);
}

void TDataSet::Cancel() {
    if (m_State != TDataSetState::Edit && m_State != TDataSetState::Insert)
        return;
    Call(BeforeCancel);
    const bool inserting = m_State == TDataSetState::Insert;
    DiscardEdit();
    LoadCurrent();
    if (inserting)
        m_Bof = m_Eof = m_Current.isEmpty();
    SetState(TDataSetState::Browse);
    Notify(TNotify::RecordChanged);
    Call(AfterCancel);
}

void TDataSet::Delete() {
    CheckActive();
    if (m_State == TDataSetState::Insert) {
        Cancel();
        return;
    }
    if (IsEmpty())
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    CheckCanModify();
    Call(BeforeDelete);
    Call(BeforeScroll);
    CursorDelete();
    DiscardEdit();
    ++m_Generation;
    LoadCurrent();
    m_Bof = m_Eof = m_Current.isEmpty();
    SetState(TDataSetState::Browse);
    Notify(TNotify::DataSetChanged);
    Call(AfterDelete);
    Call(AfterScroll);
}

void TDataSet::CursorPost(bool, const QVariantList&, const std::vector<bool>&) {
    throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}

void TDataSet::CursorDelete() {
    throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}

// ---------------------------------------------------------------------------
// Row access for views

qint64 TDataSet::RowsAvailable() {
    return Active() ? CursorRowsAvailable() : 0;
}

bool TDataSet::CanFetchMore() const {
    return Active() && CursorCanFetchMore();
}

qint64 TDataSet::FetchMore(qint64 rows) {
    return Active() ? CursorFetchMore(rows) : 0;
}

QVariant TDataSet::RowValue(qint64 row, int column) {
    if (!Active() || column < 0 || column >= m_Fields.size() || row < 0)
        return {};
    return CursorRowValue(row, column);
}

QString TDataSet::RowDisplayText(qint64 row, int column) {
    if (!Active() || column < 0 || column >= m_Fields.size())
        return {};
    return TField::DisplayTextOf(m_Fields[column]->DataType(), RowValue(row, column));
}

qint64 TDataSet::CurrentRow() {
    return Active() && !m_Current.isEmpty() ? CursorRow() : -1;
}

void TDataSet::MoveToRow(qint64 row) {
    SetRecNo(row + 1);
}
