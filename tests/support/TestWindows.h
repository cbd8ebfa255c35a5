#pragma once

// Helpers for the tests of windows.

#include <QString>

class QWidget;

namespace TestWindows {

// The caption the window system shows for the top-level `window` once it has
// been created: the title Qt hands it ("[*]" resolved) and what Qt's X11 and
// Wayland plugins add to it, the application display name after " — " when
// one is set and the title does not already end with it.
QString ShownCaption(const QWidget& window);

// The width of `caption` in the title-bar font and the application font,
// both bold as most window managers draw titles, whichever is wider.
int CaptionTextWidth(const QString& caption);

} // namespace TestWindows
