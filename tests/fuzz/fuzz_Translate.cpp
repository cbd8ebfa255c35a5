// Fuzzing the SQL dialect translator: any text either translates or raises
// EDatabaseError; a crash, a sanitizer's report or a hang is a fault. Each
// text is translated as the database does it: once knowing no table, and
// once knowing the program's tables, which takes the paths that convert
// literals for their column's kind and qualify column names.

#include "FuzzSchema.h"
#include "data/engine/EDatabaseError.h"
#include "data/engine/USqlDialect.h"

#include <cstddef>
#include <cstdint>

namespace {

struct TKnownTables {
    QHash<QString, USqlDialect::TColumnKind> Kinds; // by column name in lower case
    QHash<QString, QStringList> Columns;            // by table name in lower case

    TKnownTables() {
        const auto tables = FuzzSchema::Tables();
        for (auto table = tables.begin(); table != tables.end(); ++table) {
            QStringList names;
            for (const FuzzSchema::TColumn& column : table.value()) {
                names << column.Name;
                if (!Kinds.contains(column.Name.toLower()))
                    Kinds.insert(column.Name.toLower(),
                                 USqlDialect::KindOfDeclType(column.DeclType));
            }
            Columns.insert(table.key(), names);
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TKnownTables known;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto lookup = [](const QString& column) {
        return known.Kinds.value(column.toLower(), USqlDialect::TColumnKind::Unknown);
    };
    const auto columnsOf = [](const QString& table) {
        return known.Columns.value(table.toLower());
    };
    try {
        USqlDialect::Translate(text);
    } catch (const EDatabaseError&) {
    }
    try {
        USqlDialect::Translate(text, lookup, columnsOf);
    } catch (const EDatabaseError&) {
    }
    return 0;
}
