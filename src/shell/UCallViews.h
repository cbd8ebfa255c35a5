#pragma once

// The views of the calls list that the navigation tree offers: for each view
// its title, the query text the calls query runs, and the filter the dataset
// applies to the rows of that query. Computed here without any window or
// database, so that the main window only has to pick the parameters (worker,
// month, priority) and hand the result to the calls query.

#include <QDate>
#include <QString>

namespace UCallViews {

// The sub index of a call view: the row of its node below the "Calls" node.
enum TCallViewNr : int {
    cvAllCalls = -1, // the "Calls" node itself
    cvNew = 0,
    cvBusy = 1,
    cvPending = 2,
    cvAwaitingParts = 3,
    cvComplete = 4,
    cvNotComplete = 5,
    cvCompleteNotBilled = 6,
    cvByWorker = 7,
    cvByMonth = 8,
    cvCompleteByMonth = 9,
    cvByPriority = 10,
};

struct TCallView {
    QString Title;
    QString QueryText;
    QString FilterText;
    bool Filtered = false;

    friend bool operator==(const TCallView&, const TCallView&) = default;
};

// What the views that ask for something were given; a view whose parameter
// is missing (empty worker number, invalid month, no priority) is "All Calls".
struct TCallViewParameters {
    QString WorkerNr{}; // cvByWorker
    QDate Month{};      // cvByMonth, cvCompleteByMonth: any day of the month
    int Priority = 0;   // cvByPriority
    bool HasPriority = false;
};

// Whether the view needs a parameter picked by the user first.
bool NeedsWorker(int subIndex);
bool NeedsMonth(int subIndex);
bool NeedsPriority(int subIndex);

// The first and the last moment of the month of `day`, as the call views
// write them into a query: "mm/dd/yyyy 00:00:00" and the month's last day
// at "23:59:59".
QString MonthStartText(const QDate& day);
QString MonthEndText(const QDate& day);

// The view for `subIndex` over `baseText`, the calls list query (which ends
// with a line break, see DMTables::SqlCallsListText). Any sub index outside
// the table gives "All Calls".
TCallView CallView(int subIndex, const QString& baseText,
                   const TCallViewParameters& parameters = {});

} // namespace UCallViews
