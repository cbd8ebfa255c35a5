#include "data/DMGlobals.h"
#include "shell/FAbout.h"
#include "shell/FMain.h"
#include "shell/UApplication.h"
#include "shell/UQtDialogs.h"
#include "shell/UStartup.h"
#include "shell/files/UFiles.h"

#include <QCommandLineParser>
#include <QFile>
#include <cstdio>
#include <exception>
#include <optional>

namespace {

// The command line: --database DIR, --help and --version. Qt's own options
// (-platform, -style, ...) are taken out by the application object before the
// command line is read for good.
class TCommandLine {
public:
    TCommandLine()
        : m_Help(m_Parser.addHelpOption()), m_Version(m_Parser.addVersionOption()),
          m_Database(QStringLiteral("database"),
                     QStringLiteral("Opens the database folder DIR (for example on a shared "
                                    "drive) instead of the program's own; it is created when "
                                    "missing."),
                     QStringLiteral("DIR")) {
        m_Parser.setApplicationDescription(
            QStringLiteral("Korvane, the service desk of a field-service workshop.\n\n"
                           "The data lives in the folders \"database\" and \"backups\" beside\n"
                           "the executable when that folder holds the program's files and can\n"
                           "be written (a portable copy), otherwise in %1.")
                .arg(UFiles::UserDataFolder()));
        m_Parser.addOption(m_Database);
    }

    // Reads `arguments`. --help and --version are answered on the standard
    // output; a mistake is told on the standard error. Either way the exit
    // code of the program is returned; nothing when it should start. With
    // `answerOnly` a mistake is passed over: it may be an option of Qt's that
    // the application object has not taken out yet.
    std::optional<int> Read(const QStringList& arguments, bool answerOnly) {
        const bool read = m_Parser.parse(arguments);
        if (read && m_Parser.isSet(m_Help)) {
            // Asked before the application object exists, the parser cannot
            // name the program.
            Print(stdout, m_Parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                      QStringLiteral("korvane")));
            return 0;
        }
        if (read && m_Parser.isSet(QStringLiteral("help-all"))) {
            // Qt's options are known to the application object only; the
            // offscreen platform makes one without a display.
            if (answerOnly)
                qputenv("QT_QPA_PLATFORM", "offscreen");
            else
                m_Parser.process(arguments); // prints them and ends the program
            return std::nullopt;
        }
        if (read && m_Parser.isSet(m_Version)) {
            Print(stdout, QStringLiteral("korvane %1\n").arg(Version()));
            return 0;
        }
        if (answerOnly)
            return std::nullopt;
        QString error = read ? QString() : m_Parser.errorText();
        if (read && !m_Parser.positionalArguments().isEmpty())
            error = QStringLiteral("Unexpected argument '%1'.")
                        .arg(m_Parser.positionalArguments().constFirst());
        if (error.isEmpty())
            return std::nullopt;
        Print(
            stderr,
            QStringLiteral("korvane: %1\nTry 'korvane --help' for more information.\n").arg(error));
        return 2;
    }

    // The database folder asked for; empty for the program's own.
    QString DatabaseDir() const { return m_Parser.value(m_Database); }

    static QString Version() {
        return UFiles::GetVersionString(QStringLiteral("FileVersion"),
                                        QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    }

private:
    static void Print(FILE* stream, const QString& text) {
        std::fputs(text.toLocal8Bit().constData(), stream);
    }

    QCommandLineParser m_Parser;
    QCommandLineOption m_Help;
    QCommandLineOption m_Version;
    QCommandLineOption m_Database;
};

QStringList Arguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

// Start-up: the command line (--help and --version are answered before any
// window system is needed), the splash window, the title, the main window
// and the windows it shares with the lists and editors, then the event loop
// until the main window closes. The main window's first show brings up the
// list windows and the database and closes the splash window.
int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("korvane"));
    QCoreApplication::setApplicationVersion(TCommandLine::Version());
    TCommandLine commandLine;
    if (const auto exitCode = commandLine.Read(Arguments(argc, argv), true))
        return *exitCode;

    TKorvaneApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("korvane"));
    if (const auto exitCode = commandLine.Read(QCoreApplication::arguments(), false))
        return *exitCode;

    InstallQtDialogs();
    int result = 1;
    try {
        frmSplash = new TfrmAbout;
        frmSplash->SetSplash(true);
        frmSplash->show();
        // Let the splash window appear before the other windows are built.
        QApplication::processEvents();
        frmSplash->repaint();

        TProgramWindows windows;
        // The database opens at the main window's first show.
        if (!commandLine.DatabaseDir().isEmpty())
            windows.DataModule().SetDatabaseDir(
                UFiles::DataFolders(commandLine.DatabaseDir()).Database);
        TfrmMain& mainWindow = windows.MainWindow();
        app.SetIdleHandler([&mainWindow] { mainWindow.IdleUpdate(); });
        mainWindow.show();
        if (!TerminationRequested())
            result = QApplication::exec();
        // A fatal error ends the program with a failure code.
        if (TerminationRequested())
            result = 1;
        app.SetIdleHandler({});
    } catch (...) {
        HandleException(std::current_exception());
    }
    delete frmSplash;
    frmSplash = nullptr;
    return result;
}
