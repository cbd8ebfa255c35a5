#include "lists/UListTexts.h"

#include <QAction>
#include <QLocale>

namespace UListTexts {

QString CountText(qint64 count, bool complete, const TRecordNames& names) {
    if (count == 0 && complete)
        return QStringLiteral("No ") + names.Many;
    const QString number = QLocale().toString(count) + (complete ? QString() : QStringLiteral("+"));
    return number + QLatin1Char(' ') + (count == 1 && complete ? names.One : names.Many);
}

QString GreetingText(const TRecordNames& names, const QAction* newCommand) {
    QString text = QStringLiteral("No %1 yet.").arg(names.Many);
    if (!newCommand)
        return text;
    QString command = newCommand->iconText();
    command.remove(QLatin1Char('&'));
    const QString shortcut = newCommand->shortcut().toString(QKeySequence::NativeText);
    if (!shortcut.isEmpty())
        command += QStringLiteral(" (") + shortcut + QLatin1Char(')');
    return text + QStringLiteral(" Press ") + command + QStringLiteral(" to add one.");
}

QString EmptyViewText(const TRecordNames& names) {
    return QStringLiteral("No %1 in this view.").arg(names.Many);
}

QString NoMatchText(const QString& searchCaption, const QString& text) {
    return QStringLiteral("No %1 begins with \"%2\".").arg(searchCaption, text);
}

} // namespace UListTexts
