#include "shell/files/UFiles.h"
#include "support/TestSupport.h"

#include <QtTest>

// The program's command line, tried on the program itself: --help and
// --version answer without a window system, a mistake is told with exit code
// 2, and --database opens (and makes) the folder it names.
class TestCommandLine : public QObject {
    Q_OBJECT

    struct TRun {
        int ExitCode = -1;
        QString Out, Err;
    };

    // The environment of a run: no display at all, or the offscreen one.
    static QProcessEnvironment Environment(bool display, const QString& home = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("QT_QPA_PLATFORM", display ? "offscreen" : "xcb");
        if (!home.isEmpty()) {
            env.insert("HOME", home);
            env.remove("XDG_DATA_HOME");
        }
        return env;
    }

    static TRun Run(const QStringList& arguments, bool display) {
        QProcess program;
        program.setProcessEnvironment(Environment(display));
        program.start(GetAppPath() + "korvane", arguments);
        TRun run;
        if (!program.waitForFinished(30000) || program.exitStatus() != QProcess::NormalExit)
            return run;
        run.ExitCode = program.exitCode();
        run.Out = QString::fromLocal8Bit(program.readAllStandardOutput());
        run.Err = QString::fromLocal8Bit(program.readAllStandardError());
        return run;
    }

private Q_SLOTS:

    void MistakesAreToldOnTheErrorOutput_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown option")
            << QStringList{"--datbase", "x"} << "korvane: Unknown option 'datbase'.";
        QTest::newRow("no folder")
            << QStringList{"--database"} << "korvane: Missing value after '--database'.";
        QTest::newRow("stray argument")
            << QStringList{"database"} << "korvane: Unexpected argument 'database'.";
    }
    void MistakesAreToldOnTheErrorOutput() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        const TRun run = Run(arguments, true);
        QCOMPARE(run.ExitCode, 2);
        QVERIFY(run.Out.isEmpty());
        QVERIFY2(run.Err.contains(error + "\nTry 'korvane --help' for more information.\n"),
                 qPrintable(run.Err));
    }

    // The program comes up on the folder given, makes it and its tables, and
    // takes Qt's own options besides.
    void HelpVersionAndTheDatabaseOption() {
        TestSupport::TTempDir dir;
        const QString database = dir.Path() + "shared/office/";
        QProcess program;
        program.setProcessEnvironment(Environment(true, dir.Path() + "home"));
        program.start(GetAppPath() + "korvane", {"-platform", "offscreen", "--database", database});
        QVERIFY(program.waitForStarted());
        const bool made = QTest::qWaitFor(
            [&] {
                return QFileInfo::exists(database + "Worker.db") ||
                       program.state() == QProcess::NotRunning;
            },
            30000);
        const bool running = program.state() == QProcess::Running;
        program.terminate();
        if (!program.waitForFinished(10000))
            program.kill();
        QVERIFY2(made && running, program.readAllStandardError().constData());
        for (const char* table : {"Call.db", "CallComments.db", "Customer.db", "Item.db",
                                  "Representative.db", "ServiceContract.db", "StateTimes.db"})
            QVERIFY2(QFileInfo::exists(database + table), table);

        // --help and --version need no display.
        for (const char* option : {"--version", "-v"}) {
            const TRun run = Run({option}, false);
            QCOMPARE(run.ExitCode, 0);
            QCOMPARE(run.Out, "korvane 1.3.1.0\n");
        }
        const TRun help = Run({"--help"}, false);
        QCOMPARE(help.ExitCode, 0);
        QVERIFY2(help.Out.contains("--database <DIR>"), qPrintable(help.Out));
        QVERIFY(help.Out.contains("--version"));
        QVERIFY(help.Out.contains("\"database\" and \"backups\""));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)

#include "tst_CommandLine.moc"
