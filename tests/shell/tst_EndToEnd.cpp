// The program as a user meets it, on the small demonstration database: the
// Add shortcut makes a call, and a call goes from the phone to the item's
// history. The pieces are tried one by one in the tests of the lists,
// editors and data module.

#include "data/DMGlobals.h"
#include "data/engine/TQuery.h"
#include "editors/FCallCommentEdtr.h"
#include "editors/FCallEdtr.h"
#include "editors/UDBTextControls.h"
#include "editors/UDBValueControls.h"
#include "shell/UKeyboardState.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

using TestSupport::TTempDir;

class TestEndToEnd : public QObject {
    Q_OBJECT

    TTempDir m_Dir;
    TScriptedDialogs m_Dialogs;
    TDialogsInstaller m_Installed{m_Dialogs};
    std::unique_ptr<TProgramWindows> m_pWindows;

    TfrmMain& Main() { return m_pWindows->MainWindow(); }
    TdmlGlobals& Data() { return m_pWindows->DataModule(); }
    // Clicks a navigation node, as the user does.
    void Select(int node) {
        Main().SelectView(TestWindows::Node(Main(), node));
        Main().IdleUpdate();
    }
    QString Value(const QString& sql) {
        return Data().CreateQuery(sql, true)->Fields().at(0)->AsString();
    }
    // Runs the call editor that `command` opens: shown and active while
    // `work` fills it in.
    void WithCallEditor(QAction* command, const std::function<void(TfrmCallEdtr&)>& work) {
        m_Dialogs.AnswerModal([&](QObject* window) {
            auto* editor = qobject_cast<TfrmCallEdtr*>(window);
            editor->show();
            editor->activateWindow();
            if (!QTest::qWaitForWindowActive(editor))
                qWarning("the call editor did not become active");
            work(*editor);
            return editor->result();
        });
        command->trigger();
    }
    // Types into a field of the call editor as the user does, then lets the
    // lookups that typing asked for run.
    static void Type(TfrmCallEdtr& editor, QWidget* field, const QString& text) {
        field->setFocus();
        QTest::keyClicks(field, text);
        QTRY_VERIFY(!editor.timIdle->isActive());
    }
    // The text pdftotext reads from the PDF the preview saves when its
    // "Save as PDF" is pressed during `print`.
    QString PrintedText(const std::function<void()>& print) {
        const QString file = m_Dir.Path() + "printed.pdf";
        QFile::remove(file);
        m_Dialogs.AnswerModal([](QObject* window) {
            window->findChild<QAction*>("actSaveAsPdf")->trigger();
            return 0;
        });
        m_Dialogs.AnswerFile(file);
        print();
        return TestSupport::PdfPages(file).join(' ').simplified();
    }

private Q_SLOTS:
    void initTestCase() {
        TestWindows::UseTestSettings(m_Dir);
        QProcess tool;
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(QCoreApplication::applicationDirPath() + "/korvane-demo-data",
                   {"small", m_Dir.Path() + "database"});
        QVERIFY(tool.waitForFinished(120000));
        QVERIFY2(tool.exitCode() == 0, tool.readAll().constData());

        m_pWindows = std::make_unique<TProgramWindows>(TestWindows::Locations(m_Dir.Path()));
        Data().SetDatabaseDir(m_Dir.Path() + "database");
        Main().show();
        QVERIFY(Data().DatabaseActive());
        QCOMPARE(m_Dialogs.Requests().size(), 0);
    }

    void cleanup() {
        QCOMPARE(m_Dialogs.UnexpectedCount(), 0);
        QCOMPARE(m_Dialogs.PendingAnswers(), 0);
        m_Dialogs.Clear();
    }

    // A customer phones about an item: the call is logged against the item,
    // assigned, moved through Busy, Awaiting Parts and Complete with a
    // comment on the way, billed, its card printed, and the item's history
    // shows it. Before that, Add from its shortcut makes a call without asking.
    void FromTheAddShortcutAndAPhoneCallToTheHistory() {
        Select(0);
        Main().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Main()));
        UKeyboardState::SetModifierReader(
            [] { return Qt::KeyboardModifiers(Qt::ControlModifier); });
        const auto release = qScopeGuard([] { UKeyboardState::SetModifierReader({}); });
        const qint64 before = Value("SELECT COUNT(*) FROM Call").toLongLong();
        const QString customer = Value("SELECT CustomerID FROM Customer");
        m_Dialogs.AnswerModal([&](QObject* window) {
            // A call is saved only for a known customer.
            window->findChild<TDBEdit*>("edtCustomerID")->setText(customer);
            return TestWindows::CloseEditor(window);
        });
        Main().IdleUpdate(); // Add follows the current list
        QTest::keyClick(&Main(), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(Value("SELECT COUNT(*) FROM Call").toLongLong(), before + 1);
        QCOMPARE(m_Dialogs.Requests().size(), 1); // the editor only

        const QString serial =
            Value("SELECT SerialNr FROM Item WHERE Owner <> '' ORDER BY SerialNr");
        const QString owner = Value("SELECT Owner FROM Item WHERE SerialNr = '" + serial + "'");
        const QString worker = Value("SELECT WorkerNR FROM Worker ORDER BY WorkerNR");
        // No key is held: the call gets the next number.
        UKeyboardState::SetModifierReader([] { return Qt::KeyboardModifiers(); });

        QString callNr;
        WithCallEditor(Main().actAddNewRec, [&](TfrmCallEdtr& e) {
            callNr = e.edtCallNr->text();
            Type(e, e.edtItemSerialNr, serial);
            QCOMPARE(e.edtCustomerID->text(), owner); // the owner comes with the item
            Type(e, e.edtWorkerNr, worker);
            Type(e, e.edtrProblem, "Paper jams in tray 2");
            e.btnOk->click();
        });
        QVERIFY(!callNr.isEmpty());
        QCOMPARE(Value("SELECT CustomerID || '/' || EquipmentSerialNr || '/' || WorkerNr FROM Call "
                       "WHERE CallNr = '" +
                       callNr + "'"),
                 owner + "/" + serial + "/" + worker);
        // The list shows the new call and stands on it.
        QCOMPARE(Data().sqlCall->FieldByName("CallNr").AsString(), callNr);

        WithCallEditor(Main().actEditCurrentRec, [&](TfrmCallEdtr& e) {
            e.cbxStatus->setCurrentText("Busy");
            e.btnApply->click();
            m_Dialogs.AnswerModal([](QObject* window) {
                auto* comment = qobject_cast<TfrmCallCommentEdtr*>(window);
                comment->edtComment->setText("Roller worn; part ordered");
                comment->btnOk->click();
                return comment->result();
            });
            e.lnkAdd->click();
            e.cbxStatus->setCurrentText("Awaiting Parts");
            e.btnApply->click();
            e.cbxStatus->setCurrentText("Complete");
            e.chkBilled->setChecked(true);
            e.btnOk->click();
        });
        QStringList lines;
        auto comments = Data().CreateQuery("SELECT CommentLine FROM CallComments WHERE CallNr = '" +
                                               callNr + "' ORDER BY DateTime",
                                           true);
        for (; !comments->Eof(); comments->Next())
            lines << comments->Fields().at(0)->AsString();
        QCOMPARE(lines.first(), QString("Call Created."));
        for (const char* line : {"Status changed to Busy", "Roller worn; part ordered",
                                 "Status changed to Awaiting Parts", "Status changed to Complete"})
            QVERIFY2(lines.contains(line), line);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(Value("SELECT Status || '/' || Billed FROM Call WHERE CallNr = '" + callNr + "'"),
                 QString("Complete/True"));

        if (!TestSupport::CanReadPdf())
            QSKIP("pdftotext (poppler-utils) is not installed");
        // The card of the call from the calls list's Print.
        Main().IdleUpdate();
        const QString card = PrintedText([this] { Main().actPrint->trigger(); });
        const QString workerName =
            Value("SELECT Name || ' ' || Surname FROM Worker WHERE WorkerNR = '" + worker + "'");
        const QString company =
            Value("SELECT CompanyName FROM Customer WHERE CustomerID = '" + owner + "'");
        for (const QString& text : QStringList{"Workshop Call Card", "Call Number: " + callNr,
                                               "Status: Complete", "Serial Number: " + serial,
                                               "Company: " + company, "Worker: " + workerName})
            QVERIFY2(card.contains(text.simplified()), qPrintable(text));

        // The item's history from the item list's Print.
        Select(3);
        QVERIFY(Data().sqlItem->Locate("SerialNr", serial));
        Main().IdleUpdate();
        const QString history = PrintedText([this] { Main().actPrint->trigger(); });
        QVERIFY(history.contains("Item Call History"));
        QVERIFY2(history.contains(callNr + " "), qPrintable(history));
        QVERIFY(history.contains("Paper jams in tray 2"));
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_EndToEnd.moc"
