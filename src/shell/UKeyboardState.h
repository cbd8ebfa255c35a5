#pragma once

// Whether the Ctrl key is held for the command that is running. Holding Ctrl
// while clicking a toolbar button or a menu item changes what some commands
// do (adding a call then asks for its number); the Ctrl that is part of a
// command's own shortcut (Ctrl+Insert) does not count.
//
// A watcher on the application notes when a command runs from its shortcut;
// the modifier state itself is read from the window system.

#include <QObject>
#include <functional>

namespace UKeyboardState {

// Starts watching shortcuts on the running application (once; later calls do
// nothing). Without it every held Ctrl counts.
void WatchShortcuts();

// Ctrl is held now, and the running command was not started by a shortcut.
bool CtrlHeldForCommand();

// Whether a command started by a shortcut is running.
bool InShortcut();

// Where the held modifiers are read from; tests put a stand-in here. An
// empty reader restores the window system's.
void SetModifierReader(std::function<Qt::KeyboardModifiers()> reader);

} // namespace UKeyboardState
