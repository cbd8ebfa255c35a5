#pragma once

// Helpers shared by the test executables, without widgets.

#include <QString>
#include <QTemporaryDir>

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

// The text a label or item shows for `text`, rich or plain: what the reader
// sees, whatever markup styles it.
QString ShownText(const QString& text);

} // namespace TestSupport
