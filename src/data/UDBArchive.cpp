#include "data/UDBArchive.h"

#include "data/engine/TDatabase.h"
#include "shell/UErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <vector>
#include <zip.h>

namespace {

struct TZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using TZipPtr = std::unique_ptr<zip_t, TZipCloser>;

struct TZipFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using TZipFilePtr = std::unique_ptr<zip_file_t, TZipFileCloser>;

QString OpenError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

[[noreturn]] void Fail(const char* heading, const QString& what, const QString& why) {
    UErrors::RaiseError(QString::fromLatin1(heading) + QStringLiteral(":\r\n\r\n") + what +
                        QStringLiteral(": ") + why);
}

int Percent(double fraction) {
    return std::clamp(static_cast<int>(fraction * 100.0 + 0.5), 0, 100);
}

void Tell(const std::function<void(int)>& handler, int percent) {
    if (handler)
        handler(std::min(percent, 100));
}

// Puts what was written to `fd` on the disk.
void SyncDescriptor(int fd) {
    if (fd >= 0)
        ::fsync(fd);
}

void SyncPath(const QString& path, bool directory) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          directory ? (O_RDONLY | O_DIRECTORY) : O_RDONLY);
    if (fd < 0)
        return;
    SyncDescriptor(fd);
    ::close(fd);
}

QString BareName(const QString& entry) {
    const qsizetype cut = std::max(entry.lastIndexOf(u'/'), entry.lastIndexOf(u'\\'));
    const QString name = entry.mid(cut + 1);
    return name == QLatin1String(".") || name == QLatin1String("..") ? QString() : name;
}

// libzip tells how far zip_close has come over the whole archive, each entry
// taking an equal share; the entry's own progress follows from that.
struct TWriteProgress {
    const TArchiveProgress* Progress;
    int Count;
};

void WriteProgress(zip_t*, double fraction, void* state) {
    const auto* progress = static_cast<TWriteProgress*>(state);
    Tell(progress->Progress->OnArchiveProgress, Percent(fraction));
    if (progress->Count <= 0)
        return;
    const double done = fraction * progress->Count;
    const int entry = std::min(static_cast<int>(done), progress->Count - 1);
    Tell(progress->Progress->OnArchiveItemProgress, Percent(done - entry));
}

} // namespace

bool MatchesFilePattern(const QString& name, const QString& pattern) {
    const QRegularExpression expression(QRegularExpression::wildcardToRegularExpression(pattern),
                                        QRegularExpression::CaseInsensitiveOption);
    return expression.match(name).hasMatch();
}

QString BackupFileName(const QString& folder, const QDateTime& when) {
    QString path = folder.trimmed();
    if (!path.isEmpty() && !path.endsWith(u'/'))
        path += u'/';
    return QStringLiteral("%1KorvaneDB %2.zip")
        .arg(path, when.toString(QStringLiteral("yyyy-MM-dd HH'h'mm")));
}

QStringList TZipper::AddFiles(const QString& archiveName, const QString& dir,
                              const QString& pattern) {
    // Ordinary visible files only: no folders, links, hidden or system files.
    QStringList files;
    for (const QFileInfo& info :
         QDir(dir).entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name))
        if (MatchesFilePattern(info.fileName(), pattern))
            files << info.fileName();

    int code = 0;
    TZipPtr archive(zip_open(QFile::encodeName(archiveName).constData(), ZIP_CREATE, &code));
    if (!archive)
        Fail("Unable to create the backup archive", archiveName, OpenError(code));

    for (const QString& name : files) {
        const QByteArray path = QFile::encodeName(QDir(dir).filePath(name));
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_file_create(path.constData(), 0, -1, &error);
        if (!source) {
            const QString why = QString::fromUtf8(zip_error_strerror(&error));
            zip_error_fini(&error);
            Fail("Unable to add a file to the backup archive", name, why);
        }
        zip_error_fini(&error);
        if (zip_file_add(archive.get(), name.toUtf8().constData(), source,
                         ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            Fail("Unable to add a file to the backup archive", name,
                 QString::fromUtf8(zip_strerror(archive.get())));
        }
    }

    TWriteProgress state{&Progress, static_cast<int>(files.size())};
    zip_register_progress_callback_with_state(archive.get(), 0.005, WriteProgress, nullptr, &state);
    if (zip_close(archive.get()) != 0)
        Fail("Unable to write the backup archive", archiveName,
             QString::fromUtf8(zip_strerror(archive.get())));
    archive.release(); // zip_close has freed it
    SyncPath(archiveName, false);
    SyncPath(QFileInfo(archiveName).absolutePath(), true);
    Tell(Progress.OnArchiveProgress, 100);
    return files;
}

QStringList TUnzipper::Extract(const QString& archiveName, const QString& pattern) {
    int code = 0;
    TZipPtr archive(zip_open(QFile::encodeName(archiveName).constData(), ZIP_RDONLY, &code));
    if (!archive)
        Fail("Unable to open the backup archive", archiveName, OpenError(code));

    struct TEntry {
        zip_uint64_t Index;
        QString Name;   // as stored
        QString Target; // the file it becomes
    };
    std::vector<TEntry> entries;
    const QDir base(BaseDir);
    const QStringList present = base.entryList(QDir::Files | QDir::Hidden);
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* stored = zip_get_name(archive.get(), zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        if (!stored)
            continue;
        const QString name = QString::fromUtf8(stored);
        const QString bare = BareName(name);
        if (bare.isEmpty() || !MatchesFilePattern(bare, pattern))
            continue;
        QString target = bare;
        for (const QString& file : present)
            if (file.compare(bare, Qt::CaseInsensitive) == 0)
                target = file;
        entries.push_back({zip_uint64_t(i), name, target});
    }

    // Every file is written and checked before any table file is replaced.
    std::vector<std::unique_ptr<QTemporaryFile>> extracted;
    const int total = static_cast<int>(entries.size());
    for (int n = 0; n < total; ++n) {
        const TEntry& entry = entries[size_t(n)];
        zip_stat_t info;
        zip_stat_init(&info);
        zip_stat_index(archive.get(), entry.Index, 0, &info);
        const double size = (info.valid & ZIP_STAT_SIZE) && info.size > 0 ? double(info.size) : 1;

        TZipFilePtr source(zip_fopen_index(archive.get(), entry.Index, 0));
        if (!source)
            Fail("Unable to read the backup archive", entry.Name,
                 QString::fromUtf8(zip_strerror(archive.get())));
        auto file =
            std::make_unique<QTemporaryFile>(base.filePath(QStringLiteral(".restoring-XXXXXX")));
        if (!file->open())
            Fail("Unable to restore the database file", entry.Target, file->errorString());

        Tell(Progress.OnArchiveItemProgress, 0);
        std::vector<char> buffer(1 << 16);
        double done = 0;
        for (;;) {
            const zip_int64_t read = zip_fread(source.get(), buffer.data(), buffer.size());
            if (read < 0)
                Fail("Unable to read the backup archive", entry.Name,
                     QString::fromUtf8(zip_file_strerror(source.get())));
            if (read == 0)
                break;
            if (file->write(buffer.data(), read) != read)
                Fail("Unable to restore the database file", entry.Target, file->errorString());
            done += double(read);
            Tell(Progress.OnArchiveItemProgress, Percent(done / size));
            Tell(Progress.OnArchiveProgress, Percent((n + std::min(done / size, 1.0)) / total));
        }
        if (!file->flush())
            Fail("Unable to restore the database file", entry.Target, file->errorString());
        SyncDescriptor(file->handle());
        file->close();
        if (CheckFile)
            CheckFile(file->fileName(), entry.Name);
        extracted.push_back(std::move(file));
    }

    QStringList written;
    for (int n = 0; n < total; ++n) {
        QTemporaryFile& file = *extracted[size_t(n)];
        const QString target = base.filePath(entries[size_t(n)].Target);
        if (std::rename(QFile::encodeName(file.fileName()).constData(),
                        QFile::encodeName(target).constData()) != 0)
            Fail("Unable to restore the database file", entries[size_t(n)].Target,
                 QString::fromLocal8Bit(std::strerror(errno)));
        file.setAutoRemove(false);
        written << entries[size_t(n)].Target;
    }
    SyncPath(BaseDir, true);
    Tell(Progress.OnArchiveProgress, 100);
    return written;
}

void CheckRestoredTable(const QString& path, const QString& entry) {
    try {
        TDatabase::CheckTableFile(path, QFileInfo(BareName(entry)).completeBaseName());
    } catch (const EDatabaseError& e) {
        UErrors::RaiseError(
            QStringLiteral("The backup's \"%1\" cannot be restored:\r\n\r\n").arg(entry) +
            e.Message());
    }
}

TArchiveIndicators::TArchiveIndicators(UAbstract::IProgress*& overallSlot,
                                       UAbstract::IProgress*& currentSlot,
                                       UAbstract::IProgress* overall, UAbstract::IProgress* current)
    : m_Overall(overallSlot), m_Current(currentSlot) {
    for (UAbstract::IProgress* progress : {overall, current}) {
        if (!progress)
            continue;
        progress->SetMin(0);
        progress->SetMax(100);
        progress->SetPosition(0);
    }
    m_Overall = overall;
    m_Current = current;
}

TArchiveIndicators::~TArchiveIndicators() {
    m_Overall = nullptr;
    m_Current = nullptr;
}
