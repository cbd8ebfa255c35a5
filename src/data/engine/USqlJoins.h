#pragma once

// FULL joins that the WHERE clause narrows to LEFT joins, a step of the
// translation of a statement (see USqlDialect.h).

#include "data/engine/USqlTokens.h"

#include <vector>

namespace USqlJoins {

// Rewrites every FULL [OUTER] JOIN of a SELECT's FROM chain as a LEFT OUTER
// JOIN when the WHERE clause rejects every row whose first table is NULL;
// `refs` are the tables the statement names.
void NarrowFullJoins(USqlTokens::TStatementTokens& tokens,
                     const std::vector<USqlTokens::TTableRef>& refs);

} // namespace USqlJoins
