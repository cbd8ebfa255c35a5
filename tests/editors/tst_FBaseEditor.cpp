// The editor frame: opening the row, OK / Apply / Cancel and the close box,
// validation, the failures of Execute and errors while closing. A row that
// cannot be written is tried on the real editors (tst_RecordEditors).

#include "data/DMTables.h"
#include "data/engine/TDataSource.h"
#include "data/engine/TDatabase.h"
#include "data/engine/TTable.h"
#include "editors/FBaseEditor.h"
#include "editors/UDBTextControls.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

using TestSupport::TTempDatabase;

namespace {

// An editor of calls with one bound field and a check that can be made to fail.
class TTestEditor : public TfrmBaseEditor {
public:
    explicit TTestEditor(TDataSet* dataSet, bool editMode = false) {
        m_sKindName = QStringLiteral("Call");
        m_pDataset = dataSet;
        dsCall.SetDataSet(dataSet);
        edtStatus = new TDBEdit(pnlClient);
        edtStatus->SetDataSource(&dsCall);
        edtStatus->SetDataField(QStringLiteral("Status"));
        connect(edtStatus, &TDBEdit::Changed, this, [this] { SetModified(true); });
        SetEditMode(editMode);
    }
    bool Validate() override {
        ++m_nValidations;
        return m_bValid;
    }
    void EditModeChanged() override { ++m_nModeChanges; }
    void SetDataset(TDataSet* dataSet) { m_pDataset = dataSet; }
    bool Applied() const { return m_bApplied; }

    TDataSource dsCall;
    TDBEdit* edtStatus;
    bool m_bValid = true;
    int m_nValidations = 0;
    int m_nModeChanges = 0;
};

} // namespace

class TestFBaseEditor : public QObject {
    Q_OBJECT

    TTempDatabase m_Db;
    std::unique_ptr<TTable> m_pTable;
    std::unique_ptr<TestWindows::TInstalledDialogs> m_pDialogs;
    int m_nPosts = 0;

    int Rows(const QString& where = QStringLiteral("1=1")) {
        auto st = m_Db.Prepare(QStringLiteral("SELECT COUNT(*) FROM Call WHERE ") + where);
        st->Step();
        return int(st->Integer(0));
    }
    QString StoredStatus(const QString& callNr) {
        auto st =
            m_Db.Prepare(QStringLiteral("SELECT Status FROM Call WHERE CallNr = '%1'").arg(callNr));
        return st->Step() ? st->Text(0) : QStringLiteral("<none>");
    }
    void AddCall(const QString& callNr, const QString& status) {
        m_Db.Exec(QStringLiteral("INSERT INTO Call (CallNr, Status) VALUES (:N, :S)"),
                  {{"N", callNr}, {"S", status}});
        m_pTable->Refresh();
    }
    // Runs `editor` on a new row or (`edit`) the current one, `work` doing
    // what the user does; returns what Execute returned.
    bool Run(TTestEditor& editor, bool edit, const std::function<void()>& work) {
        return TestWindows::RunEditor(editor, edit, *m_pDialogs, work);
    }

private Q_SLOTS:
    void initTestCase() {
        m_Db.Exec(QString::fromLatin1(DMTables::FindTableDef("Call")->CreateSql));
    }

    void init() {
        m_Db.EmptyTable("Call");
        m_pTable = TestSupport::OpenTable(m_Db, "Call");
        m_nPosts = 0;
        m_pTable->AfterPost = [this](TDataSet&) { ++m_nPosts; };
        m_pDialogs = std::make_unique<TestWindows::TInstalledDialogs>();
    }

    void cleanup() {
        QCOMPARE(m_pDialogs->PendingAnswers(), 0);
        m_pDialogs.reset();
        m_pTable.reset();
    }

    void ApplyPostsStaysOpenAndGoesOnEditingTheSameRow() {
        TTestEditor editor(m_pTable.get());
        QVERIFY(!Run(editor, false, [&] {
            m_pTable->FieldByName("CallNr").SetAsString("000007");
            editor.edtStatus->setText("New");
            editor.btnApply->click();
            QCOMPARE(editor.windowTitle(), QString("Call Properties")); // now editing
            QVERIFY(!editor.btnApply->isEnabled());
            QCOMPARE(m_pTable->State(), TDataSetState::Edit);
            QCOMPARE(Rows("Status = 'New'"), 1);
            // Later changes are discarded by Cancel; what was applied stays.
            editor.edtStatus->setText("Busy");
            QVERIFY(editor.btnApply->isEnabled());
            editor.btnCancel->click();
        }));
        QCOMPARE(editor.m_nModeChanges, 1);
        QVERIFY(editor.EditMode());
        QCOMPARE(StoredStatus("000007"), QString("New"));
        QCOMPARE(m_pTable->State(), TDataSetState::Browse);
        QCOMPARE(editor.ModalResult(), TfrmBaseEditor::mrCancel);
    }

    void ApplyThenOkWithoutChangesPostsAgainAndSucceeds() {
        AddCall("000002", "New");
        TTestEditor editor(m_pTable.get(), true);
        QVERIFY(Run(editor, true, [&] {
            editor.edtStatus->setText("Busy");
            editor.btnApply->click();
            editor.btnOk->click();
        }));
        QCOMPARE(m_nPosts, 2);
        QVERIFY(editor.Applied());
        QCOMPARE(StoredStatus("000002"), QString("Busy"));

        // OK on a row left as it was writes nothing and fails.
        QVERIFY(!Run(editor, true, [&] {
            QVERIFY(!editor.btnApply->isEnabled());
            editor.btnOk->click();
        }));
        QCOMPARE(m_nPosts, 2);
        QCOMPARE(editor.ModalResult(), TfrmBaseEditor::mrCancel);
        QCOMPARE(m_pTable->State(), TDataSetState::Browse);
    }

    void CancelCloseBoxAndEscapeDiscardTheInsertOrEdit() {
        AddCall("000004", "New");
        TTestEditor editor(m_pTable.get());
        const QList<std::function<void(TTestEditor*)>> ways = {
            [](TTestEditor* e) { e->btnCancel->click(); },
            [](TTestEditor* e) { QVERIFY(e->close()); },
            [](TTestEditor* e) { e->reject(); },
        };
        for (const auto& closeIt : ways) {
            QVERIFY(!Run(editor, false, [&] {
                m_pTable->FieldByName("CallNr").SetAsString("000005");
                closeIt(&editor);
            }));
            QCOMPARE(editor.ModalResult(), TfrmBaseEditor::mrCancel);
            QCOMPARE(Rows(), 1);

            QVERIFY(!Run(editor, true, [&] {
                editor.edtStatus->setText("Busy");
                closeIt(&editor);
            }));
            QCOMPARE(StoredStatus("000004"), QString("New"));
            QCOMPARE(m_pTable->State(), TDataSetState::Browse);
            QCOMPARE(m_pTable->FieldByName("Status").AsString(), QString("New"));
        }
        QCOMPARE(m_nPosts, 0);
    }

    void AFailingCheckKeepsTheEditorOpenAndPostsNothing() {
        TTestEditor editor(m_pTable.get());
        editor.m_bValid = false;
        QVERIFY(Run(editor, false, [&] {
            m_pTable->FieldByName("CallNr").SetAsString("000009");
            editor.btnOk->click();
            QCOMPARE(editor.ModalResult(), TfrmBaseEditor::mrNone);
            QCOMPARE(m_pTable->State(), TDataSetState::Insert);
            editor.btnApply->click();
            QCOMPARE(m_pTable->State(), TDataSetState::Insert);
            QCOMPARE(editor.windowTitle(), QString("Add a new Call")); // still adding
            QCOMPARE(Rows(), 0);
            editor.m_bValid = true;
            editor.btnOk->click();
        }));
        QCOMPARE(editor.m_nValidations, 3);
        QVERIFY(!editor.Applied());
        QCOMPARE(Rows(), 1);
    }

    void ExecuteFailsWithoutDatasetBrowsingOrRow() {
        TTestEditor editor(m_pTable.get());
        // An answer that presses nothing leaves the row unwritten.
        m_pDialogs->AnswerModal(QDialog::Accepted);
        QVERIFY(!editor.Execute());
        QCOMPARE(m_pTable->State(), TDataSetState::Browse);
        QCOMPARE(Rows(), 0);

        auto failure = [&] { return TestSupport::ErrorOf([&] { editor.Execute(); }); };
        // Editing an empty table.
        editor.SetEditMode(true);
        QCOMPARE(failure(), QString("Unable to open Call editor: Cannot edit at end of data"));
        QCOMPARE(m_pTable->State(), TDataSetState::Browse);

        // A dataset that is already editing, or closed.
        editor.SetEditMode(false);
        m_pTable->Insert();
        QCOMPARE(failure(), QString("Unable to open Call editor: Dataset not ready"));
        QCOMPARE(m_pTable->State(), TDataSetState::Insert);
        m_pTable->Cancel();
        m_pTable->Close();
        QCOMPARE(failure(), QString("Unable to open Call editor: Dataset not ready"));

        editor.SetDataset(nullptr);
        QCOMPARE(failure(), QString("Unable to show Call editor: No dataset object"));
        QCOMPARE(m_pDialogs->Requests().size(), 1); // the first run only
    }

    void AnErrorWhileCancellingIsShownAndTheEditorStillCloses() {
        TTestEditor editor(m_pTable.get());
        m_pTable->BeforeCancel = [](TDataSet&) { throw EError("The table is locked"); };
        QVERIFY(!Run(editor, false, [&] {
            m_pDialogs->AnswerButton(mbOK);
            QVERIFY(editor.close());
        }));
        QCOMPARE(m_pDialogs->Requests().size(), 2);
        QCOMPARE(m_pDialogs->Requests().at(1).Text,
                 QString("Error during close:\r\n\r\nThe table is locked"));
        QCOMPARE(m_pDialogs->Requests().at(1).MsgKind, TMsgKind::Error);
        m_pTable->BeforeCancel = nullptr;
        m_pTable->Cancel();
    }
};

QTEST_MAIN(TestFBaseEditor)
#include "tst_FBaseEditor.moc"
