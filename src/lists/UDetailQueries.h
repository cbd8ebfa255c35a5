#pragma once

// The queries of a list window's detail panel: owned by the window and
// parameterised by the current row of the list's dataset, each parameter
// taking the value of the list's field of the same name (no value while the
// list is closed or empty, so nothing is found).
//
// They are opened for the row the list stands on (Open, after the row has
// settled; Activate, when the data module's database opens or closes) and
// closed while the row moves (Close). Whenever the data module has written
// rows of a table that an open query reads, that query is read again at once.

#include <QList>
#include <QObject>
#include <QStringList>

class TDataSet;
class TdmlGlobals;
class TQuery;

class TDetailQueries : public QObject {
    Q_OBJECT
public:
    // `module` and `master` (the list's dataset) may be null: then nothing
    // ever opens.
    TDetailQueries(TdmlGlobals* module, TDataSet* master, QObject* parent);
    ~TDetailQueries() override;

    // A new query named `name` whose text is `lines` joined with line breaks.
    TQuery* Add(const QString& name, const QStringList& lines);
    const QList<TQuery*>& Queries() const { return m_Queries; }

    // Opens every query for the list's current row, while the database is
    // open; a query already open on that row is left as it is.
    void Open();
    // Opens them while the database is open, closes them otherwise.
    void Activate();
    void Close();

private:
    // Gives `query` the list's current values; true when they differ from
    // those it ran with.
    bool Bind(TQuery* query) const;
    void Open(TQuery* query);
    void TablesChanged(const QStringList& tables);

    TdmlGlobals* m_pModule;
    TDataSet* m_pMaster;
    QList<TQuery*> m_Queries;
};
