#pragma once

// Figures 10 to 12 and 17 to 19 of the benchmark, in the list windows over
// the data module as the program has them (not shown, but for the picker):
// a customer's or an item's detail panel opening, a picker opening on its
// list, the calls list's details following a row change; Ctrl+End in the
// calls list, GotoRecord to a call, and the peak memory after scrolling
// through every call. None has a floor.

#include "UBenchSupport.h"

#include <vector>

class TdmlGlobals;

struct TWindowFigures {
    std::vector<TFigure> Panels;    // 10 to 12
    std::vector<TFigure> Scrolling; // 17 to 19
};

// Runs on `dm` open on the database directory of `calls` calls, from the
// calls `samples`; Ctrl+End runs `repeat` times.
TWindowFigures MeasureListWindows(TdmlGlobals& dm, const std::vector<TCallKeys>& samples,
                                  qint64 calls, int repeat, const TGoals& goals);
