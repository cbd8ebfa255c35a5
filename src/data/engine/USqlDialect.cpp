#include "data/engine/USqlDialect.h"

#include "data/engine/USqlJoins.h"
#include "data/engine/USqlTokens.h"

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

using namespace USqlTokens;

// ---------------------------------------------------------------------------
// Words

// Words that cannot be a table's alias when they follow its name.
const QSet<QString>& NotAnAlias() {
    static const QSet<QString> set = WordSet(
        {"WHERE",   "ON",        "LEFT",  "RIGHT",  "FULL",      "INNER",   "OUTER",   "CROSS",
         "NATURAL", "JOIN",      "SET",   "VALUES", "SELECT",    "DEFAULT", "GROUP",   "ORDER",
         "HAVING",  "LIMIT",     "UNION", "EXCEPT", "INTERSECT", "USING",   "INDEXED", "NOT",
         "WINDOW",  "RETURNING", "AS",    "OFFSET", "WITH",      "AND",     "OR"});
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

struct TColumnRef {
    qsizetype First = 0; // significant indexes
    qsizetype Last = 0;
    QString Name;
};

// The steps of the translation, each reading and rewriting the tokens.
class TTranslator : private TStatementTokens {
public:
    TTranslator(const QString& sql, const TColumnKindLookup& lookup,
                const TTableColumnsLookup& columnsOf)
        : TStatementTokens(sql), m_Lookup(lookup), m_ColumnsOf(columnsOf) {}

    TTranslation Run() {
        ReadTableRefs();
        ReadLiterals();
        USqlJoins::NarrowFullJoins(*this, m_Refs);
        QualifySharedColumns();
        AddTextDefaults();
        ConvertInsertedValues();
        RewriteComparisons();
        m_Result.Sql = Emitted();
        return m_Result;
    }

private:
    TColumnKind KindOf(const QString& column) const {
        return m_Lookup ? m_Lookup(column) : TColumnKind::Unknown;
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
        Blank(k, last);
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
