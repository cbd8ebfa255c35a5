#include "exchange/RCallCard.h"

#include "data/engine/TDataSet.h"
#include "data/engine/TField.h"
#include "shell/UVidaz.h"

#include <QDateTime>
#include <QLocale>
#include <vector>

using UReportDrawing::ReportFont;
using UReportDrawing::TReportBand;
using UReportDrawing::TReportDocument;
using UReportDrawing::TTextFit;

namespace RCallCard {

namespace {

constexpr double PageWidth = 714;
constexpr double BannerHeight = 90;
constexpr double LineHeight = 15;
constexpr double LabelWidth = 185;
constexpr double ValueLeft = LabelWidth + 8;
constexpr double ValueWidth = PageWidth - ValueLeft;
// How many lines a value may take: long texts wrap onto the lines given.
enum class TLength { Line = 1, Two = 2, Three = 3 };

// One label with the field it shows.
struct TEntry {
    const char* Label;
    TDataSet* TSources::*Source;
    const char* Field;
    TLength Length = TLength::Line;
    double Height() const { return LineHeight * static_cast<int>(Length); }
};

// A group of entries under a heading.
struct TGroup {
    const char* Heading;
    std::vector<TEntry> Entries;
};

QString ValueOf(const TSources& sources, const TEntry& entry) {
    TDataSet* dataSet = sources.*(entry.Source);
    if (!dataSet || !dataSet->Active() || dataSet->IsEmpty())
        return {};
    const TField* field = dataSet->FindField(QString::fromLatin1(entry.Field));
    return field ? field->DisplayText() : QString();
}

TReportBand GroupBand(const TSources& sources, const TGroup& group) {
    const QFont heading = ReportFont(QStringLiteral("Arial"), 11, true);
    const QFont label = ReportFont(QStringLiteral("Arial"), 10, true);
    const QFont value = ReportFont(QStringLiteral("Arial"), 10);
    double height = 24;
    for (const TEntry& entry : group.Entries)
        height += entry.Height();
    TReportBand band(height + 8);
    band.AddText({0, 2, PageWidth, 18}, QString::fromLatin1(group.Heading), heading);
    band.AddRule({0, 20, PageWidth, 1.5});
    double y = 24;
    for (const TEntry& entry : group.Entries) {
        band.AddText({0, y, LabelWidth, LineHeight}, QString::fromLatin1(entry.Label), label,
                     Qt::AlignLeft, TTextFit::Shrink);
        band.AddText({ValueLeft, y, ValueWidth, entry.Height()}, ValueOf(sources, entry), value,
                     Qt::AlignLeft,
                     entry.Length == TLength::Line ? TTextFit::Elide : TTextFit::Wrap);
        y += entry.Height();
    }
    return band;
}

} // namespace

TReportDocument BuildDocument(const TSources& sources, const QImage& banner, const QString& date) {
    TReportDocument document(PageWidth);
    document.SetTitle(QStringLiteral("Workshop Call Card"));

    TReportBand header(banner.isNull() ? 0 : BannerHeight + 6);
    header.AddImage({0, 0, PageWidth, BannerHeight}, banner);
    document.SetPageHeader(header);

    TReportBand title(44);
    title.AddText({0, 4, PageWidth, 34}, QStringLiteral("Workshop Call Card"),
                  ReportFont(QStringLiteral("Times New Roman"), 22, true));
    document.SetTitleBand(title);

    using S = TSources;
    const TGroup groups[] = {
        {"Call",
         {{"Call Number:", &S::Report, "CallNr"},
          {"Status:", &S::Report, "Status"},
          {"Date/Time:", &S::Call, "Date_Time"},
          {"Priority", &S::Call, "Priority"},
          {"Serial Number:", &S::Call, "EquipmentSerialNr"},
          {"Problem:", &S::Call, "ProblemDescr", TLength::Three},
          {"Date/Time Completed:", &S::Call, "Date_TimeFinished"},
          {"Jobcard #:", &S::Call, "JobcardNumber"},
          {"Parts Used:", &S::Call, "PartsUsedReplaced", TLength::Three},
          {"Order #", &S::Call, "OrderNumber"},
          {"Meter Reading:", &S::Report, "MeterReading"}}},
        {"Customer",
         {{"Company:", &S::Customer, "CompanyName"},
          {"Name:", &S::Customer, "FirstName"},
          {"Surname:", &S::Customer, "LastName"},
          {"Tel:", &S::Customer, "Tel"},
          {"Address:", &S::Customer, "PhysicalAddr", TLength::Two},
          {"Code:", &S::Customer, "PhysicalCode"},
          {"Customer ID:", &S::Customer, "CustomerID"}}},
        {"Item",
         {{"Brand:", &S::Item, "Brand"},
          {"Model:", &S::Item, "Model"},
          {"Description", &S::Item, "Description", TLength::Three}}},
        {"Service Agreement",
         {{"Service Agreement Type:", &S::ServiceContract, "ServiceType"},
          {"Comments:", &S::ServiceContract, "Comments", TLength::Two}}},
        {"Worker", {{"Worker:", &S::Worker, "FullName"}}},
    };
    for (const TGroup& group : groups)
        document.AddDetail(GroupBand(sources, group));

    // Signature lines and the customer's declaration.
    const QFont label = ReportFont(QStringLiteral("Arial"), 10, true);
    const QFont text = ReportFont(QStringLiteral("Arial"), 9);
    TReportBand summary(130);
    const struct {
        const char* Label;
        double Left;
        double Width;
    } lines[] = {
        {"Customer Signature", 0, 300}, {"Arrival Time:", 330, 170}, {"Departure Time:", 530, 184}};
    for (const auto& line : lines) {
        summary.AddRule({line.Left, 50, line.Width, 1.5});
        summary.AddText({line.Left, 54, line.Width, 16}, QString::fromLatin1(line.Label), label);
    }
    summary.AddText({0, 80, PageWidth, 40},
                    QStringLiteral("By signing this jobcard I declare that I have tested and "
                                   "verified the proper operation of the reported item."),
                    text, Qt::AlignLeft, TTextFit::Wrap);
    document.SetSummary(summary);

    const QFont small = ReportFont(QStringLiteral("Arial"), 8);
    TReportBand footer(48);
    double y = 6;
    for (const QString& line :
         {QStringLiteral("Generated by TK Korvane"), date,
          QStringLiteral("Korvane service desk for field-service workshops")}) {
        footer.AddText({PageWidth - 400, y, 400, 14}, line, small, Qt::AlignRight);
        y += 14;
    }
    document.SetPageFooter(footer);
    return document;
}

QImage Banner(const QString& libraryPath) {
    QImage banner;
    int errorCode = 0;
    if (!UVidaz::LoadBitmapResource(QStringLiteral("Banner"), banner, errorCode, libraryPath))
        return {};
    return banner;
}

QString RunDate() {
    return QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
}

} // namespace RCallCard
