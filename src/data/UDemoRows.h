#pragma once

// Writing the demonstration rows. Each table gets one INSERT of all its
// columns, prepared once on the data module's connection from the engine's
// own reading of the table file (TTableWriter) and run again for every row.
// Values are stored as the engine stores what the program posts
// (TStatement::Bind, TTableWriter): booleans as 'True'/'False', date-times in
// UStorage's text, a blank text as '', a number or timestamp that is not set
// as NULL, texts cut to the column's width. Transactions span all tables and
// are committed every CommitRows rows.

#include "data/engine/TTableWriter.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <memory>

class TDatabase;
class TStatement;

namespace UDemoData {

constexpr qint64 CommitRows = 50000;

// The transaction the rows of every table are written in, committed every
// CommitRows rows and at Finish; rolled back when left unfinished.
class TBatch {
public:
    explicit TBatch(TDatabase& db) : m_Db(db) {}
    ~TBatch();
    TBatch(const TBatch&) = delete;
    TBatch& operator=(const TBatch&) = delete;

    void RowWritten();
    void Finish();

private:
    TDatabase& m_Db;
    qint64 m_Rows = 0;
};

// The rows of one table.
class TRowWriter {
public:
    // `columns` names every column of the table, comma separated, in the
    // order in which Write takes the values.
    TRowWriter(TDatabase& db, TBatch& batch, const QString& table, const char* columns);
    ~TRowWriter();

    // One value per column, in order: QString, int or qint64, bool,
    // QDateTime, or QVariant() for a value that is not set.
    void Write(std::initializer_list<QVariant> values);
    qint64 Rows() const { return m_Rows; }
    const QString& Table() const { return m_Table; }

private:
    void Bind(int param, const TTableWriter::TColumn& column, const QVariant& value);

    TDatabase& m_Db;
    TBatch& m_Batch;
    QString m_Table;
    QList<TTableWriter::TColumn> m_Columns;
    std::unique_ptr<TStatement> m_Statement;
    QByteArray m_Buffer;
    qint64 m_Rows = 0;
};

// While the tables are filled, their files are written without waiting for
// the disk (a fill that breaks off leaves a directory to delete, not rows to
// save) and with a page cache large enough for the random order in which the
// GUID keys of comment lines arrive. The connection's settings come back
// afterwards.
class TBulkLoad {
public:
    explicit TBulkLoad(TDatabase& db);
    ~TBulkLoad();
    TBulkLoad(const TBulkLoad&) = delete;
    TBulkLoad& operator=(const TBulkLoad&) = delete;

private:
    void Set(const QString& table, const char* pragmas);
    TDatabase& m_Db;
};

} // namespace UDemoData
