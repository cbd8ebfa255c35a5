#pragma once

#include "shell/UErrors.h"

// A failure reported by the storage engine: SQLite's own message, or the
// translator's when it cannot read a statement.
class EDatabaseError : public EError {
public:
    using EError::EError;
};
