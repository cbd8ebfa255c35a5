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

} // namespace TestSupport
