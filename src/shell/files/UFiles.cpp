#include "shell/files/UFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>
#include <cstring>
#include <elf.h>
#include <optional>

namespace UFiles {

namespace {

const char VersionSectionName[] = ".korvane_version";

// Upper bounds of what is read from a file: the section header table and the
// section names are small in any real executable, the version block tiny.
constexpr quint64 MaxTableSize = 16 * 1024 * 1024;
constexpr quint64 MaxBlockSize = 64 * 1024;

// Bounds-checked reads from an ELF file of either byte order.
class TElfFile {
public:
    TElfFile(QFile& file, bool bigEndian)
        : m_File(file), m_Size(static_cast<quint64>(file.size())), m_bBigEndian(bigEndian) {}

    // Reads `size` bytes at `offset`; false unless all of them lie in the file.
    bool Read(quint64 offset, quint64 size, QByteArray& data) {
        if (offset > m_Size || size > m_Size - offset || size > MaxTableSize)
            return false;
        if (!m_File.seek(static_cast<qint64>(offset)))
            return false;
        data = m_File.read(static_cast<qint64>(size));
        return static_cast<quint64>(data.size()) == size;
    }

    template <typename T>
    bool ReadStruct(quint64 offset, T& value) {
        QByteArray data;
        if (!Read(offset, sizeof(T), data))
            return false;
        std::memcpy(&value, data.constData(), sizeof(T));
        return true;
    }

    // A field of the file in host byte order.
    template <typename T>
    quint64 Host(T value) const {
        return m_bBigEndian ? qFromBigEndian(value) : qFromLittleEndian(value);
    }

private:
    QFile& m_File;
    quint64 m_Size;
    bool m_bBigEndian;
};

bool IsVersionSectionName(const QByteArray& names, quint64 offset) {
    if (offset >= static_cast<quint64>(names.size()))
        return false;
    const char* name = names.constData() + offset;
    const size_t room = static_cast<size_t>(names.size()) - offset;
    const size_t length = strnlen(name, room);
    return length < room && length == sizeof(VersionSectionName) - 1 &&
           std::memcmp(name, VersionSectionName, length) == 0;
}

// The content of the version section, found by name through the section
// header table; nothing when the file has no such section or is damaged.
template <typename Ehdr, typename Shdr>
std::optional<QByteArray> ReadVersionBlock(TElfFile& elf) {
    Ehdr header;
    if (!elf.ReadStruct(0, header))
        return std::nullopt;
    const quint64 tableOffset = elf.Host(header.e_shoff);
    const quint64 entrySize = elf.Host(header.e_shentsize);
    const quint64 count = elf.Host(header.e_shnum);
    const quint64 namesIndex = elf.Host(header.e_shstrndx);
    // Files with more sections than the header can count (e_shnum 0) are
    // not executables of ours and are not looked into.
    if (tableOffset == 0 || entrySize < sizeof(Shdr) || count == 0 || namesIndex >= count ||
        count > MaxTableSize / entrySize)
        return std::nullopt;

    QByteArray table;
    if (!elf.Read(tableOffset, count * entrySize, table))
        return std::nullopt;
    const auto section = [&](quint64 index) {
        Shdr entry;
        std::memcpy(&entry, table.constData() + index * entrySize, sizeof(Shdr));
        return entry;
    };

    const Shdr namesSection = section(namesIndex);
    QByteArray names;
    if (elf.Host(namesSection.sh_type) == SHT_NOBITS ||
        !elf.Read(elf.Host(namesSection.sh_offset), elf.Host(namesSection.sh_size), names))
        return std::nullopt;

    for (quint64 i = 0; i < count; ++i) {
        const Shdr entry = section(i);
        if (!IsVersionSectionName(names, elf.Host(entry.sh_name)))
            continue;
        const quint64 size = elf.Host(entry.sh_size);
        QByteArray block;
        if (elf.Host(entry.sh_type) == SHT_NOBITS || size > MaxBlockSize ||
            !elf.Read(elf.Host(entry.sh_offset), size, block))
            return std::nullopt;
        return block;
    }
    return std::nullopt;
}

// The value of `key` among the "key\0value\0" pairs of `block`. Empty strings
// where a key is expected are padding between contributions and are skipped;
// a pair cut short by the end of the block is ignored.
QString LookUp(const QByteArray& block, const QByteArray& key) {
    qsizetype pos = 0;
    while (pos < block.size()) {
        const qsizetype keyEnd = block.indexOf('\0', pos);
        if (keyEnd < 0)
            break;
        if (keyEnd == pos) {
            ++pos;
            continue;
        }
        const qsizetype valueEnd = block.indexOf('\0', keyEnd + 1);
        if (valueEnd < 0)
            break;
        if (QByteArrayView(block).sliced(pos, keyEnd - pos) == key)
            return QString::fromUtf8(block.constData() + keyEnd + 1, valueEnd - keyEnd - 1);
        pos = valueEnd + 1;
    }
    return {};
}

} // namespace

QString ExtractFilePath(const QString& fileName) {
    const qsizetype slash = fileName.lastIndexOf(u'/');
    return slash < 0 ? QString() : fileName.left(slash + 1);
}

QString GetAppPath() {
    const QString exe = QCoreApplication::instance()
                            ? QCoreApplication::applicationFilePath()
                            : QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    return ExtractFilePath(exe);
}

namespace {

const QString CountryList = QStringLiteral("Countries.dat");

// <prefix>/`folder`/korvane/ of the executable's folder `appPath`.
QString InstalledFolder(const QString& appPath, const QString& folder) {
    return QDir::cleanPath(appPath + QStringLiteral("../") + folder) + QStringLiteral("/korvane/");
}

QString WithSlash(const QString& dir) {
    return dir.endsWith(u'/') ? dir : dir + u'/';
}

} // namespace

QString ShippedFile(const QString& name, const QString& appPath) {
    const QString beside = appPath + name;
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = InstalledFolder(appPath, QStringLiteral("share")) + name;
    return QFileInfo::exists(installed) ? installed : beside;
}

QString ShippedLibrary(const QString& name, const QString& appPath) {
    const QString fileName = QStringLiteral("lib%1.so").arg(name);
    if (QFileInfo::exists(appPath + fileName))
        return appPath + name;
    const QString installed = InstalledFolder(appPath, QStringLiteral("lib"));
    return QFileInfo::exists(installed + fileName) ? installed + name : appPath + name;
}

QString UserDataFolder() {
    return WithSlash(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

bool IsPortableCopy(const QString& appPath) {
    const QFileInfo folder(appPath);
    return folder.isDir() && folder.isWritable() &&
           (QFileInfo::exists(appPath + CountryList) ||
            QFileInfo(appPath + QStringLiteral("database")).isDir());
}

TDataFolders DataFolders(const QString& databaseDir, const QString& appPath,
                         const QString& userDataDir) {
    const QString base = IsPortableCopy(appPath) ? appPath : WithSlash(userDataDir);
    TDataFolders folders;
    folders.Database = databaseDir.isEmpty() ? base + QStringLiteral("database/")
                                             : WithSlash(QDir(databaseDir).absolutePath());
    folders.Backups = base + QStringLiteral("backups/");
    return folders;
}

QString GetVersionString(const QString& key, const QString& fileName) {
    if (key.isEmpty() || fileName.isEmpty())
        return {};
    const QString path = ExtractFilePath(fileName).isEmpty() ? GetAppPath() + fileName : fileName;
    // Only regular files: opening a pipe or a device could block or never end.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};

    const QByteArray ident = file.read(EI_NIDENT);
    if (ident.size() != EI_NIDENT || std::memcmp(ident.constData(), ELFMAG, SELFMAG) != 0)
        return {};
    const char byteOrder = ident.at(EI_DATA);
    if (byteOrder != ELFDATA2LSB && byteOrder != ELFDATA2MSB)
        return {};

    TElfFile elf(file, byteOrder == ELFDATA2MSB);
    std::optional<QByteArray> block;
    switch (ident.at(EI_CLASS)) {
    case ELFCLASS32:
        block = ReadVersionBlock<Elf32_Ehdr, Elf32_Shdr>(elf);
        break;
    case ELFCLASS64:
        block = ReadVersionBlock<Elf64_Ehdr, Elf64_Shdr>(elf);
        break;
    default:
        return {};
    }
    return block ? LookUp(*block, key.toUtf8()) : QString();
}

} // namespace UFiles
