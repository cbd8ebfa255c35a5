#pragma once

// The application directory, where the program's shipped files and its data
// are, a path value, and the version strings that an executable file carries
// about itself.

#include <QString>

namespace UFiles {

// A path held by value.
class PathStr {
public:
    PathStr() = default;
    explicit PathStr(const QString& path) : m_Path(path) {}

    const QString& Str() const { return m_Path; }
    bool IsEmpty() const { return m_Path.isEmpty(); }

    friend bool operator==(const PathStr&, const PathStr&) = default;

private:
    QString m_Path;
};

// The directory part of `fileName`, ending in '/'; empty when the name has no
// directory part.
QString ExtractFilePath(const QString& fileName);

// The directory of the running executable, ending in '/'.
QString GetAppPath();

// --- The program's shipped files and its data folders. The program runs from
// a folder that holds everything it ships (its build folder or a portable
// copy), or installed under a prefix: the executable in <prefix>/bin/, the
// customisation library in <prefix>/lib/korvane/ and the other shipped files
// (the country list, the help pages) in <prefix>/share/korvane/, the prefix
// being the parent of the executable's folder.

// The shipped file or folder `name` ("Countries.dat", "help") of the program
// whose executable is in `appPath` (ending in '/'): beside the executable when
// it is there, else in <prefix>/share/korvane/ when it is there, else beside
// the executable (where a missing file is then reported).
QString ShippedFile(const QString& name, const QString& appPath = GetAppPath());

// The same for the shared library `name`, given as QLibrary takes it (without
// "lib" and ".so"); the installed one is looked for in <prefix>/lib/korvane/.
QString ShippedLibrary(const QString& name, const QString& appPath = GetAppPath());

// The current user's data folder of the program (~/.local/share/korvane/ for
// a program named "korvane"), ending in '/'.
QString UserDataFolder();

// Where the data lives; both folders end in '/'.
struct TDataFolders {
    QString Database;
    QString Backups;
};

// True when the executable's folder `appPath` is a portable copy that keeps
// its data beside it: the folder can be written and holds the shipped country
// list or a "database" folder already. An installed program's bin/ holds
// neither, even where it can be written (by root).
bool IsPortableCopy(const QString& appPath);

// The folders "database/" and "backups/" beside the executable when `appPath`
// is a portable copy, otherwise in `userDataDir`. A non-empty `databaseDir`
// (given on the command line) is the database folder instead, taken from the
// current directory when relative; the backups stay where they were.
TDataFolders DataFolders(const QString& databaseDir = {}, const QString& appPath = GetAppPath(),
                         const QString& userDataDir = UserDataFolder());

// The value stored under `key` in the version block of the executable (or
// shared library) `fileName`: the ELF section ".korvane_version", which holds
// "key\0value\0" pairs. A name without a directory part is looked for beside
// the running executable. A missing, unreadable or damaged file, a file
// without the block and an unknown key all give an empty string.
QString GetVersionString(const QString& key, const QString& fileName);

} // namespace UFiles

// The rest of the program calls these without the unit's name.
using UFiles::GetAppPath;
using UFiles::GetVersionString;
using UFiles::PathStr;
using UFiles::ShippedFile;
