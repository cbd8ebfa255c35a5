// The address-book import: vCard files as contacts programs write them, read
// as an address book; the customers and representatives they become; the
// walk's cancel and failures; and the main window's Import command around it.

#include "data/DMGlobals.h"
#include "exchange/UWABImporter.h"
#include "shell/FMain.h"
#include "shell/USettings.h"
#include "shell/UStartup.h"
#include "support/TestDataModule.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

namespace {

using TestSupport::ErrorOf;
using TestSupport::RowTexts;

// Contact files as contacts programs write them; the vCard fuzzer starts
// from them too.
// - v21: quoted-printable UTF-8 and Latin-1 names, a soft line break, bare
//   types, a nested agent card, CR LF line ends.
// - v30: folded lines, grouped and repeated TYPE parameters, escaped commas,
//   LF ends; two cards of one company and a card without one.
// - v40: URIs for numbers, quoted type lists, PREF=1, a quote in the company,
//   values wider than their columns; the file ends without a line break.
QByteArray Sample(const char* name) {
    return TestSupport::FileBytes(QFINDTESTDATA(QString("fuzz/corpus/vcard/%1.vcf").arg(name)));
}

// A row and its contact as "tag=value" texts, in delivered order.
QString Describe(const UWAB::TContainer& container, int row) {
    static const QHash<UWAB::TPropTag, QString> names = {{UWAB::PR_COMPANY_NAME, "company"},
                                                         {UWAB::PR_GIVEN_NAME, "given"},
                                                         {UWAB::PR_SURNAME, "surname"}};
    QStringList parts;
    for (const auto* props : {&container.Rows[row].Props, &container.Entries[row].Props})
        for (const UWAB::TProperty& property : *props)
            if (property.Tag != UWAB::PR_ENTRYID)
                parts << names.value(property.Tag, QString::number(property.Tag)) + "=" +
                             property.Value;
    return parts.join(" | ");
}

// Cancels when the walk has stepped `CancelAt` rows.
struct TProgress : UAbstract::TProgress {
    int CancelAt = -1;
    void SetPosition(int position) override {
        UAbstract::TProgress::SetPosition(position);
        if (position == CancelAt)
            Cancel();
    }
};

} // namespace

class TestUWABImporter : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSupport::TTempDataModule> m_pDml;

    QString Dir() const { return m_pDml->Root(); }
    QString Write(const QString& name, const QByteArray& bytes) {
        return TestSupport::WriteFile(Dir() + name, bytes);
    }

    QList<QStringList> Rows(const QString& sql) {
        return RowTexts(*m_pDml->Connection().Prepare(sql));
    }

    // Imports `file` as the main window's command does, without the window.
    int Import(const QString& file, UAbstract::IProgress& progress) {
        CWABIterator book;
        book.SetAddressBookFile(file);
        CWABImporter importer(*m_pDml);
        book.Iterate(&importer, &progress);
        return importer.ContactsAdded();
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        m_pDml = std::make_unique<TestSupport::TTempDataModule>();
        SetSettingsStoreLocation(Dir() + "user", Dir() + "machine");
    }

    void cleanup() { m_pDml.reset(); }

    // What the cards of the three versions hold is checked through the
    // import below; these are the encodings and line ends only a reader meets.
    void ReadsEachCardAsARowAndAContact() {
        QByteArray utf16("\xFF\xFE");
        const QString text = "BEGIN:VCARD\r\nORG:Ωmega\r\nEND:VCARD\r\n";
        utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        for (const auto& [name, file, rows] :
             {std::tuple{"UTF-16 with its mark", utf16, QStringList{"company=Ωmega"}},
              {"bare CR, unclosed card",
               "\xEF\xBB\xBF"
               "BEGIN:VCARD\rN:Ng;Li\rORG:A\\;B\\\\C;D\r",
               {"company=A;B\\C | given=Li | surname=Ng"}}}) {
            const UWAB::TContainer container = UWAB::ContainerOfVCards(file);
            QStringList described;
            for (int row = 0; row < container.Rows.size(); ++row)
                described << Describe(container, row);
            QVERIFY2(described == rows, qPrintable(name + (": " + described.join(" / "))));
        }
    }

    void OpeningFailsInItsOwnWordsAndACancelKeepsWhatWasWritten() {
        CWABIterator book;
        const auto opening = [&book](const QString& file) {
            book.SetAddressBookFile(file);
            return ErrorOf([&] { book.GetDefaultContainer(); });
        };
        QCOMPARE(opening({}), "Unable to open address book: No address book file chosen.");
        QCOMPARE(opening(Dir() + "gone.vcf"),
                 QString("Unable to open address book: File '%1' not found.")
                     .arg(QDir::toNativeSeparators(Dir() + "gone.vcf")));
        QVERIFY(opening(Dir()).startsWith("Unable to open address book: Unable to read file '"));
        const QString csv = Write("contacts.csv", "Name,E-mail\r\nJo,jo@example.org\r\n");
        QCOMPARE(opening(csv), QString("Unable to open address book: '%1' is not a vCard file.")
                                   .arg(QDir::toNativeSeparators(csv)));
        // A file of cards that hold nothing is an empty address book.
        book.SetAddressBookFile(Write("empty.vcf", "BEGIN:VCARD\nEND:VCARD\n"));
        QCOMPARE(book.GetDefaultContainer().Rows.size(), 1);

        // A cancelled walk keeps what was written.
        TProgress progress;
        progress.CancelAt = 2;
        QCOMPARE(Import(Write("v40.vcf", Sample("v40") + "\r\n" + Sample("v21")), progress), 2);
        QCOMPARE(progress.GetPosition(), 2);
        // Committed: another connection sees the rows.
        TDatabase other;
        other.Open(m_pDml->DatabaseDir());
        QCOMPARE(RowTexts(*other.Prepare("SELECT CustomerID FROM Customer ORDER BY CustomerID")),
                 (QList<QStringList>{{"CUST0001"}, {"CUST0002"}}));
    }

    void ContactsBecomeCustomersAndRepresentatives() {
        // Letter case counts: this one is not "Known Co".
        m_pDml->ExecSQL("INSERT INTO Customer (CustomerID, CompanyName) VALUES ('A0001', "
                        "'KNOWN CO'), ('CUST0001', 'Known Co'), ('CUST0002', 'Other'), "
                        "('CUST0004', 'Other')");
        TProgress progress;
        QCOMPARE(Import(Write("all.vcf", Sample("v30") + Sample("v21") + Sample("v40")), progress),
                 7);
        QCOMPARE(progress.GetMax(), 8);

        // New companies take the free IDs in turn; names, quotes and widths
        // as the columns hold them (company 40, e-mail 50, names 20).
        QCOMPARE(
            Rows("SELECT CustomerID, CompanyName, Email, Tel, Fax, Cell, FirstName, LastName "
                 "FROM Customer WHERE CustomerID > 'CUST0002' ORDER BY CustomerID"),
            (QList<QStringList>{
                {"CUST0003", "Harbour Marine, Repairs & Sons", "siobhan@harbour-marine.ie",
                 "+353 1 555 0101", "+353 1 555 0103", "+353 87 555 0102", "Siobhan", "O'Brien"},
                {"CUST0004", "Other", "", "", "", "", "", ""},
                {"CUST0005", "Kältetechnik Müller GmbH", "juergen@kaelte-mueller.de",
                 "+49 30 1234567", "+49 30 1234568", "+49 171 2345678", "Jürgen", "Müller"},
                {"CUST0006", "Ubuntu Electrical \"Pty\" Ltd", "thabo@ubuntu-electrical.co.za",
                 "+27-11-555-0111", "", "+27-82-555-0101", "Thabo", "Nkosi"},
                {"CUST0007", "The Very Long Named Refrigeration and Ai",
                 "alexandrina-magdalena.oosthuizen-smith@refrigerati", "", "", "",
                 "Alexandrina-Magdalen", "Vanderbijlpark-Oosth"}}));
        // Known companies get representatives: Harbour Marine from this
        // file, Known Co from before (names cut at 25).
        QCOMPARE(Rows("SELECT FK_Customer, Name, Surname, Mobile, Email FROM Representative "
                      "ORDER BY FK_Customer, Mobile DESC"),
                 (QList<QStringList>{
                     {"CUST0001", "René", "Dubé", "082 555 0001", ""},
                     {"CUST0001", "Alexandrina-Magdalena", "Vanderbijlpark-Oosthuizen", "", ""},
                     {"CUST0003", "Declan", "Byrne", "087 555 0199", "declan@harbour-marine.ie"}}));
    }

    void TheImportCommandAsksClosesTheDatabaseAndCounts() {
        TestWindows::TInstalledDialogs dialogs;
        TfrmMain main(TestWindows::Locations(Dir()));
        const TfrmMain::TDataHooks made = MakeDataHooks(main, m_pDml.get());
        TfrmMain::TDataHooks hooks;
        hooks.SetDatabaseActive = made.SetDatabaseActive;
        // What the window shows while the walk runs; a Cancel click first
        // when asked.
        QStringList during;
        bool clickCancel = false;
        hooks.ImportContacts = [&](CWABIterator& book, UAbstract::IProgress& progress) {
            during << main.StatusText()
                   << QString::number(m_pDml->DatabaseActive() || main.btnSBCancel->isHidden());
            if (clickCancel)
                main.btnSBCancel->click();
            return made.ImportContacts(book, progress);
        };
        main.SetDataHooks(hooks);
        const QString file = Write("contacts.vcf", Sample("v30"));
        // Yes to the question, `chosen` as the file, OK to the count.
        const auto import = [&](const QString& chosen) {
            dialogs.AnswerButton(mbYes);
            dialogs.AnswerFile(chosen);
            dialogs.AnswerButton(mbOK);
            main.actImportWAB->trigger();
        };
        // The database open again and the status bar as it was.
        const auto settled = [&] {
            return m_pDml->DatabaseActive() && main.btnSBCancel->isHidden() &&
                   main.StatusText().isEmpty();
        };

        // No: nothing is asked for, nothing changes.
        dialogs.AnswerButton(mbNo);
        main.actImportWAB->trigger();
        QCOMPARE(dialogs.Requests().size(), 1);
        QVERIFY(dialogs.Requests()[0].Text.startsWith("This will add all contacts"));

        // Yes, the file chosen: two contacts added.
        import(file);
        QCOMPARE(dialogs.Requests()[2].Value, QString());
        QCOMPARE(dialogs.Requests().last().Text, "Import complete.\r\n2 contacts imported.");
        QCOMPARE(during, QStringList({"Importing...", "0"}));
        QVERIFY(settled() && !main.ProgressPanel()->isTextVisible());

        // Again: the last file is offered; Cancel in the status bar stops
        // before the first row.
        clickCancel = true;
        import(file);
        QCOMPARE(dialogs.Requests()[5].Value, file);
        QCOMPARE(dialogs.Requests().last().Text, "Import complete.\r\n0 contacts imported.");

        // The file dialog cancelled: nothing happens.
        const qsizetype asked = dialogs.Requests().size();
        dialogs.AnswerButton(mbYes);
        dialogs.AnswerFile(QString());
        main.actImportWAB->trigger();
        QCOMPARE(dialogs.Requests().size(), asked + 2);
        QCOMPARE(during.size(), 4);

        // A file that is no address book: the error, and all settled.
        Write("contacts.vcf", "Name,E-mail\r\n");
        dialogs.AnswerButton(mbYes);
        dialogs.AnswerFile(file);
        QVERIFY(TestSupport::ErrorOf([&] { main.ExecImport(); }).endsWith("is not a vCard file."));
        QVERIFY(settled());
        QCOMPARE(Rows("SELECT COUNT(*) FROM Customer"), QList<QStringList>{{"1"}});
    }
};

QTEST_MAIN(TestUWABImporter)
#include "tst_UWABImporter.moc"
