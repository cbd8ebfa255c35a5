#pragma once

// Joins the main window to the data module: how the window opens the
// database at its first show, asks whether it is open, applies a call view to
// the calls query and finds the current data list.

#include "shell/FMain.h"

class TdmlGlobals;

// The hooks for `dataModule`; with a null module, opening the database at the
// first show raises "Unable to find database module: Null instance." as a
// fatal error.
TfrmMain::TDataHooks MakeDataHooks(TdmlGlobals* dataModule);

// The start-up step of the first show: makes the database directory and the
// missing table files, then opens the database.
void OpenDatabaseAtStartup(TdmlGlobals& dataModule);
