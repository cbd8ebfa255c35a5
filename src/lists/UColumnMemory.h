#pragma once

// The columns of a list window as the user left them, kept in the settings
// store under "GUI\<list name>" of the program's key: their order, left to
// right, and the widths the user dragged, by field name (lower case).

#include <QHash>
#include <QString>
#include <QStringList>

namespace UColumnMemory {

struct TColumns {
    QStringList Order;
    QHash<QString, int> Widths;
};

// What was saved for `listName`; empty when nothing was (or the store cannot
// be read).
TColumns Load(const QString& listName);
// Replaces what is kept for `listName`; a store that cannot be written is
// traced, nothing more.
void Save(const QString& listName, const TColumns& columns);

} // namespace UColumnMemory
