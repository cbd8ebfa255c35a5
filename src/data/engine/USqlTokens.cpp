#include "data/engine/USqlTokens.h"

#include "data/engine/EDatabaseError.h"

#include <QStringList>
#include <utility>

namespace USqlTokens {

namespace {

bool IsWordStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}

bool IsWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// Reads a text between two `quote` characters starting at `start`; a doubled
// quote inside stands for one. Returns the position behind the closing quote.
qsizetype ReadQuoted(const QString& sql, qsizetype start, QChar quote, QString& value) {
    qsizetype i = start + 1;
    for (;;) {
        const qsizetype end = sql.indexOf(quote, i);
        if (end < 0)
            Unreadable(quote == QLatin1Char('"')   ? "Unterminated double-quoted text"
                       : quote == QLatin1Char('`') ? "Unterminated quoted name"
                                                   : "Unterminated text literal",
                       sql, start);
        value += QStringView(sql).mid(i, end - i);
        if (end + 1 < sql.size() && sql[end + 1] == quote) {
            value += quote;
            i = end + 2;
            continue;
        }
        return end + 1;
    }
}

} // namespace

[[noreturn]] void Unreadable(const char* what, const QString& sql, qsizetype pos) {
    throw EDatabaseError(UErrors::FormatMessage("%s at position %d of the statement:\n%s", what,
                                                static_cast<int>(pos + 1), sql));
}

std::vector<TToken> Tokenize(const QString& sql) {
    static const QStringList longOps = {
        QStringLiteral("->>"), QStringLiteral("||"), QStringLiteral("<="), QStringLiteral(">="),
        QStringLiteral("<>"),  QStringLiteral("!="), QStringLiteral("=="), QStringLiteral("<<"),
        QStringLiteral(">>"),  QStringLiteral("->")};
    std::vector<TToken> tokens;
    const qsizetype n = sql.size();
    auto at = [&](qsizetype k) { return k < n ? sql[k] : QChar(); };
    qsizetype i = 0;
    while (i < n) {
        TToken t;
        t.Pos = i;
        const QChar c = sql[i];
        if (c.isSpace()) {
            while (i < n && sql[i].isSpace())
                ++i;
            t.Kind = TTok::Space;
        } else if (c == QLatin1Char('-') && at(i + 1) == QLatin1Char('-')) {
            while (i < n && sql[i] != QLatin1Char('\n'))
                ++i;
            t.Kind = TTok::Comment;
        } else if (c == QLatin1Char('/') && at(i + 1) == QLatin1Char('*')) {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            if (end < 0)
                Unreadable("Unterminated comment", sql, i);
            i = end + 2;
            t.Kind = TTok::Comment;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            i = ReadQuoted(sql, i, c, t.Value);
            t.Kind = c == QLatin1Char('\'')  ? TTok::SQuoted
                     : c == QLatin1Char('"') ? TTok::DQuoted
                                             : TTok::Bracketed;
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = sql.indexOf(QLatin1Char(']'), i + 1);
            if (end < 0)
                Unreadable("Unterminated bracketed name", sql, i);
            t.Value = sql.mid(i + 1, end - i - 1);
            i = end + 1;
            t.Kind = TTok::Bracketed;
        } else if (IsWordStart(c)) {
            while (i < n && IsWordChar(sql[i]))
                ++i;
            t.Kind = TTok::Word;
        } else if (c.isDigit() || (c == QLatin1Char('.') && at(i + 1).isDigit())) {
            while (i < n && (sql[i].isLetterOrNumber() || sql[i] == QLatin1Char('.') ||
                             sql[i] == QLatin1Char('_')))
                ++i;
            // An exponent with its sign: 1.5e+3
            if ((sql[i - 1] == QLatin1Char('e') || sql[i - 1] == QLatin1Char('E')) &&
                (at(i) == QLatin1Char('+') || at(i) == QLatin1Char('-')) && at(i + 1).isDigit()) {
                i += 2;
                while (i < n && sql[i].isDigit())
                    ++i;
            }
            t.Kind = TTok::Number;
        } else if ((c == QLatin1Char(':') || c == QLatin1Char('@') || c == QLatin1Char('$')) &&
                   IsWordChar(at(i + 1))) {
            ++i;
            while (i < n && IsWordChar(sql[i]))
                ++i;
            t.Kind = TTok::Param;
        } else if (c == QLatin1Char('?')) {
            ++i;
            while (i < n && sql[i].isDigit())
                ++i;
            t.Kind = TTok::Param;
        } else if (QStringLiteral("(),;.").contains(c)) {
            ++i;
            t.Kind = TTok::Punct;
        } else {
            qsizetype len = 1;
            for (const QString& op : longOps) {
                if (QStringView(sql).mid(i).startsWith(op)) {
                    len = op.size();
                    break;
                }
            }
            i += len;
            t.Kind = TTok::Op;
        }
        t.Src = sql.mid(t.Pos, i - t.Pos);
        if (t.Kind == TTok::Word || t.Kind == TTok::Number || t.Kind == TTok::Param ||
            t.Kind == TTok::Op || t.Kind == TTok::Punct)
            t.Value = t.Src;
        tokens.push_back(std::move(t));
    }
    return tokens;
}

QSet<QString> WordSet(std::initializer_list<const char*> words) {
    QSet<QString> set;
    for (const char* w : words)
        set.insert(QString::fromLatin1(w));
    return set;
}

// Words of an expression that are never a column name.
const QSet<QString>& ExprKeywords() {
    static const QSet<QString> set =
        WordSet({"NULL",      "NOT",      "AND",          "OR",           "CASE",
                 "WHEN",      "THEN",     "ELSE",         "END",          "EXISTS",
                 "SELECT",    "DISTINCT", "ALL",          "IS",           "IN",
                 "LIKE",      "GLOB",     "MATCH",        "REGEXP",       "BETWEEN",
                 "ESCAPE",    "COLLATE",  "CAST",         "AS",           "WHERE",
                 "ON",        "HAVING",   "SET",          "FROM",         "BY",
                 "TRUE",      "FALSE",    "CURRENT_DATE", "CURRENT_TIME", "CURRENT_TIMESTAMP",
                 "ISNULL",    "NOTNULL",  "VALUES",       "DEFAULT",      "RAISE",
                 "USING",     "ASC",      "DESC",         "LIMIT",        "OFFSET",
                 "JOIN",      "ORDER",    "GROUP",        "UNION",        "EXCEPT",
                 "INTERSECT", "RETURNING"});
    return set;
}

const QSet<QString>& ComparisonOps() {
    static const QSet<QString> set = WordSet({"=", "==", "<>", "!=", "<", "<=", ">", ">="});
    return set;
}

TStatementTokens::TStatementTokens(const QString& sql) : m_Tokens(Tokenize(sql)) {
    for (qsizetype i = 0; i < static_cast<qsizetype>(m_Tokens.size()); ++i)
        if (m_Tokens[i].Kind != TTok::Space && m_Tokens[i].Kind != TTok::Comment)
            m_Sig.push_back(i);
    PairParens(sql);
}

TToken* TStatementTokens::Sig(qsizetype k) {
    return k >= 0 && k < Count() ? &m_Tokens[static_cast<size_t>(m_Sig[k])] : nullptr;
}

const TToken* TStatementTokens::Sig(qsizetype k) const {
    return k >= 0 && k < Count() ? &m_Tokens[static_cast<size_t>(m_Sig[k])] : nullptr;
}

bool TStatementTokens::IsWord(qsizetype k, const char* word) const {
    const TToken* t = Sig(k);
    return t && t->Kind == TTok::Word && !t->Claimed &&
           t->Value.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool TStatementTokens::IsWordIn(qsizetype k, const QSet<QString>& words) const {
    const TToken* t = Sig(k);
    return t && t->Kind == TTok::Word && !t->Claimed && words.contains(t->Value.toUpper());
}

bool TStatementTokens::IsPunct(qsizetype k, char c) const {
    const TToken* t = Sig(k);
    return t && t->Kind == TTok::Punct && t->Src == QLatin1Char(c);
}

bool TStatementTokens::IsLiteral(qsizetype k) const {
    const TToken* t = Sig(k);
    return t && t->Kind == TTok::SQuoted;
}

bool TStatementTokens::IsName(qsizetype k) const {
    const TToken* t = Sig(k);
    if (!t || t->Claimed)
        return false;
    if (t->Kind == TTok::Bracketed || t->Kind == TTok::DQuoted)
        return true;
    return t->Kind == TTok::Word && !ExprKeywords().contains(t->Value.toUpper());
}

// Pairs every parenthesis with its partner in one pass, so that no step has
// to count its way to the end of a group. Nesting deeper than anyone writes
// is refused: the steps that read conditions go down one level of the call
// stack for every level of parentheses.
void TStatementTokens::PairParens(const QString& sql) {
    m_Partner.assign(m_Sig.size(), -1);
    std::vector<qsizetype> open;
    for (qsizetype k = 0; k < Count(); ++k) {
        if (IsPunct(k, '(')) {
            if (static_cast<int>(open.size()) == MaxParenDepth)
                Unreadable("Parentheses nested too deeply", sql, Sig(k)->Pos);
            open.push_back(k);
        } else if (IsPunct(k, ')')) {
            if (open.empty()) {
                m_ParensPaired = false;
                continue;
            }
            m_Partner[static_cast<size_t>(k)] = open.back();
            m_Partner[static_cast<size_t>(open.back())] = k;
            open.pop_back();
        }
    }
    if (!open.empty())
        m_ParensPaired = false;
}

void TStatementTokens::Replace(TToken& t, const QString& out) {
    t.Out = out;
    t.Replaced = true;
}

void TStatementTokens::Blank(qsizetype first, qsizetype last) {
    for (qsizetype i = m_Sig[first] + 1; i <= m_Sig[last]; ++i)
        Replace(m_Tokens[static_cast<size_t>(i)], QString());
}

QString TStatementTokens::Emitted(qsizetype first, qsizetype last) const {
    QString text;
    for (qsizetype i = m_Sig[first]; i <= m_Sig[last]; ++i) {
        const TToken& t = m_Tokens[static_cast<size_t>(i)];
        text += t.Before + (t.Replaced ? t.Out : t.Src) + t.After;
    }
    return text;
}

QString TStatementTokens::Emitted() const {
    QString text;
    for (const TToken& t : m_Tokens)
        text += t.Before + (t.Replaced ? t.Out : t.Src) + t.After;
    return text;
}

} // namespace USqlTokens
