#pragma once

// A data module on a database of its own, for the tests that work on the
// program's tables through it (no widgets).

#include "data/DMGlobals.h"
#include "support/TestSupport.h"

namespace TestSupport {

// A data module on the folder "database" of a temporary folder that goes
// after it: the tables made, `statements` run, the database open.
class TTempDataModule : private Detail::TTempDirHolder, public TdmlGlobals {
public:
    explicit TTempDataModule(const QStringList& statements = {});
    // The temporary folder that holds the database folder, ending in '/'.
    QString Root() const { return TempDir.Path(); }
    // Runs each statement of the program's dialect.
    void Exec(const QStringList& statements);
    // The first column of the rows `sql` returns, in their order.
    QStringList Column(const QString& sql);
    // The first value `sql` returns; "<none>" when it returns no row.
    QString Stored(const QString& sql);
};

} // namespace TestSupport
