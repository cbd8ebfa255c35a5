#include "data/engine/USqlDialect.h"

#include "data/engine/EDatabaseError.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTime>
#include <optional>
#include <utility>
#include <vector>

namespace USqlDialect {

namespace {

// ---------------------------------------------------------------------------
// Tokens

enum class TTok {
    Space,
    Comment,
    Word, // keyword or bare name
    Number,
    SQuoted,   // 'text' (after the literal pass also every literal of another spelling)
    DQuoted,   // "text" that names something
    Bracketed, // [name] or `name`
    Param,     // :name, @name, $name, ?, ?NNN
    Op,
    Punct, // ( ) , ; .
};

struct TToken {
    TTok Kind = TTok::Space;
    qsizetype Pos = 0;
    QString Src;   // as written
    QString Value; // a word as written; a quoted text without its quotes, unescaped
    QString Out;   // written instead of Src when Replaced is set
    bool Replaced = false;
    QString Before;       // written in front of the token
    QString After;        // written behind the token
    bool Claimed = false; // belongs to a table reference or a table's alias
};

// Deeper than any statement the program or a user writes.
constexpr int MaxParenDepth = 200;

[[noreturn]] void Unreadable(const char* what, const QString& sql, qsizetype pos) {
    throw EDatabaseError(UErrors::FormatMessage("%s at position %d of the statement:\n%s", what,
                                                static_cast<int>(pos + 1), sql));
}

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

// ---------------------------------------------------------------------------
// Words

QSet<QString> WordSet(std::initializer_list<const char*> words) {
    QSet<QString> set;
    for (const char* w : words)
        set.insert(QString::fromLatin1(w));
    return set;
}

// Words that cannot be a table's alias when they follow its name.
const QSet<QString>& NotAnAlias() {
    static const QSet<QString> set = WordSet(
        {"WHERE",   "ON",        "LEFT",  "RIGHT",  "FULL",      "INNER",   "OUTER",   "CROSS",
         "NATURAL", "JOIN",      "SET",   "VALUES", "SELECT",    "DEFAULT", "GROUP",   "ORDER",
         "HAVING",  "LIMIT",     "UNION", "EXCEPT", "INTERSECT", "USING",   "INDEXED", "NOT",
         "WINDOW",  "RETURNING", "AS",    "OFFSET", "WITH",      "AND",     "OR"});
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

// What may stand right before an operand whose comparison we rewrite, so that
// the comparison is a whole condition and not part of a wider expression.
const QSet<QString>& LeftBoundaryWords() {
    static const QSet<QString> set =
        WordSet({"AND", "OR", "NOT", "WHERE", "ON", "WHEN", "THEN", "ELSE", "HAVING", "SELECT",
                 "SET", "DISTINCT", "ALL"});
    return set;
}

const QSet<QString>& RightBoundaryWords() {
    static const QSet<QString> set =
        WordSet({"AND", "OR", "THEN", "ELSE", "END", "WHEN", "ORDER", "GROUP", "LIMIT", "HAVING",
                 "UNION", "EXCEPT", "INTERSECT", "WHERE", "WINDOW", "RETURNING", "FROM"});
    return set;
}

const QSet<QString>& ComparisonOps() {
    static const QSet<QString> set = WordSet({"=", "==", "<>", "!=", "<", "<=", ">", ">="});
    return set;
}

// Words that end the FROM or WHERE clause of a SELECT.
const QSet<QString>& SelectTailWords() {
    static const QSet<QString> set = WordSet({"GROUP", "HAVING", "ORDER", "LIMIT", "WINDOW"});
    return set;
}

// Words that end a column's type in a column definition.
const QSet<QString>& ColumnConstraintWords() {
    static const QSet<QString> set =
        WordSet({"PRIMARY", "NOT", "NULL", "UNIQUE", "CHECK", "DEFAULT", "COLLATE", "REFERENCES",
                 "GENERATED", "AS", "CONSTRAINT"});
    return set;
}

const QSet<QString>& TableConstraintWords() {
    static const QSet<QString> set =
        WordSet({"PRIMARY", "UNIQUE", "CHECK", "FOREIGN", "CONSTRAINT"});
    return set;
}

QString QuoteText(const QString& value) {
    return QLatin1Char('\'') + EscapeQuotes(value, QLatin1Char('\'')) + QLatin1Char('\'');
}

QString QuoteName(const QString& name) {
    return QLatin1Char('"') + EscapeQuotes(name, QLatin1Char('"')) + QLatin1Char('"');
}

// "mm/dd/yyyy[ hh:nn[:ss]]" as the stored text of a column of `kind`; nothing
// when the text is not such a date.
std::optional<QString> StoredDateText(const QString& text, TColumnKind kind) {
    static const QRegularExpression dated(QStringLiteral(
        R"(^\s*(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    const QRegularExpressionMatch m = dated.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
    const QTime time = m.capturedLength(4) > 0 ? QTime(m.captured(4).toInt(), m.captured(5).toInt(),
                                                       m.captured(6).toInt())
                                               : QTime(0, 0);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    if (kind == TColumnKind::Date)
        return date.toString(QStringLiteral("yyyy-MM-dd"));
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           time.toString(QStringLiteral("hh:mm:ss"));
}

// ---------------------------------------------------------------------------
// The translator

struct TTableRef {
    QString Name;          // without suffix or quotes
    QString Qualifier;     // what names the table in the statement: its alias, or its name
    QString QualifierName; // the same without quotes, as a column reference spells it
    qsizetype First = 0;   // significant index of the first token of the name
    qsizetype Last = 0;    // significant index of the last token of the name (alias excluded)
    bool Created = false;
    bool InsertTarget = false;
};

struct TColumnRef {
    qsizetype First = 0; // significant indexes
    qsizetype Last = 0;
    QString Name;
};

class TTranslator {
public:
    TTranslator(const QString& sql, const TColumnKindLookup& lookup,
                const TTableColumnsLookup& columnsOf)
        : m_Lookup(lookup), m_ColumnsOf(columnsOf), m_Tokens(Tokenize(sql)) {
        for (qsizetype i = 0; i < static_cast<qsizetype>(m_Tokens.size()); ++i)
            if (m_Tokens[i].Kind != TTok::Space && m_Tokens[i].Kind != TTok::Comment)
                m_Sig.push_back(i);
        PairParens(sql);
    }

    TTranslation Run() {
        ReadTableRefs();
        ReadLiterals();
        NarrowFullJoins();
        QualifySharedColumns();
        AddTextDefaults();
        ConvertInsertedValues();
        RewriteComparisons();
        for (const TToken& t : m_Tokens)
            m_Result.Sql += t.Before + (t.Replaced ? t.Out : t.Src) + t.After;
        return m_Result;
    }

private:
    qsizetype Count() const { return static_cast<qsizetype>(m_Sig.size()); }

    TToken* Sig(qsizetype k) {
        return k >= 0 && k < Count() ? &m_Tokens[static_cast<size_t>(m_Sig[k])] : nullptr;
    }

    bool IsWord(qsizetype k, const char* word) {
        const TToken* t = Sig(k);
        return t && t->Kind == TTok::Word && !t->Claimed &&
               t->Value.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    bool IsWordIn(qsizetype k, const QSet<QString>& words) {
        const TToken* t = Sig(k);
        return t && t->Kind == TTok::Word && !t->Claimed && words.contains(t->Value.toUpper());
    }

    bool IsPunct(qsizetype k, char c) {
        const TToken* t = Sig(k);
        return t && t->Kind == TTok::Punct && t->Src == QLatin1Char(c);
    }

    bool IsLiteral(qsizetype k) {
        const TToken* t = Sig(k);
        return t && t->Kind == TTok::SQuoted;
    }

    // A word, [name] or "name" that can name a column or a table in an expression.
    bool IsName(qsizetype k) {
        const TToken* t = Sig(k);
        if (!t || t->Claimed)
            return false;
        if (t->Kind == TTok::Bracketed || t->Kind == TTok::DQuoted)
            return true;
        return t->Kind == TTok::Word && !ExprKeywords().contains(t->Value.toUpper());
    }

    // The index of the ')' that closes the '(' at k (or of the '(' that the
    // ')' at k closes); -1 for any other token and for a parenthesis without
    // its partner.
    qsizetype Partner(qsizetype k) const { return m_Partner[static_cast<size_t>(k)]; }

    // Pairs every parenthesis with its partner in one pass, so that no step
    // has to count its way to the end of a group. Nesting deeper than anyone
    // writes is refused: the steps that read conditions go down one level of
    // the call stack for every level of parentheses.
    void PairParens(const QString& sql) {
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

    TColumnKind KindOf(const QString& column) const {
        return m_Lookup ? m_Lookup(column) : TColumnKind::Unknown;
    }

    void Replace(TToken& t, const QString& out) {
        t.Out = out;
        t.Replaced = true;
    }

    // The text that will be written for significant tokens first..last.
    QString Emitted(qsizetype first, qsizetype last) const {
        QString text;
        for (qsizetype i = m_Sig[first]; i <= m_Sig[last]; ++i) {
            const TToken& t = m_Tokens[static_cast<size_t>(i)];
            text += t.Before + (t.Replaced ? t.Out : t.Src) + t.After;
        }
        return text;
    }

    // --- table references ---------------------------------------------------

    void ReadTableRefs() {
        if (const TToken* first = Sig(0); first && first->Kind == TTok::Word)
            m_Verb = first->Value.toUpper();
        for (qsizetype k = 0; k < Count(); ++k) {
            if (IsWord(k, "FROM")) {
                if (IsWord(k - 1, "DISTINCT"))
                    continue;
                // FROM a, b, c
                qsizetype next = ReadTableRef(k + 1, false, false);
                while (next >= 0 && IsPunct(next, ','))
                    next = ReadTableRef(next + 1, false, false);
            } else if (IsWord(k, "JOIN")) {
                ReadTableRef(k + 1, false, false);
            } else if (IsWord(k, "INTO")) {
                ReadTableRef(k + 1, false, IsWord(0, "INSERT") || IsWord(0, "REPLACE"));
            } else if (IsWord(k, "UPDATE")) {
                if (IsWord(k - 1, "DO"))
                    continue;
                qsizetype at = k + 1;
                if (IsWord(at, "OR")) // UPDATE OR REPLACE t
                    at += 2;
                ReadTableRef(at, false, false);
            } else if (IsWord(k, "TABLE")) {
                const bool creating =
                    IsWord(k - 1, "CREATE") || IsWord(k - 1, "TEMP") || IsWord(k - 1, "TEMPORARY");
                if (!creating && !IsWord(k - 1, "DROP") && !IsWord(k - 1, "ALTER"))
                    continue;
                qsizetype at = k + 1;
                if (IsWord(at, "IF")) // IF [NOT] EXISTS
                    at += IsWord(at + 1, "NOT") ? 3 : 2;
                ReadTableRef(at, creating, false);
            }
        }
    }

    // Reads a table name (and its alias) at significant index k; returns the
    // index behind them, or -1 when no table name stands there.
    qsizetype ReadTableRef(qsizetype k, bool created, bool insertTarget) {
        TToken* t = Sig(k);
        if (!t || t->Claimed)
            return -1;
        QString name;
        qsizetype last = k;
        if (t->Kind == TTok::Word) {
            if (NotAnAlias().contains(t->Value.toUpper()))
                return -1;
            if (IsPunct(k + 1, '.')) {
                const TToken* suffix = Sig(k + 2);
                if (!suffix || suffix->Kind != TTok::Word ||
                    suffix->Value.compare(QLatin1String("db"), Qt::CaseInsensitive) != 0)
                    return -1; // schema.table: SQLite's own naming, left alone
                last = k + 2;
            }
            name = t->Value;
        } else if (t->Kind == TTok::SQuoted || t->Kind == TTok::DQuoted ||
                   t->Kind == TTok::Bracketed) {
            name = t->Value.trimmed();
            if (name.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
                name.chop(3);
        } else {
            return -1;
        }
        if (name.isEmpty())
            return -1;

        Replace(*t, QuoteName(TableAlias(name)) + QLatin1Char('.') + QuoteName(name));
        for (qsizetype i = m_Sig[k] + 1; i <= m_Sig[last]; ++i)
            Replace(m_Tokens[static_cast<size_t>(i)], QString());
        for (qsizetype i = k; i <= last; ++i)
            Sig(i)->Claimed = true;

        TTableRef ref;
        ref.Name = name;
        ref.Qualifier = QuoteName(name);
        ref.QualifierName = name;
        ref.First = k;
        ref.Last = last;
        ref.Created = created;
        ref.InsertTarget = insertTarget;

        qsizetype next = last + 1;
        qsizetype aliasAt = -1;
        if (IsWord(next, "AS") && Sig(next + 1) &&
            (Sig(next + 1)->Kind == TTok::Word || Sig(next + 1)->Kind == TTok::DQuoted ||
             Sig(next + 1)->Kind == TTok::Bracketed)) {
            Sig(next)->Claimed = true;
            aliasAt = next + 1;
        } else if (Sig(next) && Sig(next)->Kind == TTok::Word && !Sig(next)->Claimed &&
                   !NotAnAlias().contains(Sig(next)->Value.toUpper())) {
            aliasAt = next;
        }
        if (aliasAt >= 0) {
            Sig(aliasAt)->Claimed = true;
            ref.Qualifier = Sig(aliasAt)->Src;
            ref.QualifierName = Sig(aliasAt)->Value;
            next = aliasAt + 1;
        }

        if (created) {
            m_Result.CreatedTable = name;
        } else if (!m_TablesNamed.contains(name.toCaseFolded())) {
            m_TablesNamed.insert(name.toCaseFolded());
            m_Result.Tables.append(name);
        }
        m_Refs.push_back(ref);
        return next;
    }

    // --- literals -------------------------------------------------------------

    // TRUE and FALSE become the stored texts; a double-quoted text becomes a
    // single-quoted literal unless it names something (next to a '.', or an
    // alias after AS).
    void ReadLiterals() {
        for (qsizetype k = 0; k < Count(); ++k) {
            TToken& t = *Sig(k);
            if (t.Claimed)
                continue;
            if (t.Kind == TTok::Word &&
                (t.Value.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0 ||
                 t.Value.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0)) {
                t.Kind = TTok::SQuoted;
                t.Value = t.Value.toUpper() == QLatin1String("TRUE") ? QStringLiteral("True")
                                                                     : QStringLiteral("False");
                Replace(t, QuoteText(t.Value));
            } else if (t.Kind == TTok::DQuoted) {
                if (IsPunct(k - 1, '.') || IsPunct(k + 1, '.') || IsWord(k - 1, "AS"))
                    continue;
                t.Kind = TTok::SQuoted;
                Replace(t, QuoteText(t.Value));
            }
        }
    }

    void SetLiteral(TToken& t, const QString& value) {
        if (value == t.Value)
            return;
        t.Value = value;
        Replace(t, QuoteText(value));
    }

    // Spells a literal the way a column of `kind` stores it.
    void ConvertLiteral(qsizetype k, TColumnKind kind) {
        TToken& t = *Sig(k);
        switch (kind) {
        case TColumnKind::Date:
        case TColumnKind::Timestamp:
            if (const auto stored = StoredDateText(t.Value, kind))
                SetLiteral(t, *stored);
            break;
        case TColumnKind::Boolean: {
            const QString v = t.Value.trimmed();
            if (v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                SetLiteral(t, QStringLiteral("True"));
            else if (v.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                SetLiteral(t, QStringLiteral("False"));
            break;
        }
        default:
            break;
        }
    }

    // --- FULL joins that the WHERE clause narrows to LEFT joins -----------------

    // A FULL join adds, to the rows of a LEFT join, the right-hand rows that
    // found no partner, with everything on the left NULL. When the WHERE
    // clause rejects every row whose first table is NULL, those added rows
    // never come through, and the LEFT join gives the same rows. SQLite
    // cannot see that for itself: for a FULL join it scans the whole first
    // table, while a LEFT join starts from the first table's key. The details
    // of one call, for example, join the call to its worker and contract with
    // FULL joins and pick the call by its number.
    //
    // Only the simple, certain case is taken: one SELECT (no subquery, no
    // compound), a plain chain of tables (no parenthesised joins) and, at the
    // top level of the WHERE clause, a conjunct comparing a column of the
    // first table with a value or parameter. The first table is on the left
    // side of every join in the chain, so that one test covers them all.
    void NarrowFullJoins() {
        // Parentheses that do not pair make a statement SQLite refuses anyway.
        if (m_Verb != QLatin1String("SELECT") || !m_ParensPaired)
            return;
        qsizetype from = -1;
        int depth = 0;
        int queries = 0; // SELECT, and what would start or join another query
        for (qsizetype k = 0; k < Count(); ++k) {
            if (IsPunct(k, '('))
                ++depth;
            else if (IsPunct(k, ')'))
                --depth;
            else if (IsWord(k, "SELECT") || IsWord(k, "UNION") || IsWord(k, "EXCEPT") ||
                     IsWord(k, "INTERSECT") || IsWord(k, "VALUES"))
                ++queries;
            else if (from < 0 && depth == 0 && IsWord(k, "FROM") && !IsWord(k - 1, "DISTINCT"))
                from = k;
        }
        if (queries != 1 || from < 0)
            return;
        const TTableRef* first = nullptr;
        for (const TTableRef& ref : m_Refs)
            if (ref.First == from + 1)
                first = &ref;
        if (!first)
            return;

        // The FULL joins of the chain, up to the end of the FROM clause.
        std::vector<qsizetype> fulls;
        qsizetype where = -1;
        depth = 0;
        for (qsizetype k = first->Last + 1; k < Count(); ++k) {
            if (IsPunct(k, '(')) {
                ++depth;
            } else if (IsPunct(k, ')')) {
                --depth;
            } else if (depth > 0) {
                continue;
            } else if (IsWord(k, "JOIN") || IsPunct(k, ',')) {
                if (IsPunct(k + 1, '('))
                    return; // a nested join has a left side of its own
            } else if (IsWord(k, "FULL")) {
                fulls.push_back(k);
            } else if (IsWord(k, "WHERE")) {
                where = k;
                break;
            } else if (IsWordIn(k, SelectTailWords()) || IsPunct(k, ';')) {
                break;
            }
        }
        if (fulls.empty() || where < 0)
            return;
        qsizetype end = where + 1; // behind the WHERE clause
        depth = 0;
        for (; end < Count(); ++end) {
            if (IsPunct(end, '('))
                ++depth;
            else if (IsPunct(end, ')'))
                --depth;
            else if (depth == 0 && (IsPunct(end, ';') || IsWordIn(end, SelectTailWords())))
                break;
        }
        if (end == where + 1 || !HasNullRejecting(where + 1, end - 1, first->QualifierName))
            return;

        for (const qsizetype k : fulls) {
            if (IsWord(k + 1, "OUTER") && IsWord(k + 2, "JOIN"))
                Replace(*Sig(k), QStringLiteral("LEFT"));
            else if (IsWord(k + 1, "JOIN"))
                Replace(*Sig(k), QStringLiteral("LEFT OUTER"));
        }
    }

    // Whether the condition first..last, read as a chain of ANDs, has a part
    // that is NULL (so false) whenever the column `qualifier`.name is NULL.
    // The parts of a chain are taken in a loop, so a chain of any length
    // costs one level of the call stack; only parentheses go deeper.
    bool HasNullRejecting(qsizetype first, qsizetype last, const QString& qualifier) {
        while (IsPunct(first, '(') && Partner(first) == last) {
            ++first;
            --last;
        }
        if (first > last)
            return false;
        // Split at the ANDs of this level; the AND of a BETWEEN and those
        // inside CASE ... END do not split.
        qsizetype part = first; // where the part being read starts
        int cases = 0;
        bool between = false;
        for (qsizetype k = first; k <= last; ++k) {
            if (IsPunct(k, '(')) {
                k = Partner(k); // a group belongs to the part it stands in
            } else if (IsWord(k, "CASE")) {
                ++cases;
            } else if (IsWord(k, "END")) {
                --cases;
            } else if (IsWord(k, "BETWEEN")) {
                between = true;
            } else if (IsWord(k, "AND") && cases == 0) {
                if (between) {
                    between = false;
                    continue;
                }
                if (HasNullRejecting(part, k - 1, qualifier))
                    return true;
                part = k + 1;
            }
        }
        if (part == first)
            return IsNullRejecting(first, last, qualifier);
        return HasNullRejecting(part, last, qualifier);
    }

    // Whether tokens k..k+2 are qualifier.column.
    bool IsColumnOf(qsizetype k, const QString& qualifier) {
        const TToken* table = Sig(k);
        return IsName(k) && IsPunct(k + 1, '.') && IsName(k + 2) &&
               table->Value.compare(qualifier, Qt::CaseInsensitive) == 0;
    }

    bool IsValue(qsizetype k) {
        const TToken* t = Sig(k);
        return t && !t->Claimed &&
               (t->Kind == TTok::SQuoted || t->Kind == TTok::Number || t->Kind == TTok::Param);
    }

    // One comparison of a column of the table with a value: `col op value`,
    // `value op col`, `col [NOT] LIKE value`, `col [NOT] IN (values)`.
    bool IsNullRejecting(qsizetype first, qsizetype last, const QString& qualifier) {
        const qsizetype n = last - first + 1;
        auto comparison = [&](qsizetype op, qsizetype value) {
            const TToken* t = Sig(op);
            if (t->Kind != TTok::Op || !ComparisonOps().contains(t->Src) || !IsValue(value))
                return false;
            // `col = ''` also matches a missing value (see RewriteComparisons).
            const bool equality = t->Src == QLatin1String("=") || t->Src == QLatin1String("==");
            return !(equality && Sig(value)->Kind == TTok::SQuoted && Sig(value)->Value.isEmpty());
        };
        if (n == 5 && IsColumnOf(first, qualifier) && comparison(first + 3, first + 4))
            return true;
        if (n == 5 && IsColumnOf(first + 2, qualifier) && comparison(first + 1, first))
            return true;
        if (n < 5 || !IsColumnOf(first, qualifier))
            return false;
        const qsizetype op = IsWord(first + 3, "NOT") ? first + 4 : first + 3;
        if (IsWord(op, "LIKE"))
            return op + 1 == last && IsValue(last);
        if (!IsWord(op, "IN") || !IsPunct(op + 1, '(') || Partner(op + 1) != last)
            return false;
        // A non-empty list: `x NOT IN ()` is true even for a NULL x.
        for (qsizetype k = op + 2; k < last; k += 2)
            if (!IsValue(k) || !(IsPunct(k + 1, ',') || k + 1 == last))
                return false;
        return last > op + 2;
    }

    // --- column names shared by joined tables ---------------------------------

    void QualifySharedColumns() {
        if (!m_ColumnsOf || m_Verb != QLatin1String("SELECT") || m_Refs.size() < 2)
            return;
        QSet<QString> resultAliases;
        int selects = 0;
        for (qsizetype k = 0; k < Count(); ++k) {
            if (IsWord(k, "SELECT"))
                ++selects;
            if (IsWord(k, "AS") && Sig(k + 1))
                resultAliases.insert(Sig(k + 1)->Value.toLower());
        }
        if (selects != 1) // subqueries have scopes of their own: left alone
            return;
        // For every column name: how many of the tables have it, and the
        // first of them.
        struct TOwners {
            int Count = 0;
            size_t First = 0;
        };
        QHash<QString, TOwners> owners;
        for (size_t r = 0; r < m_Refs.size(); ++r) {
            QSet<QString> names; // a name the lookup gives twice is still one column
            for (const QString& c : m_ColumnsOf(m_Refs[r].Name))
                names.insert(c.toLower());
            for (const QString& name : std::as_const(names)) {
                TOwners& o = owners[name];
                if (o.Count++ == 0)
                    o.First = r;
            }
        }
        for (qsizetype k = 0; k < Count(); ++k) {
            TToken& t = *Sig(k);
            if (t.Kind != TTok::Word || t.Claimed || !IsName(k) || IsPunct(k - 1, '.') ||
                IsPunct(k + 1, '.') || IsPunct(k + 1, '(') || IsWord(k - 1, "AS"))
                continue;
            const QString name = t.Value.toLower();
            if (resultAliases.contains(name))
                continue;
            const auto found = owners.constFind(name);
            if (found != owners.cend() && found->Count > 1)
                t.Before += m_Refs[found->First].Qualifier + QLatin1Char('.');
        }
    }

    // --- CREATE TABLE ---------------------------------------------------------

    // Every text column gets the default '', so a column left out of an INSERT
    // is blank rather than missing.
    void AddTextDefaults() {
        for (const TTableRef& ref : m_Refs) {
            if (!ref.Created || !IsPunct(ref.Last + 1, '('))
                continue;
            qsizetype k = ref.Last + 2;
            while (k < Count()) {
                // One definition: k .. end-1, ended by ',' or ')' at the outer level.
                qsizetype end = k;
                int depth = 0;
                for (; end < Count(); ++end) {
                    if (IsPunct(end, '(')) {
                        ++depth;
                    } else if (IsPunct(end, ')')) {
                        if (depth == 0)
                            break;
                        --depth;
                    } else if (IsPunct(end, ',') && depth == 0) {
                        break;
                    }
                }
                AddTextDefault(k, end);
                if (!IsPunct(end, ','))
                    break;
                k = end + 1;
            }
        }
    }

    void AddTextDefault(qsizetype first, qsizetype end) {
        if (end - first < 2 || IsWordIn(first, TableConstraintWords()))
            return;
        qsizetype last = first; // last token of the type
        for (qsizetype k = first + 1; k < end; ++k) {
            const TToken* t = Sig(k);
            if (t->Kind != TTok::Word || ColumnConstraintWords().contains(t->Value.toUpper()))
                break;
            last = k;
        }
        if (last == first || KindOfDeclType(Sig(first + 1)->Value) != TColumnKind::Text)
            return;
        if (IsPunct(last + 1, '(')) {
            while (last + 1 < end && !IsPunct(last, ')'))
                ++last;
        }
        for (qsizetype k = last + 1; k < end; ++k)
            if (IsWord(k, "DEFAULT"))
                return;
        Sig(last)->After += QStringLiteral(" DEFAULT ''");
    }

    // --- INSERT ... VALUES ----------------------------------------------------

    void ConvertInsertedValues() {
        for (const TTableRef& ref : m_Refs) {
            if (!ref.InsertTarget)
                continue;
            qsizetype k = ref.Last + 1;
            while (Sig(k) && Sig(k)->Claimed) // the table's alias
                ++k;
            QStringList columns;
            if (IsPunct(k, '(')) {
                for (++k; k < Count() && !IsPunct(k, ')'); ++k)
                    if (!IsPunct(k, ','))
                        columns.append(Sig(k)->Value);
                ++k;
            } else if (m_ColumnsOf) {
                columns = m_ColumnsOf(ref.Name);
            }
            if (!IsWord(k, "VALUES"))
                continue;
            ++k;
            while (IsPunct(k, '(')) {
                qsizetype column = 0;
                qsizetype itemStart = k + 1;
                int depth = 0;
                for (++k; k < Count(); ++k) {
                    if (IsPunct(k, '(')) {
                        ++depth;
                    } else if ((IsPunct(k, ')') && depth == 0) || (IsPunct(k, ',') && depth == 0)) {
                        if (k == itemStart + 1 && IsLiteral(itemStart) && column < columns.size())
                            ConvertLiteral(itemStart, KindOf(columns[column]));
                        ++column;
                        itemStart = k + 1;
                        if (IsPunct(k, ')'))
                            break;
                    } else if (IsPunct(k, ')')) {
                        --depth;
                    }
                }
                ++k; // behind ')'
                if (!IsPunct(k, ','))
                    break;
                ++k;
            }
        }
    }

    // --- comparisons ------------------------------------------------------------

    std::optional<TColumnRef> ColumnEndingAt(qsizetype k) {
        if (!IsName(k) || IsPunct(k + 1, '('))
            return std::nullopt;
        if (IsPunct(k - 1, '.')) {
            if (!IsName(k - 2))
                return std::nullopt;
            return TColumnRef{k - 2, k, Sig(k)->Value};
        }
        if (Sig(k)->Kind == TTok::DQuoted)
            return std::nullopt;
        return TColumnRef{k, k, Sig(k)->Value};
    }

    std::optional<TColumnRef> ColumnStartingAt(qsizetype k) {
        if (!IsName(k))
            return std::nullopt;
        if (IsPunct(k + 1, '.')) {
            if (!IsName(k + 2) || IsPunct(k + 3, '(') || IsPunct(k + 3, '.'))
                return std::nullopt;
            return TColumnRef{k, k + 2, Sig(k + 2)->Value};
        }
        if (Sig(k)->Kind == TTok::DQuoted || IsPunct(k + 1, '('))
            return std::nullopt;
        return TColumnRef{k, k, Sig(k)->Value};
    }

    bool LeftBoundary(qsizetype k) {
        return k < 0 || IsPunct(k, '(') || IsPunct(k, ',') || IsWordIn(k, LeftBoundaryWords());
    }

    bool RightBoundary(qsizetype k) {
        return k >= Count() || IsPunct(k, ')') || IsPunct(k, ',') || IsPunct(k, ';') ||
               IsWordIn(k, RightBoundaryWords());
    }

    // Which significant tokens stand in the assignment list of an UPDATE.
    std::vector<bool> AssignmentTokens() {
        std::vector<bool> inSet(static_cast<size_t>(Count()), false);
        int depth = 0;
        int setDepth = -1;
        for (qsizetype k = 0; k < Count(); ++k) {
            if (IsPunct(k, '(')) {
                ++depth;
                continue;
            }
            if (IsPunct(k, ')')) {
                --depth;
                if (setDepth > depth)
                    setDepth = -1;
                continue;
            }
            if (IsWord(k, "SET")) {
                setDepth = depth;
                continue;
            }
            if (setDepth == depth &&
                (IsWord(k, "WHERE") || IsWord(k, "FROM") || IsWord(k, "RETURNING") ||
                 IsWord(k, "ORDER") || IsWord(k, "LIMIT") || IsPunct(k, ';')))
                setDepth = -1;
            inSet[static_cast<size_t>(k)] = setDepth == depth;
        }
        return inSet;
    }

    void RewriteComparisons() {
        const std::vector<bool> inSet = AssignmentTokens();
        for (qsizetype k = 0; k < Count(); ++k) {
            const TToken& t = *Sig(k);
            if (t.Kind == TTok::Op && ComparisonOps().contains(t.Src)) {
                const bool equality = t.Src == QLatin1String("=") || t.Src == QLatin1String("==");
                const bool assignment = inSet[static_cast<size_t>(k)];
                if (const auto col = ColumnEndingAt(k - 1); col && IsLiteral(k + 1) &&
                                                            LeftBoundary(col->First - 1) &&
                                                            RightBoundary(k + 2)) {
                    ConvertLiteral(k + 1, KindOf(col->Name));
                    if (equality && !assignment && Sig(k + 1)->Value.isEmpty()) {
                        const QString column = Emitted(col->First, col->Last);
                        Sig(col->First)->Before.prepend(QLatin1Char('('));
                        Sig(k + 1)->After +=
                            QStringLiteral(" OR ") + column + QStringLiteral(" IS NULL)");
                    }
                } else if (const auto rcol = ColumnStartingAt(k + 1);
                           rcol && IsLiteral(k - 1) && !assignment && LeftBoundary(k - 2) &&
                           RightBoundary(rcol->Last + 1)) {
                    ConvertLiteral(k - 1, KindOf(rcol->Name));
                    if (equality && Sig(k - 1)->Value.isEmpty()) {
                        const QString column = Emitted(rcol->First, rcol->Last);
                        Sig(k - 1)->Before.prepend(QLatin1Char('('));
                        Sig(rcol->Last)->After +=
                            QStringLiteral(" OR ") + column + QStringLiteral(" IS NULL)");
                    }
                }
            } else if (IsWord(k, "BETWEEN")) {
                const qsizetype before = IsWord(k - 1, "NOT") ? k - 2 : k - 1;
                const auto col = ColumnEndingAt(before);
                if (col && LeftBoundary(col->First - 1) && IsLiteral(k + 1) &&
                    IsWord(k + 2, "AND") && IsLiteral(k + 3) && RightBoundary(k + 4)) {
                    ConvertLiteral(k + 1, KindOf(col->Name));
                    ConvertLiteral(k + 3, KindOf(col->Name));
                }
            } else if (IsWord(k, "IN")) {
                const qsizetype before = IsWord(k - 1, "NOT") ? k - 2 : k - 1;
                const auto col = ColumnEndingAt(before);
                if (!col || !LeftBoundary(col->First - 1) || !IsPunct(k + 1, '('))
                    continue;
                for (qsizetype i = k + 2; IsLiteral(i); i += 2) {
                    ConvertLiteral(i, KindOf(col->Name));
                    if (!IsPunct(i + 1, ','))
                        break;
                }
            }
        }
    }

    const TColumnKindLookup& m_Lookup;
    const TTableColumnsLookup& m_ColumnsOf;
    std::vector<TToken> m_Tokens;
    std::vector<qsizetype> m_Sig;     // indexes of the significant tokens in m_Tokens
    std::vector<qsizetype> m_Partner; // by significant index: see Partner()
    bool m_ParensPaired = true;       // every parenthesis has its partner
    std::vector<TTableRef> m_Refs;
    QSet<QString> m_TablesNamed; // m_Result.Tables, case-folded
    QString m_Verb;
    TTranslation m_Result;
};

} // namespace

TTranslation Translate(const QString& localSql, const TColumnKindLookup& lookup,
                       const TTableColumnsLookup& columnsOf) {
    return TTranslator(localSql, lookup, columnsOf).Run();
}

QString TableAlias(const QString& table) {
    return QStringLiteral("db_") + table.toLower();
}

QString EscapeQuotes(const QString& value, QChar quote) {
    QString escaped = value;
    escaped.replace(quote, QString(2, quote));
    return escaped;
}

TColumnKind KindOfDeclType(const QString& declType) {
    // The first word decides: "CHAR(20)", "DOUBLE PRECISION", "INTEGER NOT NULL".
    QString base = declType.trimmed().toUpper();
    qsizetype end = 0;
    while (end < base.size() && (base[end].isLetter() || base[end] == QLatin1Char('_')))
        ++end;
    base.truncate(end);
    static const QHash<QString, TColumnKind> kinds = {
        {QStringLiteral("CHAR"), TColumnKind::Text},
        {QStringLiteral("VARCHAR"), TColumnKind::Text},
        {QStringLiteral("CHARACTER"), TColumnKind::Text},
        {QStringLiteral("TEXT"), TColumnKind::Text},
        {QStringLiteral("INTEGER"), TColumnKind::Integer},
        {QStringLiteral("INT"), TColumnKind::Integer},
        {QStringLiteral("SMALLINT"), TColumnKind::Integer},
        {QStringLiteral("BIGINT"), TColumnKind::Integer},
        {QStringLiteral("FLOAT"), TColumnKind::Float},
        {QStringLiteral("REAL"), TColumnKind::Float},
        {QStringLiteral("DOUBLE"), TColumnKind::Float},
        {QStringLiteral("NUMERIC"), TColumnKind::Float},
        {QStringLiteral("DECIMAL"), TColumnKind::Float},
        {QStringLiteral("MONEY"), TColumnKind::Float},
        {QStringLiteral("BOOLEAN"), TColumnKind::Boolean},
        {QStringLiteral("LOGICAL"), TColumnKind::Boolean},
        {QStringLiteral("DATE"), TColumnKind::Date},
        {QStringLiteral("TIMESTAMP"), TColumnKind::Timestamp},
        {QStringLiteral("DATETIME"), TColumnKind::Timestamp},
    };
    return kinds.value(base, TColumnKind::Unknown);
}

} // namespace USqlDialect
