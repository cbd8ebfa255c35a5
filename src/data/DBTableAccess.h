#pragma once

// Table-access pairs: a list shows a joined query, its editor edits the table
// behind it, and the pair keeps the two on the same record. The data module
// owns one pair per browsable record kind; the lists and the call editor take
// theirs from it.

#include <QString>

class TDataSet;
class TQuery;
class TTable;

class TDBTableAccess {
public:
    // `keyField` names the key in both datasets ("CallNr"). Neither dataset
    // is owned.
    TDBTableAccess(TQuery* query, TTable* table, const QString& keyField);
    virtual ~TDBTableAccess();
    TDBTableAccess(const TDBTableAccess&) = delete;
    TDBTableAccess& operator=(const TDBTableAccess&) = delete;

    // Puts the table on the query's current record. False, moving nothing,
    // when either dataset is missing, closed or empty, or the query's key is
    // blank; true otherwise, also when the table holds no such record (it
    // then stays where it was). Keys match whole and case-sensitively.
    virtual bool SyncTableToQuery();
    // The same the other way round: the query follows the table.
    virtual bool SyncQueryToTable();
    // Closes and reopens the query (fresh rows after a save) and puts it back
    // on the table's record.
    void RefreshQuery();

    TQuery* Query() const { return m_pQuery; }
    TTable* Table() const { return m_pTable; }
    const QString& KeyField() const { return m_sKeyField; }

protected:
    // Both datasets exist, are open and hold rows.
    static bool BothReady(TDataSet* source, TDataSet* target);

    TQuery* m_pQuery;
    TTable* m_pTable;
    QString m_sKeyField;

private:
    bool Sync(TDataSet* source, TDataSet* target);
};

// Service contracts are identified by the item and the customer together; the
// key field name is not used.
class TSCTableAccess : public TDBTableAccess {
public:
    TSCTableAccess(TQuery* query, TTable* table);

    // True only when the target holds the source's contract; false, moving
    // nothing, also when either key of the source is blank.
    bool SyncTableToQuery() override;
    bool SyncQueryToTable() override;

private:
    bool Sync(TDataSet* source, TDataSet* target);
};
