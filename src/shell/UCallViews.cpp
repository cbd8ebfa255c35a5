#include "shell/UCallViews.h"

#include "data/engine/USqlDialect.h"

#include <QTime>

namespace UCallViews {

namespace {

const char* const DateTimeFormat = "MM/dd/yyyy hh:mm:ss";

struct TFilteredView {
    const char* Title;
    const char* Filter;
};

// cvNew .. cvCompleteNotBilled: the whole query, filtered by status.
const TFilteredView FilteredViews[] = {
    {"New Calls", "Status='New'"},
    {"Busy Calls", "Status='Busy'"},
    {"Incomplete Calls", "Status='Pending'"},
    {"Calls awaiting parts", "Status='Awaiting Parts'"},
    {"Complete Calls", "Status='Complete'"},
    {"Calls not complete", "Status<>'Complete'"},
    {"Complete but not billed Calls", "Status='Complete'and Billed='False'"},
};

TCallView AllCalls(const QString& baseText) {
    return {QStringLiteral("All Calls"), baseText, QString(), false};
}

} // namespace

bool NeedsWorker(int subIndex) {
    return subIndex == cvByWorker;
}

bool NeedsMonth(int subIndex) {
    return subIndex == cvByMonth || subIndex == cvCompleteByMonth;
}

bool NeedsPriority(int subIndex) {
    return subIndex == cvByPriority;
}

QString MonthStartText(const QDate& day) {
    return QDateTime(QDate(day.year(), day.month(), 1), QTime(0, 0, 0))
        .toString(QLatin1String(DateTimeFormat));
}

QString MonthEndText(const QDate& day) {
    return QDateTime(QDate(day.year(), day.month(), day.daysInMonth()), QTime(23, 59, 59))
        .toString(QLatin1String(DateTimeFormat));
}

TCallView CallView(int subIndex, const QString& baseText, const TCallViewParameters& parameters) {
    if (subIndex >= cvNew && subIndex <= cvCompleteNotBilled) {
        const TFilteredView& view = FilteredViews[subIndex];
        return {QLatin1String(view.Title), baseText, QLatin1String(view.Filter), true};
    }
    switch (subIndex) {
    case cvByWorker:
        if (parameters.WorkerNr.isEmpty())
            break;
        return {QStringLiteral("Calls by worker"),
                baseText + QStringLiteral("WHERE WorkerNr ='") +
                    USqlDialect::EscapeQuotes(parameters.WorkerNr) + QLatin1Char('\''),
                QString(), false};
    case cvByMonth:
    case cvCompleteByMonth: {
        if (!parameters.Month.isValid())
            break;
        const QString range =
            QStringLiteral("Date_Time BETWEEN '%1' AND '%2'")
                .arg(MonthStartText(parameters.Month), MonthEndText(parameters.Month));
        if (subIndex == cvByMonth)
            return {QStringLiteral("Calls by month"), baseText + QStringLiteral(" WHERE ") + range,
                    QString(), false};
        return {QStringLiteral("Completed Calls by month"),
                baseText + QStringLiteral(" WHERE (") + range +
                    QStringLiteral(") AND (Status='Complete')"),
                QString(), false};
    }
    case cvByPriority:
        if (!parameters.HasPriority)
            break;
        return {QStringLiteral("Calls by priotity"),
                baseText + QStringLiteral(" WHERE Priority=") +
                    QString::number(parameters.Priority),
                QString(), false};
    default:
        break;
    }
    return AllCalls(baseText);
}

} // namespace UCallViews
