#include "UBenchExchange.h"

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "data/engine/USqlDialect.h"
#include "exchange/RCallCard.h"
#include "exchange/UXMLExporter.h"
#include "shell/UErrors.h"
#include "shell/abstract/IExportQuery.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <sqlite3.h>

namespace {

double Since(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

struct TSource : Interfaces::IExportQuery {
    TdmlGlobals* Dml;
    QString Target;
    TDataSet* GetExportTable(int index) override { return ExportTableOf(Dml, index); }
    QString ChooseTargetFile(const QString&, const QString&) override { return Target; }
};

struct TCounter : UAbstract::TProgress, TCountingExportProgress {
    UAbstract::IProgress& Progress() override { return *this; }
};

// Every row and column of the exported tables read as text, file by file.
double ReadAllFloor(const QString& databaseDir) {
    QElapsedTimer timer;
    timer.start();
    for (const char* table :
         {"Customer", "Item", "ServiceContract", "Worker", "Call", "CallComments"}) {
        sqlite3* db = nullptr;
        const QByteArray file = QFile::encodeName(
            QDir(databaseDir).filePath(QString::fromLatin1(table) + QStringLiteral(".db")));
        if (sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            UErrors::RaiseError(QStringLiteral("cannot open ") + QString::fromLocal8Bit(file));
        }
        sqlite3_stmt* rows = nullptr;
        const QByteArray sql = QByteArray("SELECT * FROM \"") + table + "\"";
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &rows, nullptr) != SQLITE_OK) {
            const QString error = QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_close(db);
            UErrors::RaiseError(error);
        }
        qint64 bytes = 0;
        while (sqlite3_step(rows) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(rows); ++c) {
                sqlite3_column_text(rows, c);
                bytes += sqlite3_column_bytes(rows, c);
            }
        sqlite3_finalize(rows);
        sqlite3_close(db);
    }
    return Since(timer);
}

double RunProgram(const QString& program, const QStringList& arguments, const QString& dir) {
    QProcess process;
    process.setWorkingDirectory(dir);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        UErrors::RaiseError(
            QStringLiteral("%1 failed: %2")
                .arg(program, QString::fromLocal8Bit(process.readAllStandardError())));
    return Since(timer);
}

} // namespace

TExchangeTimes MeasureExchange(const QString& databaseDir, const QString& scratch) {
    TExchangeTimes times;
    TdmlGlobals dml;
    dml.SetDatabaseDir(databaseDir);
    dml.SetDatabaseActive(true);
    QElapsedTimer timer;

    // The export of every table.
    TSource source;
    source.Dml = &dml;
    source.Target = QDir(scratch).filePath(QStringLiteral("export.xml"));
    TCounter counter;
    timer.start();
    TXMLExporter().Export(&source, &counter);
    times.ExportMs = Since(timer);
    times.ExportRows = counter.GetPosition();
    times.ExportFloorMs = ReadAllFloor(databaseDir);

    // One call card: the call, its customer, item, contract and worker.
    auto call = dml.CreateQuery(
        QStringLiteral("SELECT * FROM Call WHERE EquipmentSerialNr <> '' ORDER BY CallNr"), true);
    const QString callNr = call->FieldByName(QStringLiteral("CallNr")).AsString();
    // The lookups' keys, quoted for the statements' texts.
    const auto key = [&](const char* field) {
        return USqlDialect::EscapeQuotes(call->FieldByName(QLatin1String(field)).AsString());
    };
    const QString customerId = key("CustomerID");
    const QString serialNr = key("EquipmentSerialNr");
    const QString workerNr = key("WorkerNr");
    timer.start();
    {
        auto report = dml.CreateQuery(
            QStringLiteral("Select * From Call.DB Where CallNr = '%1'").arg(callNr), true);
        auto customer = dml.CreateQuery(
            QStringLiteral("SELECT * FROM Customer WHERE CustomerID = '%1'").arg(customerId), true);
        auto item = dml.CreateQuery(
            QStringLiteral("SELECT * FROM Item WHERE SerialNr = '%1'").arg(serialNr), true);
        auto contract = dml.CreateQuery(
            QStringLiteral(
                "SELECT * FROM ServiceContract WHERE ItemSerialNr = '%1' AND CustomerID = '%2'")
                .arg(serialNr, customerId),
            true);
        auto worker =
            dml.CreateQuery(QStringLiteral("SELECT WorkerNr, Name, Surname, (Name || ' ' || "
                                           "Surname) AS FullName FROM Worker WHERE "
                                           "WorkerNr = '%1'")
                                .arg(workerNr),
                            true);
        const RCallCard::TSources sources{report.get(), call.get(),     customer.get(),
                                          item.get(),   contract.get(), worker.get()};
        UReportDrawing::RenderToPdf(
            RCallCard::BuildDocument(sources, QImage(), RCallCard::RunDate()),
            QDir(scratch).filePath(QStringLiteral("card.pdf")));
    }
    times.CallCardMs = Since(timer);
    call.reset();

    // Backup and restore beside the zip and unzip programs.
    const QString archive = QDir(scratch).filePath(QStringLiteral("backup.zip"));
    timer.start();
    dml.BackupDatabase(archive, nullptr, nullptr);
    times.BackupMs = Since(timer);
    dml.SetDatabaseActive(false);
    QStringList files = QDir(databaseDir).entryList({QStringLiteral("*.db")}, QDir::Files);
    times.ZipMs = RunProgram(
        QStringLiteral("zip"),
        QStringList{QStringLiteral("-q"), QDir(scratch).filePath(QStringLiteral("zip.zip"))} +
            files,
        databaseDir);
    const QString unpacked = QDir(scratch).filePath(QStringLiteral("unzipped"));
    QDir().mkpath(unpacked);
    times.UnzipMs = RunProgram(
        QStringLiteral("unzip"),
        {QStringLiteral("-q"), QStringLiteral("-o"), archive, QStringLiteral("-d"), unpacked},
        scratch);
    timer.start();
    dml.RestoreDatabase(archive, nullptr, nullptr);
    times.RestoreMs = Since(timer);
    return times;
}

std::vector<TFigure> ExchangeFigures(const TExchangeTimes& times) {
    // At least 300,000 rows a second.
    constexpr double ExportGoalMs = 333;
    constexpr double CallCardGoalMs = 300;
    const double per100k = times.ExportRows > 0 ? 100000.0 / double(times.ExportRows) : 0;
    const double rowsPerSecond =
        times.ExportMs > 0 ? double(times.ExportRows) * 1000 / times.ExportMs : 0;
    std::vector<TFigure> figures;
    figures.push_back(Figure(QStringLiteral("20"),
                             QStringLiteral("XML export, time per 100,000 rows"),
                             times.ExportMs * per100k, times.ExportFloorMs * per100k, ExportGoalMs,
                             QStringLiteral("(one run; %1 rows, %2 rows/s)")
                                 .arg(times.ExportRows)
                                 .arg(rowsPerSecond, 0, 'f', 0)));
    figures.push_back(Figure(
        QStringLiteral("21"), QStringLiteral("backup (ZIP of every table file)"), times.BackupMs,
        times.ZipMs, 2 * times.ZipMs, QStringLiteral("(one run; floor: the zip program)")));
    figures.push_back(Figure(QStringLiteral("22"), QStringLiteral("restore"), times.RestoreMs,
                             times.UnzipMs, 2 * times.UnzipMs,
                             QStringLiteral("(one run; floor: the unzip program)")));
    figures.push_back(Figure(QStringLiteral("23"), QStringLiteral("call card rendered to PDF"),
                             times.CallCardMs, {}, CallCardGoalMs, QStringLiteral("(one run)")));
    return figures;
}
