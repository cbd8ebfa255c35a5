// korvane-bench DIRECTORY: how quickly the program starts on a filled
// database directory (made by korvane-demo-data), opens, searches and sorts
// its lists, finds a call's customer, item, worker and contract, opens a
// call's details, deletes a customer and adds a call, and how much memory
// that takes; then, in the list windows themselves, how quickly a customer's
// or an item's detail panel opens, a picker opens on its list, and the calls
// list's detail panel follows a row change; how quickly an item's call
// history is written as a PDF; how quickly the call editor opens on a call
// and saves a change of status; how quickly an address book of 10,000
// contacts is imported; and how the calls list jumps to its last row, how
// much memory scrolling through all calls takes, and how quickly a call is
// found by GotoRecord. Everything runs through the data module
// (TdmlGlobals) on the directory, as in the program. Every figure is printed
// beside its floor, the same SQL run straight through SQLite on the same files
// in the same run, and beside its goal for the size of the database
// (workshop: 100,000 calls; huge: a million).
//
// Times are medians of --repeat runs (5 unless given). The program's side of
// figures 1 to 6 runs first and the peak memory is read after it, so that
// neither the floor connection's page cache nor the copies used by 7 and 8
// count. Deleting, adding and saving change the files, so 7, 8, 14 and 15
// run on two copies of the directory (one for the program, one for the
// floor) in a scratch folder that is removed afterwards; the history report
// runs on the program's copy after them.

#include "data/DBTableAccess.h"
#include "data/DMGlobals.h"
#include "data/DMTables.h"
#include "data/engine/TDataSetModel.h"
#include "data/engine/TDatabase.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "data/engine/TTableWriter.h"
#include "editors/FCallEdtr.h"
#include "editors/UDBTextControls.h"
#include "exchange/RHistory.h"
#include "exchange/UWABImporter.h"
#include "lists/FCallsList.h"
#include "lists/FCustomerList.h"
#include "lists/FItemList.h"
#include "lists/FWorkerList.h"
#include "lists/UDetailGrid.h"
#include "lists/UMarkupBox.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"
#include "shell/UStartup.h"
#include "shell/abstract/IDataView.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QUuid>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <optional>
#include <sqlite3.h>
#include <strings.h>
#include <vector>

namespace {

void Print(const QString& text) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

// The scratch folder of the copies, removed also when the bench gives up.
QString g_Scratch;

[[noreturn]] void Die(const QString& text) {
    std::fputs(qPrintable(QStringLiteral("korvane-bench: ") + text + QLatin1Char('\n')), stderr);
    if (!g_Scratch.isEmpty())
        QDir(g_Scratch).removeRecursively();
    std::exit(1);
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Slowest(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

double TimeMs(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

qint64 PeakResidentMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() / 1024;
    return -1;
}

// The table files of `from` copied into `to` (made when missing).
void CopyDirectory(const QString& from, const QString& to) {
    if (!QDir().mkpath(to))
        Die(QStringLiteral("cannot make %1").arg(to));
    for (const QString& name : QDir(from).entryList(QDir::Files))
        if (!QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name))
            Die(QStringLiteral("cannot copy %1 into %2").arg(name, to));
}

// The table as the engine's statements name it: "alias"."Table".
QString Qualified(TDatabase& db, const char* table) {
    return TTableWriter(db, QLatin1String(table)).Qualified();
}

// The main window's part in GotoRecord, which here brings nothing to the front.
class TNoDataView : public Interfaces::IDataView {
public:
    void ShowDataList(int) override {}
};

// The dialog seam while the call editor is measured: its window is handed to
// `Modal`; any box means something went wrong.
class TBenchDialogs : public IDialogs {
public:
    std::function<int(QWidget*)> Modal;

    TMsgButton MessageBox(TMsgKind, const QString&, const QString& text, TMsgButtons) override {
        Die(QStringLiteral("the call editor said: ") + text);
    }
    bool InputQuery(const QString&, const QString& prompt, QString&) override {
        Die(QStringLiteral("the call editor asked: ") + prompt);
    }
    QString OpenFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString FolderName(const QString&, const QString&) override { return {}; }
    int ExecModal(QObject* window, const std::function<int()>&) override {
        return Modal(qobject_cast<QWidget*>(window));
    }
};

// The dialog seam of the list windows' figures: a modal window (a picker) is
// shown, painted and closed with Cancel; nothing else is asked.
class TShowingDialogs : public IDialogs {
public:
    TMsgButton MessageBox(TMsgKind, const QString&, const QString& text, TMsgButtons) override {
        Die(QStringLiteral("unexpected message: ") + text);
    }
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
    QString OpenFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString FolderName(const QString&, const QString&) override { return {}; }
    int ExecModal(QObject* window, const std::function<int()>&) override {
        auto* widget = qobject_cast<QWidget*>(window);
        widget->show();
        widget->repaint();
        QCoreApplication::processEvents();
        widget->hide();
        return QDialog::Rejected;
    }
};

// Reads the cells of the first screen of a grid's model.
void ShowRows(const QAbstractItemModel& model, int rows = 40) {
    for (int row = 0; row < std::min(model.rowCount(), rows); ++row)
        for (int column = 0; column < model.columnCount(); ++column)
            model.data(model.index(row, column));
}

// ---------------------------------------------------------------------------
// The floor: one plain SQLite connection with every table file of a directory
// attached under the name the engine gives it, so the engine's translated SQL
// runs unchanged.

class TFloor {
public:
    explicit TFloor(const QString& directory) {
        if (sqlite3_open_v2(":memory:", &m_pDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK)
            Die(QStringLiteral("cannot open SQLite"));
        for (const DMTables::TTableDef& def : DMTables::TableDefs()) {
            const QString file = QDir(directory).filePath(QLatin1String(def.File));
            if (!QFileInfo::exists(file))
                Die(QStringLiteral("%1 is missing").arg(file));
            const QString alias = USqlDialect::TableAlias(QLatin1String(def.Name));
            Exec(QStringLiteral("ATTACH DATABASE '%1' AS \"%2\"")
                     .arg(USqlDialect::EscapeQuotes(file), alias));
            // The same page cache per file as the engine's connection.
            Exec(QStringLiteral("PRAGMA \"%1\".cache_size = -16384").arg(alias));
        }
    }
    ~TFloor() { sqlite3_close_v2(m_pDb); }
    TFloor(const TFloor&) = delete;
    TFloor& operator=(const TFloor&) = delete;

    void Exec(const QString& sql) {
        if (sqlite3_exec(m_pDb, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            Die(QString::fromUtf8(sqlite3_errmsg(m_pDb)));
    }

    sqlite3_stmt* Prepare(const QString& sql) {
        sqlite3_stmt* stmt = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(m_pDb, utf8.constData(), int(utf8.size()), &stmt, nullptr) !=
            SQLITE_OK)
            Die(QString::fromUtf8(sqlite3_errmsg(m_pDb)));
        return stmt;
    }

    // Steps a prepared statement to its next row, reading every column as the
    // engine does; false at the end.
    static bool StepRow(sqlite3_stmt* stmt) {
        if (sqlite3_step(stmt) != SQLITE_ROW)
            return false;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            sqlite3_column_text(stmt, c);
        return true;
    }

    // Prepares `sql` and steps it, reading every column of each row, until
    // `stop` says so or the rows end; returns the rows stepped.
    qint64 Step(const QString& sql, const std::function<bool(sqlite3_stmt*, qint64)>& stop) {
        sqlite3_stmt* stmt = Prepare(sql);
        qint64 rows = 0;
        while (StepRow(stmt)) {
            ++rows;
            if (stop(stmt, rows))
                break;
        }
        sqlite3_finalize(stmt);
        return rows;
    }

    // Runs a statement that returns no rows, with texts bound to its
    // parameters ?1, ?2, ... in order; a null QVariant binds NULL and an
    // integer binds as one.
    void Run(sqlite3_stmt* stmt, const QVariantList& values) {
        for (int i = 0; i < int(values.size()); ++i) {
            const QVariant& value = values[i];
            if (!value.isValid())
                sqlite3_bind_null(stmt, i + 1);
            else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
                sqlite3_bind_int64(stmt, i + 1, value.toLongLong());
            else
                sqlite3_bind_text(stmt, i + 1, value.toString().toUtf8().constData(), -1,
                                  SQLITE_TRANSIENT);
        }
        if (sqlite3_step(stmt) != SQLITE_DONE)
            Die(QString::fromUtf8(sqlite3_errmsg(m_pDb)));
        sqlite3_reset(stmt);
    }

    static int Column(sqlite3_stmt* stmt, const char* name) {
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            if (strcasecmp(sqlite3_column_name(stmt, c), name) == 0)
                return c;
        return -1;
    }

    // Binds a text to the parameter of that name, whatever its letter case.
    static void BindText(sqlite3_stmt* stmt, const QString& name, const QString& value) {
        for (int i = 1; i <= sqlite3_bind_parameter_count(stmt); ++i) {
            const char* param = sqlite3_bind_parameter_name(stmt, i);
            if (param && name.compare(QLatin1String(param + 1), Qt::CaseInsensitive) == 0)
                sqlite3_bind_text(stmt, i, value.toUtf8().constData(), -1, SQLITE_TRANSIENT);
        }
    }

private:
    sqlite3* m_pDb = nullptr;
};

// ---------------------------------------------------------------------------
// The table of results.

struct TFigure {
    QString Number;
    QString Name;
    std::optional<double> Value; // nothing: not yet measured
    std::optional<double> Floor;
    std::optional<double> Goal;
    QString Unit = QStringLiteral("ms");
    QString Remark;
};

QString Cell(const std::optional<double>& value, const QString& unit) {
    if (!value)
        return QStringLiteral("-");
    return QStringLiteral("%1 %2")
        .arg(*value, 0, 'f',
             *value < 10    ? 2
             : *value < 100 ? 1
                            : 0)
        .arg(unit);
}

void PrintTable(const std::vector<TFigure>& figures) {
    Print(QStringLiteral("%1 %2 %3 %4 %5 %6  %7")
              .arg(QStringLiteral("#"), -3)
              .arg(QStringLiteral("figure"), -52)
              .arg(QStringLiteral("measured"), 11)
              .arg(QStringLiteral("floor"), 10)
              .arg(QStringLiteral("ratio"), 7)
              .arg(QStringLiteral("goal"), 10)
              .arg(QStringLiteral("")));
    Print(QString(106, QLatin1Char('-')));
    for (const TFigure& f : figures) {
        if (!f.Value) {
            Print(QStringLiteral("%1 %2 %3 %4 %5 %6")
                      .arg(f.Number, -3)
                      .arg(f.Name, -52)
                      .arg(QStringLiteral("not yet measured"), 20)
                      .arg(QString(), 7)
                      .arg(f.Goal ? QStringLiteral("<= ") + Cell(f.Goal, f.Unit)
                                  : QStringLiteral("-"),
                           10)
                      .arg(f.Remark.isEmpty() ? QString() : QStringLiteral(" ") + f.Remark));
            continue;
        }
        const QString ratio = f.Floor && *f.Floor > 0
                                  ? QStringLiteral("%1x").arg(*f.Value / *f.Floor, 0, 'f',
                                                              *f.Value < *f.Floor ? 2 : 1)
                                  : QStringLiteral("-");
        const QString verdict = !f.Goal               ? QString()
                                : *f.Value <= *f.Goal ? QStringLiteral("ok")
                                                      : QStringLiteral("OVER");
        Print(QStringLiteral("%1 %2 %3 %4 %5 %6  %7%8")
                  .arg(f.Number, -3)
                  .arg(f.Name, -52)
                  .arg(Cell(f.Value, f.Unit), 11)
                  .arg(Cell(f.Floor, f.Unit), 10)
                  .arg(ratio, 7)
                  .arg(f.Goal ? QStringLiteral("<= ") + Cell(f.Goal, f.Unit) : QStringLiteral("-"),
                       10)
                  .arg(verdict, -4)
                  .arg(f.Remark.isEmpty() ? QString() : QStringLiteral(" ") + f.Remark));
    }
}

struct TGoals {
    double List, Keystroke, Sort, MemoryMiB;
    std::optional<double> Startup, Goto, Details, DeleteCustomer, AddCall, DetailPanel, Picker,
        FollowRow, OpenCallEditor, StatusApplied, LastRow;
};

TFigure Figure(const QString& number, const QString& name, std::optional<double> value,
               std::optional<double> floor, std::optional<double> goal, const QString& remark = {},
               const QString& unit = QStringLiteral("ms")) {
    TFigure figure;
    figure.Number = number;
    figure.Name = name;
    figure.Value = value;
    figure.Floor = floor;
    figure.Goal = goal;
    figure.Unit = unit;
    figure.Remark = remark;
    return figure;
}

// ---------------------------------------------------------------------------
// What the figures work on.

// The rows a list window shows on its first screen.
constexpr int ShownRows = 40;

// A list window's query with the grid model over it, as the program has them.
struct TShownList {
    TQuery Query;
    TDataSetModel Model;
    TShownList(TDatabase& db, const QString& sql) {
        Query.SetDatabase(&db);
        Query.SetSQL(sql);
        Model.SetFetchSize(ShownRows);
    }
    void Open() {
        Query.Open();
        Model.SetDataSet(&Query);
    }
    // Reads the cells of the first screen (one column, or all when -1).
    void Show(int onlyColumn = -1) {
        const int rows = std::min(Model.rowCount(), ShownRows);
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < Model.columnCount(); ++column)
                if (onlyColumn < 0 || column == onlyColumn)
                    Model.data(Model.index(row, column));
    }
};

// A call with a service contract on its item, and its keys.
struct TCallKeys {
    QString CallNr, Customer, Item, Worker;
};

// The three detail boxes of the calls list: the call's customer, its item,
// and its worker with the contract on the item. Their parameters take the
// values of the calls list's fields of the same names.
struct TDetailQuery {
    const char* Name;
    const char* Sql;
    const char* Param;
    std::vector<const char*> Shown; // the fields the box shows
};

const std::vector<TDetailQuery>& DetailQueries() {
    static const std::vector<TDetailQuery> queries = {
        {"customer",
         "Select * \nFrom Customer\nwhere CustomerID = :CustomerID",
         "CustomerID",
         {"FirstName", "LastName", "CompanyName", "Tel", "Fax", "Cell", "Email"}},
        {"item",
         "Select * \nFrom Item\nwhere SerialNr = :EquipmentSerialNr",
         "EquipmentSerialNr",
         // The box also names MeterReading, which the item rows do not have.
         {"Brand", "Model", "Description"}},
        {"service",
         "SELECT C.ProblemDescr AS Problem, C.CustomerID, C.WorkerNr, C.EquipmentSerialNr, "
         "S.ServiceType, W.Name, W.Surname\n"
         "FROM Call C\n"
         "FULL OUTER JOIN Worker W ON (C.WorkerNr = W.WorkerNR)\n"
         "FULL OUTER JOIN ServiceContract S ON ((C.EquipmentSerialNr = S.ItemSerialNr) AND "
         "(C.CustomerID = S.CustomerID))\n"
         "Where (C.CallNr = :CallNr)",
         "CallNr",
         {"Name", "Surname", "ServiceType", "Problem"}},
    };
    return queries;
}

// The statements of deleting a customer with its items, calls and contracts.
const char* const CustomerCascade[] = {
    "DELETE FROM Customer WHERE CustomerID = '%1'",
    "DELETE FROM Item WHERE Owner = '%1'",
    "DELETE FROM Call WHERE CustomerID = '%1'",
    "DELETE FROM ServiceContract WHERE CustomerID='%1'",
};

// The item list's call history query, which the history report runs.
const char* const HistorySql =
    "SELECT C.CallNr, C.JobcardNumber, C.OrderNumber, C.WorkerNr, C.Date_Time, C.ProblemDescr, "
    "(W.Name || ' ' || W.Surname) AS WorkerFullName\r\n"
    "FROM Call C\r\n"
    "LEFT OUTER JOIN Worker W ON (W.WorkerNr = C.WorkerNr)\r\n"
    "Where EquipmentSerialNr =  :SerialNr";
// The calls in that history, and how long writing it may take at any size.
constexpr int HistoryCalls = 500;
constexpr double HistoryGoal = 300;
// The address book of the import's figure, as a contacts program exports
// it: five contacts to a company, every 50th contact without one.
struct TContact {
    QString Company, Given, Surname, Tel, Fax, Cell, Email;
};
constexpr int ImportedContacts = 10000;
constexpr double ImportGoalMs = 2000;

std::vector<TContact> BenchContacts() {
    std::vector<TContact> contacts;
    for (int i = 0; i < ImportedContacts; ++i) {
        const QString n = QString::number(i).rightJustified(5, QLatin1Char('0'));
        contacts.push_back(
            {i % 50 == 49 ? QString() : QStringLiteral("Bench Contacts %1 (Pty) Ltd").arg(i / 5),
             QStringLiteral("Given") + n, QStringLiteral("Surname") + n,
             QStringLiteral("011 555 ") + n, QStringLiteral("011 556 ") + n,
             QStringLiteral("082 555 ") + n, QStringLiteral("contact%1@example.com").arg(n)});
    }
    return contacts;
}

QByteArray VCardsOf(const std::vector<TContact>& contacts) {
    QString text;
    for (const TContact& c : contacts) {
        text += QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:%1;%2;;;\r\nFN:%2 %1\r\n")
                    .arg(c.Surname, c.Given);
        if (!c.Company.isEmpty())
            text += QStringLiteral("ORG:%1\r\n").arg(c.Company);
        text += QStringLiteral("TEL;TYPE=WORK,VOICE:%1\r\nTEL;TYPE=WORK,FAX:%2\r\n"
                               "TEL;TYPE=CELL:%3\r\nEMAIL;TYPE=INTERNET:%4\r\nEND:VCARD\r\n")
                    .arg(c.Tel, c.Fax, c.Cell, c.Email);
    }
    return text.toUtf8();
}

// `count` of `values`, spread evenly over them.
template <typename T>
std::vector<T> Spread(const std::vector<T>& values, int count) {
    std::vector<T> picked;
    for (int k = 0; k < count && !values.empty(); ++k)
        picked.push_back(values[size_t((k * 2 + 1) * values.size() / size_t(count * 2))]);
    return picked;
}

} // namespace

int main(int argc, char* argv[]) {
    // Memory the process frees stays with it. Otherwise the allocator hands
    // it back to the system and the next connection, the program's or the
    // floor's, whichever comes second, pays again for faulting in fresh pages,
    // which on a virtual machine can cost more than the SQL being measured.
    // The peak resident memory is unaffected: it is a high-water mark.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20); // the largest it takes

    // The list windows' figures and the call editor make windows and the
    // history report draws text; the bench shows nothing on screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Measures the program on a database directory filled by korvane-demo-data and prints each "
        "figure beside its SQLite floor and its goal. The directory is not changed: deleting and "
        "adding run on copies."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("DIRECTORY"), QStringLiteral("database directory"));
    parser.addOption({QStringLiteral("repeat"), QStringLiteral("runs per figure (default 5)"),
                      QStringLiteral("N"), QStringLiteral("5")});
    parser.addOption({QStringLiteral("scratch"),
                      QStringLiteral("folder for the copies of the directory (default: the "
                                     "system's temporary folder)"),
                      QStringLiteral("DIR"), QDir::tempPath()});
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    const int repeat = std::max(1, parser.value(QStringLiteral("repeat")).toInt());
    const QString directory = QDir(parser.positionalArguments().first()).absolutePath();

    TNoDataView view;
    g_pDataView = &view;
    TdmlGlobals dm;
    dm.SetDatabaseDir(directory);
    qint64 calls = 0;
    try {
        auto count = dm.Connection().Prepare(QStringLiteral("SELECT COUNT(*) FROM Call"));
        count->Step();
        calls = count->Integer(0);
    } catch (const EError& e) {
        Die(e.Message());
    }
    if (calls == 0)
        Die(QStringLiteral("the Call table is empty; fill the directory with korvane-demo-data."));
    const bool huge = calls >= 500000;
    // Goals at the two sizes; the huge size has goals for the lists, record
    // location (every kind) and the calls list's last row.
    const TGoals goals =
        huge ? TGoals{300, 50, 2000, 400, {}, 100, {}, {}, {}, {}, {}, {}, {}, {}, 300}
             : TGoals{100, 16, 300, 150, 300, 20, 20, 50, 20, 20, 50, 20, 50, 30, 100};

    Print(QStringLiteral("Database: %1 (%2 calls; goals for the %3 size); %4 runs per figure.")
              .arg(QDir::toNativeSeparators(directory))
              .arg(calls)
              .arg(huge ? QStringLiteral("huge") : QStringLiteral("workshop"))
              .arg(repeat));

    struct TList {
        const char* Name;
        QString Sql;
    };
    const std::vector<TList> lists = {
        {"calls", DMTables::SqlCallText()},
        {"customers", DMTables::SqlCustomerText()},
        {"items", DMTables::SqlItemText()},
        {"service contracts", DMTables::SqlServiceContractText()},
        {"workers", DMTables::SqlWorkerText()},
    };

    std::vector<TFigure> figures;
    std::vector<QString> translated;
    // What opening a table reads: its rows in key order.
    std::vector<QString> tableReads;
    std::vector<double> startup;
    // The prefix typed in the search, and a text that matches no company.
    QString prefix;
    const QString nothing = QStringLiteral("Zzzzz");
    qint64 prefixRow = 0;
    // The call made current before sorting.
    QString sortedCall;
    std::vector<double> listTimes[5];
    std::vector<double> keystrokes;
    std::vector<double> missKeystrokes;
    std::vector<double> sortCompany;
    std::vector<double> sortBack;
    // The calls that GotoRecord and the details start from.
    std::vector<TCallKeys> samples;
    std::vector<double> gotoTimes[4];
    std::vector<QString> detailSql;
    std::vector<double> detailTimes;

    try {
        // (1) Start-up: the tables are made where missing and the database
        // opened, tables and list queries, as at the main window's first show.
        for (int run = 0; run < repeat; ++run) {
            dm.SetDatabaseActive(false);
            startup.push_back(TimeMs([&] { OpenDatabaseAtStartup(dm); }));
        }
        for (TQuery* query :
             {dm.sqlCall, dm.sqlCustomer, dm.sqlItem, dm.sqlServiceContract, dm.sqlWorker})
            if (!query->Active())
                Die(QStringLiteral("a list query is closed after start-up"));
        TDatabase& db = dm.Connection();
        for (TTable* table : {dm.tblCustomer, dm.tblWorker, dm.tblServiceContract, dm.tblCall,
                              dm.tblItem, dm.tblCallComments, dm.tblStateTimes}) {
            const TTableWriter layout(db, table->TableName());
            tableReads.push_back(
                QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                    .arg(layout.ColumnList(), layout.Qualified(), layout.OrderList()));
        }
        for (const TList& list : lists)
            translated.push_back(db.Prepare(list.Sql)->Sql());

        // (2) Open a list and have 40 rows ready for the grid.
        for (int run = 0; run < repeat; ++run) {
            for (size_t l = 0; l < lists.size(); ++l) {
                TShownList list(db, lists[l].Sql);
                listTimes[l].push_back(TimeMs([&] {
                    list.Open();
                    list.Show();
                }));
            }
        }

        // The company typed into the search: that of the call three quarters
        // down the list.
        {
            TQuery query;
            query.SetDatabase(&db);
            query.SetSQL(DMTables::SqlCallText());
            query.Open();
            query.MoveBy(calls * 3 / 4);
            prefix = query.FieldByName(QStringLiteral("CompanyName")).AsString().left(5);
        }

        // (3) Incremental search: a fresh list, five keystrokes.
        const auto type = [&](const QString& text, std::vector<double>& times, qint64* row) {
            TShownList list(db, DMTables::SqlCallText());
            list.Open();
            TQuery& query = list.Query;
            for (int n = 1; n <= text.size(); ++n)
                times.push_back(TimeMs([&] {
                    query.Locate(QStringLiteral("CompanyName"), text.left(n),
                                 TDataSet::CaseInsensitive | TDataSet::PartialKey);
                }));
            if (row)
                *row = query.RecNo();
        };
        for (int run = 0; run < repeat; ++run) {
            type(prefix, keystrokes, &prefixRow);
            type(nothing, missKeystrokes, nullptr);
        }

        // (4) Sorting by a header and back, on the 21st row.
        for (int run = 0; run < repeat; ++run) {
            TShownList list(db, DMTables::SqlCallText());
            list.Open();
            TQuery& query = list.Query;
            TDataSetModel& model = list.Model;
            query.MoveBy(20);
            sortedCall = query.FieldByName(QStringLiteral("CallNr")).AsString();
            const auto show = [&] { list.Show(3); };
            sortCompany.push_back(TimeMs([&] {
                model.sort(model.ColumnOf(QStringLiteral("CompanyName")));
                show();
            }));
            if (query.FieldByName(QStringLiteral("CallNr")).AsString() != sortedCall)
                Die(QStringLiteral("sorting by CompanyName lost the current row"));
            sortBack.push_back(TimeMs([&] {
                model.sort(model.ColumnOf(QStringLiteral("CallNr")));
                show();
            }));
            if (query.FieldByName(QStringLiteral("CallNr")).AsString() != sortedCall)
                Die(QStringLiteral("sorting back by CallNr lost the current row"));
        }

        // Calls whose item has a service contract held by the call's
        // customer, spread over the calls list.
        {
            std::vector<TCallKeys> all;
            auto query = db.PrepareNative(
                QStringLiteral("SELECT C.CallNr, C.CustomerID, C.EquipmentSerialNr, C.WorkerNr "
                               "FROM %1 C JOIN %2 S ON (S.ItemSerialNr = C.EquipmentSerialNr "
                               "AND S.CustomerID = C.CustomerID) ORDER BY C.CallNr")
                    .arg(Qualified(db, "Call"), Qualified(db, "ServiceContract")));
            while (query->Step())
                all.push_back({query->Text(0), query->Text(1), query->Text(2), query->Text(3)});
            samples = Spread(all, repeat);
            if (samples.empty())
                Die(QStringLiteral("no call has a service contract on its item"));
        }

        // (5) From a call to its customer, item, worker and contract, each
        // list freshly opened as after start-up.
        for (const TCallKeys& call : samples) {
            dm.RefreshQueries();
            const auto go = [&](std::vector<double>& times, TdmlGlobals::TRecordKind kind,
                                const QString& second, TQuery* list, const char* field,
                                const QString& key) {
                bool found = false;
                times.push_back(TimeMs([&] { found = dm.GotoRecord(kind, key, second); }));
                if (!found || list->FieldByName(QLatin1String(field))
                                      .AsString()
                                      .compare(key, Qt::CaseInsensitive) != 0)
                    Die(QStringLiteral("GotoRecord did not find %1 %2").arg(field, key));
            };
            go(gotoTimes[0], TdmlGlobals::rkCustomer, {}, dm.sqlCustomer, "CustomerID",
               call.Customer);
            go(gotoTimes[1], TdmlGlobals::rkItem, {}, dm.sqlItem, "SerialNr", call.Item);
            go(gotoTimes[2], TdmlGlobals::rkWorker, {}, dm.sqlWorker, "WorkerNR", call.Worker);
            go(gotoTimes[3], TdmlGlobals::rkServiceContract, call.Customer, dm.sqlServiceContract,
               "ItemSerialNr", call.Item);
        }

        // (6) The details of a call: the three queries opened on the call the
        // calls list stands on, and the fields the boxes show read.
        std::vector<std::unique_ptr<TQuery>> details;
        for (const TDetailQuery& detail : DetailQueries()) {
            details.push_back(std::make_unique<TQuery>());
            details.back()->SetSQL(QLatin1String(detail.Sql));
            details.back()->SetMasterSource(dm.dsQCall);
            detailSql.push_back(db.Prepare(QLatin1String(detail.Sql))->Sql());
        }
        for (const TCallKeys& call : samples) {
            if (!dm.sqlCall->Locate(QStringLiteral("CallNr"), call.CallNr))
                Die(QStringLiteral("call %1 is not in the calls list").arg(call.CallNr));
            detailTimes.push_back(TimeMs([&] {
                for (size_t d = 0; d < details.size(); ++d) {
                    dm.OpenDataSet(details[d].get());
                    for (const char* field : DetailQueries()[d].Shown)
                        details[d]->FieldByName(QLatin1String(field)).AsString();
                }
            }));
            if (details[0]->FieldByName(QStringLiteral("CustomerID")).AsString() != call.Customer ||
                details[1]->FieldByName(QStringLiteral("SerialNr")).AsString() != call.Item ||
                details[2]->FieldByName(QStringLiteral("ServiceType")).AsString().isEmpty())
                Die(QStringLiteral("the details of call %1 are wrong").arg(call.CallNr));
            for (const auto& detail : details)
                detail->Close();
        }
    } catch (const EError& e) {
        Die(e.Message());
    }

    // (9) Peak memory of the program's side.
    const qint64 peak = PeakResidentMiB();

    // (10) to (12): the list windows over the data module, as the program
    // has them (not shown, but for the picker). A panel opens, or follows,
    // when the row has settled: the list's IdleUpdate.
    std::vector<double> panelTimes[2];
    std::vector<double> pickerTimes[3];
    std::vector<double> followTimes;
    std::vector<double> endTimes;
    std::vector<double> callGotoTimes;
    qint64 scrolledPeak = 0;
    try {
        TShowingDialogs dialogs;
        IDialogs* previous = SetDialogs(&dialogs);
        {
            TfrmCustomerList customers(nullptr, &dm, nullptr);
            TfrmItemList items(nullptr, &dm, nullptr);
            TfrmWorkerList workers(nullptr, &dm, nullptr);
            TfrmCallsList callsList(nullptr, &dm, nullptr);
            for (const TCallKeys& call : samples) {
                // (10) A customer's items and calls; an item's owner, contract
                // and calls.
                if (!dm.sqlCustomer->Locate(QStringLiteral("CustomerID"), call.Customer) ||
                    !dm.sqlItem->Locate(QStringLiteral("SerialNr"), call.Item))
                    Die(QStringLiteral("customer %1 or item %2 is not in its list")
                            .arg(call.Customer, call.Item));
                panelTimes[0].push_back(TimeMs([&] {
                    customers.IdleUpdate();
                    ShowRows(*customers.grdItems->Model());
                    ShowRows(*customers.grdCallHistory->Model());
                }));
                panelTimes[1].push_back(TimeMs([&] {
                    items.IdleUpdate();
                    items.boxOwner->lblData->text();
                    items.boxServiceContract->lblData->text();
                    ShowRows(*items.grdCalls->Model());
                }));
                if (customers.grdCallHistory->Model()->rowCount() == 0 ||
                    items.grdCalls->Model()->rowCount() == 0 ||
                    !items.boxServiceContract->lblEmpty->isHidden())
                    Die(QStringLiteral("the details of customer %1 or item %2 are missing")
                            .arg(call.Customer, call.Item));

                // (11) A picker shown over its list.
                const struct {
                    TfrmDataList* List;
                    const char* Key;
                } pickerLists[] = {
                    {&customers, "CustomerID"}, {&items, "SerialNr"}, {&workers, "WorkerNR"}};
                for (int p = 0; p < 3; ++p)
                    pickerTimes[p].push_back(TimeMs([&] {
                        pickerLists[p].List->ExecutePopup(QLatin1String(pickerLists[p].Key));
                    }));

                // (12) The calls list moves on to the next call.
                if (!dm.sqlCall->Locate(QStringLiteral("CallNr"), call.CallNr))
                    Die(QStringLiteral("call %1 is not in the calls list").arg(call.CallNr));
                callsList.IdleUpdate();
                followTimes.push_back(TimeMs([&] {
                    dm.sqlCall->Next();
                    callsList.IdleUpdate();
                    for (TMarkupBox* box :
                         {callsList.boxCustomer, callsList.boxItem, callsList.boxService})
                        box->lblData->text();
                }));
                if (!callsList.sqlService->Active() || callsList.sqlService->IsEmpty())
                    Die(QStringLiteral("the calls list's details did not follow call %1")
                            .arg(call.CallNr));
            }

            // (17) Ctrl+End in the calls list freshly opened: the last call
            // current and the grid's last screen read.
            QTableView* grid = callsList.dbcGrid;
            const auto reopenCalls = [&] {
                dm.sqlCall->Close();
                dm.OpenDataSet(dm.sqlCall);
            };
            for (int run = 0; run < repeat; ++run) {
                reopenCalls();
                endTimes.push_back(TimeMs([&] {
                    callsList.MoveToEnd(true); // what Ctrl+End runs
                    const QAbstractItemModel& model = *grid->model();
                    for (int row = std::max(0, model.rowCount() - ShownRows);
                         row < model.rowCount(); ++row)
                        for (int column = 0; column < model.columnCount(); ++column)
                            model.data(model.index(row, column));
                }));
                if (grid->currentIndex().row() != calls - 1 || dm.sqlCall->RecNo() != calls)
                    Die(QStringLiteral("Ctrl+End did not reach the last call"));
            }

            // (19) GotoRecord to a call, as from a detail grid's row, each from
            // the lists freshly read.
            for (const TCallKeys& call : samples) {
                reopenCalls();
                bool found = false;
                callGotoTimes.push_back(
                    TimeMs([&] { found = dm.GotoRecord(TdmlGlobals::rkCall, call.CallNr); }));
                if (!found ||
                    dm.sqlCall->FieldByName(QStringLiteral("CallNr")).AsString() != call.CallNr)
                    Die(QStringLiteral("GotoRecord did not find call %1").arg(call.CallNr));
            }

            // (18) Scrolling through every call from the top, a screen at a
            // time, as the grid reads them.
            reopenCalls();
            QAbstractItemModel& model = *grid->model();
            for (int top = 0;; top += ShownRows) {
                while (top + ShownRows > model.rowCount() && model.canFetchMore({}))
                    model.fetchMore({});
                if (top >= model.rowCount())
                    break;
                for (int row = top; row < std::min(top + ShownRows, model.rowCount()); ++row)
                    for (int column = 0; column < model.columnCount(); ++column)
                        model.data(model.index(row, column));
            }
            if (model.rowCount() != calls)
                Die(QStringLiteral("scrolling showed %1 of %2 calls")
                        .arg(model.rowCount())
                        .arg(calls));
            scrolledPeak = PeakResidentMiB();
        }
        SetDialogs(previous);
    } catch (const EError& e) {
        Die(e.Message());
    }

    // Floors of 1 to 6, on the same files.
    std::vector<double> startupFloors;
    for (int run = 0; run < repeat; ++run) {
        std::unique_ptr<TFloor> fresh;
        const auto first = [](sqlite3_stmt*, qint64) { return true; };
        startupFloors.push_back(TimeMs([&] {
            fresh = std::make_unique<TFloor>(directory);
            for (const QString& sql : tableReads)
                fresh->Step(sql, first);
            for (const QString& sql : translated)
                fresh->Step(sql, first);
        }));
    }
    TFloor floor(directory);
    std::vector<double> listFloors[5];
    std::vector<double> keyFloors;
    std::vector<double> missFloors;
    std::vector<double> companyFloors;
    std::vector<double> backFloors;
    const QString callSql = translated[0];
    // Like the engine, the floor keeps its statement open while the user
    // types and keeps what it has read (here only the company names): each
    // keystroke looks through those first and steps on only when needed.
    const auto typedFloor = [&](const QString& text, std::vector<double>& times) {
        sqlite3_stmt* stmt = floor.Prepare(callSql);
        const int column = TFloor::Column(stmt, "CompanyName");
        std::vector<QByteArray> read;
        bool done = false;
        const QByteArray bytes = text.toUtf8();
        for (int n = 1; n <= text.size(); ++n) {
            const QByteArray typed = bytes.left(n);
            const auto matches = [&](const char* value) {
                return strncasecmp(value, typed.constData(), size_t(n)) == 0;
            };
            times.push_back(TimeMs([&] {
                for (const QByteArray& value : read)
                    if (matches(value.constData()))
                        return;
                while (!done) {
                    if (!TFloor::StepRow(stmt)) {
                        done = true;
                        break;
                    }
                    read.emplace_back(
                        reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)));
                    if (matches(read.back().constData()))
                        return;
                }
            }));
        }
        sqlite3_finalize(stmt);
    };
    // The engine sorts in SQL by the column without regard to case, then by
    // the key; the floor's statement does the same and steps to the current
    // row.
    const auto sortedFloor = [&](const char* column) {
        const QString sql = QStringLiteral("SELECT * FROM (%1) ORDER BY \"%2\" COLLATE NOCASE, "
                                           "\"CallNr\"")
                                .arg(callSql, QLatin1String(column));
        const QByteArray key = sortedCall.toUtf8();
        return TimeMs([&] {
            int keyColumn = -1;
            floor.Step(sql, [&](sqlite3_stmt* stmt, qint64 rows) {
                if (keyColumn < 0)
                    keyColumn = TFloor::Column(stmt, "CallNr");
                static_cast<void>(rows);
                return key == reinterpret_cast<const char*>(sqlite3_column_text(stmt, keyColumn));
            });
        });
    };
    for (int run = 0; run < repeat; ++run) {
        for (size_t l = 0; l < lists.size(); ++l)
            listFloors[l].push_back(TimeMs([&] {
                floor.Step(translated[l],
                           [](sqlite3_stmt*, qint64 rows) { return rows >= ShownRows; });
            }));
        typedFloor(prefix, keyFloors);
        typedFloor(nothing, missFloors);
        companyFloors.push_back(sortedFloor("CompanyName"));
        backFloors.push_back(sortedFloor("CallNr"));
    }
    // Locating: the list's statement is open on its first row; it steps on
    // until the key columns hold the keys, whatever their letter case.
    const auto locateFloor = [&](const QString& sql, const std::vector<const char*>& columns,
                                 const QStringList& keys, std::vector<double>& times) {
        sqlite3_stmt* stmt = floor.Prepare(sql);
        if (!TFloor::StepRow(stmt))
            Die(QStringLiteral("an empty list"));
        std::vector<int> at;
        for (const char* column : columns)
            at.push_back(TFloor::Column(stmt, column));
        std::vector<QByteArray> wanted;
        for (const QString& key : keys)
            wanted.push_back(key.toUtf8());
        const auto matches = [&] {
            for (size_t k = 0; k < at.size(); ++k) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, at[k]));
                if (!text || strcasecmp(text, wanted[k].constData()) != 0)
                    return false;
            }
            return true;
        };
        bool found = false;
        times.push_back(TimeMs([&] {
            found = matches();
            while (!found && TFloor::StepRow(stmt))
                found = matches();
        }));
        sqlite3_finalize(stmt);
        if (!found)
            Die(QStringLiteral("the floor did not find %1").arg(keys.join(QLatin1Char(';'))));
    };
    std::vector<double> gotoFloors[4];
    std::vector<double> detailFloors;
    const QStringList detailParams = {QStringLiteral("CustomerID"),
                                      QStringLiteral("EquipmentSerialNr"),
                                      QStringLiteral("CallNr")};
    for (const TCallKeys& call : samples) {
        locateFloor(translated[1], {"CustomerID"}, {call.Customer}, gotoFloors[0]);
        locateFloor(translated[2], {"SerialNr"}, {call.Item}, gotoFloors[1]);
        locateFloor(translated[4], {"WorkerNR"}, {call.Worker}, gotoFloors[2]);
        locateFloor(translated[3], {"ItemSerialNr", "CustomerID"}, {call.Item, call.Customer},
                    gotoFloors[3]);
        const QStringList values = {call.Customer, call.Item, call.CallNr};
        detailFloors.push_back(TimeMs([&] {
            for (size_t d = 0; d < detailSql.size(); ++d) {
                sqlite3_stmt* stmt = floor.Prepare(detailSql[d]);
                TFloor::BindText(stmt, detailParams[qsizetype(d)], values[qsizetype(d)]);
                TFloor::StepRow(stmt);
                sqlite3_finalize(stmt);
            }
        }));
    }

    // (7) and (8) change the files: the program works on one copy of the
    // directory, the floor on another.
    QTemporaryDir scratch(QDir(parser.value(QStringLiteral("scratch")))
                              .filePath(QStringLiteral("korvane-bench-XXXXXX")));
    if (!scratch.isValid())
        Die(QStringLiteral("cannot make a scratch folder: ") + scratch.errorString());
    g_Scratch = scratch.path();
    const QString programCopy = scratch.filePath(QStringLiteral("program"));
    const QString floorCopy = scratch.filePath(QStringLiteral("floor"));
    CopyDirectory(directory, programCopy);
    CopyDirectory(directory, floorCopy);

    std::vector<QString> customers;
    std::vector<QStringList> cascades;
    std::vector<double> deletes;
    std::vector<double> adds;
    QString lastCallSql;
    QString freeCallSql;
    QString insertLineSql;
    QString insertCallSql;
    // (10) The item whose history is printed, the report's statement as the
    // engine runs it, and the times.
    QString historyItem;
    QString historySql;
    std::vector<double> histories;
    // (14) and (15): the calls edited, as the list shows them, the status
    // each was given, and the editor's lookup statements as SQLite runs them.
    std::vector<TCallKeys> edited;
    std::vector<QString> newStatus;
    std::vector<QString> lookupSql;
    std::vector<double> editorOpens;
    std::vector<double> statusApplies;
    QString updateStatusSql;
    const std::vector<TContact> contacts = BenchContacts();
    std::optional<double> importTime;
    int imported = 0;
    QString companySql;
    QString freeCustomerSql;
    QString insertCustomerSql;
    QString insertRepresentativeSql;
    try {
        dm.SetDatabaseActive(false);
        dm.SetDatabaseDir(programCopy);
        OpenDatabaseAtStartup(dm);
        TDatabase& db = dm.Connection();

        // Customers that have items, calls and contracts, spread over the
        // customer list.
        {
            std::vector<QString> all;
            auto query = db.PrepareNative(
                QStringLiteral("SELECT CustomerID FROM %1 WHERE CustomerID IN (SELECT Owner FROM "
                               "%2) AND CustomerID IN (SELECT CustomerID FROM %3) AND CustomerID "
                               "IN (SELECT CustomerID FROM %4) ORDER BY CustomerID")
                    .arg(Qualified(db, "Customer"), Qualified(db, "Item"), Qualified(db, "Call"),
                         Qualified(db, "ServiceContract")));
            while (query->Step())
                all.push_back(query->Text(0));
            customers = Spread(all, repeat);
            if (customers.empty())
                Die(QStringLiteral("no customer has items, calls and contracts"));
        }
        for (const QString& customer : customers) {
            QStringList statements;
            for (const char* statement : CustomerCascade)
                statements << db.Prepare(QString::fromLatin1(statement).arg(customer))->Sql();
            cascades.push_back(statements);
        }
        lastCallSql = db.Prepare(QStringLiteral("SELECT CallNr FROM CALL ORDER BY CallNr"))->Sql();
        freeCallSql =
            db.Prepare(QStringLiteral("SELECT CallNr FROM CALL WHERE CallNr = :CallNr"))->Sql();
        insertLineSql = QStringLiteral("INSERT INTO %1 (CallNr, ID, DateTime, CommentLine) VALUES "
                                       "(?1, ?2, ?3, ?4)")
                            .arg(Qualified(db, "CallComments"));
        insertCallSql =
            QStringLiteral("INSERT INTO %1 (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, "
                           "OrderNumber, JobcardNumber, Date_Time, Status, Priority, ProblemDescr, "
                           "Comments, PartsUsedReplaced, BillTime, Billed, Callout, StorageArea, "
                           "MeterReading) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, "
                           "?12, ?13, ?14, ?15, ?16, ?17)")
                .arg(Qualified(db, "Call"));

        // (7) Deleting a customer with its items, calls and contracts.
        for (const QString& customer : customers) {
            deletes.push_back(TimeMs([&] { dm.DeleteCustomer(customer); }));
            if (dm.CustomerExists(customer))
                Die(QStringLiteral("customer %1 is still there").arg(customer));
        }

        // (8) Adding a call: the table's new row gets its defaults, number
        // and first comment line, the user's keys, and is saved.
        for (const TCallKeys& call : samples) {
            QString number;
            adds.push_back(TimeMs([&] {
                TTable& table = *dm.tblCall;
                table.Append();
                table.FieldByName(QStringLiteral("CustomerID")).SetAsString(call.Customer);
                table.FieldByName(QStringLiteral("EquipmentSerialNr")).SetAsString(call.Item);
                table.FieldByName(QStringLiteral("WorkerNr")).SetAsString(call.Worker);
                table.FieldByName(QStringLiteral("ProblemDescr"))
                    .SetAsString(QStringLiteral("Does not start."));
                table.Post();
                number = table.FieldByName(QStringLiteral("CallNr")).AsString();
            }));
            if (number.size() < 6 ||
                dm.QueryIsEmpty(
                    QStringLiteral("SELECT * FROM CallComments WHERE CallNr = '%1'").arg(number)))
                Die(QStringLiteral("the new call %1 has no first comment line").arg(number));
        }

        // (14) Opening the call editor on the calls list's current call, to
        // the window shown with its item, customer, worker and comment lines;
        // (15) then a new status saved with Apply: the row, its comment line,
        // and the calls list read again, still on that call.
        {
            std::vector<QString> all;
            auto query = db.PrepareNative(
                QStringLiteral("SELECT CallNr FROM %1 WHERE CustomerID IN (SELECT CustomerID FROM "
                               "%2) ORDER BY CallNr")
                    .arg(Qualified(db, "Call"), Qualified(db, "Customer")));
            while (query->Step())
                all.push_back(query->Text(0));
            TBenchDialogs dialogs;
            IDialogs* previous = SetDialogs(&dialogs);
            TfrmCallEdtr editor(&dm);
            for (TQuery* lookup : {editor.sqlItem, editor.sqlCustomer, editor.sqlWorker,
                                   editor.sqlComments, editor.sqlServiceContract})
                lookupSql.push_back(db.Prepare(lookup->SQL())->Sql());
            updateStatusSql = db.Prepare(QStringLiteral("UPDATE Call SET Status = :Status WHERE "
                                                        "CallNr = :CallNr"))
                                  ->Sql();
            TQuery& list = *dm.sqlCall;
            // The lists catch up with the calls added above first.
            dm.ApplyChanges();
            for (const QString& callNr : Spread(all, repeat)) {
                if (!list.Locate(QStringLiteral("CallNr"), callNr))
                    Die(QStringLiteral("call %1 is not in the list").arg(callNr));
                TTable& table = *dm.tblCall;
                QElapsedTimer opening;
                dialogs.Modal = [&](QWidget* window) {
                    window->show();
                    QCoreApplication::processEvents();
                    editorOpens.push_back(double(opening.nsecsElapsed()) / 1e6);
                    if (editor.edtItemSerialNr->text() !=
                        table.FieldByName(QStringLiteral("EquipmentSerialNr")).AsString())
                        Die(QStringLiteral("the editor does not show call %1").arg(callNr));
                    edited.push_back({callNr, editor.edtCustomerID->text(),
                                      editor.edtItemSerialNr->text(), editor.edtWorkerNr->text()});
                    const QString status = editor.cbxStatus->currentText() == QLatin1String("Busy")
                                               ? QStringLiteral("Pending")
                                               : QStringLiteral("Busy");
                    newStatus.push_back(status);
                    statusApplies.push_back(TimeMs([&] {
                        editor.cbxStatus->setCurrentText(status);
                        editor.btnApply->click();
                        dm.ApplyChanges();
                    }));
                    if (list.FieldByName(QStringLiteral("CallNr")).AsString() != callNr ||
                        list.FieldByName(QStringLiteral("Status")).AsString() != status)
                        Die(QStringLiteral("the calls list left call %1").arg(callNr));
                    editor.btnCancel->click();
                    return int(QDialog::Rejected);
                };
                opening.start();
                if (!dm.CallsAccess()->SyncTableToQuery())
                    Die(QStringLiteral("call %1 is not in the table").arg(callNr));
                editor.SetEditMode(true);
                editor.Execute();
            }
            SetDialogs(previous);
        }

        // (10) The call history of an item with 500 calls written as a PDF
        // file, as the item list's Print command runs it but without the
        // preview: the item with the most calls is given more, up to 500.
        {
            auto most = db.PrepareNative(
                QStringLiteral("SELECT EquipmentSerialNr, COUNT(*), MIN(WorkerNr) FROM %1 "
                               "GROUP BY EquipmentSerialNr ORDER BY 2 DESC LIMIT 1")
                    .arg(Qualified(db, "Call")));
            if (!most->Step())
                Die(QStringLiteral("no item has calls"));
            historyItem = most->Text(0);
            const qint64 has = most->Integer(1);
            const QString worker = most->Text(2);
            const QString now = UStorage::DateTimeText(QDateTime::currentDateTime());
            QStringList rows;
            for (qint64 n = has; n < HistoryCalls; ++n)
                rows << QStringLiteral("('H%1', '%2', '%3', '%4', 'Feeds two sheets at once; "
                                       "rollers worn, replaced and tested.')")
                            .arg(n, 6, 10, QLatin1Char('0'))
                            .arg(USqlDialect::EscapeQuotes(historyItem),
                                 USqlDialect::EscapeQuotes(worker), now);
            if (!rows.isEmpty())
                dm.ExecSQL(QStringLiteral("INSERT INTO Call (CallNr, EquipmentSerialNr, WorkerNr, "
                                          "Date_Time, ProblemDescr) VALUES ") +
                           rows.join(QStringLiteral(", ")));
        }
        dm.ApplyChanges();
        if (!dm.sqlItem->Locate(QStringLiteral("SerialNr"), historyItem))
            Die(QStringLiteral("item %1 is not in the item list").arg(historyItem));
        historySql = db.Prepare(QLatin1String(HistorySql))->Sql();
        {
            TrptHistory report(&dm);
            const QString pdf = scratch.filePath(QStringLiteral("history.pdf"));
            const QString company =
                dm.sqlItem->FieldByName(QStringLiteral("CompanyName")).AsString();
            for (int run = 0; run < repeat; ++run)
                histories.push_back(TimeMs([&] {
                    report.RunToPdf(QLatin1String(HistorySql), historyItem, QString(), company,
                                    pdf);
                }));
            if (QFileInfo(pdf).size() == 0)
                Die(QStringLiteral("the history report wrote nothing"));
        }
        companySql = QStringLiteral("SELECT * FROM %1 WHERE CompanyName = ?1 COLLATE NOCASE AND "
                                    "CompanyName = ?1")
                         .arg(Qualified(db, "Customer"));
        freeCustomerSql = QStringLiteral("SELECT CustomerID FROM %1 WHERE CustomerID = ?1")
                              .arg(Qualified(db, "Customer"));
        insertCustomerSql =
            QStringLiteral("INSERT INTO %1 (CustomerID, CompanyName, Email, Tel, Fax, Cell, "
                           "FirstName, LastName) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)")
                .arg(Qualified(db, "Customer"));
        insertRepresentativeSql =
            QStringLiteral("INSERT INTO %1 (RecID, FK_Customer, Name, Surname, Mobile, Email) "
                           "VALUES (?1, ?2, ?3, ?4, ?5, ?6)")
                .arg(Qualified(db, "Representative"));

        // (10) Importing the address book, with the database closed
        // meanwhile as the Import command has it.
        const QString book = scratch.filePath(QStringLiteral("contacts.vcf"));
        QFile file(book);
        if (!file.open(QIODevice::WriteOnly) || file.write(VCardsOf(contacts)) < 0)
            Die(QStringLiteral("cannot write ") + book);
        file.close();
        dm.SetDatabaseActive(false);
        CWABIterator addressBook;
        addressBook.SetAddressBookFile(book);
        UAbstract::TProgress progress;
        importTime = TimeMs([&] {
            CWABImporter importer(dm);
            addressBook.Iterate(&importer, &progress);
            imported = importer.ContactsAdded();
        });
    } catch (const EError& e) {
        Die(e.Message());
    }

    TFloor copyFloor(floorCopy);
    // The floor of the history: its statement, every row read.
    std::vector<double> historyFloors;
    {
        TFloor historyFloor(programCopy);
        for (int run = 0; run < repeat; ++run)
            historyFloors.push_back(TimeMs([&] {
                sqlite3_stmt* stmt = historyFloor.Prepare(historySql);
                TFloor::BindText(stmt, QStringLiteral("SerialNr"), historyItem);
                while (TFloor::StepRow(stmt)) {
                }
                sqlite3_finalize(stmt);
            }));
    }
    std::vector<double> deleteFloors;
    for (const QStringList& statements : cascades)
        deleteFloors.push_back(TimeMs([&] {
            for (const QString& sql : statements)
                copyFloor.Exec(sql);
        }));
    // The statements of adding a call: the greatest number (the last in text
    // order), whether the next one is free, the first comment line, the call
    // with its defaults and keys; the blank texts as the engine writes them.
    std::vector<double> addFloors;
    for (const TCallKeys& call : samples)
        addFloors.push_back(TimeMs([&] {
            QByteArray last;
            copyFloor.Step(lastCallSql, [&](sqlite3_stmt* stmt, qint64) {
                last = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
                return false;
            });
            qint64 next = last.toLongLong();
            QString number;
            for (bool taken = true; taken;) {
                number = QString::number(++next).rightJustified(6, QLatin1Char('0'));
                sqlite3_stmt* stmt = copyFloor.Prepare(freeCallSql);
                TFloor::BindText(stmt, QStringLiteral("CallNr"), number);
                taken = TFloor::StepRow(stmt);
                sqlite3_finalize(stmt);
            }
            const QString now = UStorage::DateTimeText(QDateTime::currentDateTime());
            sqlite3_stmt* line = copyFloor.Prepare(insertLineSql);
            copyFloor.Run(line, {number, QUuid::createUuid().toString(QUuid::WithBraces).toUpper(),
                                 now, QStringLiteral("Call Created.")});
            sqlite3_finalize(line);
            sqlite3_stmt* insert = copyFloor.Prepare(insertCallSql);
            const QString blank = QLatin1String("");
            copyFloor.Run(insert, {number, call.Customer, call.Worker, call.Item, blank, blank, now,
                                   QStringLiteral("New"), 1, QStringLiteral("Does not start."),
                                   blank, blank, blank, QStringLiteral("False"),
                                   QStringLiteral("False"), blank, 0});
            sqlite3_finalize(insert);
        }));

    // Opening the editor: the call's row and the five lookups; the status:
    // the row written, its comment line, and the calls list's first screen.
    std::vector<double> openFloors;
    std::vector<double> statusFloors;
    for (size_t k = 0; k < edited.size(); ++k) {
        const TCallKeys& call = edited[k];
        openFloors.push_back(TimeMs([&] {
            copyFloor.Step(tableReads[3] + QStringLiteral(" LIMIT 1"),
                           [](sqlite3_stmt*, qint64) { return true; });
            for (const QString& sql : lookupSql) {
                sqlite3_stmt* stmt = copyFloor.Prepare(sql);
                TFloor::BindText(stmt, QStringLiteral("EquipmentSerialNr"), call.Item);
                TFloor::BindText(stmt, QStringLiteral("CustomerID"), call.Customer);
                TFloor::BindText(stmt, QStringLiteral("WorkerNr"), call.Worker);
                TFloor::BindText(stmt, QStringLiteral("CallNr"), call.CallNr);
                while (TFloor::StepRow(stmt)) {
                }
                sqlite3_finalize(stmt);
            }
        }));
        statusFloors.push_back(TimeMs([&] {
            sqlite3_stmt* update = copyFloor.Prepare(updateStatusSql);
            TFloor::BindText(update, QStringLiteral("Status"), newStatus[k]);
            TFloor::BindText(update, QStringLiteral("CallNr"), call.CallNr);
            copyFloor.Run(update, {});
            sqlite3_finalize(update);
            sqlite3_stmt* line = copyFloor.Prepare(insertLineSql);
            copyFloor.Run(line, {call.CallNr, QUuid::createUuid().toString(QUuid::WithBraces),
                                 UStorage::DateTimeText(QDateTime::currentDateTime()),
                                 QStringLiteral("Status changed to ") + newStatus[k]});
            sqlite3_finalize(line);
            copyFloor.Step(translated[0],
                           [](sqlite3_stmt*, qint64 rows) { return rows >= ShownRows; });
        }));
    }
    // The import's statements: whether the company is known, a free ID for a
    // new one, the customer or the representative; one transaction.
    const double importFloor = TimeMs([&] {
        copyFloor.Exec(QStringLiteral("BEGIN"));
        sqlite3_stmt* company = copyFloor.Prepare(companySql);
        sqlite3_stmt* freeId = copyFloor.Prepare(freeCustomerSql);
        sqlite3_stmt* customer = copyFloor.Prepare(insertCustomerSql);
        sqlite3_stmt* representative = copyFloor.Prepare(insertRepresentativeSql);
        qint64 next = 1;
        for (const TContact& c : contacts) {
            if (c.Company.isEmpty())
                continue;
            const QByteArray name = c.Company.toUtf8();
            sqlite3_bind_text(company, 1, name.constData(), -1, SQLITE_TRANSIENT);
            QString owner;
            if (TFloor::StepRow(company))
                owner = QString::fromUtf8(reinterpret_cast<const char*>(
                    sqlite3_column_text(company, TFloor::Column(company, "CustomerID"))));
            sqlite3_reset(company);
            if (!owner.isEmpty()) {
                copyFloor.Run(representative,
                              {QUuid::createUuid().toString(QUuid::WithBraces).toUpper(), owner,
                               c.Given, c.Surname, c.Cell, c.Email});
                continue;
            }
            for (bool taken = true; taken; ++next) {
                owner = QStringLiteral("CUST") + QString::number(next).rightJustified(4, '0');
                const QByteArray id = owner.toUtf8();
                sqlite3_bind_text(freeId, 1, id.constData(), -1, SQLITE_TRANSIENT);
                taken = TFloor::StepRow(freeId);
                sqlite3_reset(freeId);
            }
            copyFloor.Run(customer,
                          {owner, c.Company, c.Email, c.Tel, c.Fax, c.Cell, c.Given, c.Surname});
        }
        for (sqlite3_stmt* stmt : {company, freeId, customer, representative})
            sqlite3_finalize(stmt);
        copyFloor.Exec(QStringLiteral("COMMIT"));
    });

    figures.push_back(Figure(QStringLiteral("1"),
                             QStringLiteral("start-up: missing tables, SetDatabaseActive"),
                             Median(startup), Median(startupFloors), goals.Startup,
                             QStringLiteral("(slowest %1 ms)").arg(Slowest(startup), 0, 'f', 1)));
    for (size_t l = 0; l < lists.size(); ++l)
        figures.push_back(Figure(l == 0 ? QStringLiteral("2") : QString(),
                                 QStringLiteral("open the %1 list, 40 rows in the grid")
                                     .arg(QLatin1String(lists[l].Name)),
                                 Median(listTimes[l]), Median(listFloors[l]), goals.List));
    figures.push_back(Figure(QStringLiteral("3"),
                             QStringLiteral("search \"%1\", median keystroke").arg(prefix),
                             Median(keystrokes), Median(keyFloors), goals.Keystroke,
                             QStringLiteral("(found at row %1)").arg(prefixRow)));
    figures.push_back(Figure(QString(), QStringLiteral("  the same, slowest keystroke"),
                             Slowest(keystrokes), Slowest(keyFloors), {}));
    figures.push_back(Figure(QString(), QStringLiteral("search matching nothing, median keystroke"),
                             Median(missKeystrokes), Median(missFloors), goals.Keystroke,
                             QStringLiteral("(typing \"%1\")").arg(nothing)));
    figures.push_back(Figure(QString(), QStringLiteral("  the same, slowest keystroke"),
                             Slowest(missKeystrokes), Slowest(missFloors), {},
                             QStringLiteral("(the first one reads every call)")));
    figures.push_back(Figure(QStringLiteral("4"),
                             QStringLiteral("sort calls by CompanyName, keep row"),
                             Median(sortCompany), Median(companyFloors), goals.Sort));
    figures.push_back(Figure(QString(), QStringLiteral("  and back by CallNr"), Median(sortBack),
                             Median(backFloors), goals.Sort));
    const char* const targets[] = {"customer", "item", "worker", "service contract"};
    for (int k = 0; k < 4; ++k)
        figures.push_back(Figure(
            k == 0 ? QStringLiteral("5") : QString(),
            QStringLiteral("GotoRecord from a call to its %1").arg(QLatin1String(targets[k])),
            Median(gotoTimes[k]), Median(gotoFloors[k]), goals.Goto,
            QStringLiteral("(slowest %1 ms)").arg(Slowest(gotoTimes[k]), 0, 'f', 1)));
    figures.push_back(Figure(
        QStringLiteral("6"), QStringLiteral("detail queries of one call (customer, item, service)"),
        Median(detailTimes), Median(detailFloors), goals.Details,
        QStringLiteral("(slowest %1 ms)").arg(Slowest(detailTimes), 0, 'f', 1)));
    figures.push_back(Figure(QStringLiteral("7"),
                             QStringLiteral("delete a customer with its cascade"), Median(deletes),
                             Median(deleteFloors), goals.DeleteCustomer,
                             QStringLiteral("(slowest %1 ms)").arg(Slowest(deletes), 0, 'f', 1)));
    figures.push_back(Figure(QStringLiteral("8"),
                             QStringLiteral("add one call: defaults, number, comment line"),
                             Median(adds), Median(addFloors), goals.AddCall,
                             QStringLiteral("(slowest %1 ms)").arg(Slowest(adds), 0, 'f', 1)));
    figures.push_back(Figure(QStringLiteral("9"), QStringLiteral("peak resident memory after 1-6"),
                             double(peak), {}, goals.MemoryMiB, QStringLiteral("(VmHWM)"),
                             QStringLiteral("MiB")));
    figures.push_back(Figure(
        QStringLiteral("10"), QStringLiteral("open a customer's detail panel (items, calls)"),
        Median(panelTimes[0]), {}, goals.DetailPanel,
        QStringLiteral("(slowest %1 ms)").arg(Slowest(panelTimes[0]), 0, 'f', 1)));
    figures.push_back(
        Figure(QString(), QStringLiteral("open an item's detail panel (owner, contract, calls)"),
               Median(panelTimes[1]), {}, goals.DetailPanel,
               QStringLiteral("(slowest %1 ms)").arg(Slowest(panelTimes[1]), 0, 'f', 1)));
    const char* const pickers[] = {"customer", "item", "worker"};
    for (int p = 0; p < 3; ++p)
        figures.push_back(Figure(
            p == 0 ? QStringLiteral("11") : QString(),
            QStringLiteral("the %1 picker opening on its list").arg(QLatin1String(pickers[p])),
            Median(pickerTimes[p]), {}, goals.Picker,
            QStringLiteral("(slowest %1 ms)").arg(Slowest(pickerTimes[p]), 0, 'f', 1)));
    figures.push_back(
        Figure(QStringLiteral("12"), QStringLiteral("calls list's details following a row change"),
               Median(followTimes), {}, goals.FollowRow,
               QStringLiteral("(slowest %1 ms)").arg(Slowest(followTimes), 0, 'f', 1)));
    figures.push_back(
        Figure(QStringLiteral("13"),
               QStringLiteral("history report of an item with %1 calls to PDF").arg(HistoryCalls),
               Median(histories), Median(historyFloors), HistoryGoal,
               QStringLiteral("(slowest %1 ms)").arg(Slowest(histories), 0, 'f', 1)));
    figures.push_back(
        Figure(QStringLiteral("14"), QStringLiteral("opening the call editor on a call"),
               Median(editorOpens), Median(openFloors), goals.OpenCallEditor,
               QStringLiteral("(slowest %1 ms)").arg(Slowest(editorOpens), 0, 'f', 1)));
    figures.push_back(
        Figure(QStringLiteral("15"), QStringLiteral("a status change saved with Apply"),
               Median(statusApplies), Median(statusFloors), goals.StatusApplied,
               QStringLiteral("(row, comment line, list refreshed on the same row; slowest %1 ms)")
                   .arg(Slowest(statusApplies), 0, 'f', 1)));
    figures.push_back(Figure(QStringLiteral("16"),
                             QStringLiteral("import 10,000 contacts from a vCard file"), importTime,
                             importFloor, ImportGoalMs,
                             QStringLiteral("(one run; %1 added)").arg(imported)));
    figures.push_back(Figure(QStringLiteral("17"),
                             QStringLiteral("calls list: Ctrl+End to the last call"),
                             Median(endTimes), {}, goals.LastRow,
                             QStringLiteral("(slowest %1 ms)").arg(Slowest(endTimes), 0, 'f', 1)));
    figures.push_back(Figure(QStringLiteral("18"),
                             QStringLiteral("peak resident memory after scrolling all calls"),
                             double(scrolledPeak), {}, goals.MemoryMiB, QStringLiteral("(VmHWM)"),
                             QStringLiteral("MiB")));
    figures.push_back(Figure(
        QStringLiteral("19"), QStringLiteral("GotoRecord to a call"), Median(callGotoTimes), {},
        goals.Goto, QStringLiteral("(slowest %1 ms)").arg(Slowest(callGotoTimes), 0, 'f', 1)));
    Print(QString());
    PrintTable(figures);
    return 0;
}
