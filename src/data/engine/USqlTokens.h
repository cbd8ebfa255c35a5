#pragma once

// The tokens of one statement of the local SQL dialect (see USqlDialect.h),
// as the translator reads and rewrites them. Every character of the text
// belongs to one token, spaces and comments too, so that writing the tokens
// out again gives the statement back; a step of the translation changes what
// is written for a token, or adds text in front of it or behind it.

#include <QSet>
#include <QString>
#include <initializer_list>
#include <vector>

namespace USqlTokens {

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

// Raises EDatabaseError: `what` went wrong at `pos` of `sql`.
[[noreturn]] void Unreadable(const char* what, const QString& sql, qsizetype pos);

// Splits a statement into tokens. Raises EDatabaseError for an unterminated
// literal, quoted name or comment.
std::vector<TToken> Tokenize(const QString& sql);

// A set of upper-case words (or operators) to look tokens up in.
QSet<QString> WordSet(std::initializer_list<const char*> words);
// Words of an expression that are never a column name.
const QSet<QString>& ExprKeywords();
// The operators that compare two values.
const QSet<QString>& ComparisonOps();

// The tokens of a statement, and its significant ones (neither space nor
// comment) by index from 0, with every parenthesis paired with its partner.
// The readers below take a significant index and are false (or null) for one
// outside the statement.
class TStatementTokens {
public:
    // Raises EDatabaseError for text that cannot be read (see Tokenize), and
    // for parentheses nested more than MaxParenDepth deep.
    explicit TStatementTokens(const QString& sql);

    qsizetype Count() const { return static_cast<qsizetype>(m_Sig.size()); }
    TToken* Sig(qsizetype k);
    const TToken* Sig(qsizetype k) const;

    // A word, not claimed by a table, that is `word` or one of `words`
    // (upper-case), without regard to letter case.
    bool IsWord(qsizetype k, const char* word) const;
    bool IsWordIn(qsizetype k, const QSet<QString>& words) const;
    bool IsPunct(qsizetype k, char c) const;
    bool IsLiteral(qsizetype k) const;
    // A word, [name] or "name" that can name a column or a table in an expression.
    bool IsName(qsizetype k) const;

    // The index of the ')' that closes the '(' at k (or of the '(' that the
    // ')' at k closes); -1 for any other token and for a parenthesis without
    // its partner.
    qsizetype Partner(qsizetype k) const { return m_Partner[static_cast<size_t>(k)]; }
    // Whether every parenthesis has its partner.
    bool ParensPaired() const { return m_ParensPaired; }

    // Writes `out` instead of the token.
    static void Replace(TToken& t, const QString& out);
    // Writes nothing for the tokens behind significant token `first` up to
    // significant token `last`, spaces and comments among them included.
    void Blank(qsizetype first, qsizetype last);
    // The text that will be written for significant tokens first..last.
    QString Emitted(qsizetype first, qsizetype last) const;
    // The text that will be written for the whole statement.
    QString Emitted() const;

private:
    void PairParens(const QString& sql);

    std::vector<TToken> m_Tokens;
    std::vector<qsizetype> m_Sig;     // indexes of the significant tokens in m_Tokens
    std::vector<qsizetype> m_Partner; // by significant index: see Partner()
    bool m_ParensPaired = true;
};

// A table the statement names, by the significant indexes of its tokens.
struct TTableRef {
    QString Name;          // without suffix or quotes
    QString Qualifier;     // what names the table in the statement: its alias, or its name
    QString QualifierName; // the same without quotes, as a column reference spells it
    qsizetype First = 0;   // significant index of the first token of the name
    qsizetype Last = 0;    // significant index of the last token of the name (alias excluded)
    bool Created = false;
    bool InsertTarget = false;
};

} // namespace USqlTokens
