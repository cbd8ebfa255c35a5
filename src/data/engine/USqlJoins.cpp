#include "data/engine/USqlJoins.h"

namespace USqlJoins {

using namespace USqlTokens;

namespace {

// Words that end the FROM or WHERE clause of a SELECT.
const QSet<QString>& SelectTailWords() {
    static const QSet<QString> set = WordSet({"GROUP", "HAVING", "ORDER", "LIMIT", "WINDOW"});
    return set;
}

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
class TJoinNarrowing {
public:
    explicit TJoinNarrowing(TStatementTokens& tokens) : m_Tokens(tokens) {}
    void Run(const std::vector<TTableRef>& refs);

private:
    // Whether the condition first..last, read as a chain of ANDs, has a part
    // that is NULL (so false) whenever the column `qualifier`.name is NULL.
    bool HasNullRejecting(qsizetype first, qsizetype last, const QString& qualifier);
    // Whether tokens k..k+2 are qualifier.column.
    bool IsColumnOf(qsizetype k, const QString& qualifier) const;
    bool IsValue(qsizetype k) const;
    // One comparison of a column of the table with a value.
    bool IsNullRejecting(qsizetype first, qsizetype last, const QString& qualifier);

    TStatementTokens& m_Tokens;
};

void TJoinNarrowing::Run(const std::vector<TTableRef>& refs) {
    const TToken* verbToken = m_Tokens.Sig(0);
    const QString verb =
        verbToken && verbToken->Kind == TTok::Word ? verbToken->Value.toUpper() : QString();
    // Parentheses that do not pair make a statement SQLite refuses anyway.
    if (verb != QLatin1String("SELECT") || !m_Tokens.ParensPaired())
        return;
    qsizetype from = -1;
    int depth = 0;
    int queries = 0; // SELECT, and what would start or join another query
    for (qsizetype k = 0; k < m_Tokens.Count(); ++k) {
        if (m_Tokens.IsPunct(k, '('))
            ++depth;
        else if (m_Tokens.IsPunct(k, ')'))
            --depth;
        else if (m_Tokens.IsWord(k, "SELECT") || m_Tokens.IsWord(k, "UNION") ||
                 m_Tokens.IsWord(k, "EXCEPT") || m_Tokens.IsWord(k, "INTERSECT") ||
                 m_Tokens.IsWord(k, "VALUES"))
            ++queries;
        else if (from < 0 && depth == 0 && m_Tokens.IsWord(k, "FROM") &&
                 !m_Tokens.IsWord(k - 1, "DISTINCT"))
            from = k;
    }
    if (queries != 1 || from < 0)
        return;
    const TTableRef* first = nullptr;
    for (const TTableRef& ref : refs)
        if (ref.First == from + 1)
            first = &ref;
    if (!first)
        return;

    // The FULL joins of the chain, up to the end of the FROM clause.
    std::vector<qsizetype> fulls;
    qsizetype where = -1;
    depth = 0;
    for (qsizetype k = first->Last + 1; k < m_Tokens.Count(); ++k) {
        if (m_Tokens.IsPunct(k, '(')) {
            ++depth;
        } else if (m_Tokens.IsPunct(k, ')')) {
            --depth;
        } else if (depth > 0) {
            continue;
        } else if (m_Tokens.IsWord(k, "JOIN") || m_Tokens.IsPunct(k, ',')) {
            if (m_Tokens.IsPunct(k + 1, '('))
                return; // a nested join has a left side of its own
        } else if (m_Tokens.IsWord(k, "FULL")) {
            fulls.push_back(k);
        } else if (m_Tokens.IsWord(k, "WHERE")) {
            where = k;
            break;
        } else if (m_Tokens.IsWordIn(k, SelectTailWords()) || m_Tokens.IsPunct(k, ';')) {
            break;
        }
    }
    if (fulls.empty() || where < 0)
        return;
    qsizetype end = where + 1; // behind the WHERE clause
    depth = 0;
    for (; end < m_Tokens.Count(); ++end) {
        if (m_Tokens.IsPunct(end, '('))
            ++depth;
        else if (m_Tokens.IsPunct(end, ')'))
            --depth;
        else if (depth == 0 &&
                 (m_Tokens.IsPunct(end, ';') || m_Tokens.IsWordIn(end, SelectTailWords())))
            break;
    }
    if (end == where + 1 || !HasNullRejecting(where + 1, end - 1, first->QualifierName))
        return;

    for (const qsizetype k : fulls) {
        if (m_Tokens.IsWord(k + 1, "OUTER") && m_Tokens.IsWord(k + 2, "JOIN"))
            m_Tokens.Replace(*m_Tokens.Sig(k), QStringLiteral("LEFT"));
        else if (m_Tokens.IsWord(k + 1, "JOIN"))
            m_Tokens.Replace(*m_Tokens.Sig(k), QStringLiteral("LEFT OUTER"));
    }
}

// Whether the condition first..last, read as a chain of ANDs, has a part
// that is NULL (so false) whenever the column `qualifier`.name is NULL.
// The parts of a chain are taken in a loop, so a chain of any length
// costs one level of the call stack; only parentheses go deeper.
bool TJoinNarrowing::HasNullRejecting(qsizetype first, qsizetype last, const QString& qualifier) {
    while (m_Tokens.IsPunct(first, '(') && m_Tokens.Partner(first) == last) {
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
        if (m_Tokens.IsPunct(k, '(')) {
            k = m_Tokens.Partner(k); // a group belongs to the part it stands in
        } else if (m_Tokens.IsWord(k, "CASE")) {
            ++cases;
        } else if (m_Tokens.IsWord(k, "END")) {
            --cases;
        } else if (m_Tokens.IsWord(k, "BETWEEN")) {
            between = true;
        } else if (m_Tokens.IsWord(k, "AND") && cases == 0) {
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

bool TJoinNarrowing::IsColumnOf(qsizetype k, const QString& qualifier) const {
    const TToken* table = m_Tokens.Sig(k);
    return m_Tokens.IsName(k) && m_Tokens.IsPunct(k + 1, '.') && m_Tokens.IsName(k + 2) &&
           table->Value.compare(qualifier, Qt::CaseInsensitive) == 0;
}

bool TJoinNarrowing::IsValue(qsizetype k) const {
    const TToken* t = m_Tokens.Sig(k);
    return t && !t->Claimed &&
           (t->Kind == TTok::SQuoted || t->Kind == TTok::Number || t->Kind == TTok::Param);
}

// One comparison of a column of the table with a value: `col op value`,
// `value op col`, `col [NOT] LIKE value`, `col [NOT] IN (values)`.
bool TJoinNarrowing::IsNullRejecting(qsizetype first, qsizetype last, const QString& qualifier) {
    const qsizetype n = last - first + 1;
    auto comparison = [&](qsizetype op, qsizetype value) {
        const TToken* t = m_Tokens.Sig(op);
        if (t->Kind != TTok::Op || !ComparisonOps().contains(t->Src) || !IsValue(value))
            return false;
        // `col = ''` also matches a missing value (see USqlDialect.h).
        const bool equality = t->Src == QLatin1String("=") || t->Src == QLatin1String("==");
        return !(equality && m_Tokens.Sig(value)->Kind == TTok::SQuoted &&
                 m_Tokens.Sig(value)->Value.isEmpty());
    };
    if (n == 5 && IsColumnOf(first, qualifier) && comparison(first + 3, first + 4))
        return true;
    if (n == 5 && IsColumnOf(first + 2, qualifier) && comparison(first + 1, first))
        return true;
    if (n < 5 || !IsColumnOf(first, qualifier))
        return false;
    const qsizetype op = m_Tokens.IsWord(first + 3, "NOT") ? first + 4 : first + 3;
    if (m_Tokens.IsWord(op, "LIKE"))
        return op + 1 == last && IsValue(last);
    if (!m_Tokens.IsWord(op, "IN") || !m_Tokens.IsPunct(op + 1, '(') ||
        m_Tokens.Partner(op + 1) != last)
        return false;
    // A non-empty list: `x NOT IN ()` is true even for a NULL x.
    for (qsizetype k = op + 2; k < last; k += 2)
        if (!IsValue(k) || !(m_Tokens.IsPunct(k + 1, ',') || k + 1 == last))
            return false;
    return last > op + 2;
}

} // namespace

void NarrowFullJoins(TStatementTokens& tokens, const std::vector<TTableRef>& refs) {
    TJoinNarrowing(tokens).Run(refs);
}

} // namespace USqlJoins
