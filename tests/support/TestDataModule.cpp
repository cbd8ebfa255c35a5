#include "support/TestDataModule.h"

#include "data/engine/TQuery.h"

#include <QDir>

namespace TestSupport {

TTempDataModule::TTempDataModule(const QStringList& statements) {
    SetDatabaseDir(Root() + QStringLiteral("database"));
    QDir().mkpath(DatabaseDir());
    CreateMissingTables();
    Exec(statements);
    SetDatabaseActive(true);
}

void TTempDataModule::Exec(const QStringList& statements) {
    for (const QString& statement : statements)
        ExecSQL(statement);
}

QStringList TTempDataModule::Column(const QString& sql) {
    QStringList values;
    for (auto query = CreateQuery(sql, true); !query->Eof(); query->Next())
        values << query->Field(0)->AsString();
    return values;
}

QString TTempDataModule::Stored(const QString& sql) {
    return Column(sql).value(0, QStringLiteral("<none>"));
}

} // namespace TestSupport
