#pragma once

// Helpers shared by the test executables.

#include <QString>
#include <QTemporaryDir>

class QWidget;

namespace TestSupport {

// A temporary folder that lives as long as the object; its path ends in '/'.
class TTempDir {
public:
    TTempDir();
    QString Path() const;
    bool IsValid() const { return m_Dir.isValid(); }

private:
    QTemporaryDir m_Dir;
};

// The caption the window system shows for the top-level `window` once it has
// been created: the title Qt hands it ("[*]" resolved) and what Qt's X11 and
// Wayland plugins add to it, the application display name after " — " when
// one is set and the title does not already end with it.
QString ShownCaption(const QWidget& window);

// The width of `caption` in the title-bar font and the application font,
// both bold as most window managers draw titles, whichever is wider.
int CaptionTextWidth(const QString& caption);

// The text a label or item shows for `text`, rich or plain: what the reader
// sees, whatever markup styles it.
QString ShownText(const QString& text);

} // namespace TestSupport
