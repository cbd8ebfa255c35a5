#include "shell/files/UFiles.h"
#include "support/TestSupport.h"

#include <QtTest>
#include <cstring>
#include <elf.h>

using namespace UFiles;

namespace {

template <typename T>
T Order(T value, bool bigEndian) {
    return bigEndian ? qToBigEndian(value) : qToLittleEndian(value);
}

// A minimal ELF file: header, section names, one data section and the section
// header table (null section, names, data section).
template <typename Ehdr, typename Shdr>
QByteArray BuildElf(unsigned char elfClass, bool bigEndian, const QByteArray& sectionName,
                    const QByteArray& content) {
    const QByteArray names = QByteArray(1, '\0') + ".shstrtab" + '\0' + sectionName + '\0';
    const size_t namesOffset = sizeof(Ehdr);
    const size_t contentOffset = namesOffset + size_t(names.size());
    const size_t tableOffset = contentOffset + size_t(content.size());

    Ehdr header{};
    std::memcpy(header.e_ident, ELFMAG, SELFMAG);
    header.e_ident[EI_CLASS] = elfClass;
    header.e_ident[EI_DATA] = bigEndian ? ELFDATA2MSB : ELFDATA2LSB;
    header.e_ident[EI_VERSION] = EV_CURRENT;
    header.e_type = Order<decltype(header.e_type)>(ET_EXEC, bigEndian);
    header.e_shoff = Order<decltype(header.e_shoff)>(tableOffset, bigEndian);
    header.e_ehsize = Order<decltype(header.e_ehsize)>(sizeof(Ehdr), bigEndian);
    header.e_shentsize = Order<decltype(header.e_shentsize)>(sizeof(Shdr), bigEndian);
    header.e_shnum = Order<decltype(header.e_shnum)>(3, bigEndian);
    header.e_shstrndx = Order<decltype(header.e_shstrndx)>(1, bigEndian);

    Shdr table[3]{};
    const auto describe = [&](Shdr& s, size_t name, unsigned type, size_t offset, size_t size) {
        s.sh_name = Order<decltype(s.sh_name)>(name, bigEndian);
        s.sh_type = Order<decltype(s.sh_type)>(type, bigEndian);
        s.sh_offset = Order<decltype(s.sh_offset)>(offset, bigEndian);
        s.sh_size = Order<decltype(s.sh_size)>(size, bigEndian);
    };
    describe(table[1], 1, SHT_STRTAB, namesOffset, size_t(names.size()));
    describe(table[2], 11, SHT_PROGBITS, contentOffset, size_t(content.size()));

    QByteArray file(reinterpret_cast<const char*>(&header), sizeof header);
    file += names + content;
    file.append(reinterpret_cast<const char*>(table), sizeof table);
    return file;
}

template <size_t N>
QByteArray Bytes(const char (&literal)[N]) {
    return QByteArray(literal, N - 1);
}

// Two pairs with padding between them.
const QByteArray Block = Bytes("ProductVersion\0"
                               "2.7\0"
                               "\0\0\0"
                               "FileVersion\0"
                               "2.7.0.4\0");

QByteArray Elf64(const QByteArray& content = Block) {
    return BuildElf<Elf64_Ehdr, Elf64_Shdr>(ELFCLASS64, false, ".korvane_version", content);
}

template <typename T>
QByteArray Patched(QByteArray file, size_t offset, T value) {
    std::memcpy(file.data() + offset, &value, sizeof value);
    return file;
}

} // namespace

class TestUFiles : public QObject {
    Q_OBJECT
public:
    explicit TestUFiles(const QString& appPathWithoutApp)
        : m_AppPathWithoutApp(appPathWithoutApp) {}

private:
    QString Write(const QByteArray& bytes) {
        const QString name = m_Dir.Path() + QString::number(++m_iFiles);
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
        return name;
    }

    QString m_AppPathWithoutApp;
    TestSupport::TTempDir m_Dir;
    int m_iFiles = 0;

private Q_SLOTS:
    void AppPathIsTheExecutablesDirectory() {
        const QString expected = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        QCOMPARE(GetAppPath(), expected);
        // Before the application object existed it came from /proc.
        QCOMPARE(m_AppPathWithoutApp, expected);

        QCOMPARE(ExtractFilePath(QStringLiteral("/korvane")), QStringLiteral("/"));
        QCOMPARE(ExtractFilePath(QStringLiteral("/opt/tk/korvane")), QStringLiteral("/opt/tk/"));
        QCOMPARE(ExtractFilePath(QStringLiteral("korvane")), QString());
    }

    void PathStrIsAValue() {
        PathStr path(QStringLiteral("/data/database/"));
        const PathStr copy = path;
        path = PathStr(QStringLiteral("/other/"));
        QCOMPARE(copy.Str(), QStringLiteral("/data/database/"));
        QCOMPARE(path.Str(), QStringLiteral("/other/"));
        QVERIFY(PathStr().IsEmpty());
    }

    void ReadsTheVersionOfItsOwnExecutable() {
        const QString self = QCoreApplication::applicationFilePath();
        QCOMPARE(GetVersionString(QStringLiteral("ProductVersion"), self), QStringLiteral("1.3"));
        QCOMPARE(GetVersionString(QStringLiteral("FileVersion"), self), QStringLiteral("1.3.1.0"));
        QCOMPARE(GetVersionString(QStringLiteral("CompanyName"), self), QString());
        QCOMPARE(GetVersionString(QStringLiteral("productversion"), self), QString());
        // A bare name is looked for beside the running executable.
        const QString bare = QFileInfo(self).fileName();
        QCOMPARE(GetVersionString(QStringLiteral("FileVersion"), bare), QStringLiteral("1.3.1.0"));
    }

    void FilesWithoutTheBlockGiveNothing() {
        const QString key = QStringLiteral("ProductVersion");
        QCOMPARE(GetVersionString(key, QStringLiteral("/bin/true")), QString());
        QCOMPARE(GetVersionString(key, m_Dir.Path() + QStringLiteral("missing")), QString());
        QCOMPARE(GetVersionString(key, QStringLiteral("no-such-file-here")), QString());
        QCOMPARE(GetVersionString(key, m_Dir.Path()), QString()); // a directory
        QCOMPARE(GetVersionString(key, Write("#!/bin/sh\necho 1.3\n")), QString());
        QCOMPARE(GetVersionString(key, Write(QByteArray())), QString());
        const QByteArray other =
            BuildElf<Elf64_Ehdr, Elf64_Shdr>(ELFCLASS64, false, ".korvane_versio", Block);
        QCOMPARE(GetVersionString(key, Write(other)), QString());
    }

    void ReadsEveryClassAndByteOrder_data() {
        QTest::addColumn<QByteArray>("file");
        const QByteArray name(".korvane_version");
        QTest::newRow("64-bit LE") << Elf64();
        QTest::newRow("64-bit BE")
            << BuildElf<Elf64_Ehdr, Elf64_Shdr>(ELFCLASS64, true, name, Block);
        QTest::newRow("32-bit LE")
            << BuildElf<Elf32_Ehdr, Elf32_Shdr>(ELFCLASS32, false, name, Block);
        QTest::newRow("32-bit BE")
            << BuildElf<Elf32_Ehdr, Elf32_Shdr>(ELFCLASS32, true, name, Block);
    }
    void ReadsEveryClassAndByteOrder() {
        QFETCH(QByteArray, file);
        const QString fileName = Write(file);
        QCOMPARE(GetVersionString(QStringLiteral("ProductVersion"), fileName),
                 QStringLiteral("2.7"));
        QCOMPARE(GetVersionString(QStringLiteral("FileVersion"), fileName),
                 QStringLiteral("2.7.0.4"));
    }

    void OddBlocks() {
        const QString product = QStringLiteral("ProductVersion");
        // A value is never taken for a key.
        QCOMPARE(GetVersionString(QStringLiteral("2.7"), Write(Elf64())), QString());
        // An empty value, and a pair cut off by the end of the section.
        const QByteArray cut = Bytes("ProductVersion\0\0FileVersion\0"
                                     "2.8");
        QCOMPARE(GetVersionString(product, Write(Elf64(cut))), QString());
        QCOMPARE(GetVersionString(QStringLiteral("FileVersion"), Write(Elf64(cut))), QString());
        QCOMPARE(GetVersionString(product, Write(Elf64(QByteArray()))), QString());
    }

    void DamagedFilesGiveNothing_data() {
        QTest::addColumn<QByteArray>("file");
        const QByteArray good = Elf64();
        const size_t names = good.size() - 2 * sizeof(Elf64_Shdr);
        const size_t block = good.size() - sizeof(Elf64_Shdr);
        using H = Elf64_Ehdr;
        using S = Elf64_Shdr;

        QTest::newRow("cut in the header") << good.left(40);
        QTest::newRow("cut in the section table") << good.left(good.size() - 8);
        QTest::newRow("unknown class") << Patched<char>(good, EI_CLASS, 7);
        QTest::newRow("unknown byte order") << Patched<char>(good, EI_DATA, 0);
        QTest::newRow("table offset wraps")
            << Patched<Elf64_Off>(good, offsetof(H, e_shoff), ~Elf64_Off(0) - 16);
        QTest::newRow("entries too small")
            << Patched<Elf64_Half>(good, offsetof(H, e_shentsize), 8);
        QTest::newRow("name table out of range")
            << Patched<Elf64_Half>(good, offsetof(H, e_shstrndx), 3);
        QTest::newRow("count 0, no extended count")
            << Patched<Elf64_Half>(good, offsetof(H, e_shnum), 0);
        QTest::newRow("name beyond the name table")
            << Patched<Elf64_Word>(good, block + offsetof(S, sh_name), 1u << 30);
        // The name table loses its last byte, the terminator of the name.
        QTest::newRow("unterminated name")
            << Patched<Elf64_Xword>(good, names + offsetof(S, sh_size), 27);
        QTest::newRow("block beyond the end")
            << Patched<Elf64_Off>(good, block + offsetof(S, sh_offset), good.size() - 4);
        QTest::newRow("block size wraps")
            << Patched<Elf64_Xword>(good, block + offsetof(S, sh_size), ~Elf64_Xword(0));
        QTest::newRow("block without content")
            << Patched<Elf64_Word>(good, block + offsetof(S, sh_type), SHT_NOBITS);
    }
    void DamagedFilesGiveNothing() {
        QFETCH(QByteArray, file);
        QCOMPARE(GetVersionString(QStringLiteral("FileVersion"), Write(file)), QString());
    }

    void ExtendedSectionCount() {
        // With e_shnum 0 and e_shstrndx SHN_XINDEX the real values sit in
        // the first section header.
        QByteArray f = Elf64();
        const size_t first = f.size() - 3 * sizeof(Elf64_Shdr);
        f = Patched<Elf64_Half>(f, offsetof(Elf64_Ehdr, e_shnum), 0);
        f = Patched<Elf64_Half>(f, offsetof(Elf64_Ehdr, e_shstrndx), SHN_XINDEX);
        f = Patched<Elf64_Xword>(f, first + offsetof(Elf64_Shdr, sh_size), 3);
        f = Patched<Elf64_Word>(f, first + offsetof(Elf64_Shdr, sh_link), 1);
        QCOMPARE(GetVersionString(QStringLiteral("ProductVersion"), Write(f)),
                 QStringLiteral("2.7"));
    }
};

int main(int argc, char* argv[]) {
    // Asked before the application object exists, the path comes from /proc.
    const QString appPath = GetAppPath();
    QCoreApplication app(argc, argv);
    TestUFiles test(appPath);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_UFiles.moc"
