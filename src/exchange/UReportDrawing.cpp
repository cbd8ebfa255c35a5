#include "exchange/UReportDrawing.h"

#include "shell/UDialogs.h"
#include "shell/UErrors.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QStyle>
#include <QTextLayout>
#include <QToolBar>
#include <algorithm>

namespace UReportDrawing {

namespace {

// A4 portrait with the whole sheet to paint on; the document keeps its own
// margins.
QPageLayout SheetLayout() {
    QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(),
                       QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

void SetUpDevice(QPagedPaintDevice& device) {
    if (auto* printer = dynamic_cast<QPrinter*>(&device))
        printer->setFullPage(true);
    device.setPageLayout(SheetLayout());
}

// How far a text that shrinks to fit may shrink.
constexpr double MinShrink = 0.75;

// One line of a text box: line breaks and tabs become blanks.
QString OneLine(QString text) {
    for (QChar& c : text)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    return text;
}

// Draws bands on one device, design units turned into device pixels.
class TBandPainter {
public:
    TBandPainter(QPainter& painter, const TReportDocument& document)
        : m_Painter(painter), m_Device(*painter.device()) {
        const double pixelsPerMm = m_Device.logicalDpiX() / 25.4;
        const double printableMm = SheetLayout().fullRect(QPageLayout::Millimeter).width() -
                                   document.Margins().left() - document.Margins().right();
        m_dScale = printableMm * pixelsPerMm / document.DesignWidth();
        m_Origin = QPointF(document.Margins().left() * pixelsPerMm,
                           document.Margins().top() * pixelsPerMm);
    }

    // Draws `band` with its top `top` design units below the top margin.
    void Draw(const TReportBand& band, double top, int page, int pages) {
        for (const TReportItem& item : band.Items) {
            const QRectF box(m_Origin.x() + item.Box.x() * m_dScale,
                             m_Origin.y() + (top + item.Box.y()) * m_dScale,
                             item.Box.width() * m_dScale, item.Box.height() * m_dScale);
            switch (item.Kind) {
            case TReportItem::TKind::Text:
                if (item.Fit == TTextFit::Wrap)
                    DrawWrapped(item, box);
                else
                    DrawLine(item, box, OneLine(item.Text));
                break;
            case TReportItem::TKind::PageNumber:
                DrawLine(item, box, item.Text.arg(page).arg(pages));
                break;
            case TReportItem::TKind::Rule:
                m_Painter.fillRect(box, Qt::black);
                break;
            case TReportItem::TKind::Image:
                if (!item.Picture.isNull())
                    m_Painter.drawImage(box, item.Picture);
                break;
            }
        }
    }

private:
    void UseFont(const QFont& font) {
        if (m_bHasFont && font == m_Font)
            return;
        m_Font = font;
        m_bHasFont = true;
        m_Metrics = QFontMetricsF(font, &m_Device);
        m_Painter.setFont(font);
    }

    // One line fitted to the box's width, placed by the item's alignment. A
    // shrunk text keeps the baseline of the item's own font.
    void DrawLine(const TReportItem& item, const QRectF& box, const QString& text) {
        if (text.isEmpty())
            return;
        UseFont(item.Font);
        double baseline = box.top() + m_Metrics.ascent();
        if (item.Align & Qt::AlignBottom)
            baseline = box.bottom() - m_Metrics.descent();
        else if (item.Align & Qt::AlignVCenter)
            baseline = box.center().y() + (m_Metrics.ascent() - m_Metrics.descent()) / 2;
        if (item.Fit == TTextFit::Shrink) {
            // Widths do not quite follow the size (hinting, rounding): try
            // again a little smaller while it does not fit.
            double width = m_Metrics.horizontalAdvance(text);
            double factor = 1;
            for (int attempt = 0; attempt < 4 && width > box.width() && factor > MinShrink;
                 ++attempt) {
                factor = std::max(MinShrink, factor * box.width() / width * 0.995);
                QFont smaller = item.Font;
                smaller.setPointSizeF(item.Font.pointSizeF() * factor);
                UseFont(smaller);
                width = m_Metrics.horizontalAdvance(text);
            }
        }
        const QString shown = m_Metrics.elidedText(text, Qt::ElideRight, box.width());
        if (shown.isEmpty())
            return;
        double x = box.left();
        if (item.Align & (Qt::AlignRight | Qt::AlignHCenter)) {
            const double spare = box.width() - m_Metrics.horizontalAdvance(shown);
            x += item.Align & Qt::AlignRight ? spare : spare / 2;
        }
        m_Painter.drawText(QPointF(x, baseline), shown);
    }

    // The lines that fit in the box, whole; the rest is left out.
    void DrawWrapped(const TReportItem& item, const QRectF& box) {
        if (item.Text.isEmpty())
            return;
        QString text = item.Text;
        text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        QTextLayout layout(text, item.Font, &m_Device);
        QTextOption option(item.Align & Qt::AlignHorizontal_Mask);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        double y = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(box.width());
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            if (line.y() + line.height() > box.height())
                break;
            line.draw(&m_Painter, box.topLeft());
        }
    }

    QPainter& m_Painter;
    QPaintDevice& m_Device;
    double m_dScale = 1;
    QPointF m_Origin;
    QFont m_Font;
    bool m_bHasFont = false;
    QFontMetricsF m_Metrics{QFont()};
};

} // namespace

QFont ReportFont(const QString& family, double pointSize, bool bold) {
    const bool serif = family.contains(QLatin1String("Times"), Qt::CaseInsensitive);
    QStringList families{family};
    if (serif)
        families << QStringLiteral("Liberation Serif") << QStringLiteral("Tinos")
                 << QStringLiteral("Times") << QStringLiteral("DejaVu Serif");
    else
        families << QStringLiteral("Liberation Sans") << QStringLiteral("Arimo")
                 << QStringLiteral("Helvetica") << QStringLiteral("DejaVu Sans");
    QFont font(families);
    font.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

// ---------------------------------------------------------------------------
// Bands

TReportBand& TReportBand::AddText(const QRectF& box, const QString& text, const QFont& font,
                                  Qt::Alignment align, TTextFit fit) {
    TReportItem item;
    item.Kind = TReportItem::TKind::Text;
    item.Box = box;
    item.Text = text;
    item.Font = font;
    item.Align = align;
    item.Fit = fit;
    Items.append(std::move(item));
    return *this;
}

TReportBand& TReportBand::AddPageNumber(const QRectF& box, const QFont& font, Qt::Alignment align,
                                        const QString& format) {
    AddText(box, format, font, align);
    Items.last().Kind = TReportItem::TKind::PageNumber;
    return *this;
}

TReportBand& TReportBand::AddRule(const QRectF& box) {
    TReportItem item;
    item.Kind = TReportItem::TKind::Rule;
    item.Box = box;
    Items.append(std::move(item));
    return *this;
}

TReportBand& TReportBand::AddImage(const QRectF& box, const QImage& picture) {
    TReportItem item;
    item.Kind = TReportItem::TKind::Image;
    item.Box = box;
    item.Picture = picture;
    Items.append(std::move(item));
    return *this;
}

// ---------------------------------------------------------------------------
// The document

TReportDocument::TReportDocument(double designWidth) : m_dDesignWidth(designWidth) {}

double TReportDocument::DesignHeight() const {
    const QRectF sheet = SheetLayout().fullRect(QPageLayout::Millimeter);
    const double widthMm = sheet.width() - m_Margins.left() - m_Margins.right();
    const double heightMm = sheet.height() - m_Margins.top() - m_Margins.bottom();
    return heightMm / widthMm * m_dDesignWidth;
}

QList<TReportDocument::TPage> TReportDocument::Paginate() const {
    const double bodyBottom = DesignHeight() - m_PageFooter.Height;
    QList<TPage> pages;
    TPage page;
    double y = 0;
    const auto start = [&](qsizetype firstDetail, bool title) {
        page = TPage{firstDetail, firstDetail, title, false};
        // The first page's column header stands under the title even when
        // no row follows.
        y = m_PageHeader.Height + (title ? m_Title.Height + m_ColumnHeader.Height : 0);
    };
    const auto isEmpty = [&] { return !page.HasTitle && page.EndDetail == page.FirstDetail; };
    start(0, true);
    for (qsizetype i = 0; i < m_Details.size(); ++i) {
        const auto needed = [&] {
            const bool headed = page.HasTitle || page.EndDetail > page.FirstDetail;
            return (headed ? 0 : m_ColumnHeader.Height) + m_Details[i].Height;
        };
        if (y + needed() > bodyBottom && !isEmpty()) {
            pages.append(page);
            start(i, false);
        }
        y += needed();
        page.EndDetail = i + 1;
    }
    if (y + m_Summary.Height > bodyBottom && !isEmpty()) {
        pages.append(page);
        start(m_Details.size(), false);
    }
    page.HasSummary = true;
    pages.append(page);
    return pages;
}

int TReportDocument::PageCount() const {
    return int(Paginate().size());
}

void TReportDocument::Render(QPagedPaintDevice& device) const {
    SetUpDevice(device);
    QPainter painter;
    if (!painter.begin(&device))
        ThrowError("Unable to start printing the report.");
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    TBandPainter bands(painter, *this);
    const QList<TPage> pages = Paginate();
    const int count = int(pages.size());
    for (int p = 0; p < count; ++p) {
        const TPage& page = pages[p];
        if (p > 0)
            device.newPage();
        bands.Draw(m_PageHeader, 0, p + 1, count);
        double y = m_PageHeader.Height;
        if (page.HasTitle) {
            bands.Draw(m_Title, y, p + 1, count);
            y += m_Title.Height;
        }
        if (page.HasTitle || page.EndDetail > page.FirstDetail) {
            bands.Draw(m_ColumnHeader, y, p + 1, count);
            y += m_ColumnHeader.Height;
        }
        for (qsizetype i = page.FirstDetail; i < page.EndDetail; ++i) {
            bands.Draw(m_Details[i], y, p + 1, count);
            y += m_Details[i].Height;
        }
        if (page.HasSummary)
            bands.Draw(m_Summary, y, p + 1, count);
        bands.Draw(m_PageFooter, DesignHeight() - m_PageFooter.Height, p + 1, count);
    }
    painter.end();
}

// ---------------------------------------------------------------------------
// Output

void RenderToPdf(const TReportDocument& document, const QString& fileName) {
    {
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly))
            ThrowError("Unable to write the file %s:\r\n\r\n%s", QDir::toNativeSeparators(fileName),
                       file.errorString());
    }
    QPdfWriter writer(fileName);
    writer.setTitle(document.Title());
    writer.setCreator(QStringLiteral("TK Korvane"));
    document.Render(writer);
}

namespace {

// A "Save as PDF" button on the preview's toolbar.
void AddSaveAsPdf(QPrintPreviewDialog& dialog, const TReportDocument& document) {
    auto* toolBar = dialog.findChild<QToolBar*>();
    if (!toolBar)
        return;
    toolBar->addSeparator();
    QAction* save = toolBar->addAction(dialog.style()->standardIcon(QStyle::SP_DialogSaveButton),
                                       QStringLiteral("Save as PDF"));
    save->setObjectName(QStringLiteral("actSaveAsPdf"));
    QObject::connect(save, &QAction::triggered, &dialog, [&document] {
        const QString name =
            document.Title().isEmpty() ? QStringLiteral("Report") : document.Title();
        const QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QString fileName =
            Dialogs().SaveFileName(QStringLiteral("Save as PDF"),
                                   QDir(dir.isEmpty() ? QDir::homePath() : dir).filePath(name),
                                   QStringLiteral("PDF files (*.pdf)"));
        if (fileName.isEmpty())
            return;
        if (QFileInfo(fileName).suffix().isEmpty())
            fileName += QStringLiteral(".pdf");
        try {
            RenderToPdf(document, fileName);
        } catch (const EError& e) {
            UErrors::ShowErrorText(e.Message());
        }
    });
}

} // namespace

void PrintPreview(const TReportDocument& document, QWidget* owner) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document.Title());
    printer.setFullPage(true);
    printer.setPageLayout(SheetLayout());
    QPrintPreviewDialog dialog(&printer, owner);
    if (!document.Title().isEmpty())
        dialog.setWindowTitle(document.Title());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&document](QPrinter* target) {
                         try {
                             document.Render(*target);
                         } catch (const EError& e) {
                             UErrors::ShowErrorText(e.Message());
                         }
                     });
    AddSaveAsPdf(dialog, document);
    Dialogs().ExecModal(&dialog, [&dialog] { return dialog.exec(); });
}

} // namespace UReportDrawing
