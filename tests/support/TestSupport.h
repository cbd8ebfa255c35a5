#pragma once

// Helpers shared by the test executables, without widgets.

#include "data/engine/TDatabase.h"
#include "shell/UErrors.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class TTable;

namespace TestSupport {

// A temporary folder that lives as long as the object; its path ends in '/'.
class TTempDir {
public:
    TTempDir() : m_Dir(QDir::tempPath() + QStringLiteral("/korvane-test-XXXXXX")) {}
    QString Path() const { return m_Dir.path() + QLatin1Char('/'); }

private:
    QTemporaryDir m_Dir;
};

// The text a label or item shows for `text`, rich or plain: what the reader
// sees, whatever markup styles it.
QString ShownText(const QString& text);

// The message of the TError `action` raises; "<no error>" when it raises none.
// An error of another kind passes on and fails the test.
template <class TError = EError>
QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const TError& e) {
        return e.Message();
    }
    return QStringLiteral("<no error>");
}

// The rows `statement` steps through, each as its cells' texts, NULL as "<null>".
QList<QStringList> RowTexts(TStatement& statement);

// The text of a PDF file as pdftotext reads it (layout kept), one entry per
// page; empty when pdftotext is missing or cannot read the file.
QStringList PdfPages(const QString& fileName);
// Whether pdftotext (poppler-utils) is there to read PDF files back.
bool CanReadPdf();

// Writes `bytes` to the file `path` (the test stops when it cannot) and
// returns `path`.
QString WriteFile(const QString& path, const QByteArray& bytes);
// What the file `path` holds; "<no file>" when it cannot be read.
QByteArray FileBytes(const QString& path);

// The table `name` of `db`, open.
std::unique_ptr<TTable> OpenTable(TDatabase& db, const QString& name);

namespace Detail {
struct TTempDirHolder {
    TTempDir TempDir;
};
} // namespace Detail

// A database open on a temporary folder of its own, which goes after it.
class TTempDatabase : private Detail::TTempDirHolder, public TDatabase {
public:
    TTempDatabase() { Open(TempDir.Path()); }
    QString Dir() const { return TempDir.Path(); }
};

} // namespace TestSupport
