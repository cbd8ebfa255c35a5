// What the record editors do besides writing their fields: the customer
// editor's representatives (added, changed and deleted through the
// representative editor, also for a customer not saved yet) and the "..."
// buttons that pick an item's owner and a contract's item and customer.

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "data/engine/TTable.h"
#include "editors/FCustomerEdtr.h"
#include "editors/FItemEdtr.h"
#include "editors/FReprEditor.h"
#include "editors/FServiceContractEdtr.h"
#include "editors/UDBTextControls.h"
#include "lists/FCustomerList.h"
#include "lists/FItemList.h"
#include "support/TestDataModule.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

class TestEditorCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSupport::TTempDataModule> m_pData;
    std::unique_ptr<TestWindows::TInstalledDialogs> m_pDialogs;

    TestSupport::TTempDataModule& Data() { return *m_pData; }
    TestWindows::TInstalledDialogs& Dialogs() { return *m_pDialogs; }
    QString Stored(const QString& sql) { return Data().Stored(sql); }
    // The texts of the message boxes shown so far.
    QStringList Said() const {
        QStringList said;
        for (const TDialogRequest& request : m_pDialogs->Requests())
            if (request.Kind == TDialogKind::MessageBox)
                said << request.Text;
        return said;
    }
    // Runs `editor` for a new row (or on the current one) with `handler`
    // working on the shown window; returns what Execute returned.
    bool Run(TfrmBaseEditor& editor, bool edit, const std::function<void()>& handler) {
        return TestWindows::RunEditor(editor, edit, Dialogs(), handler);
    }
    // The next modal window is the representative editor; `handler` works on it.
    void InReprEditor(TfrmReprEditor& repr, const std::function<void()>& handler) {
        Dialogs().AnswerModal([&repr, handler](QObject*) {
            repr.show();
            handler();
            return repr.result();
        });
    }
    // The next modal window is a list's picker: it picks the row of `list`
    // whose `field` holds `key`.
    void Pick(TDataSet* list, const QString& field, const QString& key) {
        Dialogs().AnswerModal([=](QObject*) {
            return int(list->Locate(field, key) ? QDialog::Accepted : QDialog::Rejected);
        });
    }
    int GridRows(TfrmCustomerEdtr& editor) {
        return editor.grdRepresentatives->model()->rowCount();
    }

private Q_SLOTS:
    void init() {
        m_pData = std::make_unique<TestSupport::TTempDataModule>(QStringList{
            "INSERT INTO Customer (CustomerID, CompanyName) VALUES ('ACME', 'Acme'), ('ZETA', "
            "'Zeta')",
            "INSERT INTO Item (SerialNr, Owner) VALUES ('SN1', 'ACME'), ('SN''2', 'ZETA')"});
        Data().AddRepresentative("ACME", "Rita", "Ras", "082 1", "rita@acme.example");
        m_pDialogs = std::make_unique<TestWindows::TInstalledDialogs>();
    }

    void cleanup() {
        QCOMPARE(m_pDialogs->PendingAnswers(), 0);
        m_pDialogs.reset();
        m_pData.reset();
    }

    void RepresentativesAreKeptWithTheirCustomer() {
        TfrmReprEditor repr(&Data());
        frmReprEditor = &repr;
        TfrmCustomerEdtr editor(&Data());
        QVERIFY(Data().tblCustomer->Locate("CustomerID", "ACME"));
        QString recID;
        QVERIFY(!Run(editor, true, [&] {
            QCOMPARE(GridRows(editor), 1);

            // A new one needs a name or a surname.
            InReprEditor(repr, [&] {
                QCOMPARE(repr.focusWidget(), repr.edtName);
                repr.btnOk->click();
                repr.edtSurname->setText("Zulu");
                repr.btnOk->click();
            });
            Dialogs().AnswerButton(mbOK);
            editor.actNewRepr->trigger();
            QCOMPARE(GridRows(editor), 2);
            recID = Stored("SELECT RecID FROM Representative WHERE Surname = 'Zulu'");

            // A double-click changes the row; a changed one may lose its names.
            QVERIFY(Data().sqlRepresentatives->Locate("RecID", recID));
            InReprEditor(repr, [&] {
                QCOMPARE(repr.focusWidget(), repr.btnOk);
                repr.edtSurname->clear();
                repr.edtEmail->setText("z@acme.example");
                repr.btnOk->click();
            });
            Q_EMIT editor.grdRepresentatives->doubleClicked(
                editor.grdRepresentatives->currentIndex());

            // Deleting asks first, and deletes the grid's row.
            QVERIFY(Data().sqlRepresentatives->Locate("RecID", recID));
            Dialogs().AnswerButton(mbNo);
            editor.actDeleteRepr->trigger();
            QCOMPARE(GridRows(editor), 2);
            Dialogs().AnswerButton(mbYes);
            editor.actDeleteRepr->trigger();
            QCOMPARE(GridRows(editor), 1);
            Dialogs().AnswerButton(mbYes);
            editor.actDeleteRepr->trigger();
            QCOMPARE(GridRows(editor), 0);
            QVERIFY(editor.actNewRepr->isEnabled());
            QVERIFY(!editor.actEditRepr->isEnabled() && !editor.actDeleteRepr->isEnabled());
            // The commands follow what the grid holds once the program is idle.
            Data().AddRepresentative("ACME", "Pule", "Pooe", "", "");
            Data().sqlRepresentatives->Refresh();
            QEventLoop idle;
            QTimer::singleShot(20, &idle, &QEventLoop::quit);
            idle.exec();
            QVERIFY(editor.actEditRepr->isEnabled() && editor.actDeleteRepr->isEnabled());
            editor.btnCancel->click();
        }));
        QCOMPARE(Said(),
                 QStringList({"You will need to supply the Name or Surname.",
                              "Delete selected representative?", "Delete selected representative?",
                              "Delete selected representative?"}));
        for (const TDialogRequest& request : Dialogs().Requests())
            if (request.Text.startsWith("Delete"))
                QCOMPARE(request.Buttons, TMsgButtons(mbYes | mbNo));
        QVERIFY(recID.startsWith('{') && !QUuid::fromString(recID).isNull());
        QCOMPARE(Stored("SELECT Name FROM Representative"), QString("Pule"));
        // Closed with the window, and nothing left to offer.
        QVERIFY(!Data().sqlRepresentatives->Active());
        QVERIFY(!editor.actNewRepr->isEnabled());

        // A new customer's representatives are kept under the typed ID.
        Dialogs().Clear();
        const auto addSipho = [&] {
            InReprEditor(repr, [&] {
                repr.edtName->setText("Sipho");
                repr.btnOk->click();
            });
            editor.actNewRepr->trigger();
        };
        QWidget* focused = nullptr;
        QVERIFY(!Run(editor, false, [&] {
            QVERIFY(editor.actNewRepr->isEnabled());
            // Not before the ID is typed, nor under another customer's ID.
            Dialogs().AnswerButton(mbOK);
            editor.pgcSelection->setCurrentIndex(3);
            editor.actNewRepr->trigger();
            focused = editor.focusWidget();
            editor.edtCustomerID->setText("ZETA");
            Dialogs().AnswerButton(mbOK);
            editor.actNewRepr->trigger();
            editor.edtCustomerID->setText("NEWCO");
            addSipho();
            QCOMPARE(GridRows(editor), 1);
            // Kept under that ID: it can no longer change.
            QVERIFY(editor.edtCustomerID->isReadOnly());
            editor.btnCancel->click();
        }));
        QCOMPARE(focused, editor.edtCustomerID);
        QCOMPARE(Said(),
                 QStringList({"The Customer ID field cannot be empty.\nPlease type the ID of the "
                              "new customer before adding its representatives.",
                              "The Customer ID you specified already exists.\nPlease choose a "
                              "different Customer ID that is unique."}));
        // The customer was cancelled, its representative stays; adding the
        // customer again lists it beside the next one.
        QCOMPARE(Stored("SELECT FK_Customer FROM Representative WHERE Name = 'Sipho'"),
                 QString("NEWCO"));
        QVERIFY(Run(editor, false, [&] {
            QVERIFY(!editor.edtCustomerID->isReadOnly());
            editor.edtCustomerID->setText("NEWCO");
            addSipho();
            QCOMPARE(GridRows(editor), 2);
            editor.edtCompany->setText("Newco");
            editor.btnOk->click();
        }));
        frmReprEditor = nullptr;
        QCOMPARE(Stored("SELECT CompanyName FROM Customer WHERE CustomerID = 'NEWCO'"),
                 QString("Newco"));
        QCOMPARE(Stored("SELECT COUNT(*) FROM Representative WHERE FK_Customer = 'NEWCO'"),
                 QString("2"));
    }

    void PickButtonsFillTheKeysWhileAdding() {
        TfrmCustomerList customers(nullptr, &Data(), nullptr);
        TfrmItemList items(nullptr, &Data(), nullptr);
        frmCustomerList = &customers;
        frmItemList = &items;

        TfrmItemEdtr item(&Data());
        QVERIFY(Run(item, false, [&] {
            QVERIFY(item.btnOwner->isVisible());
            item.edtSerialNr->setText("SN3");
            Pick(Data().sqlCustomer, "CustomerID", "ZETA");
            item.btnOwner->click();
            QCOMPARE(item.edtOwner->text(), QString("ZETA"));
            Dialogs().AnswerModal(QDialog::Rejected); // nothing picked: stays
            item.btnOwner->click();
            item.btnOk->click();
        }));
        QCOMPARE(Stored("SELECT Owner FROM Item WHERE SerialNr = 'SN3'"), QString("ZETA"));

        // The item brings its owner with it, over a customer picked before.
        TfrmServiceContractEdtr contract(&Data());
        QVERIFY(Run(contract, false, [&] {
            Pick(Data().sqlCustomer, "CustomerID", "ACME");
            contract.btnCustomerID->click();
            QCOMPARE(contract.edtHidCustomerID->text(), QString("ACME"));
            Pick(Data().sqlItem, "SerialNr", "SN'2");
            contract.btnItemSerialNr->click();
            QCOMPARE(contract.edtItemSerialNr->text(), QString("SN'2"));
            QCOMPARE(contract.edtCustomerID->text(), QString("ZETA"));
            contract.btnOk->click();
        }));
        QCOMPARE(Stored("SELECT CustomerID FROM ServiceContract WHERE ItemSerialNr = 'SN''2'"),
                 QString("ZETA"));

        // Nothing to pick while changing.
        QVERIFY(!Run(item, true, [&] { item.btnOk->click(); }));
        QVERIFY(item.btnOwner->isHidden());
        QVERIFY(!Run(contract, true, [&] { contract.btnOk->click(); }));
        QVERIFY(contract.btnItemSerialNr->isHidden() && contract.btnCustomerID->isHidden());
        frmCustomerList = nullptr;
        frmItemList = nullptr;
    }
};

QTEST_MAIN(TestEditorCommands)
#include "tst_EditorCommands.moc"
