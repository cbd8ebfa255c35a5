#pragma once

// The printed reports' drawing: a report is a TReportDocument of bands laid
// out in design units and drawn with QPainter on an A4 portrait page (a
// QPrinter for paper and the preview, a QPdfWriter for a PDF file).
//
// Design units are the report's own pixels: the document's design width
// (714 by default) spans the printable width between the left and right
// margins, and the same unit is used downwards. Fonts keep their point sizes.
//
// The bands of a page, from the top:
//  - the page header, on every page (a banner, say);
//  - the title, once, on the first page;
//  - the column header, under the title and again under the page header of
//    every further page that has detail rows;
//  - the detail bands, one after another, flowing onto further pages;
//  - the summary, once, after the last detail band;
//  - the page footer, on every page, at the bottom margin.
// A band is never split: one that does not fit goes to the next page. Text is
// cut to its box (TTextFit), so neighbouring boxes never overlap.
//
// A list report (the item call history) is a title, a column header and one
// detail band per row; a form (the call card) is a title and one detail band
// per group of "label: value" lines, with its signature lines as the summary.

#include <QFont>
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QRectF>
#include <QString>

class QPagedPaintDevice;
class QWidget;

namespace UReportDrawing {

// A report font of `family` ("Arial", "Times New Roman"); where the system
// lacks it, a font of the same kind stands in.
QFont ReportFont(const QString& family, double pointSize, bool bold = false);

// How a text that is too wide for its box is fitted into it.
enum class TTextFit {
    Elide,  // one line, cut with an ellipsis
    Shrink, // one line, in a smaller font (down to three quarters), then cut
    Wrap,   // broken into lines; those below the box are left out
};

// One thing drawn in a band; its box is in design units from the band's
// top-left corner.
struct TReportItem {
    enum class TKind { Text, PageNumber, Rule, Image };
    TKind Kind = TKind::Text;
    QRectF Box;
    // Text: what is shown. PageNumber: the format, %1 the page, %2 the pages.
    QString Text;
    QFont Font;
    Qt::Alignment Align = Qt::AlignLeft | Qt::AlignTop;
    TTextFit Fit = TTextFit::Elide; // text only
    QImage Picture;                 // stretched over the box
};

// A strip of the page, as wide as the printable width, `Height` design units
// high.
struct TReportBand {
    double Height = 0;
    QList<TReportItem> Items;

    explicit TReportBand(double height = 0) : Height(height) {}

    // A text fitted into the box (line breaks end lines only when wrapped).
    TReportBand& AddText(const QRectF& box, const QString& text, const QFont& font,
                         Qt::Alignment align = Qt::AlignLeft, TTextFit fit = TTextFit::Elide);
    // "Page n of m" (or `format` with %1 and %2) on one line.
    TReportBand& AddPageNumber(const QRectF& box, const QFont& font,
                               Qt::Alignment align = Qt::AlignLeft,
                               const QString& format = QStringLiteral("Page %1 of %2"));
    // A filled black rectangle.
    TReportBand& AddRule(const QRectF& box);
    // A picture stretched over the box; a null picture draws nothing.
    TReportBand& AddImage(const QRectF& box, const QImage& picture);
};

class TReportDocument {
public:
    explicit TReportDocument(double designWidth = 714);

    // Shown as the preview's caption and kept in a PDF's properties.
    const QString& Title() const { return m_sTitle; }
    void SetTitle(const QString& title) { m_sTitle = title; }
    // Millimetres; 10 on every side unless set.
    const QMarginsF& Margins() const { return m_Margins; }
    void SetMargins(const QMarginsF& margins) { m_Margins = margins; }
    double DesignWidth() const { return m_dDesignWidth; }
    // The design units between the top and bottom margins.
    double DesignHeight() const;

    void SetPageHeader(const TReportBand& band) { m_PageHeader = band; }
    void SetTitleBand(const TReportBand& band) { m_Title = band; }
    void SetColumnHeader(const TReportBand& band) { m_ColumnHeader = band; }
    void AddDetail(const TReportBand& band) { m_Details.append(band); }
    void AddDetail(TReportBand&& band) { m_Details.append(std::move(band)); }
    void SetSummary(const TReportBand& band) { m_Summary = band; }
    void SetPageFooter(const TReportBand& band) { m_PageFooter = band; }
    qsizetype DetailCount() const { return m_Details.size(); }

    // The pages the bands take (at least one).
    int PageCount() const;

    // Draws every page on `device`, which is set to A4 portrait (the margins
    // are the document's). Raises EError when the device cannot be painted on.
    void Render(QPagedPaintDevice& device) const;

private:
    // What one page holds: the detail bands [FirstDetail, EndDetail), and
    // whether the title and the summary are on it.
    struct TPage {
        qsizetype FirstDetail = 0;
        qsizetype EndDetail = 0;
        bool HasTitle = false;
        bool HasSummary = false;
    };
    QList<TPage> Paginate() const;

    QString m_sTitle;
    QMarginsF m_Margins{10, 10, 10, 10};
    double m_dDesignWidth;
    TReportBand m_PageHeader, m_Title, m_ColumnHeader, m_Summary, m_PageFooter;
    QList<TReportBand> m_Details;
};

// Writes the document as a PDF file. Raises EError when the file cannot be
// written.
void RenderToPdf(const TReportDocument& document, const QString& fileName);

// Shows the document in a modal print preview over `owner` (through the
// dialog seam), from which the user prints it or saves it as a PDF file.
// Returns when the preview is closed.
void PrintPreview(const TReportDocument& document, QWidget* owner);

} // namespace UReportDrawing
