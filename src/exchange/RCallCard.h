#pragma once

// The "Workshop Call Card" of one call: what the call is about, for whom, on
// which item under which agreement and by which worker, with lines for the
// customer's signature and times, printed by the worker who goes out to the
// job. The call editor fills it from its own queries and shows it in the
// print preview, from which the user prints it or saves it as a PDF.

#include "exchange/UReportDrawing.h"

#include <QImage>
#include <QString>

class QWidget;
class TDataSet;

namespace RCallCard {

// Where the card's values come from: the current row of each (any may be
// null, closed or empty; its values are then blank).
struct TSources {
    TDataSet* Report = nullptr;          // the call read afresh: number, status, meter
    TDataSet* Call = nullptr;            // the call being edited
    TDataSet* Customer = nullptr;        // its customer
    TDataSet* Item = nullptr;            // its item
    TDataSet* ServiceContract = nullptr; // the item's agreement with the customer
    TDataSet* Worker = nullptr;          // its worker (FullName)
};

// The card as a report, with `banner` across the top (none when null) and
// `date` in the footer.
UReportDrawing::TReportDocument BuildDocument(const TSources& sources, const QImage& banner,
                                              const QString& date);

// The banner of the customisation library at `libraryPath`; a null picture
// when the library does not load (the card then has no banner).
QImage Banner(const QString& libraryPath);

// The date and time the footer shows: now, in the user's short format.
QString RunDate();

} // namespace RCallCard
