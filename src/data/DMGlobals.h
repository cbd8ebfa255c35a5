#pragma once

// The data module: the one object that owns every table and query of the
// database, knows where the database directory is, opens and closes
// everything together, runs the program's ad-hoc SQL, fills in the defaults of
// new records, deletes records with their dependants, and finds a record for
// the main window.
//
// Lists and editors bind to its tables, queries and data sources; they never
// open tables of their own. Windows that keep an extra query on the database
// attach themselves as observers and are told whenever the database is opened
// or closed (start-up, backup, restore, clearing, import); TablesChanged tells
// them, once a change is over, which tables' rows it wrote.
//
// All tables and queries share one connection (TDatabase) bound to the
// database directory. It is opened when a dataset or statement first needs
// it and closed when the database is deactivated, so that nothing holds the
// table files while they are backed up or replaced.
//
// Statements are built by putting key texts between quotes; every key and
// value passes through USqlDialect::EscapeQuotes on the way, so a quote in a
// key finds and removes exactly that key.

#include "data/UChangeTracker.h"
#include "data/UDBArchive.h"
#include "data/engine/TDatabase.h"
#include "shell/abstract/UAbstract.h"
#include "shell/files/UStrings.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLockFile;
class TDataSet;
class TDataSource;
class TDBTableAccess;
class TQuery;
class TTable;

class TdmlGlobals : public QObject, public UAbstract::TObservableSubject {
    Q_OBJECT
public:
    // Record kinds of GotoRecord.
    enum TRecordKind : int {
        rkCall = 0,
        rkCustomer = 1,
        rkItem = 2,
        rkServiceContract = 3,
        rkWorker = 4,
    };

    // Inactive, with the program's database directory "database/" (beside the
    // executable or in the user's data folder, UFiles::DataFolders). The first
    // instance becomes dmlGlobals.
    explicit TdmlGlobals(QObject* parent = nullptr);
    ~TdmlGlobals() override;
    TdmlGlobals(const TdmlGlobals&) = delete;
    TdmlGlobals& operator=(const TdmlGlobals&) = delete;

    // --- Tables ("Representative" has none: it is reached through
    // sqlRepresentatives and statements), their data sources, the joined
    // queries of the lists and theirs. All owned by the module.
    TTable* tblCustomer = nullptr;
    TTable* tblWorker = nullptr;
    TTable* tblServiceContract = nullptr;
    TTable* tblCall = nullptr;
    TTable* tblItem = nullptr;
    TTable* tblCallComments = nullptr;
    TTable* tblStateTimes = nullptr;

    TDataSource* dsCustomer = nullptr;
    TDataSource* dsWorker = nullptr;
    TDataSource* dsServiceContract = nullptr;
    TDataSource* dsCall = nullptr;
    TDataSource* dsItem = nullptr;
    TDataSource* dsCallComments = nullptr;
    TDataSource* dsStateTimes = nullptr;

    TQuery* sqlCall = nullptr;
    TQuery* sqlItem = nullptr;
    TQuery* sqlServiceContract = nullptr;
    TQuery* sqlWorker = nullptr;
    TQuery* sqlCustomer = nullptr;
    // A customer's representatives (parameter ID), live, with dsCustomer as
    // its master. Not opened with the others: the customer editor opens it.
    TQuery* sqlRepresentatives = nullptr;

    TDataSource* dsQCall = nullptr;
    TDataSource* dsQItem = nullptr;
    TDataSource* dsQServiceContract = nullptr;
    TDataSource* dsQWorker = nullptr;
    TDataSource* dsQCustomer = nullptr;
    TDataSource* dsQRepresentatives = nullptr;

    // --- The database directory and opening
    // Ends in '/'.
    const QString& DatabaseDir() const { return m_sDatabaseDir; }
    // For tools and tests; a trailing '/' is added when missing. Raises EError
    // while the database is active.
    void SetDatabaseDir(const QString& dir);
    // The connection the datasets share, bound to the database directory
    // (opened when needed; raises EDatabaseError when the directory is missing).
    TDatabase& Connection();

    // Creates, in table order, the file of every table that has none in the
    // database directory from its creation statement (existing files are left
    // as they are); returns the names of the tables created. Run at start-up,
    // after the directory has been made and before the database is activated.
    QStringList CreateMissingTables();

    bool DatabaseActive() const { return m_bDatabaseActive; }
    // Opens or closes all tables and the five list queries together, then
    // notifies the observers; nothing happens when the state is already the
    // one asked for. Failures are raised as EFatalError and leave the module
    // inactive.
    void SetDatabaseActive(bool active);
    // Binds a table or query to the database directory and opens it.
    void OpenDataSet(TDataSet* dataSet);
    // Opens the dataset while the database is active, closes it otherwise.
    void ActivateDataSet(TDataSet* dataSet);
    // Reads the five list queries again (opening those that are closed),
    // each staying on its record; then tells TablesChanged that anything may
    // have changed.
    void RefreshQueries();

    // --- Keeping what the windows show current
    // Every row written through the module's connection (an editor's post, a
    // deletion with its cascade, a comment line, a statement) is noted by
    // table. Once the change is over (at the next turn of the event loop, or
    // at once through ApplyChanges) each open list query that reads a changed
    // table is read again, staying on its record by key where that record is
    // still there, and TablesChanged tells the windows that keep queries of
    // their own. Many writes in one change cost one reading per query.
    void ApplyChanges();
    bool ChangesPending() const { return m_Changes.Pending(); }

    // Holds the database directory for this process: a second program
    // started on the same directory is refused with "The database is in use
    // by another Korvane window." (EFatalError). The hold ends with the
    // module or the process; a hold left by a process that died is taken
    // over.
    void LockDatabaseDir();

    // --- Statements (in the program's SQL dialect)
    // A new query for `sql`, bound to the database directory, opened when
    // `open` is set. The caller owns it and frees it before the module goes.
    std::unique_ptr<TQuery> CreateQuery(const QString& sql, bool open);
    std::unique_ptr<TQuery> CreateQuery(const UStrings::ListStr& sql, bool open);
    // Whether the SELECT returns no rows. Errors pass through.
    bool QueryIsEmpty(const QString& sql);
    // Runs a statement that returns no rows; returns the rows changed. Errors
    // pass through.
    int ExecSQL(const QString& sql);
    int ExecSQL(const UStrings::ListStr& sql);
    // Runs a statement; any failure is raised as an EError whose message is
    // exactly `failure`.
    void ExecSQLOrFail(const QString& sql, const QString& failure);

    // --- Existence checks (whole, case-sensitive keys)
    bool WorkerExists(const QString& workerNr);
    bool ItemExists(const QString& serialNr);
    bool CustomerExists(const QString& customerID);
    bool ServiceContractExists(const QString& itemSerialNr, const QString& customerID);

    // --- Table-access pairs: the list query and the editor's table of each
    // browsable record kind.
    TDBTableAccess* CallsAccess() const { return m_pCallsAccess.get(); }
    TDBTableAccess* CustomersAccess() const { return m_pCustomersAccess.get(); }
    TDBTableAccess* ItemsAccess() const { return m_pItemsAccess.get(); }
    TDBTableAccess* ServiceContractsAccess() const { return m_pServiceContractsAccess.get(); }
    TDBTableAccess* WorkersAccess() const { return m_pWorkersAccess.get(); }

    // Puts the list query of `kind` on the record with the given key (letter
    // case does not matter; `second` is the customer of a service contract)
    // and asks the main window, through g_pDataView, to show that list.
    // Returns whether the record was found; an unknown kind or a closed list
    // finds nothing.
    bool GotoRecord(TRecordKind kind, const QString& first, const QString& second = QString());

    // --- New records
    // Event handlers, hung on the tables by the constructor. A new call gets
    // its defaults, its number (typed by the user when Ctrl is held) and its
    // "Call Created." line at once; when no number can be had, the insertion
    // is cancelled and the reason raised.
    void tblCallAfterInsert(TDataSet& dataSet);
    void tblCallAfterPost(TDataSet& dataSet);
    void tblCallBeforeCancel(TDataSet& dataSet);
    void tblServiceContractAfterInsert(TDataSet& dataSet);
    void tblWorkerAfterInsert(TDataSet& dataSet);
    void tblCustomerAfterInsert(TDataSet& dataSet);

    // The next free generated call number: one more than the greatest number
    // in text order, as six or more digits, skipping numbers already taken.
    QString GetNewCallNr();
    // The first free "CUST0001"-style ID at or after `start`; `last` receives
    // the number used.
    QString GetNewCustomerID(int start, int& last);

    // Set while the "Call Created." line of a call being inserted has been
    // written but the call itself is not yet saved.
    bool NewCallCommentPending() const { return m_bNewCallCommentPending; }

    // Whether the Ctrl key is held at this moment; holding it while a call is
    // added makes the user type the call number. The default is
    // UKeyboardState::CtrlHeldForCommand (the Ctrl of a shortcut does not
    // count; false without a GUI application).
    void SetCtrlKeyTest(std::function<bool()> test);

    // --- Deletions: the record and what depends on it, by SQL
    void DeleteCall(const QString& callNr);
    void DeleteWorker(const QString& workerNr);
    void DeleteItem(const QString& serialNr);
    void DeleteCustomer(const QString& customerID);
    void DeleteServiceContract(const QString& itemSerialNr, const QString& customerID);
    void DeleteRepresentative(const QString& recID);
    // Empties every table except StateTimes (the database is closed and
    // reopened); raises the list of tables that could not be emptied.
    void ClearDatabase();
    // Removes rows whose key fields are blank; raises the list of failures.
    void RemoveBlankKeyRecords();

    // --- Comment lines and representatives; both return the new row's GUID
    // ("{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"). A representative's values
    // are cut to their columns' widths.
    QString AddCallComment(const QString& callNr, const QString& line);
    QString AddRepresentative(const QString& customerID, const QString& name,
                              const QString& surname, const QString& mobile, const QString& email);

    // --- Backup and restore
    // Writes the table files into the ZIP archive `fileName` (created, or
    // added to), with the database closed meanwhile and open again
    // afterwards, also when the archive could not be written. The two
    // indicators (either may be null) run from 0 to 100 with the archive and
    // with the file being written.
    void BackupDatabase(const QString& fileName, UAbstract::IProgress* overall,
                        UAbstract::IProgress* current);
    // Replaces the table files with those the archive `fileName` holds
    // (others stay as they are), with the database closed meanwhile. It is
    // opened again only when every file came back whole; after a failure
    // nothing has been replaced and the database stays closed.
    void RestoreDatabase(const QString& fileName, UAbstract::IProgress* overall,
                         UAbstract::IProgress* current);
    // The archives' progress: put the overall / the current indicator at
    // `percent` (at most 100).
    void cmpZipperArchiveProgress(int percent);
    void cmpZipperArchiveItemProgress(int percent);
    TZipper cmpZipper;
    TUnzipper cmpUnzipper;

Q_SIGNALS:
    // The tables whose rows changed (names as created, "Call"); an empty name
    // stands for any table. Sent after the list queries have been read again.
    void TablesChanged(const QStringList& tables);

private:
    TTable* MakeTable(const QString& tableName, TDataSource*& source);
    TQuery* MakeQuery(const QString& sql, TDataSource*& source);
    void BindDataSet(TDataSet* dataSet);
    void OpenAll();
    void CloseAll();
    // Refreshes each table that is open.
    static void RefreshTables(std::initializer_list<TTable*> tables);
    // The archives' progress, told to the two handlers below.
    TArchiveProgress ArchiveProgress();

    QString m_sDatabaseDir;
    bool m_bDatabaseActive = false;
    bool m_bNewCallCommentPending = false;
    // Set while a backup or restore runs.
    UAbstract::IProgress* m_pOverallProgress = nullptr;
    UAbstract::IProgress* m_pCurrentProgress = nullptr;
    std::function<bool()> m_CtrlKeyHeld;
    TChangeTracker m_Changes{this, [this] { ApplyChanges(); }};
    std::unique_ptr<QLockFile> m_pDirLock;
    TDatabase m_Database;
    std::unique_ptr<TQuery> m_pExecQuery;
    std::unique_ptr<TDBTableAccess> m_pCallsAccess;
    std::unique_ptr<TDBTableAccess> m_pCustomersAccess;
    std::unique_ptr<TDBTableAccess> m_pItemsAccess;
    std::unique_ptr<TDBTableAccess> m_pServiceContractsAccess;
    std::unique_ptr<TDBTableAccess> m_pWorkersAccess;
};

// The program's data module; set by the first TdmlGlobals created and cleared
// when it is destroyed.
extern TdmlGlobals* dmlGlobals;
