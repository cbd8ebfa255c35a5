#pragma once

// The database's ZIP archives: backups written from the table files of the
// database folder, and restores that put table files back from them.
//
// Both sides are careful with the files they leave:
//  - an archive is complete or not there: libzip writes the whole archive to
//    a temporary file beside it and renames it into place on success, and the
//    finished file is synced to the disk before the backup reports success;
//    an archive of the same name that already exists is added to;
//  - a restore first extracts every table file to a hidden temporary file in
//    the database folder and has each checked; only when all of them are
//    good are they renamed over the table files, each rename replacing a
//    file at once. A damaged archive therefore changes nothing.
//
// Entries are stored under bare file names (no folders, no "." or ".."), and
// a table file is any ordinary, visible file whose name matches the pattern
// in any letter case ("*.DB" matches "Call.db").

#include "shell/abstract/UAbstract.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

// Percentages (0 to 100) as the work goes on: of the whole archive, and of
// the file being written or extracted.
struct TArchiveProgress {
    std::function<void(int percent)> OnArchiveProgress;
    std::function<void(int percent)> OnArchiveItemProgress;
};

// Writes archives.
class TZipper {
public:
    TArchiveProgress Progress;

    // Adds the table files of `dir` that match `pattern` to the archive
    // `archiveName` (created when missing) and returns the entry names
    // added. Raises EError when the archive cannot be made or written.
    QStringList AddFiles(const QString& archiveName, const QString& dir, const QString& pattern);
};

// Reads archives.
class TUnzipper {
public:
    TArchiveProgress Progress;

    // Where Extract puts the files.
    QString BaseDir;
    // Given the path of an extracted temporary file and the entry's name;
    // raises EError when the file may not replace a table file.
    std::function<void(const QString& path, const QString& entry)> CheckFile;

    // Extracts the entries of `archiveName` that match `pattern` into
    // BaseDir under their bare names; a file that is there under the same
    // name in another letter case is the one replaced. Returns the names of
    // the files written. Entries that do not match are ignored. Raises
    // EError, changing nothing, when the archive cannot be read or a file
    // fails CheckFile.
    QStringList Extract(const QString& archiveName, const QString& pattern);
};

// "<folder>KorvaneDB <yyyy-MM-dd hh'h'mm>.zip": the folder trimmed of blanks,
// with a separator added when it has none at its end.
QString BackupFileName(const QString& folder, const QDateTime& when);

// Whether `name` matches the file pattern ("*.DB") in any letter case.
bool MatchesFilePattern(const QString& name, const QString& pattern);

// Raises EError unless the extracted file `path` of the archive entry
// `entry` ("Call.db") is a whole table file holding that table.
void CheckRestoredTable(const QString& path, const QString& entry);

// The two indicators of a running backup or restore: put into the slots and
// set to 0 of 0 to 100 for as long as the object lives, forgotten when it
// goes however the work ended. Either may be null.
class TArchiveIndicators {
public:
    TArchiveIndicators(UAbstract::IProgress*& overallSlot, UAbstract::IProgress*& currentSlot,
                       UAbstract::IProgress* overall, UAbstract::IProgress* current);
    ~TArchiveIndicators();
    TArchiveIndicators(const TArchiveIndicators&) = delete;
    TArchiveIndicators& operator=(const TArchiveIndicators&) = delete;

private:
    UAbstract::IProgress*& m_Overall;
    UAbstract::IProgress*& m_Current;
};
