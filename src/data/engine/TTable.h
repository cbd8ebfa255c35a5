#pragma once

// A dataset over one table file, in primary key order, that writes through
// at Post and Delete (see TDataSet.h for how it pages through the table).

#include "data/engine/TDataSet.h"

#include <QHash>
#include <deque>
#include <map>

class TStatement;
class TTableWriter;

class TTable : public TDataSet {
public:
    explicit TTable(QObject* parent = nullptr);
    ~TTable() override;

    // The table, written as statements do ("Call", "Call.DB", 'CALL.db').
    // Setting it closes the dataset.
    const QString& TableName() const { return m_TableName; }
    void SetTableName(const QString& name);

    // Removes every row of the table, open or not.
    void EmptyTable();

protected:
    void DoOpen() override;
    void DoClose() override;
    bool CursorFirst() override;
    bool CursorLast() override;
    bool CursorNext() override;
    bool CursorPrior() override;
    QVariantList CursorRecord() override;
    bool CursorIsEmpty() override { return m_Pos < 0; }
    qint64 CursorRow() override;
    qint64 CursorKnownRow() override { return m_RecNo; }
    bool CursorGotoRow(qint64 row) override;
    qint64 CursorRecordCount() override;
    bool CursorLocate(const TLocateRequest& request) override;
    bool CursorFindKey(const QList<int>& columns, const QVariantList& values, bool move) override;
    bool CursorCanModify() const override { return true; }
    void CursorPost(bool inserting, const QVariantList& values,
                    const std::vector<bool>& changed) override;
    void CursorDelete() override;
    void CursorReload(const QList<int>& keyColumns, const QVariantList& keyValues) override;
    qint64 CursorRowsAvailable() override { return CursorRecordCount(); }
    QVariant CursorRowValue(qint64 row, int column) override;
    QStringList NaturalKeyFields() const override;

private:
    using TRows = std::vector<QVariantList>;
    enum class TDirection { Forward, Backward };

    TStatement& Cached(const QString& sql);
    // Up to `count` rows that pass the filter, from the start or end, or
    // after/before the row `from` (exclusive), in the direction's order.
    TRows Read(TDirection direction, const QVariantList* from, qint64 count);
    QVariantList ReadOne(TDirection direction, const QVariantList* from);
    QString KeysetCondition(TDirection direction) const;
    void BindKeyset(TStatement& statement, const QVariantList& from) const;
    bool Passes(const QVariantList& row) const;
    void SetWindow(TRows rows, qint64 pos, bool atStart, bool atEnd);
    void PlaceAt(const QVariantList& row);
    // Moves to the row after where `row` stands (or before, or nowhere).
    void PlaceNear(const QVariantList& row);
    void ForgetPositions();
    QString Select(const QString& where, bool descending, const QString& tail = {}) const;

    QString m_TableName;
    std::unique_ptr<TTableWriter> m_pWriter;
    QHash<QString, std::shared_ptr<TStatement>> m_Statements;
    std::deque<QVariantList> m_Window;
    qint64 m_Pos = -1;
    bool m_AtStart = true;
    bool m_AtEnd = true;
    qint64 m_RecNo = -1; // position of the current row from 0; -1 unknown
    qint64 m_Count = -1;
    std::map<qint64, TRows> m_Pages; // rows by position, for views
};
