#include "shell/files/UFiles.h"
#include "support/TestSupport.h"

#include <QtTest>
#include <cstring>
#include <elf.h>

using namespace UFiles;

namespace {

template <typename F, typename V>
void Set(F& field, V value, bool bigEndian) {
    field = bigEndian ? qToBigEndian(F(value)) : qToLittleEndian(F(value));
}

// A minimal ELF file: header, section names, the version block and the section
// header table (null section, names, block). Padding sits between the pairs.
template <typename Ehdr, typename Shdr>
QByteArray BuildElf(unsigned char elfClass, bool big, const QByteArray& sectionName = {}) {
    const QByteArray names = QByteArray("\0.shstrtab\0", 11) +
                             (sectionName.isEmpty() ? ".korvane_version" : sectionName) + '\0';
    const QByteArray block("ProductVersion\0"
                           "2.7\0\0\0\0"
                           "FileVersion\0"
                           "2.7.0.4\0",
                           42);
    Ehdr h{};
    std::memcpy(h.e_ident, ELFMAG, SELFMAG);
    h.e_ident[EI_CLASS] = elfClass;
    h.e_ident[EI_DATA] = big ? ELFDATA2MSB : ELFDATA2LSB;
    Set(h.e_shoff, sizeof(Ehdr) + names.size() + block.size(), big);
    Set(h.e_shentsize, sizeof(Shdr), big);
    Set(h.e_shnum, 3, big);
    Set(h.e_shstrndx, 1, big);
    Shdr s[3]{};
    Set(s[1].sh_name, 1, big);
    Set(s[1].sh_type, SHT_STRTAB, big);
    Set(s[1].sh_offset, sizeof(Ehdr), big);
    Set(s[1].sh_size, names.size(), big);
    Set(s[2].sh_name, 11, big);
    Set(s[2].sh_type, SHT_PROGBITS, big);
    Set(s[2].sh_offset, sizeof(Ehdr) + names.size(), big);
    Set(s[2].sh_size, block.size(), big);
    return QByteArray(reinterpret_cast<const char*>(&h), sizeof h) + names + block +
           QByteArray(reinterpret_cast<const char*>(s), sizeof s);
}

const QByteArray Good = BuildElf<Elf64_Ehdr, Elf64_Shdr>(ELFCLASS64, false);
const size_t Sections = Good.size() - 3 * sizeof(Elf64_Shdr);

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
        QFile file(m_Dir.Path() + QString::number(++m_iFiles));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }

    QString m_AppPathWithoutApp;
    TestSupport::TTempDir m_Dir;
    int m_iFiles = 0;

private Q_SLOTS:
    void AppPathIsTheExecutablesDirectory() {
        const QString expected = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        QCOMPARE(GetAppPath(), expected);
        QCOMPARE(m_AppPathWithoutApp, expected);
        QCOMPARE(ExtractFilePath(QStringLiteral("/korvane")), QStringLiteral("/"));
        QCOMPARE(ExtractFilePath(QStringLiteral("korvane")), QString());
    }

    void ReadsTheVersionOfItsOwnExecutable() {
        const QString self = QCoreApplication::applicationFilePath();
        QCOMPARE(GetVersionString(QStringLiteral("ProductVersion"), self), QStringLiteral("1.3"));
        QCOMPARE(GetVersionString(QStringLiteral("FileVersion"), self), QStringLiteral("1.3.1.0"));
        QCOMPARE(GetVersionString(QStringLiteral("CompanyName"), self), QString());
        // A bare name is looked for beside the running executable.
        const QString bare = QFileInfo(self).fileName();
        QCOMPARE(GetVersionString(QStringLiteral("FileVersion"), bare), QStringLiteral("1.3.1.0"));
    }

    void FilesWithoutTheBlockGiveNothing() {
        const QString key = QStringLiteral("ProductVersion");
        QCOMPARE(GetVersionString(key, QStringLiteral("/bin/true")), QString());
        QCOMPARE(GetVersionString(key, m_Dir.Path() + QStringLiteral("missing")), QString());
        QCOMPARE(GetVersionString(key, Write("#!/bin/sh\necho 1.3\n")), QString());
        const QByteArray other = BuildElf<Elf64_Ehdr, Elf64_Shdr>(ELFCLASS64, false, ".korvane_v");
        QCOMPARE(GetVersionString(key, Write(other)), QString());
    }

    void ReadsEveryClassAndByteOrder_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("64-bit LE") << Good;
        QTest::newRow("64-bit BE") << BuildElf<Elf64_Ehdr, Elf64_Shdr>(ELFCLASS64, true);
        QTest::newRow("32-bit LE") << BuildElf<Elf32_Ehdr, Elf32_Shdr>(ELFCLASS32, false);
        QTest::newRow("32-bit BE") << BuildElf<Elf32_Ehdr, Elf32_Shdr>(ELFCLASS32, true);
    }
    void ReadsEveryClassAndByteOrder() {
        QFETCH(QByteArray, file);
        const QString name = Write(file);
        QCOMPARE(GetVersionString(QStringLiteral("ProductVersion"), name), QStringLiteral("2.7"));
        QCOMPARE(GetVersionString(QStringLiteral("FileVersion"), name), QStringLiteral("2.7.0.4"));
        QCOMPARE(GetVersionString(QStringLiteral("2.7"), name), QString()); // values are no keys
    }

    void DamagedFilesGiveNothing_data() {
        QTest::addColumn<QByteArray>("file");
        const size_t names = Sections + sizeof(Elf64_Shdr), block = names + sizeof(Elf64_Shdr);
        using S = Elf64_Shdr;
        QTest::newRow("cut in the section table") << Good.left(Good.size() - 8);
        QTest::newRow("table offset wraps")
            << Patched<Elf64_Off>(Good, offsetof(Elf64_Ehdr, e_shoff), ~Elf64_Off(0) - 16);
        // The name table loses its last byte, the terminator of the name.
        QTest::newRow("unterminated name")
            << Patched<Elf64_Xword>(Good, names + offsetof(S, sh_size), 27);
        QTest::newRow("block beyond the end")
            << Patched<Elf64_Off>(Good, block + offsetof(S, sh_offset), Good.size() - 4);
        QTest::newRow("block size wraps")
            << Patched<Elf64_Xword>(Good, block + offsetof(S, sh_size), ~Elf64_Xword(0));
    }
    void DamagedFilesGiveNothing() {
        QFETCH(QByteArray, file);
        QCOMPARE(GetVersionString(QStringLiteral("FileVersion"), Write(file)), QString());
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
