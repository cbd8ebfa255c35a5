// The six record editors on a real database: every control is bound to its
// column and reports its changes, keys can be typed only while adding, and
// the few things the windows do on their own (lookups of the call's item,
// customer and worker, the customer's representatives, "Same as physical",
// the status and billing fields) work.

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "editors/FCallEdtr.h"
#include "editors/FCustomerEdtr.h"
#include "editors/FItemEdtr.h"
#include "editors/FReprEditor.h"
#include "editors/FServiceContractEdtr.h"
#include "editors/FWorkerEdtr.h"
#include "editors/UDBTextControls.h"
#include "shell/abstract/IProgramSettings.h"
#include "support/TestDataModule.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

using TestSupport::TTempDataModule;

namespace {

// A value for a control, written through its user property as the user
// would enter it ("True" and "False" for a check box).
void Enter(QWidget* control, const QVariant& value) {
    QVERIFY2(control->metaObject()->userProperty().write(control, value),
             qPrintable(control->objectName()));
}

struct TEntry {
    const char* Control;
    const char* Column;
    QVariant Value;
};

class TFakeSettings : public Interfaces::IProgramSettings {
public:
    bool CountriesReadable = true;
    UStrings::ListStr GetStatusList() override { return UStrings::ListStr({"Open", "Shut"}); }
    UStrings::ListStr GetCountryList() override {
        if (!CountriesReadable)
            throw EError(QStringLiteral("Cannot read Countries.dat"));
        return UStrings::ListStr({"Lesotho", "Namibia"});
    }
};

} // namespace

class TestRecordEditors : public QObject {
    Q_OBJECT

    std::unique_ptr<TTempDataModule> m_pData;
    std::unique_ptr<TestWindows::TInstalledDialogs> m_pDialogs;

    TTempDataModule& Data() { return *m_pData; }
    QString Stored(const QString& sql) { return Data().Stored(sql); }
    // Runs `editor` on the current row (edit) or a new one, with `handler`
    // working on it; returns what Execute returned.
    bool Run(TfrmBaseEditor& editor, bool edit,
             const std::function<void(TfrmBaseEditor*)>& handler) {
        return TestWindows::RunEditor(editor, edit, *m_pDialogs, [&] { handler(&editor); });
    }
    // Enters every value in edit mode, checking that each one alone enables
    // Apply, then saves with OK and checks the stored columns.
    template <class TEditor>
    void EnterEachAndSave(const QString& table, const QString& where,
                          const QList<TEntry>& entries) {
        TEditor editor(&Data());
        const bool saved = Run(editor, true, [&](TfrmBaseEditor* window) {
            for (const TEntry& entry : entries) {
                auto* control = window->findChild<QWidget*>(QLatin1String(entry.Control));
                QVERIFY2(control, entry.Control);
                window->SetModified(false);
                Enter(control, entry.Value);
                QVERIFY2(window->btnApply->isEnabled(), entry.Control);
            }
            window->btnOk->click();
        });
        QVERIFY(saved);
        for (const TEntry& entry : entries) {
            const QString expected = entry.Value.typeId() == QMetaType::QDateTime
                                         ? entry.Value.toDateTime().toString("yyyy-MM-dd hh:mm:ss")
                                         : entry.Value.toString();
            const QString stored = Stored(
                QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(entry.Column, table, where));
            QVERIFY2(
                stored == expected,
                qPrintable(
                    QStringLiteral("%1: %2 stored as %3").arg(entry.Control, expected, stored)));
        }
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void init() {
        m_pData = std::make_unique<TTempDataModule>(QStringList{
            "INSERT INTO Customer (CustomerID, FirstName, LastName, CompanyName, Tel) VALUES "
            "('ACME', 'Ann', 'Bee', 'Acme Ltd', '011 555 0101'), ('ZETA', '', '', 'Zeta', '')",
            "INSERT INTO Item (SerialNr, Brand, Model, Description, Owner) "
            "VALUES (\"SN1\", \"Inkwell\", \"IN-1\", \"Printer\", \"ACME\")",
            "INSERT INTO Worker (WorkerNR, Name, Surname, IDNr, IDTypeIsPassport, "
            "CurrentlyEmployed) VALUES ('W1', 'Sam', 'Dube', '123', 'False', 'True'), "
            "('W2', 'Lindiwe', '', '', NULL, NULL)",
            "INSERT INTO ServiceContract (ItemSerialNr, CustomerID, ServiceType, StillValid) "
            "VALUES (\"SN1\", \"ACME\", \"Full\", \"True\")",
            "INSERT INTO Call (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, Status, "
            "Billed, Callout, Priority, MeterReading) VALUES (\"000001\", \"ACME\", \"W1\", "
            "\"SN1\", \"New\", \"False\", \"False\", 1, 0)"});
        Data().AddRepresentative("ACME", "Rita", "Ras", "082 1", "rita@acme.example");
        m_pDialogs = std::make_unique<TestWindows::TInstalledDialogs>();
    }

    void cleanup() {
        QCOMPARE(m_pDialogs->PendingAnswers(), 0);
        m_pDialogs.reset();
        m_pData.reset();
    }

    void EveryControlWritesItsColumnAndEnablesApply() {
        EnterEachAndSave<TfrmWorkerEdtr>("Worker", "WorkerNR = 'W1'",
                                         {{"chkEmployed", "CurrentlyEmployed", "False"},
                                          {"edtName", "Name", "Thabo"},
                                          {"edtSurname", "Surname", "Mokoena"},
                                          {"edtID", "IDNr", "A1234567"},
                                          {"chkUsePassport", "IDTypeIsPassport", "True"}});
        EnterEachAndSave<TfrmItemEdtr>("Item", "SerialNr = 'SN1'",
                                       {{"edtBrand", "Brand", "Brandt"},
                                        {"edtModel", "Model", "B-2"},
                                        {"edtDescription", "Description", "Copier\nsecond floor"}});
        EnterEachAndSave<TfrmServiceContractEdtr>("ServiceContract", "ItemSerialNr = 'SN1'",
                                                  {{"edtContractType", "ServiceType", "Parts only"},
                                                   {"edtComments", "Comments", "Renew in May"},
                                                   {"chkValid", "StillValid", "False"}});
        EnterEachAndSave<TfrmCustomerEdtr>("Customer", "CustomerID = 'ACME'",
                                           {{"edtName", "FirstName", "Anna"},
                                            {"edtSurname", "LastName", "Botha"},
                                            {"edtCompany", "CompanyName", "Acme Holdings"},
                                            {"edtTel", "Tel", "011 1"},
                                            {"edtCell", "Cell", "082 3"},
                                            {"edtFax", "Fax", "011 2"},
                                            {"edtEmail", "Email", "info@acme.example"},
                                            {"edtPhyAddr", "PhysicalAddr", "1 Main Road"},
                                            {"edtPhyCode", "PhysicalCode", "2001"},
                                            {"edtCountry1", "Country", "Botswana"},
                                            {"edtPOAddr", "PostalAddr", "PO Box 9"},
                                            {"edtPOCode", "PostalCode", "2000"},
                                            {"edtNotes", "Notes", "Pays late"}});
        Data().tblCall->First();
        EnterEachAndSave<TfrmCallEdtr>(
            "Call", "CallNr = '000001'",
            {{"edtItemSerialNr", "EquipmentSerialNr", "SN9"},
             {"edtMeterReading", "MeterReading", "4711"},
             {"edtCustomerID", "CustomerID", "ZETA"},
             {"dteStartDate", "Date_Time", QDateTime(QDate(2007, 3, 14), QTime(10, 30))},
             {"cmpPriority", "Priority", "4"},
             {"edtOrderNr", "OrderNumber", "PO-7"},
             {"edtJobcard", "JobcardNumber", "JC-7"},
             {"edtStorageArea", "StorageArea", "Bay 2"},
             {"edtrProblem", "ProblemDescr", "Jams"},
             {"edtrParts", "PartsUsedReplaced", "Roller"},
             {"cbxCallOut", "Callout", "True"},
             {"edtWorkerNr", "WorkerNr", "W2"},
             {"cbxStatus", "Status", "Busy"},
             {"dteCompleted", "Date_TimeFinished", QDateTime(QDate(2007, 3, 15), QTime(16, 0))},
             {"chkBilled", "Billed", "True"},
             {"edtBillTime", "BillTime", " 12:30:00"}});
        Data().sqlRepresentatives->SetParam("ID", "ACME");
        Data().OpenDataSet(Data().sqlRepresentatives);
        const QString recID = Data().sqlRepresentatives->FieldByName("RecID").AsString();
        EnterEachAndSave<TfrmReprEditor>("Representative", "RecID = '" + recID + "'",
                                         {{"edtName", "Name", "Rina"},
                                          {"edtSurname", "Surname", "Rossouw"},
                                          {"edtCell", "Mobile", "083 9"},
                                          {"edtEmail", "Email", "rina@acme.example"}});
    }

    void KeysAreTypedWhileAddingFixedWhileChangingAndRefusedWhenTaken() {
        Data().ExecSQL("INSERT INTO Item (SerialNr, Owner) VALUES (\"SN8\", \"ZETA\"), "
                       "(\"SN6\", \"ZETA\")");
        TfrmWorkerEdtr worker(&Data());
        TfrmItemEdtr item(&Data());
        TfrmServiceContractEdtr contract(&Data());
        TfrmCustomerEdtr customer(&Data());
        struct TCase {
            TfrmBaseEditor* Editor;
            QList<TEntry> Keys; // typed in lower case
        };
        const QList<TCase> cases = {
            {&worker, {{"edtWorkerNR", "WorkerNR", "W7"}}},
            {&item, {{"edtSerialNr", "SerialNr", "sn7"}, {"edtOwner", "Owner", "ZETA"}}},
            {&contract,
             {{"edtItemSerialNr", "ItemSerialNr", "SN8"}, {"edtCustomerID", "CustomerID", "ZETA"}}},
            {&customer, {{"edtCustomerID", "CustomerID", "NEWCO"}}},
        };
        for (const TCase& c : cases) {
            bool writable = true;
            QVERIFY(Run(*c.Editor, false, [&](TfrmBaseEditor* window) {
                writable = window->btnApply->isEnabled();
                for (const TEntry& key : c.Keys) {
                    auto* edit = window->findChild<TDBEdit*>(key.Control);
                    writable = writable && !edit->isReadOnly();
                    edit->setFocus();
                    QTest::keyClicks(edit, key.Value.toString().toLower());
                }
                // A new worker needs a name or a surname.
                if (auto* surname = window->findChild<TDBEdit*>("edtSurname"))
                    surname->setText("Dube");
                window->btnOk->click();
            }));
            QVERIFY(writable);
            // Upper-case fields store what was typed in capitals.
            for (const TEntry& key : c.Keys)
                QCOMPARE(c.Editor->findChild<TDBEdit*>(key.Control)->text(), key.Value.toString());

            bool readOnly = true;
            QVERIFY(!Run(*c.Editor, true, [&](TfrmBaseEditor* window) {
                for (const TEntry& key : c.Keys)
                    readOnly = readOnly && window->findChild<TDBEdit*>(key.Control)->isReadOnly();
                window->btnOk->click();
            }));
            QVERIFY(readOnly);
        }

        // A key taken by a row written after the editor's own checks (here
        // just before the post) is refused in the program's words, nothing is
        // lost and the keyboard goes to the key.
        struct TRace {
            TfrmBaseEditor* Editor;
            TDataSet* Table;
            QList<TEntry> Typed; // the key first
            QString Race, Said;
        };
        const QList<TRace> races = {
            {&customer,
             Data().tblCustomer,
             {{"edtCustomerID", "CustomerID", "NEWER"}, {"edtCompany", "CompanyName", "Newer"}},
             "INSERT INTO Customer (CustomerID) VALUES (\"NEWER\")",
             "A customer with the ID \"NEWER\" already exists."},
            {&contract,
             Data().tblServiceContract,
             {{"edtItemSerialNr", "ItemSerialNr", "SN6"}, {"edtCustomerID", "CustomerID", "ZETA"}},
             "INSERT INTO ServiceContract (ItemSerialNr, CustomerID) VALUES (\"SN6\", \"ZETA\")",
             "A service contract for the item \"SN6\" already exists."},
        };
        for (const TRace& c : races) {
            m_pDialogs->Clear();
            c.Table->BeforePost = [&](TDataSet&) { Data().ExecSQL(c.Race); };
            QWidget* focused = nullptr;
            QWidget* key = nullptr;
            bool stillOpen = false;
            QVERIFY(!Run(*c.Editor, false, [&](TfrmBaseEditor* window) {
                for (const TEntry& entry : c.Typed)
                    Enter(window->findChild<QWidget*>(entry.Control), entry.Value);
                key = window->findChild<QWidget*>(c.Typed.first().Control);
                m_pDialogs->AnswerButton(mbOK);
                window->btnOk->setFocus();
                window->btnOk->click();
                focused = window->focusWidget();
                stillOpen = window->isVisible();
                window->btnCancel->click();
            }));
            c.Table->BeforePost = {};
            QVERIFY(stillOpen);
            QCOMPARE(focused, key);
            QCOMPARE(m_pDialogs->Requests().last().Text, c.Said);
        }
    }

    // Each refusal names its check (a part of its message is enough to tell
    // which one) and puts the keyboard where the fault is.
    void NewRecordsAreCheckedInOrderWithTheirMessages() {
        using TTyped = QList<std::pair<const char*, QString>>;
        struct TTry {
            TTyped Typed;
            const char* Said;  // a part of the message
            const char* Focus; // the control then focused, or none
        };
        // Adds a record with `editor`: types each try and presses OK, then
        // types `last` and presses OK, which must save.
        const auto check = [this](TfrmBaseEditor& editor, const QList<TTry>& tries,
                                  const TTyped& last) {
            const auto type = [&editor](const TTyped& typed) {
                for (const auto& [control, value] : typed)
                    Enter(editor.findChild<QWidget*>(control), value);
            };
            m_pDialogs->Clear();
            QVERIFY(Run(editor, false, [&](TfrmBaseEditor*) {
                for (const TTry& t : tries) {
                    type(t.Typed);
                    m_pDialogs->AnswerButton(mbOK);
                    editor.btnApply->setFocus();
                    editor.btnOk->click();
                    const QString said = m_pDialogs->Requests().last().Text;
                    QVERIFY2(said.contains(QLatin1String(t.Said)), qPrintable(said));
                    QCOMPARE(editor.focusWidget()->objectName(),
                             QString::fromLatin1(t.Focus ? t.Focus : "btnApply"));
                }
                type(last);
                editor.btnOk->click();
            }));
        };

        TfrmWorkerEdtr worker(&Data());
        check(worker,
              {{{{"edtWorkerNR", ""}, {"edtName", "Ann"}},
                "Number field can not be empty",
                "edtWorkerNR"},
               {{{"edtWorkerNR", "W9"}, {"edtName", ""}}, "Name or Surname", nullptr},
               {{{"edtWorkerNR", "W1"}, {"edtName", "Ann"}}, "already exists", "edtWorkerNR"}},
              {{"edtWorkerNR", "W9"}, {"edtName", ""}, {"edtSurname", "Dube"}});
        QCOMPARE(Stored("SELECT Surname FROM Worker WHERE WorkerNR = 'W9'"), QString("Dube"));

        TfrmItemEdtr item(&Data());
        check(item,
              {{{{"edtSerialNr", ""}, {"edtOwner", "ACME"}}, "Serial Number field", "edtSerialNr"},
               {{{"edtSerialNr", "SN1"}, {"edtOwner", ""}}, "already exists", "edtSerialNr"},
               {{{"edtSerialNr", "SN2"}}, "Owner field can not be empty", "edtOwner"},
               {{{"edtOwner", "NOBODY"}}, "owner could not be found", "edtOwner"}},
              {{"edtOwner", "ZETA"}});
        QCOMPARE(Stored("SELECT Owner FROM Item WHERE SerialNr = 'SN2'"), QString("ZETA"));

        // The customer's own words come before the frame's check of the key;
        // a quote in a key is only a character.
        TfrmCustomerEdtr customer(&Data());
        check(customer,
              {{{{"edtCustomerID", " "}, {"edtCompany", "Nu"}},
                "ID field cannot be empty",
                "edtCustomerID"},
               {{{"edtCustomerID", "O'NEIL"}, {"edtCompany", ""}},
                "Name, Surname or Company",
                nullptr},
               {{{"edtCustomerID", "ACME"}, {"edtSurname", "Neil"}},
                "already exists",
                "edtCustomerID"}},
              {{"edtCustomerID", "O'NEIL"}});
        QCOMPARE(Stored("SELECT LastName FROM Customer WHERE CustomerID = 'O''NEIL'"),
                 QString("Neil"));

        Data().ExecSQL("INSERT INTO Item (SerialNr, Owner) VALUES (\"SN'2\", \"O'NEIL\")");
        TfrmServiceContractEdtr contract(&Data());
        check(contract,
              {{{}, "Customer ID field can not be empty", "edtCustomerID"}, // named first
               {{{"edtCustomerID", "NOBODY"}}, "'Item Serial Number' field", "edtItemSerialNr"},
               {{{"edtItemSerialNr", "NOSUCH"}}, "customer could not be found", "edtCustomerID"},
               {{{"edtCustomerID", "ZETA"}}, "item could not be found", "edtItemSerialNr"},
               {{{"edtItemSerialNr", "SN1"}}, "not seem to belong", "edtItemSerialNr"},
               {{{"edtCustomerID", "ACME"}}, "already exist", nullptr}},
              {{"edtCustomerID", "O'NEIL"}, {"edtItemSerialNr", "SN'2"}});
        QCOMPARE(Stored("SELECT StillValid FROM ServiceContract WHERE ItemSerialNr = 'SN''2'"),
                 QString("True"));

        // A changed worker is taken as it is, even without a name.
        QVERIFY(Data().tblWorker->Locate("WorkerNR", "W1"));
        QVERIFY(Run(worker, true, [](TfrmBaseEditor* window) {
            auto* w = qobject_cast<TfrmWorkerEdtr*>(window);
            Enter(w->edtName, "");
            Enter(w->edtSurname, "");
            window->btnOk->click();
        }));
        QCOMPARE(Stored("SELECT Name || Surname FROM Worker WHERE WorkerNR = 'W1'"), QString());
    }

    void SameAsPhysicalCopiesAndRestoresThePostalAddress() {
        TfrmCustomerEdtr editor(&Data());
        QVERIFY(Run(editor, true, [&](TfrmBaseEditor*) {
            Enter(editor.edtPhyAddr, "1 Main Road");
            Enter(editor.edtPhyCode, "2001");
            Enter(editor.edtPOAddr, "PO Box 9");
            Enter(editor.edtPOCode, "2000");
            editor.SetModified(false);
            editor.chkSameAsPhy->click();
            QVERIFY(editor.btnApply->isEnabled());
            QCOMPARE(editor.edtPOAddr->toPlainText(), QString("1 Main Road"));
            QCOMPARE(editor.edtPOCode->text(), QString("2001"));
            QVERIFY(!editor.edtPOAddr->isEnabled());
            // The postal country follows the one country of the customer, and
            // stays disabled.
            Enter(editor.edtCountry1, "Kenya");
            QCOMPARE(editor.edtCountry2->currentText(), QString("Kenya"));
            QVERIFY(!editor.edtCountry2->isEnabled());
            editor.chkSameAsPhy->click();
            QCOMPARE(editor.edtPOAddr->toPlainText(), QString("PO Box 9"));
            QCOMPARE(editor.edtPOCode->text(), QString("2000"));
            QVERIFY(editor.edtPOCode->isEnabled());
            editor.chkSameAsPhy->click();
            editor.btnOk->click();
        }));
        QCOMPARE(Stored("SELECT PostalAddr FROM Customer WHERE CustomerID = 'ACME'"),
                 QString("1 Main Road"));

        // Showing the window again clears the box without restoring anything.
        QVERIFY(!Run(editor, true, [&](TfrmBaseEditor*) {
            QVERIFY(!editor.chkSameAsPhy->isChecked());
            QCOMPARE(editor.edtPOAddr->toPlainText(), QString("1 Main Road"));
            QVERIFY(editor.edtPOAddr->isEnabled());
            editor.btnCancel->click();
        }));
    }

    void StatusAndCountryListsComeFromTheMainWindow() {
        TFakeSettings settings;
        g_pProgramSettings = &settings;
        {
            TfrmCallEdtr call(&Data());
            TfrmCustomerEdtr customer(&Data());
            QCOMPARE(call.cbxStatus->itemText(1), QString("Shut"));
            QCOMPARE(customer.edtCountry1->itemText(0), QString("Lesotho"));
            QCOMPARE(customer.edtCountry2->itemText(1), QString("Namibia"));
            // An unreadable country file keeps the two built-in countries.
            settings.CountriesReadable = false;
            TfrmCustomerEdtr fallback(&Data());
            QCOMPARE(fallback.edtCountry2->itemText(1), QString("United Kingdom"));
        }
        g_pProgramSettings = nullptr;
    }
};

QTEST_MAIN(TestRecordEditors)
#include "tst_RecordEditors.moc"
