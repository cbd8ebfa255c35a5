// Fuzzing the filter parser: any text either parses or raises
// EDatabaseError. A filter that parses is bound to the columns of the Call
// table and tried on a few records, both as a dataset tries an edited or
// posted record and as it tries a row it has read; a crash, a sanitizer's
// report, a hang or the two ways disagreeing is a fault.

#include "FuzzSchema.h"
#include "data/engine/EDatabaseError.h"
#include "data/engine/TField.h"
#include "data/engine/TFilterExpr.h"
#include "data/engine/TRowStore.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

struct TCallRows {
    QStringList Names;
    QList<TFieldType> Types;
    QList<QVariantList> Records;
    TRowStore Store;

    TCallRows() {
        for (const FuzzSchema::TColumn& column :
             FuzzSchema::Tables().value(QStringLiteral("call"))) {
            Names << column.Name;
            Types << TField::TypeOfDeclType(column.DeclType);
        }
        // A typical call, a blank one, and one with unusual values in every
        // column (text where numbers belong, a fraction, quotes, '%1').
        QVariantList typical, blank, odd;
        const QVariantList oddValues{
            QStringLiteral("nan"),  QStringLiteral(" 12 "),       2.5,        QStringLiteral("%1'"),
            QStringLiteral("true"), QStringLiteral("\u00c9mile"), qint64(-7), QString()};
        for (qsizetype c = 0; c < Types.size(); ++c) {
            switch (Types[c]) {
            case TFieldType::Integer:
                typical << qint64(2);
                break;
            case TFieldType::Boolean:
                typical << QStringLiteral("False");
                break;
            case TFieldType::DateTime:
                typical << QStringLiteral("2024-03-09 14:05:30");
                break;
            case TFieldType::Date:
                typical << QStringLiteral("2024-03-09");
                break;
            default:
                typical << (c % 2 ? QStringLiteral("New") : QStringLiteral("000123"));
                break;
            }
            blank << QVariant();
            odd << oddValues[c % oddValues.size()];
        }
        Records = {typical, blank, odd};
        Store.Reset(int(Types.size()));
        for (const QVariantList& record : std::as_const(Records))
            Store.Append(record);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TCallRows rows;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    TFilterExpr filter;
    try {
        filter = TFilterExpr::Parse(text);
        filter.FieldNames();
        filter.Bind([](const QString& name, TFieldType& type) {
            for (qsizetype c = 0; c < rows.Names.size(); ++c) {
                if (rows.Names[c].compare(name, Qt::CaseInsensitive) == 0) {
                    type = rows.Types[c];
                    return int(c);
                }
            }
            return -1;
        });
    } catch (const EDatabaseError&) {
        return 0;
    }
    for (qsizetype r = 0; r < rows.Records.size(); ++r) {
        const bool record = filter.Matches(TRecordRow(rows.Records[r]));
        const bool stored = filter.Matches(TRowStore::TRow(rows.Store, r));
        if (record != stored)
            std::abort();
    }
    return 0;
}
