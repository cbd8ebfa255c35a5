#pragma once

// The filter texts that datasets apply to their rows, e.g.
//     Status='New'
//     Status<>'Complete'
//     Status='Complete'and Billed='False'
//
// Grammar (keywords in any letter case; blanks optional around quoted texts):
//     expr       := term { OR term }
//     term       := factor { AND factor }
//     factor     := NOT factor | '(' expr ')' | comparison
//     comparison := operand op operand        op: = <> != < > <= >=
//     operand    := field | [field name] | 'text' | "text" | number | NULL
// A quoted text doubles its own quote to contain it. Parentheses and NOT nest
// at most 200 deep; chains of AND and OR may be as long as they like.
//
// Comparison: fields are compared in their stored form ('True'/'False',
// "yyyy-MM-dd hh:mm:ss", ...), exactly and with regard to letter case; a null
// field compares as ''. When a numeric field meets a text that reads as a
// plain decimal number (TField::ReadNumber: not "nan" or "inf"), or two
// numbers meet, they are compared as numbers. NULL as an operand matches
// only a blank field (= NULL) or a non-blank one (<> NULL).

#include "data/engine/TField.h"
#include "data/engine/TRowStore.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class TFilterExpr {
public:
    TFilterExpr();
    ~TFilterExpr();
    TFilterExpr(TFilterExpr&&) noexcept;
    TFilterExpr& operator=(TFilterExpr&&) noexcept;

    // Raises EDatabaseError, naming the filter, when the text cannot be read.
    static TFilterExpr Parse(const QString& text);

    bool IsEmpty() const { return !m_pRoot; }
    // Names of the fields the filter uses, as written.
    QStringList FieldNames() const;

    // Resolves field names to columns: `resolve` returns the column of a name
    // (or -1) and its type. Raises EDatabaseError for an unknown field.
    using TResolver = std::function<int(const QString& name, TFieldType& type)>;
    void Bind(const TResolver& resolve);

    // Whether a row passes (an empty filter passes every row). Needs Bind.
    bool Matches(const TRowView& row) const;

    struct TNode;

private:
    std::unique_ptr<TNode> m_pRoot;
};
