#pragma once

// Joins the main window to the data module: how the window creates its five
// list windows and opens the database at its first show, asks whether it is
// open, applies a call view to the calls query, picks a worker and finds the
// current data list.

#include "shell/FMain.h"

class TdmlGlobals;

// The hooks of `mainWindow` for `dataModule`; the lists are created as children
// of `mainWindow`. With a null module the lists stay empty and opening the
// database at the first show raises "Unable to find database module: Null
// instance." as a fatal error.
TfrmMain::TDataHooks MakeDataHooks(TfrmMain& mainWindow, TdmlGlobals* dataModule);

// The start-up step of the first show: makes the database directory and the
// missing table files, then opens the database.
void OpenDatabaseAtStartup(TdmlGlobals& dataModule);
