#pragma once

// The application directory, a path value, and the version strings that an
// executable file carries about itself.

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
