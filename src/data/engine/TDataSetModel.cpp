#include "data/engine/TDataSetModel.h"

#include "shell/UErrors.h"

#include <QItemSelectionModel>
#include <QLocale>

namespace {

// Rows the grid can address (a model counts rows in int).
int Clamp(qint64 rows) {
    return int(std::min<qint64>(rows, std::numeric_limits<int>::max()));
}

} // namespace

TDataSetModel::TDataSetModel(QObject* parent) : QAbstractTableModel(parent) {}

TDataSetModel::~TDataSetModel() = default;

void TDataSetModel::SetDataSource(TDataSource* source) {
    if (source == m_pSource)
        return;
    for (const auto& connection : std::as_const(m_Connections))
        disconnect(connection);
    m_Connections.clear();
    m_pSource = source;
    ConnectSource();
    Rebuild();
}

void TDataSetModel::SetDataSet(TDataSet* dataSet) {
    if (!m_pOwnSource)
        m_pOwnSource = new TDataSource(this);
    m_pOwnSource->SetDataSet(dataSet);
    if (m_pSource != m_pOwnSource)
        SetDataSource(m_pOwnSource);
}

void TDataSetModel::ConnectSource() {
    if (!m_pSource)
        return;
    m_Connections << connect(m_pSource, &TDataSource::DataSetChanged, this,
                             &TDataSetModel::Rebuild);
    m_Connections << connect(m_pSource, &TDataSource::RecordChanged, this,
                             &TDataSetModel::CurrentRowChanged);
    m_Connections << connect(m_pSource, &TDataSource::FieldChanged, this,
                             &TDataSetModel::RowFieldsChanged);
    m_Connections << connect(m_pSource, &TDataSource::StateChanged, this,
                             &TDataSetModel::RowFieldsChanged);
    m_Connections << connect(m_pSource, &QObject::destroyed, this, [this] {
        m_Connections.clear();
        m_pSource = nullptr;
        Rebuild();
    });
}

void TDataSetModel::SetSelectionModel(QItemSelectionModel* selection) {
    if (m_SelectionConnection)
        disconnect(m_SelectionConnection);
    m_pSelection = selection;
    if (m_pSelection) {
        m_SelectionConnection = connect(
            m_pSelection, &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { SelectionMoved(current); });
        CurrentRowChanged();
    }
}

// ---------------------------------------------------------------------------
// Following the dataset

void TDataSetModel::Rebuild() {
    beginResetModel();
    m_Columns.clear();
    m_Rows = 0;
    TDataSet* dataSet = DataSet();
    if (dataSet && dataSet->Active()) {
        for (TField* field : dataSet->Fields()) {
            if (field->Visible())
                m_Columns << field->Index();
        }
        try {
            // The first page at once, so the grid opens full.
            if (const qint64 have = dataSet->RowsAvailable();
                have < m_FetchSize && dataSet->CanFetchMore())
                dataSet->FetchMore(m_FetchSize - have);
            m_Rows = Clamp(dataSet->RowsAvailable());
        } catch (const EError&) {
            m_Rows = 0;
        }
    }
    endResetModel();
    CurrentRowChanged();
}

void TDataSetModel::CatchUp() {
    TDataSet* dataSet = DataSet();
    if (!dataSet || !dataSet->Active())
        return;
    const int rows = Clamp(dataSet->RowsAvailable());
    if (rows > m_Rows) {
        beginInsertRows({}, m_Rows, rows - 1);
        m_Rows = rows;
        endInsertRows();
    }
}

void TDataSetModel::ReachEnd() {
    // The dataset went to a row past those read (Last reads the end alone):
    // the grid spans every row at once, the ones between are read when shown.
    TDataSet* dataSet = DataSet();
    const int rows = Clamp(dataSet->RecordCount());
    if (rows > m_Rows) {
        beginInsertRows({}, m_Rows, rows - 1);
        m_Rows = rows;
        endInsertRows();
    }
}

void TDataSetModel::CurrentRowChanged() {
    TDataSet* dataSet = DataSet();
    if (!m_pSelection || !dataSet || m_Syncing)
        return;
    qint64 row = -1;
    try {
        CatchUp();
        row = dataSet->CurrentRow();
        if (row >= m_Rows)
            ReachEnd();
    } catch (const EError&) {
        row = -1;
    }
    m_Syncing = true;
    if (row >= 0 && row < m_Rows && !m_Columns.isEmpty()) {
        const int column =
            m_pSelection->currentIndex().isValid()
                ? std::min(m_pSelection->currentIndex().column(), int(m_Columns.size()) - 1)
                : 0;
        m_pSelection->setCurrentIndex(index(int(row), column), QItemSelectionModel::ClearAndSelect |
                                                                   QItemSelectionModel::Rows);
    } else {
        m_pSelection->clearCurrentIndex();
    }
    m_Syncing = false;
}

void TDataSetModel::RowFieldsChanged() {
    TDataSet* dataSet = DataSet();
    if (!dataSet || m_Columns.isEmpty())
        return;
    const qint64 row = dataSet->CurrentRow();
    if (row >= 0 && row < m_Rows)
        Q_EMIT dataChanged(index(int(row), 0), index(int(row), int(m_Columns.size()) - 1));
}

void TDataSetModel::SelectionMoved(const QModelIndex& current) {
    TDataSet* dataSet = DataSet();
    if (m_Syncing || !dataSet || !dataSet->Active() || !current.isValid())
        return;
    m_Syncing = true;
    try {
        if (dataSet->CurrentRow() != current.row())
            dataSet->MoveToRow(current.row());
    } catch (const EError& e) {
        m_Syncing = false;
        ShowError("%s", e.Message());
        CurrentRowChanged();
        return;
    }
    m_Syncing = false;
}

// ---------------------------------------------------------------------------
// The model

TField* TDataSetModel::ColumnField(int column) const {
    TDataSet* dataSet = DataSet();
    if (!dataSet || column < 0 || column >= m_Columns.size())
        return nullptr;
    return dataSet->Field(m_Columns[column]);
}

int TDataSetModel::ColumnOf(const QString& fieldName) const {
    for (int column = 0; column < m_Columns.size(); ++column) {
        if (ColumnField(column)->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return column;
    }
    return -1;
}

int TDataSetModel::SortColumn() const {
    TDataSet* dataSet = DataSet();
    return dataSet && !dataSet->SortField().isEmpty() ? ColumnOf(dataSet->SortField()) : -1;
}

Qt::SortOrder TDataSetModel::SortOrder() const {
    TDataSet* dataSet = DataSet();
    return dataSet ? dataSet->SortOrder() : Qt::AscendingOrder;
}

int TDataSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_Rows;
}

int TDataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_Columns.size());
}

QVariant TDataSetModel::data(const QModelIndex& index, int role) const {
    TDataSet* dataSet = DataSet();
    if (!dataSet || !index.isValid() || index.row() >= m_Rows || index.column() >= m_Columns.size())
        return {};
    const int fieldIndex = m_Columns[index.column()];
    const TField* field = dataSet->Field(fieldIndex);
    if (!field)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        try {
            // The row being edited shows what has been typed so far.
            const bool editing =
                dataSet->State() == TDataSetState::Edit && dataSet->CurrentRow() == index.row();
            if (m_bReadable)
                return ReadableText(*field, editing ? field->StoredValue()
                                                    : dataSet->RowValue(index.row(), fieldIndex));
            return editing ? field->DisplayText()
                           : dataSet->RowDisplayText(index.row(), fieldIndex);
        } catch (const EError&) {
            return {};
        }
    case Qt::TextAlignmentRole:
        if (m_bReadable && field->DataType() == TFieldType::Boolean)
            return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
        if (field->DataType() == TFieldType::Integer || field->DataType() == TFieldType::Float)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

void TDataSetModel::SetDateOnlyFields(const QStringList& fieldNames) {
    m_DateOnly.clear();
    for (const QString& name : fieldNames)
        m_DateOnly << name.toLower();
}

QString TDataSetModel::ReadableText(const TField& field, const QVariant& stored) const {
    const QVariant value = TField::TypedValue(field.DataType(), stored);
    if (value.isNull())
        return {};
    switch (field.DataType()) {
    case TFieldType::Boolean:
        if (value.typeId() != QMetaType::Bool)
            break;
        return value.toBool() ? QStringLiteral("\u2713") : QString();
    case TFieldType::DateTime:
        if (value.typeId() != QMetaType::QDateTime)
            break;
        if (m_DateOnly.contains(field.FieldName().toLower()))
            return QLocale().toString(value.toDateTime().date(), QLocale::ShortFormat);
        return QLocale().toString(value.toDateTime(), QLocale::ShortFormat);
    default:
        break;
    }
    // Fixed-width text keeps no trailing blanks on the screen.
    return TField::DisplayTextOf(field.DataType(), stored).trimmed();
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const TField* field = ColumnField(section);
        return field ? QVariant(field->DisplayLabel()) : QVariant();
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool TDataSetModel::canFetchMore(const QModelIndex& parent) const {
    TDataSet* dataSet = DataSet();
    if (parent.isValid() || !dataSet)
        return false;
    const qint64 available = dataSet->RowsAvailable();
    // Spanning every row already (ReachEnd): nothing to fetch.
    if (available < m_Rows)
        return false;
    return dataSet->CanFetchMore() || available > m_Rows;
}

void TDataSetModel::fetchMore(const QModelIndex& parent) {
    TDataSet* dataSet = DataSet();
    if (parent.isValid() || !dataSet)
        return;
    try {
        if (dataSet->RowsAvailable() <= m_Rows)
            dataSet->FetchMore(m_FetchSize);
    } catch (const EError&) {
    }
    CatchUp();
}

void TDataSetModel::sort(int column, Qt::SortOrder order) {
    TDataSet* dataSet = DataSet();
    const TField* field = ColumnField(column);
    if (!dataSet || !dataSet->Active() || !dataSet->CanSort())
        return;
    try {
        if (!field)
            dataSet->ClearSort();
        else
            dataSet->SortBy(field->FieldName(), order);
    } catch (const EError& e) {
        ShowError("%s", e.Message());
    }
}
