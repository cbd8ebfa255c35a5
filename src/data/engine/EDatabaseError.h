#pragma once

#include "shell/UErrors.h"

// A failure reported by the storage engine: SQLite's own message, or the
// translator's when it cannot read a statement.
class EDatabaseError : public EError {
public:
    // `code` is SQLite's extended result code, 0 for the engine's own failures.
    explicit EDatabaseError(const QString& message, int code = 0)
        : EError(message), m_iCode(code) {}

    int Code() const { return m_iCode; }
    // A row broke a rule of its table (a key taken twice, a missing value).
    bool IsConstraint() const { return (m_iCode & 0xff) == ConstraintPrimary; }
    // A row would have taken a key or unique value another row already has.
    bool IsDuplicateKey() const {
        return m_iCode == ConstraintPrimaryKey || m_iCode == ConstraintUnique;
    }

private:
    // SQLite's codes (SQLITE_CONSTRAINT and two of its extended forms), kept
    // here so that callers need not include SQLite.
    enum : int {
        ConstraintPrimary = 19,
        ConstraintPrimaryKey = 19 | (6 << 8),
        ConstraintUnique = 19 | (8 << 8),
    };
    int m_iCode;
};
