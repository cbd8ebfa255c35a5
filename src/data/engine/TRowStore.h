#pragma once

// Compact storage of result rows. A row is encoded as one run of bytes: per
// column a tag byte, then a zig-zag varint (integer), eight bytes (float) or a
// varint length and the UTF-8 bytes (text, blob). Runs are packed into chunks
// of about a megabyte; rows are reached through an index of 8-byte references,
// so a row of thirteen short columns costs its text plus some 30 bytes, and
// rows can be inserted, replaced, removed and re-ordered by moving references.

#include <QList>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

struct sqlite3_stmt;
struct sqlite3_value;

// One value as stored, read without copying. Text and blob bytes stay valid
// until the store (or the statement the cell was read from) changes.
struct TCell {
    enum TKind : unsigned char { Null, Integer, Float, Text, Blob };
    TKind Kind = Null;
    qint64 Int = 0;
    double Real = 0;
    std::string_view Bytes;

    bool IsNull() const { return Kind == Null; }
    bool IsNumber() const { return Kind == Integer || Kind == Float; }
    // Null or an empty text.
    bool IsBlank() const {
        return Kind == Null || ((Kind == Text || Kind == Blob) && Bytes.empty());
    }
    // The value in stored form: null, qint64, double or QString.
    QVariant ToVariant() const;
    // The text of the value ('' for null, decimal digits for numbers).
    QString ToText() const;

    static TCell FromVariant(const QVariant& stored, QByteArray& holder);
    static TCell FromStatement(sqlite3_stmt* stmt, int column);
    static TCell FromValue(sqlite3_value* value);
};

// A row that cells can be read from.
class TRowView {
public:
    virtual ~TRowView() = default;
    virtual TCell Cell(int column) const = 0;
};

// The current row of a SQLite statement.
class TStatementRow : public TRowView {
public:
    explicit TStatementRow(sqlite3_stmt* stmt) : m_pStmt(stmt) {}
    TCell Cell(int column) const override { return TCell::FromStatement(m_pStmt, column); }

private:
    sqlite3_stmt* m_pStmt;
};

// A row held as stored QVariants. Each column is converted once, on its first
// read, so the bytes of every cell handed out stay valid as long as the view
// (a filter may read one column on both sides of a comparison).
class TRecordRow : public TRowView {
public:
    explicit TRecordRow(const QVariantList& values);
    TCell Cell(int column) const override;

private:
    const QVariantList& m_Values;
    mutable std::vector<QByteArray> m_Holders;
    mutable std::vector<TCell> m_Cells;
    mutable std::vector<bool> m_Converted;
};

class TRowStore {
public:
    explicit TRowStore(int columns = 0);
    ~TRowStore();
    TRowStore(const TRowStore&) = delete;
    TRowStore& operator=(const TRowStore&) = delete;

    // Empties the store for rows of `columns` columns.
    void Reset(int columns);
    int ColumnCount() const { return m_Columns; }
    qint64 Count() const { return qint64(m_Index.size()); }

    void Append(const TRowView& row);
    void Append(const QVariantList& record);
    void Insert(qint64 at, const QVariantList& record);
    void Replace(qint64 at, const QVariantList& record);
    void Remove(qint64 at);

    TCell Cell(qint64 row, int column) const;
    QVariant Value(qint64 row, int column) const;
    QVariantList Record(qint64 row) const;

    // A view of one stored row.
    class TRow : public TRowView {
    public:
        TRow(const TRowStore& store, qint64 row) : m_Store(store), m_Row(row) {}
        TCell Cell(int column) const override { return m_Store.Cell(m_Row, column); }

    private:
        const TRowStore& m_Store;
        qint64 m_Row;
    };

    // Identity of a stored row that survives re-ordering (not replacing).
    quint64 RowId(qint64 row) const { return m_Index[size_t(row)]; }
    // Re-orders the rows: row i becomes the row that was at order[i].
    void Permute(const std::vector<qint64>& order);
    // Position of a row identity; -1 when none.
    qint64 Find(quint64 rowId) const;

    // Bytes held by the chunks and the index.
    qint64 MemoryUsage() const;

private:
    struct TChunk {
        std::unique_ptr<char[]> Data;
        uint32_t Capacity = 0;
        uint32_t Used = 0;
    };
    class TRefRow;

    std::string_view Bytes(quint64 ref) const;
    quint64 Store(const std::string& encoded);
    void Compact();

    int m_Columns = 0;
    std::vector<TChunk> m_Chunks;
    std::vector<quint64> m_Index; // chunk << 32 | offset
    qint64 m_Wasted = 0;
    std::string m_Scratch;
};
