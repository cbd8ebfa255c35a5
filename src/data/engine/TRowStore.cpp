#include "data/engine/TRowStore.h"

#include <algorithm>
#include <cstring>
#include <sqlite3.h>

namespace {

constexpr uint32_t ChunkSize = 1u << 20;

void PutVarint(std::string& out, quint64 value) {
    while (value >= 0x80) {
        out.push_back(char((value & 0x7f) | 0x80));
        value >>= 7;
    }
    out.push_back(char(value));
}

quint64 GetVarint(const char*& p) {
    quint64 value = 0;
    int shift = 0;
    for (;;) {
        const auto byte = static_cast<unsigned char>(*p++);
        value |= quint64(byte & 0x7f) << shift;
        if (!(byte & 0x80))
            return value;
        shift += 7;
    }
}

quint64 ZigZag(qint64 v) {
    return (quint64(v) << 1) ^ quint64(v >> 63);
}

qint64 UnZigZag(quint64 v) {
    return qint64(v >> 1) ^ -qint64(v & 1);
}

void Encode(std::string& out, const TCell& cell) {
    out.push_back(char(cell.Kind));
    switch (cell.Kind) {
    case TCell::Null:
        break;
    case TCell::Integer:
        PutVarint(out, ZigZag(cell.Int));
        break;
    case TCell::Float: {
        char raw[sizeof(double)];
        std::memcpy(raw, &cell.Real, sizeof raw);
        out.append(raw, sizeof raw);
        break;
    }
    case TCell::Text:
    case TCell::Blob:
        PutVarint(out, cell.Bytes.size());
        out.append(cell.Bytes.data(), cell.Bytes.size());
        break;
    }
}

// Reads one cell at `p` and moves `p` past it.
TCell Decode(const char*& p) {
    TCell cell;
    cell.Kind = static_cast<TCell::TKind>(*p++);
    switch (cell.Kind) {
    case TCell::Null:
        break;
    case TCell::Integer:
        cell.Int = UnZigZag(GetVarint(p));
        break;
    case TCell::Float:
        std::memcpy(&cell.Real, p, sizeof(double));
        p += sizeof(double);
        break;
    case TCell::Text:
    case TCell::Blob: {
        const auto size = size_t(GetVarint(p));
        cell.Bytes = std::string_view(p, size);
        p += size;
        break;
    }
    }
    return cell;
}

} // namespace

// ---------------------------------------------------------------------------
// TCell

QVariant TCell::ToVariant() const {
    switch (Kind) {
    case Null:
        return {};
    case Integer:
        return Int;
    case Float:
        return Real;
    case Text:
        return QString::fromUtf8(Bytes.data(), qsizetype(Bytes.size()));
    case Blob:
        return QByteArray(Bytes.data(), qsizetype(Bytes.size()));
    }
    return {};
}

QString TCell::ToText() const {
    switch (Kind) {
    case Null:
        return {};
    case Integer:
        return QString::number(Int);
    case Float:
        return QString::number(Real, 'g', 15);
    case Text:
    case Blob:
        return QString::fromUtf8(Bytes.data(), qsizetype(Bytes.size()));
    }
    return {};
}

TCell TCell::FromVariant(const QVariant& stored, QByteArray& holder) {
    TCell cell;
    if (stored.isNull() || !stored.isValid())
        return cell;
    switch (stored.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
        cell.Kind = Integer;
        cell.Int = stored.toLongLong();
        return cell;
    case QMetaType::Double:
    case QMetaType::Float:
        cell.Kind = Float;
        cell.Real = stored.toDouble();
        return cell;
    case QMetaType::QByteArray:
        holder = stored.toByteArray();
        cell.Kind = Blob;
        break;
    default:
        holder = stored.toString().toUtf8();
        cell.Kind = Text;
        break;
    }
    cell.Bytes = std::string_view(holder.constData(), size_t(holder.size()));
    return cell;
}

TCell TCell::FromStatement(sqlite3_stmt* stmt, int column) {
    TCell cell;
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        cell.Kind = Integer;
        cell.Int = sqlite3_column_int64(stmt, column);
        break;
    case SQLITE_FLOAT:
        cell.Kind = Float;
        cell.Real = sqlite3_column_double(stmt, column);
        break;
    case SQLITE_TEXT: {
        cell.Kind = Text;
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        cell.Bytes = std::string_view(text ? text : "", size_t(sqlite3_column_bytes(stmt, column)));
        break;
    }
    case SQLITE_BLOB: {
        cell.Kind = Blob;
        const auto* blob = static_cast<const char*>(sqlite3_column_blob(stmt, column));
        cell.Bytes = std::string_view(blob ? blob : "", size_t(sqlite3_column_bytes(stmt, column)));
        break;
    }
    default:
        break;
    }
    return cell;
}

TCell TCell::FromValue(sqlite3_value* value) {
    TCell cell;
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        cell.Kind = Integer;
        cell.Int = sqlite3_value_int64(value);
        break;
    case SQLITE_FLOAT:
        cell.Kind = Float;
        cell.Real = sqlite3_value_double(value);
        break;
    case SQLITE_TEXT: {
        cell.Kind = Text;
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        cell.Bytes = std::string_view(text ? text : "", size_t(sqlite3_value_bytes(value)));
        break;
    }
    case SQLITE_BLOB: {
        cell.Kind = Blob;
        const auto* blob = static_cast<const char*>(sqlite3_value_blob(value));
        cell.Bytes = std::string_view(blob ? blob : "", size_t(sqlite3_value_bytes(value)));
        break;
    }
    default:
        break;
    }
    return cell;
}

// ---------------------------------------------------------------------------
// TRecordRow

TRecordRow::TRecordRow(const QVariantList& values)
    : m_Values(values), m_Holders(size_t(values.size())), m_Cells(size_t(values.size())),
      m_Converted(size_t(values.size()), false) {}

TCell TRecordRow::Cell(int column) const {
    if (column < 0 || column >= m_Values.size())
        return {};
    const auto at = size_t(column);
    if (!m_Converted[at]) {
        m_Cells[at] = TCell::FromVariant(m_Values[column], m_Holders[at]);
        m_Converted[at] = true;
    }
    return m_Cells[at];
}

// ---------------------------------------------------------------------------
// TRowStore

class TRowStore::TRefRow : public TRowView {
public:
    TRefRow(const TRowStore& store, quint64 ref) : m_Store(store), m_Ref(ref) {}
    TCell Cell(int column) const override {
        const char* p = m_Store.Bytes(m_Ref).data();
        TCell cell;
        for (int i = 0; i <= column; ++i)
            cell = Decode(p);
        return cell;
    }

private:
    const TRowStore& m_Store;
    quint64 m_Ref;
};

TRowStore::TRowStore(int columns) : m_Columns(columns) {}

TRowStore::~TRowStore() = default;

void TRowStore::Reset(int columns) {
    m_Columns = columns;
    m_Chunks.clear();
    m_Index.clear();
    m_Index.shrink_to_fit();
    m_Wasted = 0;
}

std::string_view TRowStore::Bytes(quint64 ref) const {
    const TChunk& chunk = m_Chunks[size_t(ref >> 32)];
    const auto offset = uint32_t(ref & 0xffffffffu);
    return std::string_view(chunk.Data.get() + offset, chunk.Used - offset);
}

quint64 TRowStore::Store(const std::string& encoded) {
    const auto size = uint32_t(encoded.size());
    if (m_Chunks.empty() || m_Chunks.back().Capacity - m_Chunks.back().Used < size) {
        TChunk chunk;
        chunk.Capacity = std::max(ChunkSize, size);
        chunk.Data.reset(new char[chunk.Capacity]);
        m_Chunks.push_back(std::move(chunk));
    }
    TChunk& chunk = m_Chunks.back();
    std::memcpy(chunk.Data.get() + chunk.Used, encoded.data(), size);
    const quint64 ref = (quint64(m_Chunks.size() - 1) << 32) | chunk.Used;
    chunk.Used += size;
    return ref;
}

void TRowStore::Append(const TRowView& row) {
    m_Scratch.clear();
    for (int c = 0; c < m_Columns; ++c)
        Encode(m_Scratch, row.Cell(c));
    m_Index.push_back(Store(m_Scratch));
}

void TRowStore::Append(const QVariantList& record) {
    Append(TRecordRow(record));
}

void TRowStore::Insert(qint64 at, const QVariantList& record) {
    Append(record);
    const quint64 ref = m_Index.back();
    m_Index.pop_back();
    m_Index.insert(m_Index.begin() + at, ref);
}

void TRowStore::Replace(qint64 at, const QVariantList& record) {
    const quint64 old = m_Index[size_t(at)];
    m_Scratch.clear();
    {
        TRecordRow row(record);
        for (int c = 0; c < m_Columns; ++c)
            Encode(m_Scratch, row.Cell(c));
    }
    m_Index[size_t(at)] = Store(m_Scratch);
    const char* p = Bytes(old).data();
    const char* start = p;
    for (int c = 0; c < m_Columns; ++c)
        Decode(p);
    m_Wasted += p - start;
    Compact();
}

void TRowStore::Remove(qint64 at) {
    const quint64 old = m_Index[size_t(at)];
    const char* p = Bytes(old).data();
    const char* start = p;
    for (int c = 0; c < m_Columns; ++c)
        Decode(p);
    m_Wasted += p - start;
    m_Index.erase(m_Index.begin() + at);
    Compact();
}

void TRowStore::Compact() {
    qint64 used = 0;
    for (const TChunk& chunk : m_Chunks)
        used += chunk.Used;
    if (m_Wasted < qint64(ChunkSize) * 4 || m_Wasted * 2 < used)
        return;
    std::vector<TChunk> old;
    old.swap(m_Chunks);
    std::vector<quint64> index;
    index.swap(m_Index);
    m_Wasted = 0;
    for (const quint64 ref : index) {
        const TChunk& chunk = old[size_t(ref >> 32)];
        const char* start = chunk.Data.get() + uint32_t(ref & 0xffffffffu);
        const char* p = start;
        for (int c = 0; c < m_Columns; ++c)
            Decode(p);
        m_Scratch.assign(start, size_t(p - start));
        m_Index.push_back(Store(m_Scratch));
    }
}

TCell TRowStore::Cell(qint64 row, int column) const {
    if (row < 0 || row >= Count() || column < 0 || column >= m_Columns)
        return {};
    return TRefRow(*this, m_Index[size_t(row)]).Cell(column);
}

QVariant TRowStore::Value(qint64 row, int column) const {
    return Cell(row, column).ToVariant();
}

QVariantList TRowStore::Record(qint64 row) const {
    QVariantList record;
    if (row < 0 || row >= Count())
        return record;
    record.reserve(m_Columns);
    const char* p = Bytes(m_Index[size_t(row)]).data();
    for (int c = 0; c < m_Columns; ++c)
        record << Decode(p).ToVariant();
    return record;
}

void TRowStore::Permute(const std::vector<qint64>& order) {
    std::vector<quint64> index;
    index.reserve(order.size());
    for (const qint64 from : order)
        index.push_back(m_Index[size_t(from)]);
    m_Index.swap(index);
}

qint64 TRowStore::Find(quint64 rowId) const {
    const auto it = std::find(m_Index.begin(), m_Index.end(), rowId);
    return it == m_Index.end() ? -1 : qint64(it - m_Index.begin());
}

qint64 TRowStore::MemoryUsage() const {
    qint64 bytes = qint64(m_Index.capacity() * sizeof(quint64));
    for (const TChunk& chunk : m_Chunks)
        bytes += chunk.Capacity;
    return bytes;
}
