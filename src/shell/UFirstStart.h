#pragma once

// The first start on a new, empty database: the program offers to open a
// small demonstration database instead, made by the program's own generator
// (UDemoData) into a folder of its own beside the database folder, so that a
// new user can look around before typing real data. The user's database
// stays as it is (empty) and is opened at the next start.

#include <QString>
#include <QStringList>

class TdmlGlobals;

namespace UFirstStart {

// "<parent of the database folder>/demo-database/".
QString DemoDatabaseDir(const QString& databaseDir);

// Run at start-up after CreateMissingTables, before the database is opened,
// with the tables it created. When it created every table, asks (through the
// dialog seam) whether to look at the demonstration database first; on Yes
// fills that folder (unless it holds data already) and points the module at
// it. Returns true when the module now shows the demonstration database.
bool OfferDemoDatabase(TdmlGlobals& dataModule, const QStringList& createdTables);

} // namespace UFirstStart
