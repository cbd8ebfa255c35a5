#include "data/DMGlobals.h"

#include "data/DBTableAccess.h"
#include "data/DMTables.h"
#include "data/UDMStatements.h"
#include "data/engine/TDataSource.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "shell/UBusyCursor.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"
#include "shell/UKeyboardState.h"
#include "shell/abstract/IDataView.h"
#include "shell/files/UFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <algorithm>
#include <utility>

TdmlGlobals* dmlGlobals = nullptr;

namespace {

const QString Unit = QStringLiteral("DMGlobals");

} // namespace

using namespace UDMStatements;

// ---------------------------------------------------------------------------
// Construction

TdmlGlobals::TdmlGlobals(QObject* parent)
    : QObject(parent), m_sDatabaseDir(UFiles::DataFolders().Database),
      m_CtrlKeyHeld(UKeyboardState::CtrlHeldForCommand) {
    tblCustomer = MakeTable(QStringLiteral("Customer.DB"), dsCustomer);
    tblWorker = MakeTable(QStringLiteral("Worker.DB"), dsWorker);
    tblServiceContract = MakeTable(QStringLiteral("ServiceContract.DB"), dsServiceContract);
    tblCall = MakeTable(QStringLiteral("Call.DB"), dsCall);
    tblItem = MakeTable(QStringLiteral("Item.DB"), dsItem);
    tblCallComments = MakeTable(QStringLiteral("CallComments.DB"), dsCallComments);
    tblStateTimes = MakeTable(QStringLiteral("StateTimes.DB"), dsStateTimes);
    for (auto [table, name] : {std::pair{tblCustomer, "tblCustomer"},
                               {tblWorker, "tblWorker"},
                               {tblServiceContract, "tblServiceContract"},
                               {tblCall, "tblCall"},
                               {tblItem, "tblItem"},
                               {tblCallComments, "tblCallComments"},
                               {tblStateTimes, "tblStateTimes"}})
        table->setObjectName(QLatin1String(name)); // as exports name them

    sqlCall = MakeQuery(DMTables::SqlCallText(), dsQCall);
    sqlItem = MakeQuery(DMTables::SqlItemText(), dsQItem);
    sqlServiceContract = MakeQuery(DMTables::SqlServiceContractText(), dsQServiceContract);
    sqlWorker = MakeQuery(DMTables::SqlWorkerText(), dsQWorker);
    sqlCustomer = MakeQuery(DMTables::SqlCustomerText(), dsQCustomer);
    sqlRepresentatives = MakeQuery(DMTables::SqlRepresentativesText(), dsQRepresentatives);
    sqlRepresentatives->SetRequestLive(true);
    sqlRepresentatives->SetMasterSource(dsCustomer);

    // The customer editor keeps typed e-mail addresses and notes to these
    // widths; the address-book import may store the created widths.
    tblCustomer->DefineField(QStringLiteral("Email")).SetSize(40);
    tblCustomer->DefineField(QStringLiteral("Notes")).SetSize(254);

    tblCall->AfterInsert = [this](TDataSet& ds) { tblCallAfterInsert(ds); };
    tblCall->AfterPost = [this](TDataSet& ds) { tblCallAfterPost(ds); };
    tblCall->BeforeCancel = [this](TDataSet& ds) { tblCallBeforeCancel(ds); };
    tblServiceContract->AfterInsert = [this](TDataSet& ds) { tblServiceContractAfterInsert(ds); };
    tblWorker->AfterInsert = [this](TDataSet& ds) { tblWorkerAfterInsert(ds); };
    tblCustomer->AfterInsert = [this](TDataSet& ds) { tblCustomerAfterInsert(ds); };

    m_pCallsAccess = std::make_unique<TDBTableAccess>(sqlCall, tblCall, QStringLiteral("CallNr"));
    m_pCustomersAccess =
        std::make_unique<TDBTableAccess>(sqlCustomer, tblCustomer, QStringLiteral("CustomerID"));
    m_pItemsAccess = std::make_unique<TDBTableAccess>(sqlItem, tblItem, QStringLiteral("SerialNr"));
    m_pServiceContractsAccess =
        std::make_unique<TSCTableAccess>(sqlServiceContract, tblServiceContract);
    m_pWorkersAccess =
        std::make_unique<TDBTableAccess>(sqlWorker, tblWorker, QStringLiteral("WorkerNr"));

    m_Database.SetChangeHandler([this](const QString& table) { m_Changes.Note(table); });

    if (!dmlGlobals)
        dmlGlobals = this;
}

TdmlGlobals::~TdmlGlobals() {
    if (dmlGlobals == this)
        dmlGlobals = nullptr;
    m_pCallsAccess.reset();
    m_pCustomersAccess.reset();
    m_pItemsAccess.reset();
    m_pServiceContractsAccess.reset();
    m_pWorkersAccess.reset();
    // The datasets go before the connection they use; nobody is told.
    try {
        CloseAll();
    } catch (...) {
    }
    m_Database.SetChangeHandler({});
    sqlRepresentatives->Close();
    m_pExecQuery.reset();
    const QObjectList owned = children();
    qDeleteAll(owned);
    m_Database.Close();
}

TTable* TdmlGlobals::MakeTable(const QString& tableName, TDataSource*& source) {
    auto* table = new TTable(this);
    table->SetTableName(tableName);
    table->SetDatabase(&m_Database);
    source = new TDataSource(table, this);
    return table;
}

TQuery* TdmlGlobals::MakeQuery(const QString& sql, TDataSource*& source) {
    auto* query = new TQuery(this);
    query->SetSQL(sql);
    query->SetDatabase(&m_Database);
    source = new TDataSource(query, this);
    return query;
}

void TdmlGlobals::SetCtrlKeyTest(std::function<bool()> test) {
    m_CtrlKeyHeld =
        test ? std::move(test) : std::function<bool()>(UKeyboardState::CtrlHeldForCommand);
}

// ---------------------------------------------------------------------------
// The directory and the connection

void TdmlGlobals::SetDatabaseDir(const QString& dir) {
    if (m_bDatabaseActive)
        UErrors::RaiseError(
            QStringLiteral("The database directory cannot be changed while the database is open."));
    m_sDatabaseDir = dir;
    if (!m_sDatabaseDir.isEmpty() && !m_sDatabaseDir.endsWith(QLatin1Char('/')))
        m_sDatabaseDir += QLatin1Char('/');
    m_Database.Close();
}

TDatabase& TdmlGlobals::Connection() {
    const QString wanted =
        QDir::cleanPath(QFileInfo(m_sDatabaseDir).absoluteFilePath()) + QLatin1Char('/');
    if (!m_Database.IsOpen() || m_Database.Directory() != wanted)
        m_Database.Open(m_sDatabaseDir);
    return m_Database;
}

void TdmlGlobals::BindDataSet(TDataSet* dataSet) {
    Connection();
    dataSet->SetDatabase(&m_Database);
}

QStringList TdmlGlobals::CreateMissingTables() {
    QStringList created;
    for (const DMTables::TTableDef& def : DMTables::TableDefs()) {
        if (Connection().TableFileExists(QString::fromLatin1(def.Name)))
            continue;
        ExecSQL(QString::fromLatin1(def.CreateSql));
        created << QString::fromLatin1(def.Name);
    }
    return created;
}

// ---------------------------------------------------------------------------
// Opening and closing

void TdmlGlobals::CloseAll() {
    for (TDataSet* dataSet : std::initializer_list<TDataSet*>{
             tblCustomer, tblWorker, tblServiceContract, tblCall, tblItem, tblCallComments,
             tblStateTimes, sqlCall, sqlItem, sqlWorker, sqlServiceContract, sqlCustomer})
        dataSet->Close();
}

void TdmlGlobals::OpenAll() {
    if (!QFileInfo(m_sDatabaseDir).isDir())
        UErrors::RaiseError(QStringLiteral("The database path could not be found: \r\n") +
                            m_sDatabaseDir);
    for (TDataSet* dataSet : std::initializer_list<TDataSet*>{
             tblCustomer, tblWorker, tblServiceContract, tblCall, tblItem, tblCallComments,
             tblStateTimes, sqlCall, sqlItem, sqlServiceContract, sqlWorker, sqlCustomer})
        OpenDataSet(dataSet);
}

void TdmlGlobals::SetDatabaseActive(bool active) {
    if (active == m_bDatabaseActive)
        return;
    try {
        if (active) {
            OpenAll();
            m_bDatabaseActive = true;
        } else {
            CloseAll();
            m_bDatabaseActive = false;
            // Nothing may hold the files while the database is closed.
            m_Database.Close();
        }
        // The lists have just read everything afresh.
        m_Changes.Clear();
    } catch (...) {
        m_bDatabaseActive = false;
        bool hasMessage = false;
        const QString message = CurrentMessage(&hasMessage);
        if (hasMessage)
            throw EFatalError(
                QStringLiteral("An error occurred while trying to activate the database:\r\n\r\n") +
                message);
        throw EFatalError(QStringLiteral("Some of the database tables could not be opened!"));
    }
    Notify();
}

void TdmlGlobals::OpenDataSet(TDataSet* dataSet) {
    if (!dataSet)
        UErrors::RaiseError(QStringLiteral("Null instance passed."));
    try {
        BindDataSet(dataSet);
        dataSet->Open();
    } catch (...) {
        bool hasMessage = false;
        const QString message = CurrentMessage(&hasMessage);
        if (hasMessage)
            UErrors::RaiseError(QStringLiteral("Error activating dataset:\r\n\r\n") + message);
        UErrors::RaiseError(QStringLiteral("Unknown error activating dataset."));
    }
}

void TdmlGlobals::ActivateDataSet(TDataSet* dataSet) {
    if (m_bDatabaseActive)
        OpenDataSet(dataSet);
    else if (dataSet)
        dataSet->Close();
}

void TdmlGlobals::RefreshQueries() {
    m_Changes.Clear();
    for (TQuery* query : {sqlCustomer, sqlWorker, sqlServiceContract, sqlCall, sqlItem}) {
        if (query->Active())
            query->Refresh();
        else
            OpenDataSet(query);
    }
    Q_EMIT TablesChanged({QString()});
}

// ---------------------------------------------------------------------------
// Keeping what the windows show current

void TdmlGlobals::ApplyChanges() {
    if (!m_Changes.Pending())
        return;
    const QStringList changed = m_Changes.Take();
    // A list that cannot be read does not keep the others behind.
    const std::exception_ptr failure = TChangeTracker::RefreshReaders(
        {sqlCustomer, sqlWorker, sqlServiceContract, sqlCall, sqlItem}, changed);
    Q_EMIT TablesChanged(TChangeTracker::Names(changed));
    if (failure)
        std::rethrow_exception(failure);
}

void TdmlGlobals::LockDatabaseDir() {
    if (!m_pDirLock)
        m_pDirLock = LockFolder(m_sDatabaseDir);
}

// ---------------------------------------------------------------------------
// Statements

std::unique_ptr<TQuery> TdmlGlobals::CreateQuery(const QString& sql, bool open) {
    auto query = std::make_unique<TQuery>();
    query->SetSQL(sql);
    BindDataSet(query.get());
    if (open)
        query->Open();
    return query;
}

std::unique_ptr<TQuery> TdmlGlobals::CreateQuery(const UStrings::ListStr& sql, bool open) {
    return CreateQuery(sql.Text(), open);
}

bool TdmlGlobals::QueryIsEmpty(const QString& sql) {
    std::unique_ptr<TQuery> query = CreateQuery(sql, true);
    const bool empty = query->IsEmpty();
    query->Close();
    return empty;
}

int TdmlGlobals::ExecSQL(const QString& sql) {
    std::unique_ptr<TQuery> query = CreateQuery(sql, false);
    return query->ExecSQL();
}

int TdmlGlobals::ExecSQL(const UStrings::ListStr& sql) {
    return ExecSQL(sql.Text());
}

void TdmlGlobals::ExecSQLOrFail(const QString& sql, const QString& failure) {
    try {
        if (!m_pExecQuery)
            m_pExecQuery = std::make_unique<TQuery>();
        m_pExecQuery->SetSQL(sql);
        BindDataSet(m_pExecQuery.get());
        m_pExecQuery->ExecSQL();
    } catch (...) {
        UErrors::RaiseError(failure);
    }
}

// ---------------------------------------------------------------------------
// Existence checks

bool TdmlGlobals::WorkerExists(const QString& workerNr) {
    return !QueryIsEmpty(Format("Select * FROM Worker Where WorkerNr = '%s'", {Sq(workerNr)}));
}

bool TdmlGlobals::ItemExists(const QString& serialNr) {
    return !QueryIsEmpty(Format("Select * FROM Item Where SerialNr = '%s'", {Sq(serialNr)}));
}

bool TdmlGlobals::CustomerExists(const QString& customerID) {
    return !QueryIsEmpty(
        Format("Select * FROM Customer Where CustomerID = '%s'", {Sq(customerID)}));
}

bool TdmlGlobals::ServiceContractExists(const QString& itemSerialNr, const QString& customerID) {
    return !QueryIsEmpty(Format("Select * FROM ServiceContract Where (ItemSerialNr = '%s') AND "
                                "(CustomerID = '%s')",
                                {Sq(itemSerialNr), Sq(customerID)}));
}

// ---------------------------------------------------------------------------
// Record location

bool TdmlGlobals::GotoRecord(TRecordKind kind, const QString& first, const QString& second) {
    // Each kind's list query, the fields it is found by and its view.
    const struct {
        TQuery* Query;
        const char* Fields;
        int View;
    } targets[] = {
        {sqlCall, "CallNr", Interfaces::dvCalls},
        {sqlCustomer, "CustomerID", Interfaces::dvCustomers},
        {sqlItem, "SerialNr", Interfaces::dvItems},
        {sqlServiceContract, "ItemSerialNr;CustomerID", Interfaces::dvServiceContracts},
        {sqlWorker, "WorkerNr", Interfaces::dvWorkers},
    };
    if (kind < rkCall || kind > rkWorker)
        return false;
    const auto& target = targets[kind];
    TQuery* query = target.Query;
    const QString fields = QString::fromLatin1(target.Fields);
    const QVariant values =
        kind == rkServiceContract ? QVariant(QStringList{first, second}) : QVariant(first);
    const int view = target.View;
    // A closed list has no record to go to.
    if (!query || !query->Active() || !query->Locate(fields, values, TDataSet::CaseInsensitive))
        return false;
    if (g_pDataView)
        g_pDataView->ShowDataList(view);
    else
        DebugTrace(QStringLiteral("g_pDataView is NULL"), QStringLiteral("TdmlGlobals::GotoRecord"),
                   Unit);
    return true;
}

// ---------------------------------------------------------------------------
// New records

void TdmlGlobals::tblCallAfterInsert(TDataSet& dataSet) {
    try {
        dataSet.FieldByName(QStringLiteral("Billed")).SetAsBoolean(false);
        dataSet.FieldByName(QStringLiteral("Callout")).SetAsBoolean(false);
        dataSet.FieldByName(QStringLiteral("Date_Time"))
            .SetAsDateTime(QDateTime::currentDateTime());
        dataSet.FieldByName(QStringLiteral("Priority")).SetAsInteger(1);
        dataSet.FieldByName(QStringLiteral("Status")).SetAsString(QStringLiteral("New"));
        dataSet.FieldByName(QStringLiteral("MeterReading")).SetAsInteger(0);

        QString number = m_CtrlKeyHeld() ? QString() : GetNewCallNr();
        while (number.isEmpty()) {
            QString typed = number;
            if (!Dialogs().InputQuery(QStringLiteral("Provide Call #"),
                                      QStringLiteral("Please type a unique number for the call."),
                                      typed))
                throw EAbort(QStringLiteral("No Call record created: Cancelled by user!"));
            if (typed.isEmpty()) {
                ShowError("Call Number cannot be null.\nPlease try again.");
                continue;
            }
            if (!QueryIsEmpty(QStringLiteral("SELECT CallNr FROM CALL WHERE CallNr ='") +
                              Sq(typed) + QLatin1Char('\''))) {
                ShowError("The specified call number is not unique.\nPlease try again.");
                continue;
            }
            number = typed;
        }

        dataSet.FieldByName(QStringLiteral("CallNr")).SetAsString(number);
        AddCallComment(number, QStringLiteral("Call Created."));
        m_bNewCallCommentPending = true;
    } catch (...) {
        // No half-made call stays behind: the insertion ends here.
        if (dataSet.State() == TDataSetState::Insert)
            dataSet.Cancel();
        throw;
    }
}

void TdmlGlobals::tblCallAfterPost(TDataSet&) {
    m_bNewCallCommentPending = false;
}

void TdmlGlobals::tblCallBeforeCancel(TDataSet& dataSet) {
    if (!m_bNewCallCommentPending)
        return;
    m_bNewCallCommentPending = false;
    const QString callNr = dataSet.FieldByName(QStringLiteral("CallNr")).AsString();
    ExecSQLOrFail(Format("DELETE FROM CallComments WHERE CallNr='%s'", {Sq(callNr)}),
                  QStringLiteral("Unable to delete relating call comments: \r\n"));
}

void TdmlGlobals::tblServiceContractAfterInsert(TDataSet& dataSet) {
    dataSet.FieldByName(QStringLiteral("StillValid")).SetAsBoolean(true);
}

void TdmlGlobals::tblWorkerAfterInsert(TDataSet& dataSet) {
    dataSet.FieldByName(QStringLiteral("IDTypeIsPassport")).SetAsBoolean(false);
    dataSet.FieldByName(QStringLiteral("CurrentlyEmployed")).SetAsBoolean(true);
}

void TdmlGlobals::tblCustomerAfterInsert(TDataSet&) {
    // The customer editor makes the user type the CustomerID.
}

QString TdmlGlobals::GetNewCallNr() {
    try {
        // Counted wide, so that a greatest number of 2147483647 still has a
        // successor.
        qint64 number = 0;
        {
            std::unique_ptr<TQuery> query =
                CreateQuery(QStringLiteral("SELECT CallNr FROM CALL ORDER BY CallNr"), true);
            if (!query->IsEmpty()) {
                query->Last();
                number = ToInteger(query->FieldByName(QStringLiteral("CallNr")).AsString());
            }
        }
        return NextFreeKey(number + 1, QString(), 6, [this](const QString& text) {
            return !QueryIsEmpty(Format("SELECT CallNr FROM CALL WHERE CallNr ='%s'", {Sq(text)}));
        });
    } catch (...) {
        UErrors::RaiseError(QStringLiteral("Error Creating a new Call Number: \r\n\r\n") +
                            CurrentMessage());
    }
}

QString TdmlGlobals::GetNewCustomerID(int start, int& last) {
    try {
        qint64 used = start;
        const QString text = NextFreeKey(
            start, QStringLiteral("CUST"), 4,
            [this](const QString& id) {
                return !QueryIsEmpty(
                    Format("SELECT CustomerID FROM Customer WHERE CustomerID ='%s'", {Sq(id)}));
            },
            &used);
        last = int(used);
        return text;
    } catch (...) {
        UErrors::RaiseError(QStringLiteral("Error generating a new Customer ID: \r\n\r\n") +
                            CurrentMessage());
    }
}

// ---------------------------------------------------------------------------
// Deletions

void TdmlGlobals::RefreshTables(std::initializer_list<TTable*> tables) {
    for (TTable* table : tables) {
        if (table->Active())
            table->Refresh();
    }
}

void TdmlGlobals::DeleteCall(const QString& callNr) {
    try {
        TBusyCursor busy;
        const QString key = Sq(callNr);
        ExecSQLOrFail(Format("DELETE FROM Call WHERE CallNr='%s'", {key}),
                      QStringLiteral("Unable to delete record from the Call table: \r\n"));
        ExecSQLOrFail(Format("DELETE FROM CallComments WHERE CallNr='%s'", {key}),
                      QStringLiteral("Unable to delete relating call comments: \r\n"));
        RefreshTables({tblCall});
    } catch (...) {
        UErrors::RaiseError(QStringLiteral("Error Deleting Call: \r\n\r\n") + CurrentMessage());
    }
}

void TdmlGlobals::DeleteWorker(const QString& workerNr) {
    TBusyCursor busy;
    ExecSQLOrFail(Format("DELETE FROM Worker WHERE WorkerNr='%s'", {Sq(workerNr)}),
                  QStringLiteral("Unable to delete Worker: \r\n"));
    RefreshTables({tblWorker});
}

void TdmlGlobals::DeleteItem(const QString& serialNr) {
    try {
        TBusyCursor busy;
        const QString key = Sq(serialNr);
        ExecSQLOrFail(Format("DELETE FROM Item WHERE SerialNr = '%s'", {key}),
                      QStringLiteral("Unable to delete Item record: \r\n"));
        ExecSQLOrFail(Format("DELETE FROM Call WHERE EquipmentSerialNr = '%s'", {key}),
                      QStringLiteral("Unable to delete relating Calls: \r\n"));
        ExecSQLOrFail(Format("DELETE FROM ServiceContract WHERE ItemSerialNr='%s'", {key}),
                      QStringLiteral("Unable to delete relating Service Contracts: \r\n"));
        RefreshTables({tblItem, tblCall, tblServiceContract});
    } catch (...) {
        UErrors::RaiseError(QStringLiteral("Error Deleting Item: \r\n\r\n") + CurrentMessage());
    }
}

void TdmlGlobals::DeleteCustomer(const QString& customerID) {
    try {
        TBusyCursor busy;
        const QString key = Sq(customerID);
        ExecSQLOrFail(Format("DELETE FROM Customer WHERE CustomerID = '%s'", {key}),
                      QStringLiteral("Unable to delete Customer record: \r\n"));
        ExecSQLOrFail(Format("DELETE FROM Item WHERE Owner = '%s'", {key}),
                      QStringLiteral("Unable to delete Item record: \r\n"));
        ExecSQLOrFail(Format("DELETE FROM Call WHERE CustomerID = '%s'", {key}),
                      QStringLiteral("Unable to delete relating Calls: \r\n"));
        ExecSQLOrFail(Format("DELETE FROM ServiceContract WHERE CustomerID='%s'", {key}),
                      QStringLiteral("Unable to delete relating Service Contracts: \r\n"));
        RefreshTables({tblCustomer, tblItem, tblCall, tblServiceContract});
    } catch (...) {
        UErrors::RaiseError(QStringLiteral("Error Deleting Customer: \r\n\r\n") + CurrentMessage());
    }
}

void TdmlGlobals::DeleteServiceContract(const QString& itemSerialNr, const QString& customerID) {
    TBusyCursor busy;
    ExecSQLOrFail(Format("DELETE FROM ServiceContract WHERE ItemSerialNr='%s' AND CustomerID='%s'",
                         {Sq(itemSerialNr), Sq(customerID)}),
                  QStringLiteral("Unable to delete Service Contract: \r\n"));
    RefreshTables({tblServiceContract});
}

void TdmlGlobals::DeleteRepresentative(const QString& recID) {
    TBusyCursor busy;
    ExecSQLOrFail(Format("DELETE FROM Representative WHERE RecID=\"%s\"", {Dq(recID)}),
                  QStringLiteral("Unable to delete Representative: \r\n"));
}

void TdmlGlobals::ClearDatabase() {
    UStrings::ListStr errors;
    errors.Add(QStringLiteral("The following tables reported errors during clear operation: "));
    {
        TBusyCursor busy;
        SetDatabaseActive(false);
        const std::pair<TTable*, const char*> tables[] = {
            {tblCustomer, "Customer.DB"},
            {tblWorker, "Worker.DB"},
            {tblServiceContract, "ServiceConract.DB"}, // the label as it always read
            {tblCall, "Call.DB"},
            {tblItem, "Item.DB"},
            {tblCallComments, "CallComments.DB"},
        };
        for (const auto& [table, label] : tables) {
            try {
                BindDataSet(table);
                table->EmptyTable();
            } catch (...) {
                errors.Add(QString::fromLatin1(label));
            }
        }
        try {
            ExecSQL(QStringLiteral("DELETE FROM Representative"));
        } catch (...) {
            errors.Add(QStringLiteral("Representative.DB"));
        }
        SetDatabaseActive(true);
    }
    if (errors.Count() > 1)
        UErrors::RaiseError(errors.Text());
}

void TdmlGlobals::RemoveBlankKeyRecords() {
    UStrings::ListStr errors;
    errors.Add(QStringLiteral("The following errors occurred during operation: "));
    const char* const statements[] = {
        "DELETE FROM CALL.DB WHERE (CallNr = '') OR (CustomerID = '')",
        "DELETE FROM ServiceContract.DB WHERE (ItemSerialNr = '') OR (CustomerID = '')",
        "DELETE FROM Item.DB WHERE (SerialNr = '')",
        "DELETE FROM Worker.DB WHERE (WorkerNr = '')",
        "DELETE FROM Customer.DB WHERE (CustomerID = '')",
    };
    for (const char* statement : statements) {
        try {
            ExecSQL(QString::fromLatin1(statement));
        } catch (...) {
            errors.Add(CurrentMessage());
        }
    }
    if (errors.Count() > 1)
        UErrors::RaiseError(errors.Text());
}

// ---------------------------------------------------------------------------
// Comment lines and representatives

QString TdmlGlobals::AddCallComment(const QString& callNr, const QString& line) {
    const QString id = NewGuidText();
    tblCallComments->Append();
    try {
        tblCallComments->FieldByName(QStringLiteral("DateTime"))
            .SetAsDateTime(QDateTime::currentDateTime());
        tblCallComments->FieldByName(QStringLiteral("ID")).SetAsString(id);
        tblCallComments->FieldByName(QStringLiteral("CallNr")).SetAsString(callNr);
        tblCallComments->FieldByName(QStringLiteral("CommentLine")).SetAsString(line);
        tblCallComments->Post();
    } catch (...) {
        tblCallComments->Cancel();
        throw;
    }
    return id;
}

QString TdmlGlobals::AddRepresentative(const QString& customerID, const QString& name,
                                       const QString& surname, const QString& mobile,
                                       const QString& email) {
    const QString id = NewGuidText();
    const QString table = QStringLiteral("Representative");
    const auto fit = [&](const char* column, const QString& value) {
        return Dq(DMTables::FitToColumn(table, QLatin1String(column), value));
    };
    ExecSQL(Format("INSERT INTO \"Representative.db\" (RecID, FK_Customer, Name, Surname, Mobile, "
                   "Email) VALUES (\"%s\", \"%s\", \"%s\", \"%s\", \"%s\", \"%s\")",
                   {Dq(id), fit("FK_Customer", customerID), fit("Name", name),
                    fit("Surname", surname), fit("Mobile", mobile), fit("Email", email)}));
    return id;
}

// --- Backup and restore

namespace {
const QString TableFilePattern = QStringLiteral("*.DB");
} // namespace

TArchiveProgress TdmlGlobals::ArchiveProgress() {
    return {[this](int p) { cmpZipperArchiveProgress(p); },
            [this](int p) { cmpZipperArchiveItemProgress(p); }};
}

void TdmlGlobals::BackupDatabase(const QString& fileName, UAbstract::IProgress* overall,
                                 UAbstract::IProgress* current) {
    SetDatabaseActive(false);
    const TArchiveIndicators indicators(m_pOverallProgress, m_pCurrentProgress, overall, current);
    try {
        const TBusyCursor busy;
        cmpZipper.Progress = ArchiveProgress();
        cmpZipper.AddFiles(fileName, m_sDatabaseDir, TableFilePattern);
    } catch (...) {
        SetDatabaseActive(true);
        throw;
    }
    SetDatabaseActive(true);
}

void TdmlGlobals::RestoreDatabase(const QString& fileName, UAbstract::IProgress* overall,
                                  UAbstract::IProgress* current) {
    SetDatabaseActive(false);
    const TArchiveIndicators indicators(m_pOverallProgress, m_pCurrentProgress, overall, current);
    {
        const TBusyCursor busy;
        cmpUnzipper.BaseDir = m_sDatabaseDir;
        cmpUnzipper.Progress = ArchiveProgress();
        cmpUnzipper.CheckFile = CheckRestoredTable;
        cmpUnzipper.Extract(fileName, TableFilePattern);
    }
    SetDatabaseActive(true);
}

void TdmlGlobals::cmpZipperArchiveProgress(int percent) {
    if (m_pOverallProgress)
        m_pOverallProgress->SetPosition(std::min(percent, 100));
}

void TdmlGlobals::cmpZipperArchiveItemProgress(int percent) {
    if (m_pCurrentProgress)
        m_pCurrentProgress->SetPosition(std::min(percent, 100));
}
