#include "data/engine/USqlDialect.h"

#include <QRegularExpression>

// Interim translator: rewrites table references only.

namespace USqlDialect {

TTranslation Translate(const QString& localSql, const TColumnKindLookup&) {
    static const QRegularExpression tableRef(
        QStringLiteral("\\b(FROM|JOIN|INTO|UPDATE|TABLE)(\\s+)(['\"]?)([A-Za-z_]\\w*)(\\.db)?\\3"),
        QRegularExpression::CaseInsensitiveOption);
    TTranslation result;
    QString sql;
    qsizetype last = 0;
    auto it = tableRef.globalMatch(localSql);
    while (it.hasNext()) {
        const auto m = it.next();
        const QString name = m.captured(4);
        sql += localSql.mid(last, m.capturedStart() - last);
        sql += m.captured(1) + m.captured(2) + QLatin1Char('"') + TableAlias(name) +
               QStringLiteral("\".\"") + name + QLatin1Char('"');
        last = m.capturedEnd();
        if (!result.Tables.contains(name, Qt::CaseInsensitive))
            result.Tables << name;
        if (m.captured(1).compare(QLatin1String("TABLE"), Qt::CaseInsensitive) == 0)
            result.CreatedTable = name;
    }
    sql += localSql.mid(last);
    result.Sql = sql;
    return result;
}

QString TableAlias(const QString& table) {
    return table.toLower();
}

QString EscapeQuotes(const QString& value, QChar quote) {
    QString result = value;
    return result.replace(quote, QString(2, quote));
}

TColumnKind KindOfDeclType(const QString& declType) {
    const QString t = declType.trimmed().toUpper();
    if (t.startsWith(QLatin1String("CHAR")) || t.startsWith(QLatin1String("VARCHAR")) ||
        t.startsWith(QLatin1String("TEXT")))
        return TColumnKind::Text;
    if (t.startsWith(QLatin1String("INT")) || t == QLatin1String("SMALLINT"))
        return TColumnKind::Integer;
    if (t.startsWith(QLatin1String("BOOL")) || t == QLatin1String("LOGICAL"))
        return TColumnKind::Boolean;
    if (t == QLatin1String("DATE"))
        return TColumnKind::Date;
    if (t.startsWith(QLatin1String("TIMESTAMP")) || t == QLatin1String("DATETIME"))
        return TColumnKind::Timestamp;
    if (t.startsWith(QLatin1String("FLOAT")) || t == QLatin1String("REAL") ||
        t.startsWith(QLatin1String("NUMERIC")) || t == QLatin1String("MONEY"))
        return TColumnKind::Float;
    return TColumnKind::Unknown;
}

} // namespace USqlDialect
