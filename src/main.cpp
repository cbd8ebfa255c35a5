#include "data/DMGlobals.h"
#include "lists/FMonthPicker.h"
#include "lists/FPriorityPicker.h"
#include "shell/FAbout.h"
#include "shell/FMain.h"
#include "shell/UApplication.h"
#include "shell/UQtDialogs.h"
#include "shell/UStartup.h"

#include <exception>
#include <memory>

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

        // The data module outlives the main window and the lists bound to it.
        TdmlGlobals dataModule;
        TfrmMain mainWindow;
        mainWindow.SetDataHooks(MakeDataHooks(mainWindow, &dataModule));
        auto monthPicker = std::make_unique<TfrmMonthPicker>(&mainWindow);
        frmMonthPicker = monthPicker.get();
        auto priorityPicker = std::make_unique<TfrmPriorityPicker>(&mainWindow);
        frmPriorityPicker = priorityPicker.get();

        app.SetIdleHandler([&mainWindow] { mainWindow.IdleUpdate(); });
        mainWindow.show();
        if (!TerminationRequested())
            result = QApplication::exec();
        // A fatal error ends the program with a failure code.
        if (TerminationRequested())
            result = 1;
        app.SetIdleHandler({});
        frmMonthPicker = nullptr;
        frmPriorityPicker = nullptr;
    } catch (...) {
        HandleException(std::current_exception());
    }
    delete frmSplash;
    frmSplash = nullptr;
    return result;
}
