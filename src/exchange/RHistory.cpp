#include "exchange/RHistory.h"

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "shell/UErrors.h"
#include "shell/UVidaz.h"

#include <QDateTime>
#include <QLocale>
#include <QWidget>
#include <array>

using UReportDrawing::ReportFont;
using UReportDrawing::TReportBand;
using UReportDrawing::TReportDocument;

TrptHistory* rptHistory = nullptr;

namespace {

// The layout, in design pixels: 714 span the printable width.
constexpr double PageWidth = 714;
constexpr double BannerHeight = 90;
constexpr double PageHeaderHeight = 96;
constexpr double TitleHeight = 50;
constexpr double ColumnHeaderHeight = 26;
constexpr double DetailHeight = 16;
constexpr double FooterHeight = 56;
constexpr double FooterLine = 14;

// A column of the call rows: its heading, field, left edge and width, and
// how a value too wide for it is fitted in.
struct TColumn {
    const char* Heading;
    const char* Field;
    double Left;
    double Width;
    UReportDrawing::TTextFit Fit = UReportDrawing::TTextFit::Elide;
};

constexpr std::array<TColumn, 6> Columns{{
    {"Call #", "CallNr", 7, 50},
    {"Jobcard #", "JobcardNumber", 71, 80},
    {"Order #", "OrderNumber", 159, 67},
    // A date is never cut; a font wider than Arial draws it a little smaller.
    {"Date", "Date_Time", 231, 67, UReportDrawing::TTextFit::Shrink},
    {"Worker", "WorkerFullName", 307, 94},
    {"Problem", "ProblemDescr", 419, 294},
}};

const char* const ContactLine = "Korvane service desk for field-service workshops";

// A date-time field as a short date; other texts as they are.
QString DateText(const TField& field) {
    const QDateTime when = field.AsDateTime();
    return when.isValid() ? QLocale().toString(when.date(), QLocale::ShortFormat)
                          : field.AsString();
}

} // namespace

TrptHistory::TrptHistory(TdmlGlobals* dataModule, QWidget* parent)
    : QObject(parent), sqlHistory(new TQuery(this)), m_pDataModule(dataModule), m_pOwner(parent),
      m_sVidazLibrary(UVidaz::DefaultLibraryPath()) {
    sqlHistory->setObjectName(QStringLiteral("sqlHistory"));
    // The item list's query text names the current item as :SerialNr.
    if (dataModule)
        sqlHistory->SetMasterSource(dataModule->dsQItem);
}

TrptHistory::~TrptHistory() = default;

QString TrptHistory::CustomerText(const QString& ownerName, const QString& companyName) {
    if (companyName.isEmpty())
        return ownerName;
    if (ownerName.isEmpty())
        return companyName;
    return QStringLiteral("%1 (%2)").arg(companyName, ownerName);
}

void TrptHistory::Run(const QString& queryText, const QString& itemText, const QString& ownerName,
                      const QString& companyName) {
    Produce(queryText, itemText, ownerName, companyName, [this](const TReportDocument& document) {
        UReportDrawing::PrintPreview(document, m_pOwner);
    });
}

void TrptHistory::RunToPdf(const QString& queryText, const QString& itemText,
                           const QString& ownerName, const QString& companyName,
                           const QString& fileName) {
    Produce(queryText, itemText, ownerName, companyName,
            [&fileName](const TReportDocument& document) {
                UReportDrawing::RenderToPdf(document, fileName);
            });
}

void TrptHistory::Produce(const QString& queryText, const QString& itemText,
                          const QString& ownerName, const QString& companyName,
                          const std::function<void(const TReportDocument&)>& output) {
    // However the run ends, the banner goes and the query is closed.
    struct TRunEnd {
        TrptHistory& Report;
        ~TRunEnd() {
            Report.imgBanner = QImage();
            try {
                Report.sqlHistory->Close();
            } catch (...) {
                DebugTrace(QStringLiteral("sqlHistory could not be closed"),
                           QStringLiteral("TrptHistory::Run"), QStringLiteral("RHistory"));
            }
        }
    } end{*this};

    sqlHistory->Close();
    sqlHistory->SetSQL(queryText);
    if (!m_pDataModule)
        return;
    m_pDataModule->OpenDataSet(sqlHistory);

    lblItemSerial = QStringLiteral(":") + itemText;
    lblCustomer = QStringLiteral(":") + CustomerText(ownerName, companyName);
    qrlblDate = QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);

    imgBanner = QImage();
    int errorCode = 0;
    if (!UVidaz::LoadBitmapResource(QStringLiteral("Banner"), imgBanner, errorCode,
                                    m_sVidazLibrary))
        ShowError("Unable to Load Banner Resource: Code = %d", errorCode);

    output(BuildDocument());
}

TReportDocument TrptHistory::BuildDocument() {
    TReportDocument document(PageWidth);
    document.SetTitle(QStringLiteral("Item Call History"));

    TReportBand header(PageHeaderHeight);
    header.AddImage({0, 0, PageWidth, BannerHeight}, imgBanner);
    document.SetPageHeader(header);

    const QFont label = ReportFont(QStringLiteral("Arial"), 10, true);
    const QFont value = ReportFont(QStringLiteral("Arial"), 8);
    TReportBand title(TitleHeight);
    title.AddText({0, 4, 360, 40}, QStringLiteral("Item Call History"),
                  ReportFont(QStringLiteral("Times New Roman"), 22, true));
    // Label and value share a baseline.
    title.AddText({370, 6, 86, 18}, QStringLiteral("Item"), label, Qt::AlignBottom);
    title.AddText({458, 6, 256, 18}, lblItemSerial, value, Qt::AlignBottom);
    title.AddText({370, 26, 86, 18}, QStringLiteral("Customer"), label, Qt::AlignBottom);
    title.AddText({458, 26, 256, 18}, lblCustomer, value, Qt::AlignBottom);
    document.SetTitleBand(title);

    TReportBand headings(ColumnHeaderHeight);
    for (size_t c = 0; c < Columns.size(); ++c) {
        const double right = c + 1 < Columns.size() ? Columns[c + 1].Left - 4 : PageWidth;
        headings.AddText({Columns[c].Left, 4, right - Columns[c].Left, 16},
                         QLatin1String(Columns[c].Heading), label);
    }
    headings.AddRule({0, 22, PageWidth, 2});
    document.SetColumnHeader(headings);

    if (sqlHistory->Active()) {
        const QFont detail = ReportFont(QStringLiteral("Arial"), 9);
        std::array<TField*, Columns.size()> fields{};
        for (size_t c = 0; c < Columns.size(); ++c)
            fields[c] = &sqlHistory->FieldByName(QLatin1String(Columns[c].Field));
        for (sqlHistory->First(); !sqlHistory->Eof(); sqlHistory->Next()) {
            TReportBand row(DetailHeight);
            row.Items.reserve(qsizetype(Columns.size()));
            for (size_t c = 0; c < Columns.size(); ++c) {
                const TField& field = *fields[c];
                row.AddText({Columns[c].Left, 2, Columns[c].Width, 14},
                            field.DataType() == TFieldType::DateTime ||
                                    field.DataType() == TFieldType::Date
                                ? DateText(field)
                                : field.AsString(),
                            detail, Qt::AlignLeft, Columns[c].Fit);
            }
            document.AddDetail(std::move(row));
        }
    }

    const QFont small = ReportFont(QStringLiteral("Arial"), 8);
    TReportBand footer(FooterHeight);
    // Kept apart from the last row above it.
    double y = 14;
    footer.AddPageNumber({0, y, 200, FooterLine}, small);
    const QString lines[] = {QStringLiteral("Generated by TK Korvane"), QLatin1String(ContactLine),
                             qrlblDate};
    for (const QString& line : lines) {
        footer.AddText({PageWidth - 400, y, 400, FooterLine}, line, small, Qt::AlignRight);
        y += FooterLine;
    }
    document.SetPageFooter(footer);
    return document;
}

void TrptHistory::RenderToPdf(const QString& fileName) {
    UReportDrawing::RenderToPdf(BuildDocument(), fileName);
}
