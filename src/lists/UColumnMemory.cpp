#include "lists/UColumnMemory.h"

#include "shell/UErrors.h"
#include "shell/USettings.h"

namespace {

const QString OrderValue = QStringLiteral("ColumnOrder");
const QString WidthsValue = QStringLiteral("ColumnWidths");

QString SubKey(const QString& listName) {
    return QStringLiteral("GUI\\") + listName;
}

// Opens the store for one load or save and closes it again.
struct TOpenStore {
    TOpenStore() { OpenSettingsStore(); }
    ~TOpenStore() { CloseSettingsStore(); }
    TOpenStore(const TOpenStore&) = delete;
    TOpenStore& operator=(const TOpenStore&) = delete;
};

} // namespace

namespace UColumnMemory {

TColumns Load(const QString& listName) {
    TColumns columns;
    try {
        const TOpenStore store;
        const QString order = LoadParameter(OrderValue, SubKey(listName), false, false);
        const QString widths = LoadParameter(WidthsValue, SubKey(listName), false, false);
        columns.Order = order.split(QLatin1Char(','), Qt::SkipEmptyParts);
        // "callnr=58,date_time=120"
        for (const QString& entry : widths.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const qsizetype at = entry.indexOf(QLatin1Char('='));
            bool ok = false;
            const int width = entry.mid(at + 1).toInt(&ok);
            if (at > 0 && ok && width > 0)
                columns.Widths.insert(entry.left(at), width);
        }
    } catch (const EError&) {
        // Nothing kept yet.
        return {};
    }
    return columns;
}

void Save(const QString& listName, const TColumns& columns) {
    QStringList widths;
    for (auto it = columns.Widths.cbegin(); it != columns.Widths.cend(); ++it)
        widths << it.key() + QLatin1Char('=') + QString::number(it.value());
    widths.sort();
    try {
        const TOpenStore store;
        SaveParameter(OrderValue, columns.Order.join(QLatin1Char(',')), SubKey(listName), false,
                      false);
        SaveParameter(WidthsValue, widths.join(QLatin1Char(',')), SubKey(listName), false, false);
    } catch (const EError& e) {
        DebugTrace(e.Message(), QStringLiteral("UColumnMemory::Save"),
                   QStringLiteral("UColumnMemory"));
    }
}

} // namespace UColumnMemory
