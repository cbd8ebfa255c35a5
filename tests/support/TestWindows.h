#pragma once

// Helpers shared by the tests of the windows, the editors and the shell.

#include "shell/FMain.h"
#include "shell/UStartup.h"
#include "support/TestSupport.h"
#include "support/UScriptedDialogs.h"

#include <QTest>
#include <functional>

class QHeaderView;
class QTreeWidgetItem;
class TfrmBaseEditor;
class TfrmDataList;

namespace TestWindows {

// The caption the window system shows for the top-level `window` once it has
// been created: the title Qt hands it ("[*]" resolved) and what Qt's X11 and
// Wayland plugins add to it, the application display name after " — " when
// one is set and the title does not already end with it.
QString ShownCaption(const QWidget& window);

// The width of `caption` in the title-bar font and the application font,
// both bold as most window managers draw titles, whichever is wider.
int CaptionTextWidth(const QString& caption);

// A record editor that records the modes it is given and its runs, and runs
// `OnExecute` if set; Execute returns `Result`.
struct TFakeEditor : IRecordEditor {
    QList<bool> Modes;
    int Runs = 0;
    bool Result = false;
    std::function<void()> OnExecute;
    void SetEditMode(bool editMode) override { Modes << editMode; }
    bool Execute() override {
        ++Runs;
        if (OnExecute)
            OnExecute();
        return Result;
    }
};

// Scripted dialogs that answer for the program while they exist; the test
// fails if a request came that no answer fitted.
struct TInstalledDialogs : TScriptedDialogs {
    TDialogsInstaller Installed{*this};
    ~TInstalledDialogs() { QCOMPARE(UnexpectedCount(), 0); }
};

// Where a main window keeps its backups and reads its countries: in `dir`.
TfrmMain::TLocations Locations(const QString& dir);

// For the tests that run the program's windows: settings kept under `dir`,
// standard paths in test mode, numbers and dates in US English.
void UseTestSettings(const TestSupport::TTempDir& dir);

// The program's windows as the start-up makes them, on a database of their
// own filled by `statements`, with the main window shown.
struct TRunningProgram {
    TestSupport::TTempDir Dir;
    TInstalledDialogs Dialogs;
    TProgramWindows Windows{Locations(Dir.Path())};
    TdmlGlobals& DataModule = Windows.DataModule();
    TfrmMain* const Main = &Windows.MainWindow();

    explicit TRunningProgram(const QStringList& statements);
    QTreeWidgetItem* Node(int top, int sub = -1) const;
};

// Closes the record editor `window` with its OK (or Cancel) button and gives
// its result, as an answer to a modal request.
int CloseEditor(QObject* window, bool ok = true);

// Runs `editor` on the current row (`edit`) or a new one: its modal request
// is answered by showing it (made active when `activate`, so that the
// keyboard moves between its fields as for a user) and running `work`, which
// closes it. Returns what Execute returned.
bool RunEditor(TfrmBaseEditor& editor, bool edit, TScriptedDialogs& dialogs,
               const std::function<void()>& work, bool activate = false);

// Shows `window` and waits until the window system has exposed it.
[[nodiscard]] bool ShowExposed(QWidget& window);

// The main window's navigation node `top`, or its child `sub`.
QTreeWidgetItem* Node(const TfrmMain& frm, int top, int sub = -1);

// The widget of the main window's front child window, if any.
QWidget* Front(const TfrmMain& frm);

// Drags the right edge of `header`'s `section` by `by` pixels, as the user
// widens a column.
void DragSectionEdge(QHeaderView& header, int section, int by);

// The text the list's grid shows in `row` for `fieldName`.
QString CellText(TfrmDataList& list, int row, const QString& fieldName);

} // namespace TestWindows
