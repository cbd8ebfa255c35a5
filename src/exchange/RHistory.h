#pragma once

// The "Item Call History": every call logged against one item, headed by the
// item and its owner, with the customisation library's banner across the top
// of each page. The item list's Print command runs it with the text of its
// call-history query and three prepared texts; the report is shown in a
// modal print preview, from which the user prints it or saves it as a PDF.

#include "exchange/UReportDrawing.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <functional>

class QWidget;
class TdmlGlobals;
class TQuery;

class TrptHistory : public QObject {
    Q_OBJECT
public:
    // `parent` is the window the preview opens over.
    explicit TrptHistory(TdmlGlobals* dataModule, QWidget* parent = nullptr);
    ~TrptHistory() override;

    // Runs the report: puts `queryText` into sqlHistory and opens it for the
    // data module's current item (its parameter :SerialNr comes from
    // sqlItem), sets the value texts, loads the banner and shows the preview.
    // Afterwards, also when a step fails, the banner is emptied and the query
    // closed. Without a data module nothing is shown. A missing library is
    // reported ("Unable to Load Banner Resource: Code = %d") and the report
    // is shown without a banner; a library without a banner raises EError
    // and nothing is shown.
    void Run(const QString& queryText, const QString& itemText, const QString& ownerName,
             const QString& companyName);
    // The same run with the report written to a PDF file instead of shown.
    void RunToPdf(const QString& queryText, const QString& itemText, const QString& ownerName,
                  const QString& companyName, const QString& fileName);

    // The customer value text: the owner name without a company, "company
    // (owner)" with both, the company alone without an owner name.
    static QString CustomerText(const QString& ownerName, const QString& companyName);

    // The report as the current values and sqlHistory's rows make it.
    UReportDrawing::TReportDocument BuildDocument();
    // Writes BuildDocument() as a PDF file (raises EError when it cannot);
    // during a run, from the preview, say.
    void RenderToPdf(const QString& fileName);

    // Where the banner is read from; the library beside the executable
    // unless set.
    void SetVidazLibrary(const QString& path) { m_sVidazLibrary = path; }

    // The report's query, parameterised by the data module's item query.
    TQuery* sqlHistory;
    // The value texts of the title and the footer, as the last run set them.
    QString lblItemSerial;
    QString lblCustomer;
    QString qrlblDate;
    // The page header's picture; empty outside a run.
    QImage imgBanner;

private:
    // The run with `output` showing or writing the report.
    void Produce(const QString& queryText, const QString& itemText, const QString& ownerName,
                 const QString& companyName,
                 const std::function<void(const UReportDrawing::TReportDocument&)>& output);

    TdmlGlobals* m_pDataModule;
    QWidget* m_pOwner;
    QString m_sVidazLibrary;
};

// The program's history report, set and cleared by TProgramWindows
// (UStartup); nullptr outside its lifetime.
extern TrptHistory* rptHistory;
