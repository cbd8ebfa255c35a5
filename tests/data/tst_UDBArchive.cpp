// Backups and restores of the database folder: what goes into an archive and
// under which names, what a restore replaces, and that neither side leaves a
// half-written file behind.

#include "data/DMGlobals.h"
#include "data/UDBArchive.h"
#include "support/TestDataModule.h"

#include <QtTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

namespace {

using TestSupport::ErrorOf;

// What an independent reader of archives prints for `arguments`.
QByteArray Unzip(const QStringList& arguments) {
    QProcess unzip;
    unzip.start("unzip", arguments);
    return unzip.waitForFinished() && unzip.exitCode() == 0 ? unzip.readAllStandardOutput()
                                                            : "<unzip failed>";
}

QStringList ListedEntries(const QString& archive) {
    QStringList names = QString::fromUtf8(Unzip({"-Z1", archive})).split(u'\n', Qt::SkipEmptyParts);
    names.sort(Qt::CaseInsensitive);
    return names;
}

// Writes an archive holding `entries`: name, content.
void WriteArchive(const QString& path, const QList<QPair<QString, QByteArray>>& entries) {
    int code = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    QVERIFY(archive);
    // The contents stay in `entries` until zip_close has written them.
    for (const auto& [name, content] : entries) {
        zip_source_t* source =
            zip_source_buffer(archive, content.constData(), zip_uint64_t(content.size()), 0);
        QVERIFY(zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) >= 0);
    }
    QCOMPARE(zip_close(archive), 0);
}

struct TRecordedProgress : UAbstract::TProgress {
    void SetPosition(int position) override {
        TProgress::SetPosition(position);
        Positions << position;
    }
    QList<int> Positions;
};

} // namespace

class TestUDBArchive : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSupport::TTempDataModule> m_pDml;

    QString DbDir() const { return m_pDml->DatabaseDir(); }
    QString Backups() const { return m_pDml->Root() + "backups/"; }

    QString Column(const QString& sql) { return m_pDml->Column(sql + " ORDER BY 1").join(','); }
    QByteArray FileBytes(const QString& name) { return TestSupport::FileBytes(DbDir() + name); }

private Q_SLOTS:
    void cleanup() { m_pDml.reset(); }

    void BackupNamesFollowTheFolderAndTheMinute() {
        const QDateTime when(QDate(2006, 5, 14), QTime(9, 30, 59));
        QCOMPARE(BackupFileName("/data/", when), "/data/KorvaneDB 2006-05-14 09h30.zip");
        QCOMPARE(BackupFileName("  /data  ", when), "/data/KorvaneDB 2006-05-14 09h30.zip");
        QCOMPARE(BackupFileName("/d", QDateTime(QDate(2026, 12, 6), QTime(23, 5))),
                 "/d/KorvaneDB 2026-12-06 23h05.zip");
    }

    void BackupsHoldTheTableFilesAndRestoresReplaceOnlyThoseAnArchiveHolds() {
        m_pDml = std::make_unique<TestSupport::TTempDataModule>(
            QStringList{"INSERT INTO Customer (CustomerID) VALUES ('C1')",
                        "INSERT INTO Worker (WorkerNR) VALUES ('W1')"});
        QDir().mkpath(Backups());
        // Files that are not table files stay out: the lock, a journal, a
        // hidden file, a folder.
        for (const char* name : {"notes.txt", "Call.db-journal", ".hidden.db"})
            TestSupport::WriteFile(DbDir() + name, {});
        QDir().mkpath(DbDir() + "sub.db");

        TRecordedProgress overall, current;
        const QString archive = Backups() + "KorvaneDB.zip";
        m_pDml->BackupDatabase(archive, &overall, &current);

        QCOMPARE(
            ListedEntries(archive),
            QStringList({"Call.db", "CallComments.db", "Customer.db", "Item.db",
                         "Representative.db", "ServiceContract.db", "StateTimes.db", "Worker.db"}));
        QVERIFY(m_pDml->DatabaseActive());
        for (const TRecordedProgress* progress : {&overall, &current}) {
            QCOMPARE(progress->Positions.value(0, -1), 0);
            QCOMPARE(progress->Positions.last(), 100);
        }
        // A second backup into the same archive adds to it, no duplicates.
        m_pDml->BackupDatabase(archive, nullptr, nullptr);
        QCOMPARE(ListedEntries(archive).size(), 8);

        // Restores from that backup, with rows added since.
        const QString& good = archive;
        m_pDml->Exec({"INSERT INTO Customer (CustomerID) VALUES (\"C2\")",
                      "INSERT INTO Worker (WorkerNR) VALUES (\"W2\")"});
        m_pDml->SetDatabaseActive(false);
        const QByteArray customers = FileBytes("Customer.db");
        const QByteArray workers = FileBytes("Worker.db");
        m_pDml->SetDatabaseActive(true);

        // A damaged archive, and a good customer table beside a worker
        // "table" that is not one: nothing replaced, the database closed.
        const QString garbage = TestSupport::WriteFile(Backups() + "garbage.zip", "not an archive");
        const QString mixed = Backups() + "mixed.zip";
        WriteArchive(mixed, {{"Customer.db", Unzip({"-p", good, "Customer.db"})},
                             {"Worker.db", "SQLite? no."}});
        for (const QString& bad : {garbage, mixed}) {
            const QString error = ErrorOf([&] { m_pDml->RestoreDatabase(bad, nullptr, nullptr); });
            QVERIFY2(error != "<no error>", qPrintable(bad));
            QVERIFY(!m_pDml->DatabaseActive());
            QCOMPARE(FileBytes("Customer.db"), customers);
            QCOMPARE(FileBytes("Worker.db"), workers);
            QCOMPARE(QDir(DbDir()).entryList(QDir::Files | QDir::Hidden).filter(".restoring"),
                     QStringList());
            m_pDml->SetDatabaseActive(true);
        }
        QVERIFY(ErrorOf([&] {
                    m_pDml->RestoreDatabase(mixed, nullptr, nullptr);
                }).contains("Worker.db"));
        m_pDml->SetDatabaseActive(true);

        // Only the customer table, stored under a folder and in capitals.
        const QString onlyCustomers = Backups() + "customers.zip";
        WriteArchive(onlyCustomers, {{"old/CUSTOMER.DB", Unzip({"-p", good, "Customer.db"})},
                                     {"readme.txt", "x"}});
        TRecordedProgress restored;
        m_pDml->RestoreDatabase(onlyCustomers, &restored, nullptr);
        QVERIFY(m_pDml->DatabaseActive());
        QCOMPARE(Column("SELECT CustomerID FROM Customer"), "C1");
        QCOMPARE(Column("SELECT WorkerNR FROM Worker"), "W1,W2");
        QVERIFY(!QFile::exists(DbDir() + "CUSTOMER.DB"));
        QVERIFY(!QFile::exists(DbDir() + "readme.txt"));
        QCOMPARE(restored.Positions.last(), 100);

        // An archive without table files changes nothing.
        const QString noTables = Backups() + "none.zip";
        WriteArchive(noTables, {{"readme.txt", "x"}});
        m_pDml->RestoreDatabase(noTables, nullptr, nullptr);
        QCOMPARE(Column("SELECT WorkerNR FROM Worker"), "W1,W2");

        // A backup killed halfway leaves no archive; enough rows that writing
        // takes a few progress steps.
        m_pDml->Connection().StartTransaction();
        for (int i = 0; i < 4000; ++i)
            m_pDml->ExecSQL(QString("INSERT INTO CallComments (ID, CallNr, CommentLine) VALUES "
                                    "(\"{%1}\", \"000001\", \"%2\")")
                                .arg(i)
                                .arg(QString(200, QChar('a' + i % 26))));
        m_pDml->Connection().Commit();
        const QString killed = Backups() + "killed.zip";

        struct TKillHalfway : UAbstract::TProgress {
            void SetPosition(int position) override {
                if (position >= 30)
                    ::raise(SIGKILL);
            }
        };
        const pid_t child = ::fork();
        if (child == 0) {
            TKillHalfway killer;
            m_pDml->BackupDatabase(killed, &killer, nullptr);
            ::_exit(0); // not reached
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        QVERIFY(WIFSIGNALED(status));
        QVERIFY(!QFile::exists(killed));
    }
};

QTEST_GUILESS_MAIN(TestUDBArchive)
#include "tst_UDBArchive.moc"
