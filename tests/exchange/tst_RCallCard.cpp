// The call card of one call, written as a PDF and read back: every part of
// the card holds the call's own values.

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "exchange/RCallCard.h"
#include "support/TestDataModule.h"

#include <QtTest>

class TestRCallCard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void TheCardHoldsTheCallsValues() {
        if (!TestSupport::CanReadPdf())
            QSKIP("pdftotext (poppler-utils) is not installed");
        TestSupport::TTempDataModule dml({
            "INSERT INTO Customer (CustomerID, CompanyName, Tel, PhysicalAddr) "
            "VALUES ('C1', 'Acme & Sons', '021 555 0101', '12 Long Street')",
            "INSERT INTO Item (SerialNr, Brand, Description, Owner) "
            "VALUES ('SN-9', 'Hexa', 'Floor polisher', 'C1')",
            "INSERT INTO ServiceContract (ItemSerialNr, CustomerID, ServiceType, Comments) "
            "VALUES ('SN-9', 'C1', 'Gold', 'Parts and labour')",
            "INSERT INTO Worker (WorkerNR, Name, Surname) VALUES ('W1', 'Sipho', 'Dube')",
            "INSERT INTO Call (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, Status, "
            "Priority, JobcardNumber, OrderNumber, MeterReading, ProblemDescr) VALUES "
            "('000042', 'C1', 'W1', 'SN-9', 'Busy', 2, 'JC-7', 'PO-3', 1234, "
            "'Motor hums but the brush does not turn; the belt may have slipped off its "
            "pulley after the machine fell over on Tuesday.')",
        });
        const auto query = [&dml](const char* sql) { return dml.CreateQuery(sql, true); };
        const auto call = query("SELECT * FROM Call WHERE CallNr = '000042'");
        const auto customer = query("SELECT * FROM Customer");
        const auto item = query("SELECT * FROM Item");
        const auto contract = query("SELECT * FROM ServiceContract");
        const auto worker = query(
            "SELECT WorkerNr, Name, Surname, (Name || ' ' || Surname) AS FullName FROM Worker");
        const RCallCard::TSources sources{call.get(), call.get(),     customer.get(),
                                          item.get(), contract.get(), worker.get()};

        const QString pdf = dml.Root() + "card.pdf";
        // A banner as tall as the customisation library's: still one page.
        QImage banner(714, 90, QImage::Format_RGB32);
        banner.fill(Qt::darkBlue);
        UReportDrawing::RenderToPdf(RCallCard::BuildDocument(sources, banner, "06/12/2026 10:15"),
                                    pdf);
        const QStringList pages = TestSupport::PdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        const QString text = pages.first().simplified();
        // The call's own values; the card's fixed texts are the layout's.
        for (const char* expected :
             {"Call Number: 000042", "Status: Busy", "Priority 2", "Jobcard #: JC-7",
              "Order # PO-3", "Meter Reading: 1234", "Company: Acme & Sons", "Tel: 021 555 0101",
              "Address: 12 Long Street", "Customer ID: C1", "Brand: Hexa",
              "Description Floor polisher", "Service Agreement Type: Gold",
              "Comments: Parts and labour", "Worker: Sipho Dube", "06/12/2026 10:15"})
            QVERIFY2(text.contains(QLatin1String(expected)), expected);
        // A long problem wraps onto further lines instead of being cut.
        QVERIFY(text.contains("Tuesday."));
    }
};

QTEST_MAIN(TestRCallCard)
#include "tst_RCallCard.moc"
