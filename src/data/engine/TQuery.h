#pragma once

// A dataset over one SELECT of the program's SQL dialect: it runs the
// statement, moves, locates and sorts. TQueryRows keeps its rows, UQuerySql
// derives the statements that read them another way, TQueryWriter writes
// them through; "The storage engine" in docs/architecture.md tells how rows
// are read and kept.

#include "data/engine/TDataSet.h"
#include "data/engine/TDataSource.h"
#include "data/engine/TDatabase.h"
#include "data/engine/TQueryRows.h"
#include "data/engine/TQueryWriter.h"
#include "data/engine/UQuerySql.h"

class TQuery : public TDataSet {
public:
    explicit TQuery(QObject* parent = nullptr);
    ~TQuery() override;

    // The statement text. Setting it closes the query.
    const QString& SQL() const { return m_Sql; }
    void SetSQL(const QString& sql);

    // Named parameters, without ':', matched without regard to letter case.
    void SetParam(const QString& name, const QVariant& value);
    QVariant Param(const QString& name) const;
    const TParams& Params() const { return m_Params; }
    void ClearParams() { m_Params.clear(); }
    // The parameter names of the statement text, in order, each once.
    QStringList ParamNames() const;

    // Parameters named like a field of the master's dataset take that field's
    // value of the master's current row (blank while the master is closed or
    // empty). The query, when open, runs again whenever the master moves, is
    // reopened or refreshed, or one of those fields is given a new value.
    void SetMasterSource(TDataSource* master);
    TDataSource* MasterSource() const { return m_MasterLink.DataSource(); }

    // Asks for rows that can be edited, inserted and deleted. Granted, when
    // the query opens, if every column comes from one table and the result
    // holds that table's primary key; columns that are expressions stay
    // read-only.
    void SetRequestLive(bool live) { m_RequestLive = live; }
    bool RequestLive() const { return m_RequestLive; }
    bool IsLive() const { return m_pWriter != nullptr; }

    // Runs the statement as one that returns no rows, with the parameters;
    // returns the number of rows changed.
    int ExecSQL();

    bool CanSort() const override { return true; }
    // Reads all remaining rows.
    void FetchAll();
    bool AllFetched() const { return m_Rows.AllRead(); }
    // Whether the rows are held by key in an order of the query's own (a
    // column sort) rather than read from the statement in its order.
    bool HeldByKey() const { return m_Rows.Keyed() != nullptr; }
    // Bytes held for the rows read so far.
    qint64 MemoryUsage() const { return m_Rows.MemoryUsage(); }

protected:
    void DoOpen() override;
    void DoClose() override;
    bool CursorFirst() override;
    bool CursorLast() override;
    bool CursorNext() override;
    bool CursorPrior() override;
    QVariantList CursorRecord() override;
    bool CursorIsEmpty() override;
    qint64 CursorRow() override { return m_Row; }
    bool CursorGotoRow(qint64 row) override;
    qint64 CursorRecordCount() override;
    bool CursorLocate(const TLocateRequest& request) override;
    bool CursorFindKey(const QList<int>& columns, const QVariantList& values, bool move) override;
    bool CursorCanModify() const override { return m_pWriter != nullptr; }
    void CursorPost(bool inserting, const QVariantList& values,
                    const std::vector<bool>& changed) override;
    void CursorDelete() override;
    void CursorReload(const QList<int>& keyColumns, const QVariantList& keyValues) override;
    void CursorSort(const QList<int>& keyColumns, const QVariantList& keyValues) override;
    qint64 CursorRowsAvailable() override;
    bool CursorCanFetchMore() const override { return !m_Rows.AllRead(); }
    qint64 CursorFetchMore(qint64 rows) override;
    QVariant CursorRowValue(qint64 row, int column) override;
    QStringList NaturalKeyFields() const override { return m_NaturalKey; }
    void CursorInsertStarted(bool append) override { m_InsertAppend = append; }

private:
    TParams EffectiveParams(const QStringList& names) const;
    void RunStatement();
    // Reads the keys of the rows (and the `extra` columns) and sorts them;
    // false when the rows have no key that tells them apart.
    bool LoadKeyed(const QList<int>& keys, const QList<int>& extra = {});
    // Reads the last rows of the statement without the ones before.
    bool ReadTail();
    // Reads on to the current row when it lies in the tail.
    void LeaveTail();
    // Turns an unsorted statement's rows into rows held in the same order by
    // the rowid of its first table, reading only the rowids; false when that
    // order cannot be shown to be the statement's.
    bool HoldInStatementOrder();
    // Reads `columns` for every row held by key (or rowid) besides those
    // held, in the same order; the current row stays. False when they cannot
    // be read so.
    bool HoldColumnsToo(const QList<int>& columns);
    // A Locate in rows held by rowid: the rows an index of the first table
    // shows could match a searched field are looked at, the first in order
    // that matches wins (`found`). False when no searched field has such an
    // index, or too many rows could match.
    bool LocateByRowid(const TLocateRequest& request, bool& found);
    qint64 FindKeyRow(const QList<int>& columns, const QVariantList& values);
    // Takes the current row out (deleted, or filtered out by a change).
    void RemoveCurrent();
    void MasterChanged();

    class TMasterLink : public TDataLink {
    public:
        explicit TMasterLink(TQuery& query) : m_Query(query) {}

    protected:
        void RecordChanged() override { m_Query.MasterChanged(); }
        void DataSetChanged() override { m_Query.MasterChanged(); }
        void FieldChanged(TField*) override { m_Query.MasterChanged(); }

    private:
        TQuery& m_Query;
    };

    QString m_Sql;
    TParams m_Params;
    TParams m_BoundParams;
    QStringList m_BoundNames;
    TMasterLink m_MasterLink{*this};
    bool m_RequestLive = false;
    bool m_InsertAppend = false;

    QString m_InnerSql;          // the statement as SQLite runs it, unsorted
    QString m_CountSql;          // the same without a closing ORDER BY
    QString m_ReversedSql;       // its last rows backwards; empty when not known
    bool m_OriginsExact = false; // every row's origin columns hold table values
    TQueryRows m_Rows;
    qint64 m_Row = -1;
    qint64 m_Count = -1; // rows as counted by SQL, before local changes
    qint64 m_CountDelta = 0;
    QStringList m_NaturalKey;
    QList<UQuerySql::TOrigin> m_Origins; // of the result columns
    bool m_OrderTried = false;           // HoldInStatementOrder was tried since opening
    QString m_RowidTable;                // the first table, while the rows are held by its rowid

    std::unique_ptr<TQueryWriter> m_pWriter; // when live
};
