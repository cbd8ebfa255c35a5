#include "shell/UFirstStart.h"

#include "data/DMGlobals.h"
#include "data/DMTables.h"
#include "data/UDemoData.h"
#include "shell/UBusyCursor.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"

#include <QDir>

namespace {

// The same demonstration every time.
constexpr quint64 DemoSeed = 1;

} // namespace

namespace UFirstStart {

QString DemoDatabaseDir(const QString& databaseDir) {
    return QDir::cleanPath(QDir(databaseDir).absoluteFilePath(QStringLiteral("../demo-database"))) +
           QLatin1Char('/');
}

bool OfferDemoDatabase(TdmlGlobals& dataModule, const QStringList& createdTables) {
    if (createdTables.size() < DMTables::TableDefs().size())
        return false;
    if (Dialogs().MessageBox(
            TMsgKind::Confirmation, QStringLiteral("Welcome to Korvane"),
            QStringLiteral("Your database is new and empty.\r\n\r\nWould you like to look around "
                           "in a small demonstration database first? It is kept in a folder of "
                           "its own; your own database stays empty and opens at the next "
                           "start."),
            mbYes | mbNo) != mbYes)
        return false;

    const QString userDir = dataModule.DatabaseDir();
    const QString demoDir = DemoDatabaseDir(userDir);
    QDir().mkpath(demoDir);
    dataModule.SetDatabaseDir(demoDir);
    if (!UDemoData::TablesWithRows(dataModule.Connection()).isEmpty())
        return true; // made at an earlier first start
    const TBusyCursor busy;
    try {
        dataModule.CreateMissingTables();
        dataModule.SetDatabaseActive(true);
        UDemoData::Fill(dataModule, *UDemoData::Preset(QStringLiteral("small")), DemoSeed);
        dataModule.SetDatabaseActive(false);
    } catch (const EError& e) {
        // Back to the user's own database, which the start then opens.
        dataModule.SetDatabaseActive(false);
        dataModule.SetDatabaseDir(userDir);
        ShowError("The demonstration database could not be made:\r\n\r\n%s", e.Message());
        return false;
    }
    return true;
}

} // namespace UFirstStart
