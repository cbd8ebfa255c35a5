#include "shell/UVidaz.h"
#include "shell/files/UFiles.h"
#include "support/TestSupport.h"

#include <QtTest>
#include <cstring>
#include <elf.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Makes the file (or, for a name ending in '/', the folder) `path` with its
// parent folders.
void Make(const QString& path) {
    QDir().mkpath(ExtractFilePath(path));
    if (!path.endsWith(u'/') && !QFile(path).open(QIODevice::WriteOnly))
        qFatal("cannot make %s", qPrintable(path));
}

// `check` run by an unprivileged user: root may write into any folder, so
// a test run as root runs it in a child process as "nobody".
bool Unprivileged(const std::function<bool()>& check) {
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

} // namespace

class TestUFiles : public QObject {
    Q_OBJECT
public:
    explicit TestUFiles(const QString& appPathWithoutApp)
        : m_AppPathWithoutApp(appPathWithoutApp) {}

private:
    QString Write(const QByteArray& bytes) {
        return TestSupport::WriteFile(m_Dir.Path() + QString::number(++m_iFiles), bytes);
    }

    QString m_AppPathWithoutApp;
    TestSupport::TTempDir m_Dir;
    int m_iFiles = 0;

private Q_SLOTS:
    void AppPathIsTheExecutablesDirectoryAndItsVersionIsRead() {
        const QString expected = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        QCOMPARE(GetAppPath(), expected);
        QCOMPARE(m_AppPathWithoutApp, expected);
        QCOMPARE(ExtractFilePath(QStringLiteral("/korvane")), QStringLiteral("/"));
        QCOMPARE(ExtractFilePath(QStringLiteral("korvane")), QString());

        const QString self = QCoreApplication::applicationFilePath();
        QCOMPARE(GetVersionString(QStringLiteral("ProductVersion"), self), QStringLiteral("1.3"));
        QCOMPARE(GetVersionString(QStringLiteral("FileVersion"), self), QStringLiteral("1.3.1.0"));
        QCOMPARE(GetVersionString(QStringLiteral("CompanyName"), self), QString());
        // A bare name is looked for beside the running executable.
        const QString bare = QFileInfo(self).fileName();
        QCOMPARE(GetVersionString(QStringLiteral("FileVersion"), bare), QStringLiteral("1.3.1.0"));
        // Files without the block give nothing.
        QCOMPARE(GetVersionString(QStringLiteral("FileVersion"), "/bin/true"), QString());
        QCOMPARE(GetVersionString(QStringLiteral("FileVersion"), m_Dir.Path() + "missing"),
                 QString());
    }

    // A portable copy holds everything beside the executable; an installed
    // program keeps the library in <prefix>/lib/korvane/ and the rest in
    // <prefix>/share/korvane/. What is beside the executable wins.
    void ShippedFilesAndTheDataFolderAreFoundByTheExecutablesFolder() {
        TestSupport::TTempDir dir;
        const QString portable = dir.Path() + "portable/", bin = dir.Path() + "usr/bin/";
        const QString share = dir.Path() + "usr/share/korvane/";
        for (const QString& file :
             {portable + "Countries.dat", portable + "help/", portable + "libVidaz.so", bin,
              share + "Countries.dat", share + "help/", dir.Path() + "usr/lib/korvane/"})
            Make(file);
        QVERIFY(
            QFile::copy(GetAppPath() + "libVidaz.so", dir.Path() + "usr/lib/korvane/libVidaz.so"));

        QCOMPARE(ShippedFile("Countries.dat", portable), portable + "Countries.dat");
        QCOMPARE(ShippedFile("help", portable), portable + "help");
        QCOMPARE(ShippedLibrary("Vidaz", portable), portable + "Vidaz");
        QCOMPARE(ShippedFile("Countries.dat", bin), share + "Countries.dat");
        QCOMPARE(ShippedFile("help", bin), share + "help");
        const QString library = ShippedLibrary("Vidaz", bin);
        QCOMPARE(library, dir.Path() + "usr/lib/korvane/Vidaz");
        // The path found is one the library loads from.
        QString states;
        int code = -1;
        QVERIFY(UVidaz::LoadStringResource(1000, 255, states, code, library));
        QVERIFY(states.startsWith("New\r\n"));

        // A file in neither place is looked for beside the executable, where
        // its absence is reported.
        QCOMPARE(ShippedFile("Korvane.chm", bin), bin + "Korvane.chm");
        QCOMPARE(ShippedLibrary("Other", bin), bin + "Other");
        // Beside the executable comes first.
        Make(bin + "Countries.dat");
        QCOMPARE(ShippedFile("Countries.dat", bin), bin + "Countries.dat");
        // The build folder is a portable copy.
        QCOMPARE(ShippedFile("Countries.dat"), GetAppPath() + "Countries.dat");

        // The data lives beside the executable of a portable copy that can be
        // written, else in the user's data folder; --database moves the database.
        const QString app = dir.Path() + "app/", installed = dir.Path() + "opt/bin/";
        const QString user = dir.Path() + "home/.local/share/korvane", mine = user + "/";
        const auto folders = [&user](const QString& database, const QString& exeDir) {
            const TDataFolders chosen = DataFolders(database, exeDir, user);
            return chosen.Database + " | " + chosen.Backups;
        };
        Make(app + "Countries.dat");
        QCOMPARE(folders({}, app), app + "database/ | " + app + "backups/");
        // So is the build folder, where the tests run.
        QCOMPARE(DataFolders().Database, GetAppPath() + "database/");
        // An installed program's bin/, writable for root, holds no shipped files.
        Make(installed + "korvane");
        QCOMPARE(folders({}, installed), mine + "database/ | " + mine + "backups/");

        const QString shared = dir.Path() + "shared/";
        QCOMPARE(folders(dir.Path() + "shared", app), shared + " | " + app + "backups/");
        QCOMPARE(folders(shared, installed), shared + " | " + mine + "backups/");
        // A relative folder is taken from the current directory.
        const QString current = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.Path()));
        const QString here = QDir::currentPath();
        const QString relative = DataFolders("office/db", app, user).Database;
        QDir::setCurrent(current);
        QCOMPARE(relative, here + "/office/db/");

        // A folder where the data already lives keeps it.
        Make(installed + "database/");
        QCOMPARE(DataFolders({}, installed, user).Database, installed + "database/");

        // A portable copy on a folder that cannot be written.
        QFile::setPermissions(dir.Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadOther | QFile::ExeOther);
        QFile::setPermissions(app, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                       QFile::ExeOther);
        const bool readOnlyGoesHome = Unprivileged([&] {
            return !IsPortableCopy(app) &&
                   folders({}, app) == mine + "database/ | " + mine + "backups/";
        });
        QFile::setPermissions(app, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(readOnlyGoesHome);
        QVERIFY(IsPortableCopy(app));
    }

    // The version block is read from files of every class and byte order;
    // files without a whole block give nothing.
    void ReadsTheBlockOfWholeFilesOnly_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("whole");
        QTest::newRow("64-bit LE") << Good << true;
        QTest::newRow("64-bit BE") << BuildElf<Elf64_Ehdr, Elf64_Shdr>(ELFCLASS64, true) << true;
        QTest::newRow("32-bit LE") << BuildElf<Elf32_Ehdr, Elf32_Shdr>(ELFCLASS32, false) << true;
        QTest::newRow("32-bit BE") << BuildElf<Elf32_Ehdr, Elf32_Shdr>(ELFCLASS32, true) << true;
        const size_t names = Sections + sizeof(Elf64_Shdr), block = names + sizeof(Elf64_Shdr);
        using S = Elf64_Shdr;
        QTest::newRow("no ELF file") << QByteArray("#!/bin/sh\necho 1.3\n") << false;
        QTest::newRow("other section")
            << BuildElf<Elf64_Ehdr, Elf64_Shdr>(ELFCLASS64, false, ".korvane_v") << false;
        QTest::newRow("cut in the section table") << Good.left(Good.size() - 8) << false;
        QTest::newRow("table offset wraps")
            << Patched<Elf64_Off>(Good, offsetof(Elf64_Ehdr, e_shoff), ~Elf64_Off(0) - 16) << false;
        // The name table loses its last byte, the terminator of the name.
        QTest::newRow("unterminated name")
            << Patched<Elf64_Xword>(Good, names + offsetof(S, sh_size), 27) << false;
        QTest::newRow("block beyond the end")
            << Patched<Elf64_Off>(Good, block + offsetof(S, sh_offset), Good.size() - 4) << false;
        QTest::newRow("block size wraps")
            << Patched<Elf64_Xword>(Good, block + offsetof(S, sh_size), ~Elf64_Xword(0)) << false;
    }
    void ReadsTheBlockOfWholeFilesOnly() {
        QFETCH(QByteArray, file);
        QFETCH(bool, whole);
        const QString name = Write(file);
        QCOMPARE(GetVersionString(QStringLiteral("ProductVersion"), name),
                 whole ? QStringLiteral("2.7") : QString());
        QCOMPARE(GetVersionString(QStringLiteral("FileVersion"), name),
                 whole ? QStringLiteral("2.7.0.4") : QString());
        QCOMPARE(GetVersionString(QStringLiteral("2.7"), name), QString()); // values are no keys
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
