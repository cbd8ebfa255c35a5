#pragma once

// The figures of the exchange commands, measured on a copy of a filled
// database folder: the XML export of every table, a backup and a restore
// beside the zip and unzip programs on the same files, and one call card
// written as a PDF.

#include "UBenchSupport.h"

#include <QString>
#include <vector>

struct TExchangeTimes {
    double ExportMs = 0;
    qint64 ExportRows = 0;
    double ExportFloorMs = 0; // every exported row read straight through SQLite
    double BackupMs = 0;
    double ZipMs = 0; // the zip program on the same table files
    double RestoreMs = 0;
    double UnzipMs = 0; // the unzip program on the same archive
    double CallCardMs = 0;
};

// Runs the exchange commands on the database folder `databaseDir` (a copy:
// the restore writes its table files again) with their output in `scratch`.
// Raises EError when a command fails.
TExchangeTimes MeasureExchange(const QString& databaseDir, const QString& scratch);

// Figures 20 to 23 of the benchmark from `times`: the export's time per
// 100,000 rows beside the straight read of the same rows, the backup beside
// zip and the restore beside unzip (each allowed twice the program's time),
// and the call card.
std::vector<TFigure> ExchangeFigures(const TExchangeTimes& times);
