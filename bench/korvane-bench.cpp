// korvane-bench DIRECTORY: how quickly the program starts on a filled
// database directory (made by korvane-demo-data), opens, searches and sorts
// its lists, finds a call's customer, item, worker and contract, opens a
// call's details, deletes a customer and adds a call, and how much memory
// that takes; then, in the list windows themselves, how quickly a customer's
// or an item's detail panel opens, a picker opens on its list, and the calls
// list's detail panel follows a row change; how quickly an item's call
// history is written as a PDF; how quickly the call editor opens on a call
// and saves a change of status; how quickly an address book of 10,000
// contacts is imported; how the calls list jumps to its last row, how much
// memory scrolling through all calls takes, and how quickly a call is found
// by GotoRecord; and how quickly every table is exported as XML, the table
// files are backed up into a ZIP archive and restored from it, and a call
// card is written as a PDF. Everything runs through the data module
// (TdmlGlobals) on the directory, as in the program. Every figure is printed
// beside its floor, the same SQL run straight through SQLite on the same
// files in the same run (for the backup and the restore: the zip and unzip
// programs on the same files), and beside its goal for the size of the
// database (workshop: 100,000 calls; huge: a million).
//
// Times are medians of --repeat runs (5 unless given). The program's side of
// figures 1 to 6 runs first and the peak memory is read after it, so that
// neither the floor connection's page cache nor the copies used by 7 and 8
// count. The list windows' figures (10 to 12, 17 to 19) follow, still before
// any floor, for the same reason (18 is a peak too). Deleting, adding and
// saving change the files, so 7, 8, 14 and 15 run on two copies of the
// directory (one for the program, one for the floor) in a scratch folder
// that is removed afterwards; the history report and the import run on the
// program's copy after them. The exchange figures (20 to 23) come last, on a
// third copy, since the restore writes the table files again.
//
// The groups of figures are in UBenchLists (1 to 8), UBenchWindows (10 to 12,
// 17 to 19), UBenchReports (13 to 16) and UBenchExchange (20 to 23);
// UBenchSupport has what they share.

#include "UBenchExchange.h"
#include "UBenchLists.h"
#include "UBenchReports.h"
#include "UBenchSupport.h"
#include "UBenchWindows.h"
#include "data/DMGlobals.h"
#include "shell/UErrors.h"
#include "shell/abstract/IDataView.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <malloc.h>

namespace {

// The main window's part in GotoRecord, which here brings nothing to the front.
class TNoDataView : public Interfaces::IDataView {
public:
    void ShowDataList(int) override {}
};

struct TOptions {
    QString Directory;
    int Repeat = 5;
    QString Scratch; // where the scratch folder is made
};

TOptions ParseOptions(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Measures the program on a database directory filled by korvane-demo-data and prints each "
        "figure beside its SQLite floor and its goal. The directory is not changed: deleting, "
        "adding, saving, importing and restoring run on copies."));
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
    TOptions options;
    options.Repeat = std::max(1, parser.value(QStringLiteral("repeat")).toInt());
    options.Directory = QDir(parser.positionalArguments().first()).absolutePath();
    options.Scratch = parser.value(QStringLiteral("scratch"));
    return options;
}

qint64 CountCalls(TdmlGlobals& dm) {
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
    return calls;
}

template <typename T>
void Append(std::vector<T>& to, const std::vector<T>& more) {
    to.insert(to.end(), more.begin(), more.end());
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
    // reports draw text; the bench shows nothing on screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const TOptions options = ParseOptions(app);

    TNoDataView view;
    g_pDataView = &view;
    TdmlGlobals dm;
    dm.SetDatabaseDir(options.Directory);
    const qint64 calls = CountCalls(dm);
    const TGoals goals = GoalsFor(calls);
    Print(QStringLiteral("Database: %1 (%2 calls; goals for the %3 size); %4 runs per figure.")
              .arg(QDir::toNativeSeparators(options.Directory))
              .arg(calls)
              .arg(IsHuge(calls) ? QStringLiteral("huge") : QStringLiteral("workshop"))
              .arg(options.Repeat));

    // (1) to (6), the program's side.
    TListFigures lists(dm, options.Repeat, calls);
    lists.MeasureProgram();

    // (9) Peak memory of the program's side.
    const qint64 peak = PeakResidentMiB();

    // (10) to (12) and (17) to (19): the list windows over the data module.
    const TWindowFigures windows =
        MeasureListWindows(dm, lists.Samples(), calls, options.Repeat, goals);

    // Floors of 1 to 6, on the same files.
    lists.MeasureFloors(options.Directory);

    // (7), (8) and (13) to (16) change the files: the program works on one
    // copy of the directory, the floor on another.
    QTemporaryDir scratch(QDir(options.Scratch).filePath(QStringLiteral("korvane-bench-XXXXXX")));
    if (!scratch.isValid())
        Die(QStringLiteral("cannot make a scratch folder: ") + scratch.errorString());
    SetScratch(scratch.path());
    const QString programCopy = scratch.filePath(QStringLiteral("program"));
    const QString floorCopy = scratch.filePath(QStringLiteral("floor"));
    CopyDirectory(options.Directory, programCopy);
    CopyDirectory(options.Directory, floorCopy);

    lists.MeasureChanges(programCopy);
    TReportFigures reports(dm, scratch.path(), options.Repeat);
    reports.MeasureProgram();
    TFloor copyFloor(floorCopy);
    reports.MeasureHistoryFloor(programCopy);
    lists.MeasureChangeFloors(copyFloor);
    reports.MeasureFloors(copyFloor, lists.CallTableRead(), lists.CallListSql());

    // (20) to (23): the exchange commands on a third copy, as the directory
    // was made; the restore writes its table files again.
    const QString exchangeCopy = scratch.filePath(QStringLiteral("exchange"));
    CopyDirectory(options.Directory, exchangeCopy);
    TExchangeTimes exchange;
    try {
        exchange = MeasureExchange(exchangeCopy, scratch.path());
    } catch (const EError& e) {
        Die(e.Message());
    }

    std::vector<TFigure> figures = lists.Figures(goals);
    figures.push_back(Figure(QStringLiteral("9"), QStringLiteral("peak resident memory after 1-6"),
                             double(peak), {}, goals.MemoryMiB, QStringLiteral("(VmHWM)"),
                             QStringLiteral("MiB")));
    Append(figures, windows.Panels);
    Append(figures, reports.Figures(goals));
    Append(figures, windows.Scrolling);
    Append(figures, ExchangeFigures(exchange));
    Print(QString());
    PrintTable(figures);
    return 0;
}
