#include "UBenchSupport.h"

#include "data/DMTables.h"
#include "data/engine/TDatabase.h"
#include "data/engine/TTableWriter.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <strings.h>

namespace {

QString g_Scratch;

} // namespace

void Print(const QString& text) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

void SetScratch(const QString& folder) {
    g_Scratch = folder;
}

void Die(const QString& text) {
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

void CopyDirectory(const QString& from, const QString& to) {
    if (!QDir().mkpath(to))
        Die(QStringLiteral("cannot make %1").arg(to));
    for (const QString& name : QDir(from).entryList(QDir::Files))
        if (!QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name))
            Die(QStringLiteral("cannot copy %1 into %2").arg(name, to));
}

QString Qualified(TDatabase& db, const char* table) {
    return TTableWriter(db, QLatin1String(table)).Qualified();
}

void ShowRows(const QAbstractItemModel& model, int rows) {
    for (int row = 0; row < std::min(model.rowCount(), rows); ++row)
        for (int column = 0; column < model.columnCount(); ++column)
            model.data(model.index(row, column));
}

// ---------------------------------------------------------------------------

TShownList::TShownList(TDatabase& db, const QString& sql) {
    Query.SetDatabase(&db);
    Query.SetSQL(sql);
    Model.SetFetchSize(ShownRows);
}

void TShownList::Open() {
    Query.Open();
    Model.SetDataSet(&Query);
}

void TShownList::Show(int onlyColumn) {
    const int rows = std::min(Model.rowCount(), ShownRows);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < Model.columnCount(); ++column)
            if (onlyColumn < 0 || column == onlyColumn)
                Model.data(Model.index(row, column));
}

// ---------------------------------------------------------------------------

TFloor::TFloor(const QString& directory) {
    if (sqlite3_open_v2(":memory:", &m_pDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK)
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

TFloor::~TFloor() {
    sqlite3_close_v2(m_pDb);
}

void TFloor::Exec(const QString& sql) {
    if (sqlite3_exec(m_pDb, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        Die(QString::fromUtf8(sqlite3_errmsg(m_pDb)));
}

sqlite3_stmt* TFloor::Prepare(const QString& sql) {
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(m_pDb, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK)
        Die(QString::fromUtf8(sqlite3_errmsg(m_pDb)));
    return stmt;
}

bool TFloor::StepRow(sqlite3_stmt* stmt) {
    if (sqlite3_step(stmt) != SQLITE_ROW)
        return false;
    for (int c = 0; c < sqlite3_column_count(stmt); ++c)
        sqlite3_column_text(stmt, c);
    return true;
}

qint64 TFloor::Step(const QString& sql, const std::function<bool(sqlite3_stmt*, qint64)>& stop) {
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

void TFloor::Run(sqlite3_stmt* stmt, const QVariantList& values) {
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

int TFloor::Column(sqlite3_stmt* stmt, const char* name) {
    for (int c = 0; c < sqlite3_column_count(stmt); ++c)
        if (strcasecmp(sqlite3_column_name(stmt, c), name) == 0)
            return c;
    return -1;
}

void TFloor::BindText(sqlite3_stmt* stmt, const QString& name, const QString& value) {
    for (int i = 1; i <= sqlite3_bind_parameter_count(stmt); ++i) {
        const char* param = sqlite3_bind_parameter_name(stmt, i);
        if (param && name.compare(QLatin1String(param + 1), Qt::CaseInsensitive) == 0)
            sqlite3_bind_text(stmt, i, value.toUtf8().constData(), -1, SQLITE_TRANSIENT);
    }
}

// ---------------------------------------------------------------------------

namespace {

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

} // namespace

TFigure Figure(const QString& number, const QString& name, std::optional<double> value,
               std::optional<double> floor, std::optional<double> goal, const QString& remark,
               const QString& unit) {
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

QString SlowestRemark(const std::vector<double>& times) {
    return QStringLiteral("(slowest %1 ms)").arg(Slowest(times), 0, 'f', 1);
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

bool IsHuge(qint64 calls) {
    return calls >= 500000;
}

TGoals GoalsFor(qint64 calls) {
    return IsHuge(calls) ? TGoals{300, 50, 2000, 400, {}, 100, {}, {}, {}, {}, {}, {}, {}, {}, 300}
                         : TGoals{100, 16, 300, 150, 300, 20, 20, 50, 20, 20, 50, 20, 50, 30, 100};
}
