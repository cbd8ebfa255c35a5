#include "shell/FAbout.h"
#include "shell/FMain.h"
#include "shell/UApplication.h"
#include "shell/UQtDialogs.h"
#include "shell/UStartup.h"

#include <exception>

// Start-up: the splash window, the title, the main window and the windows it
// shares with the lists and editors, then the event loop until the main
// window closes. The main window's first show brings up the list windows and
// the database and closes the splash window.
int main(int argc, char* argv[]) {
    TKorvaneApplication app(argc, argv);
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
