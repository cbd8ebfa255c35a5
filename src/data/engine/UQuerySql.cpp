#include "data/engine/UQuerySql.h"

#include "data/engine/TDatabase.h"

#include <QRegularExpression>
#include <sqlite3.h>

namespace UQuerySql {

namespace {

// A term of ORDER BY that names a column, as in C.CallNr or "CallNr" DESC:
// the column's name and the term turned round; false for any other term.
bool ReversedTerm(const QString& term, QString& column, QString& reversed) {
    static const QRegularExpression plain(
        QStringLiteral("^((?:(?:\"[^\"]+\"|\\w+)\\.)*(\"[^\"]+\"|\\w+))(?:\\s+(ASC|DESC))?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = plain.match(term);
    if (!match.hasMatch())
        return false;
    column = match.captured(2);
    if (column.startsWith(QLatin1Char('"')))
        column = column.mid(1, column.size() - 2);
    const bool descending =
        match.captured(3).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
    reversed = match.captured(1) + (descending ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    return true;
}

// The statement's tokens outside brackets, for looking at its clauses.
struct TToken {
    QString Text; // words upper-cased, quoted names without their quotes
    qsizetype At = 0;
    qsizetype End = 0;
    bool Word = false;
};

QList<TToken> TopLevelTokens(const QString& sql) {
    QList<TToken> tokens;
    int depth = 0;
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        const QChar next = i + 1 < sql.size() ? sql[i + 1] : QChar();
        TToken token;
        token.At = i;
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') ||
            c == QLatin1Char('[')) {
            const qsizetype end = sql.indexOf(c == QLatin1Char('[') ? QLatin1Char(']') : c, i + 1);
            if (end < 0)
                return {};
            token.Text = sql.mid(i + 1, end - i - 1);
            token.Word = c != QLatin1Char('\'');
            i = end + 1;
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? sql.size() : end;
            continue;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? sql.size() : end + 2;
            continue;
        } else if (c.isLetterOrNumber() || c == QLatin1Char('_')) {
            qsizetype end = i;
            while (end < sql.size() &&
                   (sql[end].isLetterOrNumber() || sql[end] == QLatin1Char('_')))
                ++end;
            token.Text = sql.mid(i, end - i).toUpper();
            token.Word = true;
            i = end;
        } else {
            token.Text = c;
            ++i;
            // Brackets count as at the level outside them.
            if (c == QLatin1Char('('))
                ++depth;
            else if (c == QLatin1Char(')'))
                --depth;
            if ((c == QLatin1Char('(') && depth == 1) || (c == QLatin1Char(')') && depth == 0)) {
                token.End = i;
                tokens << token;
                continue;
            }
        }
        token.End = i;
        if (depth == 0)
            tokens << token;
    }
    return tokens;
}

// The first table of a plain SELECT whose other tables are all LEFT JOINed
// and that has no clause dropping, merging or ordering rows: such a statement
// gives each row of its first table once or more, in the order that table is
// read.
struct TFirstTable {
    QString Name;  // the table's own name
    QString Alias; // what the statement calls it
    bool Aliased = false;
    qsizetype From = 0;  // where FROM begins
    qsizetype After = 0; // where the first table's name (and alias) ends
};

bool FirstTableOnly(const QString& sql, TFirstTable& first) {
    const QList<TToken> tokens = TopLevelTokens(sql);
    if (tokens.size() < 4 || tokens[0].Text != QLatin1String("SELECT") ||
        tokens[1].Text == QLatin1String("DISTINCT"))
        return false;
    qsizetype from = -1;
    for (qsizetype i = 1; i < tokens.size() && from < 0; ++i) {
        if (tokens[i].Word && tokens[i].Text == QLatin1String("FROM") &&
            sql[tokens[i].At].isLetter())
            from = i;
    }
    if (from < 0 || from + 1 >= tokens.size() || !tokens[from + 1].Word)
        return false;
    qsizetype i = from + 1;
    qsizetype tableEnd = tokens[i].End;
    ++i;
    if (i + 1 < tokens.size() && tokens[i].Text == QLatin1String(".") && tokens[i + 1].Word) {
        first.Name = tokens[i + 1].Text;
        tableEnd = tokens[i + 1].End;
        i += 2;
    }
    if (i < tokens.size() && tokens[i].Text == QLatin1String("("))
        return false; // a table-valued function
    // The name as written keeps its letter case for the plan's wording.
    const auto original = [&](qsizetype t) {
        const TToken& token = tokens[t];
        const QChar c = sql[token.At];
        return c.isLetterOrNumber() || c == QLatin1Char('_')
                   ? sql.mid(token.At, token.End - token.At)
                   : token.Text;
    };
    first.Name = original(i - 1);
    first.From = tokens[from].At;
    first.After = tableEnd;
    first.Alias = first.Name;
    first.Aliased = false;
    static const QStringList joinWords{
        QStringLiteral("LEFT"),  QStringLiteral("OUTER"), QStringLiteral("JOIN"),
        QStringLiteral("INNER"), QStringLiteral("CROSS"), QStringLiteral("NATURAL"),
        QStringLiteral("RIGHT"), QStringLiteral("FULL"),  QStringLiteral("ON"),
        QStringLiteral("USING"), QStringLiteral("WHERE"), QStringLiteral("INDEXED"),
        QStringLiteral("NOT")};
    static const QStringList ending{
        QStringLiteral("WHERE"),   QStringLiteral("GROUP"),  QStringLiteral("HAVING"),
        QStringLiteral("ORDER"),   QStringLiteral("LIMIT"),  QStringLiteral("WINDOW"),
        QStringLiteral("UNION"),   QStringLiteral("EXCEPT"), QStringLiteral("INTERSECT"),
        QStringLiteral("INDEXED"), QStringLiteral("VALUES")};
    if (i < tokens.size() && tokens[i].Text == QLatin1String("AS"))
        ++i;
    // A clause word after the table's name begins the clause; it is no alias.
    if (i < tokens.size() && tokens[i].Word && !joinWords.contains(tokens[i].Text) &&
        !ending.contains(tokens[i].Text)) {
        first.Alias = original(i);
        first.Aliased = true;
        first.After = tokens[i].End;
        ++i;
    }
    for (; i < tokens.size(); ++i) {
        const TToken& token = tokens[i];
        if (token.Text == QLatin1String(",") || token.Text == QLatin1String(";"))
            return false;
        if (!token.Word)
            continue;
        if (ending.contains(token.Text))
            return false;
        if (token.Text == QLatin1String("JOIN")) {
            const bool left = tokens[i - 1].Text == QLatin1String("LEFT") ||
                              (tokens[i - 1].Text == QLatin1String("OUTER") && i >= 2 &&
                               tokens[i - 2].Text == QLatin1String("LEFT"));
            if (!left)
                return false;
        }
    }
    return true;
}

} // namespace

QString InnerSql(const TStatement& statement) {
    QString sql = QString::fromUtf8(sqlite3_sql(statement.Handle())).trimmed();
    while (sql.endsWith(QLatin1Char(';')))
        sql = sql.chopped(1).trimmed();
    return sql;
}

QStringList ParamNames(const QString& sql) {
    QStringList names;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype end = sql.indexOf(c, i + 1);
            if (end < 0)
                break;
            i = end;
        } else if (c == QLatin1Char(':') && i + 1 < sql.size() &&
                   (sql[i + 1].isLetter() || sql[i + 1] == QLatin1Char('_'))) {
            qsizetype j = i + 1;
            while (j < sql.size() && (sql[j].isLetterOrNumber() || sql[j] == QLatin1Char('_')))
                ++j;
            const QString name = sql.mid(i + 1, j - i - 1);
            if (!names.contains(name, Qt::CaseInsensitive))
                names << name;
            i = j - 1;
        }
    }
    return names;
}

bool IsCompound(const QString& sql) {
    QString outside;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else {
            outside += c;
        }
    }
    static const QRegularExpression words(QStringLiteral("\\b(UNION|INTERSECT|EXCEPT)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    return words.match(outside).hasMatch();
}

TClosingOrder ClosingOrder(const QString& sql) {
    qsizetype orderAt = -1;
    qsizetype termsAt = -1;
    QList<qsizetype> commas;
    QString previous;
    qsizetype previousAt = -1;
    int depth = 0;
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        const QChar next = i + 1 < sql.size() ? sql[i + 1] : QChar();
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') ||
            c == QLatin1Char('[')) {
            const qsizetype end = sql.indexOf(c == QLatin1Char('[') ? QLatin1Char(']') : c, i + 1);
            if (end < 0)
                return {};
            i = end + 1;
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? sql.size() : end;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? sql.size() : end + 2;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            qsizetype end = i;
            while (end < sql.size() &&
                   (sql[end].isLetterOrNumber() || sql[end] == QLatin1Char('_')))
                ++end;
            const QString word = sql.mid(i, end - i).toUpper();
            if (depth == 0) {
                if (word == QLatin1String("BY") && previous == QLatin1String("ORDER")) {
                    orderAt = previousAt;
                    termsAt = end;
                    commas.clear();
                } else if (termsAt >= 0 &&
                           (word == QLatin1String("LIMIT") || word == QLatin1String("OFFSET"))) {
                    return {};
                }
            }
            previous = word;
            previousAt = i;
            i = end;
        } else {
            if (c == QLatin1Char('('))
                ++depth;
            else if (c == QLatin1Char(')'))
                --depth;
            else if (c == QLatin1Char(',') && depth == 0 && termsAt >= 0)
                commas << i;
            ++i;
        }
    }
    if (orderAt < 0)
        return {};
    TClosingOrder order;
    order.At = orderAt;
    qsizetype from = termsAt;
    commas << sql.size();
    for (const qsizetype comma : std::as_const(commas)) {
        order.Terms << sql.mid(from, comma - from).trimmed();
        from = comma + 1;
    }
    return order;
}

QString ReversedSql(const QString& sql, const TClosingOrder& order,
                    const QList<QStringList>& keyNames, qint64 rows) {
    if (order.At < 0)
        return {};
    QStringList named;
    QStringList reversed;
    for (const QString& term : order.Terms) {
        QString column;
        QString turned;
        if (!ReversedTerm(term, column, turned))
            return {};
        named << column;
        reversed << turned;
    }
    for (const QStringList& names : keyNames) {
        bool taken = false;
        for (const QString& name : names)
            taken = taken || named.contains(name, Qt::CaseInsensitive);
        if (!taken)
            return {};
    }
    return sql.left(order.At) + QStringLiteral("ORDER BY ") + reversed.join(QStringLiteral(", ")) +
           QStringLiteral(" LIMIT %1").arg(rows);
}

QString SortedSql(const QString& sql, int sortColumn, bool descending,
                  const QList<int>& keyColumns) {
    QStringList order;
    order << QStringLiteral("%1 COLLATE NOCASE%2")
                 .arg(QString::number(sortColumn + 1),
                      descending ? QStringLiteral(" DESC") : QString());
    for (const int keyColumn : keyColumns) {
        if (keyColumn != sortColumn)
            order << QString::number(keyColumn + 1);
    }
    return QStringLiteral("SELECT * FROM (\n%1\n) ORDER BY %2")
        .arg(sql, order.join(QStringLiteral(", ")));
}

TRowidSql RowidSql(const QString& sql) {
    TFirstTable first;
    if (!FirstTableOnly(sql, first))
        return {};
    const QString rowid = QStringLiteral("\"%1\".rowid").arg(first.Alias);
    const QString from = sql.mid(first.From);
    TRowidSql result;
    result.Table = first.Name;
    result.Rows =
        sql.left(first.From).trimmed() + QStringLiteral(", ") + rowid + QLatin1Char(' ') + from;
    // The rowid alone: SQLite leaves out the joins that cannot repeat a row
    // and reads the narrowest index; a join that does repeat rows repeats
    // rowids.
    result.InOrder = QStringLiteral("SELECT %1 ").arg(rowid) + from;
    result.Alone =
        QStringLiteral("SELECT %1 ").arg(rowid) + sql.mid(first.From, first.After - first.From);
    return result;
}

} // namespace UQuerySql
