#include "data/engine/TFilterExpr.h"

#include "data/engine/TDatabase.h"
#include "data/engine/UCellCompare.h"

#include <QSet>
#include <cstring>
#include <vector>

namespace {

enum class TOp { Eq, Ne, Lt, Gt, Le, Ge };

struct TOperand {
    enum TKind { Field, Text, Number, Null } Kind = Null;
    QString Name; // field name as written
    int Column = -1;
    TFieldType Type = TFieldType::Unknown;
    QByteArray Utf8; // text literal
    double Value = 0;
    bool TextIsNumber = false;
};

} // namespace

// A chain of ANDs or ORs is one node with all its operands, so that a long
// chain costs no more depth than one comparison; only parentheses and NOT
// nest, and those no deeper than MaxDepth.
struct TFilterExpr::TNode {
    enum TKind { And, Or, Not, Compare } Kind = Compare;
    std::vector<std::unique_ptr<TNode>> Operands; // And, Or: two or more; Not: one
    TOp Op = TOp::Eq;
    TOperand A;
    TOperand B;
};

namespace {

using TNode = TFilterExpr::TNode;

// The deepest nesting of parentheses and NOT that a filter may have. Every
// level costs the parser and the tree walks a few stack frames.
constexpr int MaxDepth = 200;

struct TToken {
    enum TKind { End, Ident, Literal, Number, Op, LParen, RParen } Kind = End;
    QString Text;
    int Pos = 0;
};

class TParser {
public:
    explicit TParser(const QString& text) : m_Text(text) { Advance(); }

    std::unique_ptr<TNode> ParseAll() {
        auto node = ParseOr();
        if (m_Tok.Kind != TToken::End)
            Fail(QStringLiteral("unexpected '%1'").arg(m_Tok.Text));
        return node;
    }

private:
    [[noreturn]] void Fail(const QString& what) const {
        throw EDatabaseError(QStringLiteral("Invalid filter \"%1\": %2 at position %3")
                                 .arg(m_Text, what, QString::number(m_Tok.Pos + 1)));
    }

    // One level deeper, for a parenthesis or a NOT.
    void Enter() {
        if (m_Depth >= MaxDepth)
            Fail(QStringLiteral("nested too deeply"));
        ++m_Depth;
    }

    bool IsKeyword(const char* word) const {
        return m_Tok.Kind == TToken::Ident &&
               m_Tok.Text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    void Advance() {
        const qsizetype n = m_Text.size();
        while (m_Pos < n && m_Text[m_Pos].isSpace())
            ++m_Pos;
        m_Tok = TToken();
        m_Tok.Pos = int(m_Pos);
        if (m_Pos >= n)
            return;
        const QChar c = m_Text[m_Pos];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString value;
            ++m_Pos;
            for (;;) {
                if (m_Pos >= n)
                    Fail(QStringLiteral("unterminated text"));
                if (m_Text[m_Pos] == c) {
                    if (m_Pos + 1 < n && m_Text[m_Pos + 1] == c) {
                        value += c;
                        m_Pos += 2;
                        continue;
                    }
                    ++m_Pos;
                    break;
                }
                value += m_Text[m_Pos++];
            }
            m_Tok.Kind = TToken::Literal;
            m_Tok.Text = value;
            return;
        }
        if (c == QLatin1Char('[')) {
            const qsizetype end = m_Text.indexOf(QLatin1Char(']'), m_Pos);
            if (end < 0)
                Fail(QStringLiteral("unterminated field name"));
            m_Tok.Kind = TToken::Ident;
            m_Tok.Text = m_Text.mid(m_Pos + 1, end - m_Pos - 1).trimmed();
            m_Pos = end + 1;
            return;
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            const qsizetype start = m_Pos;
            while (m_Pos < n && (m_Text[m_Pos].isLetterOrNumber() || m_Text[m_Pos] == '_'))
                ++m_Pos;
            m_Tok.Kind = TToken::Ident;
            m_Tok.Text = m_Text.mid(start, m_Pos - start);
            return;
        }
        const bool sign = (c == QLatin1Char('-') || c == QLatin1Char('+')) && m_Pos + 1 < n &&
                          (m_Text[m_Pos + 1].isDigit() || m_Text[m_Pos + 1] == QLatin1Char('.'));
        if (c.isDigit() || sign ||
            (c == QLatin1Char('.') && m_Pos + 1 < n && m_Text[m_Pos + 1].isDigit())) {
            const qsizetype start = m_Pos;
            ++m_Pos;
            while (m_Pos < n && (m_Text[m_Pos].isDigit() || m_Text[m_Pos] == QLatin1Char('.')))
                ++m_Pos;
            m_Tok.Kind = TToken::Number;
            m_Tok.Text = m_Text.mid(start, m_Pos - start);
            return;
        }
        if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
            m_Tok.Kind = c == QLatin1Char('(') ? TToken::LParen : TToken::RParen;
            m_Tok.Text = c;
            ++m_Pos;
            return;
        }
        static const char* const ops[] = {"<>", "!=", "<=", ">=", "=", "<", ">"};
        for (const char* op : ops) {
            const QLatin1String s(op);
            if (QStringView(m_Text).mid(m_Pos).startsWith(s)) {
                m_Tok.Kind = TToken::Op;
                m_Tok.Text = s;
                m_Pos += s.size();
                return;
            }
        }
        m_Tok.Text = c;
        Fail(QStringLiteral("unexpected '%1'").arg(c));
    }

    std::unique_ptr<TNode> ParseOr() {
        auto first = ParseAnd();
        if (!IsKeyword("OR"))
            return first;
        auto node = std::make_unique<TNode>();
        node->Kind = TNode::Or;
        node->Operands.push_back(std::move(first));
        while (IsKeyword("OR")) {
            Advance();
            node->Operands.push_back(ParseAnd());
        }
        return node;
    }

    std::unique_ptr<TNode> ParseAnd() {
        auto first = ParseFactor();
        if (!IsKeyword("AND"))
            return first;
        auto node = std::make_unique<TNode>();
        node->Kind = TNode::And;
        node->Operands.push_back(std::move(first));
        while (IsKeyword("AND")) {
            Advance();
            node->Operands.push_back(ParseFactor());
        }
        return node;
    }

    std::unique_ptr<TNode> ParseFactor() {
        if (IsKeyword("NOT")) {
            Enter();
            Advance();
            auto node = std::make_unique<TNode>();
            node->Kind = TNode::Not;
            node->Operands.push_back(ParseFactor());
            --m_Depth;
            return node;
        }
        if (m_Tok.Kind == TToken::LParen) {
            Enter();
            Advance();
            auto node = ParseOr();
            if (m_Tok.Kind != TToken::RParen)
                Fail(QStringLiteral("')' expected"));
            Advance();
            --m_Depth;
            return node;
        }
        auto node = std::make_unique<TNode>();
        node->A = ParseOperand();
        if (m_Tok.Kind != TToken::Op)
            Fail(QStringLiteral("comparison operator expected"));
        const QString op = m_Tok.Text;
        node->Op = op == QLatin1String("=")    ? TOp::Eq
                   : op == QLatin1String("<")  ? TOp::Lt
                   : op == QLatin1String(">")  ? TOp::Gt
                   : op == QLatin1String("<=") ? TOp::Le
                   : op == QLatin1String(">=") ? TOp::Ge
                                               : TOp::Ne;
        Advance();
        node->B = ParseOperand();
        if (node->A.Kind != TOperand::Field && node->B.Kind != TOperand::Field)
            Fail(QStringLiteral("a comparison needs a field"));
        return node;
    }

    TOperand ParseOperand() {
        TOperand operand;
        switch (m_Tok.Kind) {
        case TToken::Ident:
            if (IsKeyword("AND") || IsKeyword("OR") || IsKeyword("NOT"))
                Fail(QStringLiteral("field or value expected"));
            if (IsKeyword("NULL")) {
                operand.Kind = TOperand::Null;
            } else {
                operand.Kind = TOperand::Field;
                operand.Name = m_Tok.Text;
            }
            break;
        case TToken::Literal:
            operand.Kind = TOperand::Text;
            operand.Utf8 = m_Tok.Text.toUtf8();
            operand.TextIsNumber = TField::ReadNumber(m_Tok.Text, operand.Value);
            break;
        case TToken::Number: {
            operand.Kind = TOperand::Number;
            operand.Utf8 = m_Tok.Text.toUtf8();
            if (!TField::ReadNumber(m_Tok.Text, operand.Value))
                Fail(QStringLiteral("invalid number '%1'").arg(m_Tok.Text));
            break;
        }
        default:
            Fail(QStringLiteral("field or value expected"));
        }
        Advance();
        return operand;
    }

    const QString& m_Text;
    qsizetype m_Pos = 0;
    TToken m_Tok;
    int m_Depth = 0;
};

void CollectNames(const TNode& node, QStringList& names, QSet<QString>& seen) {
    for (const auto& operand : node.Operands)
        CollectNames(*operand, names, seen);
    for (const TOperand* o : {&node.A, &node.B}) {
        if (o->Kind != TOperand::Field)
            continue;
        const QString folded = o->Name.toCaseFolded();
        if (!seen.contains(folded)) {
            seen.insert(folded);
            names << o->Name;
        }
    }
}

void BindNode(TNode& node, const TFilterExpr::TResolver& resolve) {
    for (const auto& operand : node.Operands)
        BindNode(*operand, resolve);
    for (TOperand* o : {&node.A, &node.B}) {
        if (o->Kind != TOperand::Field)
            continue;
        o->Column = resolve(o->Name, o->Type);
        if (o->Column < 0)
            throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(o->Name));
    }
}

bool IsNumericType(TFieldType type) {
    return type == TFieldType::Integer || type == TFieldType::Float;
}

bool Holds(TOp op, int c) {
    switch (op) {
    case TOp::Eq:
        return c == 0;
    case TOp::Ne:
        return c != 0;
    case TOp::Lt:
        return c < 0;
    case TOp::Gt:
        return c > 0;
    case TOp::Le:
        return c <= 0;
    case TOp::Ge:
        return c >= 0;
    }
    return false;
}

// A value ready to compare: a number when it is one, its text otherwise.
struct TValue {
    bool Blank = true;
    bool HasNumber = false;
    bool Numeric = false; // from a numeric field or a number literal
    bool Boolean = false;
    double Number = 0;
    std::string_view Text;
    QByteArray Holder;
};

TValue ValueOf(const TOperand& o, const TRowView& row) {
    TValue v;
    switch (o.Kind) {
    case TOperand::Null:
        return v;
    case TOperand::Number:
        v.Blank = false;
        v.HasNumber = true;
        v.Numeric = true;
        v.Number = o.Value;
        v.Text = std::string_view(o.Utf8.constData(), size_t(o.Utf8.size()));
        return v;
    case TOperand::Text:
        v.Blank = o.Utf8.isEmpty();
        v.HasNumber = o.TextIsNumber;
        v.Number = o.Value;
        v.Text = std::string_view(o.Utf8.constData(), size_t(o.Utf8.size()));
        return v;
    case TOperand::Field:
        break;
    }
    const TCell cell = row.Cell(o.Column);
    v.Blank = cell.IsBlank();
    v.Numeric = IsNumericType(o.Type);
    v.Boolean = o.Type == TFieldType::Boolean;
    v.HasNumber = UCellCompare::NumberOf(cell, v.Number);
    if (cell.IsNumber()) {
        v.Holder = cell.ToText().toUtf8();
        v.Text = std::string_view(v.Holder.constData(), size_t(v.Holder.size()));
    } else {
        v.Text = cell.Bytes;
    }
    return v;
}

int CompareText(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    const int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
    if (c != 0)
        return c < 0 ? -1 : 1;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool EvalCompare(const TNode& node, const TRowView& row) {
    if (node.A.Kind == TOperand::Null || node.B.Kind == TOperand::Null) {
        const TOperand& other = node.A.Kind == TOperand::Null ? node.B : node.A;
        const bool blank = ValueOf(other, row).Blank;
        return node.Op == TOp::Eq ? blank : (node.Op == TOp::Ne ? !blank : false);
    }
    const TValue a = ValueOf(node.A, row);
    const TValue b = ValueOf(node.B, row);
    if ((a.Numeric || b.Numeric) && a.HasNumber && b.HasNumber)
        return Holds(node.Op, a.Number < b.Number ? -1 : (a.Number > b.Number ? 1 : 0));
    if ((a.Boolean || b.Boolean) && (node.Op == TOp::Eq || node.Op == TOp::Ne)) {
        const QString x =
            TField::BooleanText(QString::fromUtf8(a.Text.data(), qsizetype(a.Text.size())));
        const QString y =
            TField::BooleanText(QString::fromUtf8(b.Text.data(), qsizetype(b.Text.size())));
        if (!x.isEmpty() && !y.isEmpty())
            return Holds(node.Op, x == y ? 0 : 1);
    }
    return Holds(node.Op, CompareText(a.Text, b.Text));
}

bool Eval(const TNode& node, const TRowView& row) {
    switch (node.Kind) {
    case TNode::And:
        for (const auto& operand : node.Operands) {
            if (!Eval(*operand, row))
                return false;
        }
        return true;
    case TNode::Or:
        for (const auto& operand : node.Operands) {
            if (Eval(*operand, row))
                return true;
        }
        return false;
    case TNode::Not:
        return !Eval(*node.Operands.front(), row);
    case TNode::Compare:
        return EvalCompare(node, row);
    }
    return false;
}

} // namespace

TFilterExpr::TFilterExpr() = default;
TFilterExpr::~TFilterExpr() = default;
TFilterExpr::TFilterExpr(TFilterExpr&&) noexcept = default;
TFilterExpr& TFilterExpr::operator=(TFilterExpr&&) noexcept = default;

TFilterExpr TFilterExpr::Parse(const QString& text) {
    TFilterExpr expr;
    if (!text.trimmed().isEmpty())
        expr.m_pRoot = TParser(text).ParseAll();
    return expr;
}

QStringList TFilterExpr::FieldNames() const {
    QStringList names;
    QSet<QString> seen;
    if (m_pRoot)
        CollectNames(*m_pRoot, names, seen);
    return names;
}

void TFilterExpr::Bind(const TResolver& resolve) {
    if (m_pRoot)
        BindNode(*m_pRoot, resolve);
}

bool TFilterExpr::Matches(const TRowView& row) const {
    return !m_pRoot || Eval(*m_pRoot, row);
}
