#pragma once

// Table-access pairs: a list shows a joined query, its editor edits the table
// behind it, and the pair keeps the two on the same record. The data module
// owns one pair per browsable record kind; the lists and the call editor take
// theirs from it.

#include <QString>
#include <QStringList>

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

    // Puts the table on the query's current record; true when it is there.
    // False, moving nothing, when either dataset is missing, closed or
    // empty, a key of the query's record is blank, or the table holds no
    // such record. Keys match whole and case-sensitively.
    virtual bool SyncTableToQuery();
    // The same the other way round: the query follows the table.
    virtual bool SyncQueryToTable();
    // Reads the query again (fresh rows after a save, in the same order) and
    // puts it on the table's record.
    void RefreshQuery();

    // The key fields of the record kind, in both datasets.
    virtual QStringList KeyFields() const;
    // Whether the query's current record has a blank key (rows like that
    // come from older data; no editor writes one). False on an empty query.
    bool QueryKeyIsBlank() const;
    // Deletes from the table the rows that have the query's current key
    // values, blank ones included, and nothing that depends on them.
    void DeleteQueryRecord();

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

    QStringList KeyFields() const override;
};
