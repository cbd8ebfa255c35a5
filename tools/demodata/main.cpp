// korvane-demo-data PRESET DIRECTORY: a database directory full of realistic
// rows, for trying the program out and for the benchmarks.

#include "data/DMGlobals.h"
#include "data/UDemoData.h"
#include "data/engine/TDatabase.h"
#include "shell/UErrors.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>

namespace {

void Print(const QString& text, FILE* to = stdout) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), to);
    std::fflush(to);
}

int Fail(const QString& text) {
    Print(QStringLiteral("korvane-demo-data: ") + text, stderr);
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvane-demo-data"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Creates the table files missing from DIRECTORY and fills the tables with "
                       "demonstration data.\nPresets: small (200 calls), workshop (100,000 calls, "
                       "20,000 customers), huge (1,000,000 calls).\nThe same preset, sizes and "
                       "seed always give the same rows. A directory whose tables already hold "
                       "rows is left alone."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("PRESET"),
                                 QStringLiteral("small, workshop or huge"));
    parser.addPositionalArgument(QStringLiteral("DIRECTORY"),
                                 QStringLiteral("the database directory (created when missing)"));
    struct TOverride {
        const char* Name;
        qint64 UDemoData::TSizes::*Field;
    };
    const TOverride overrides[] = {
        {"calls", &UDemoData::TSizes::Calls},     {"customers", &UDemoData::TSizes::Customers},
        {"items", &UDemoData::TSizes::Items},     {"contracts", &UDemoData::TSizes::Contracts},
        {"workers", &UDemoData::TSizes::Workers}, {"comments", &UDemoData::TSizes::CommentLines},
    };
    for (const TOverride& o : overrides)
        parser.addOption({QLatin1String(o.Name),
                          QStringLiteral("number of %1 instead of the preset's")
                              .arg(QLatin1String(
                                  o.Name == QLatin1String("comments") ? "comment lines" : o.Name)),
                          QStringLiteral("N")});
    parser.addOption({QStringLiteral("seed"), QStringLiteral("seed of the data (default 1)"),
                      QStringLiteral("N"), QStringLiteral("1")});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 2)
        return Fail(QStringLiteral("expected PRESET and DIRECTORY; see --help."));
    std::optional<UDemoData::TSizes> sizes = UDemoData::Preset(args[0]);
    if (!sizes)
        return Fail(QStringLiteral("unknown preset \"%1\"; choose one of %2.")
                        .arg(args[0], UDemoData::PresetNames().join(QStringLiteral(", "))));
    for (const TOverride& o : overrides) {
        if (!parser.isSet(QLatin1String(o.Name)))
            continue;
        bool ok = false;
        const qint64 value = parser.value(QLatin1String(o.Name)).toLongLong(&ok);
        if (!ok || value < 0 || value > 100000000)
            return Fail(QStringLiteral("--%1 wants a number from 0 to 100000000.")
                            .arg(QLatin1String(o.Name)));
        (*sizes).*o.Field = value;
    }
    bool seedOk = false;
    const quint64 seed = parser.value(QStringLiteral("seed")).toULongLong(&seedOk);
    if (!seedOk)
        return Fail(QStringLiteral("--seed wants a whole number."));

    // The directory is made, its missing table files created and the
    // database opened the way the program does at start-up, and the rows are
    // written through the data module's connection.
    const QString directory = args[1];
    if (!QDir().mkpath(directory))
        return Fail(QStringLiteral("cannot create the directory \"%1\".")
                        .arg(QDir::toNativeSeparators(directory)));
    try {
        TdmlGlobals dataModule;
        dataModule.SetDatabaseDir(directory);
        const QStringList full = UDemoData::TablesWithRows(dataModule.Connection());
        if (!full.isEmpty())
            return Fail(
                QStringLiteral("\"%1\" already holds data: %2. Nothing was changed; "
                               "give an empty directory.")
                    .arg(QDir::toNativeSeparators(directory), full.join(QStringLiteral(", "))));
        const QStringList created = dataModule.CreateMissingTables();
        if (!created.isEmpty())
            Print(QStringLiteral("Created %1.").arg(created.join(QStringLiteral(", "))));
        dataModule.SetDatabaseActive(true);
        QElapsedTimer timer;
        timer.start();
        const UDemoData::TReport report = UDemoData::Fill(
            dataModule, *sizes, seed, [](const QString& table, qint64 rows, qint64 ms) {
                Print(QStringLiteral("%1 %2 rows%3")
                          .arg(table, -16)
                          .arg(rows, 9)
                          .arg(ms > 0 ? QStringLiteral(" (%1 ms)").arg(ms) : QString()));
            });
        dataModule.SetDatabaseActive(false);
        for (const QString& note : report.Notes)
            Print(QStringLiteral("Note: ") + note);
        Print(QStringLiteral("Filled \"%1\" in %2 ms (seed %3).")
                  .arg(QDir::toNativeSeparators(dataModule.DatabaseDir()))
                  .arg(timer.elapsed())
                  .arg(seed));
    } catch (const EError& e) {
        return Fail(e.Message());
    }
    return 0;
}
