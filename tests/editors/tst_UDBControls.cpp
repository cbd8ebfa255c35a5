// Data-aware controls on a real call table: what they show, what they write,
// how they follow the data source, and when they report a change.

#include "data/DMTables.h"
#include "data/engine/TDataSource.h"
#include "data/engine/TDatabase.h"
#include "data/engine/TTable.h"
#include "editors/UDBTextControls.h"
#include "editors/UDBValueControls.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

using TestSupport::TTempDatabase;

class TestUDBControls : public QObject {
    Q_OBJECT

    TTempDatabase m_Db;
    std::unique_ptr<TTable> m_pTable;
    std::unique_ptr<TDataSource> m_pSource;

    QVariant Stored(const QString& callNr, const QString& column) {
        auto st = m_Db.Prepare(
            QStringLiteral("SELECT %1 FROM Call WHERE CallNr = '%2'").arg(column, callNr));
        return st->Step() ? st->Value(0) : QVariant();
    }
    TField& F(const char* name) { return m_pTable->FieldByName(QString::fromLatin1(name)); }
    template <class TControl>
    void Bind(TControl& control, const char* field) {
        control.SetDataSource(m_pSource.get());
        control.SetDataField(field);
    }

private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_Db.Exec(QString::fromLatin1(DMTables::FindTableDef("Call")->CreateSql));
    }

    void init() {
        m_Db.EmptyTable("Call");
        m_Db.Exec("INSERT INTO Call (CallNr, CustomerID, Status, Billed, Priority, Date_Time, "
                  "ProblemDescr, BillTime) VALUES ('000001', 'ACME', 'New', 'True', 3, "
                  "'2007-03-14 10:30:00', 'Line one', '  1:30:  ')");
        m_Db.Exec("INSERT INTO Call (CallNr, CustomerID, Status, Billed, Priority) "
                  "VALUES ('000002', 'bolt', 'Busy', 'False', 5)");
        m_pTable = TestSupport::OpenTable(m_Db, "Call");
        m_pSource = std::make_unique<TDataSource>(m_pTable.get());
    }

    void cleanup() {
        m_pSource.reset();
        m_pTable.reset();
    }

    void LineEditShowsFollowsAndWritesItsFieldWithinItsLimits() {
        TDBEdit edt;
        QSignalSpy changed(&edt, &TDBEdit::Changed);
        Bind(edt, "CustomerID");
        QCOMPARE(edt.text(), QString("ACME"));
        m_pTable->Next();
        QCOMPARE(edt.text(), QString("bolt"));

        // Typing puts the browsing table into edit state and writes at once,
        // upper-cased and cut at the field's width.
        edt.SetCharCase(TDBEdit::TCharCase::Upper);
        edt.setFocus();
        edt.selectAll();
        QTest::keyClicks(&edt, "newcustomer-with-a-long-id");
        QCOMPARE(m_pTable->State(), TDataSetState::Edit);
        QCOMPARE(edt.text(), QString("NEWCUSTOMER-WITH-A-L"));
        QCOMPARE(F("CustomerID").AsString(), QString("NEWCUSTOMER-WITH-A-L"));
        QVERIFY(changed.count() > 0);

        // A value set by code is shown and counts as a change.
        m_pTable->Cancel();
        changed.clear();
        m_pTable->Edit();
        F("CustomerID").SetAsString("ZETA");
        QCOMPARE(edt.text(), QString("ZETA"));
        QCOMPARE(changed.count(), 1);
        m_pTable->Post();
        QCOMPARE(Stored("000002", "CustomerID"), QVariant("ZETA"));

        // A length narrower than the field, and the character sets.
        edt.SetMaxLength(4);
        edt.SetCharSet(TDBEdit::TCharSet::Digits);
        edt.setText(QString());
        QTest::keyClicks(&edt, "a1b2");
        QCOMPARE(F("CustomerID").AsString(), QString("12"));
        edt.SetCharSet(TDBEdit::TCharSet::LettersAndDigits);
        QTest::keyClicks(&edt, "-xyz");
        QCOMPARE(F("CustomerID").AsString(), QString("12XY"));
        m_pTable->Cancel();
    }

    void ControlsAreReadOnlyWithoutAWritableField() {
        TDBEdit edt;
        Bind(edt, "NoSuchField");
        QVERIFY(edt.isReadOnly());
        QVERIFY(edt.text().isEmpty());
        edt.SetDataField("Status");
        QVERIFY(!edt.isReadOnly());
        TDBCheckBox chk;
        Bind(chk, "Billed");
        QVERIFY(chk.isEnabled());
        // Kept disabled on request while the rows move under it.
        chk.SetEnabled(false);
        m_pTable->Next();
        QVERIFY(!chk.isEnabled());
        chk.SetEnabled(true);
        QVERIFY(chk.isEnabled());
        m_pTable->Close();
        QVERIFY(edt.isReadOnly());
        QVERIFY(edt.text().isEmpty());
        QVERIFY(!chk.isEnabled());
    }

    // What they write and report is tried on the editors (tst_RecordEditors).
    void DateTimePickersShowAndWriteTheirPart() {
        TDBDateTimePicker dte;
        Bind(dte, "Date_Time");
        QCOMPARE(dte.Value(), QDateTime(QDate(2007, 3, 14), QTime(10, 30)));
        m_pTable->Next();
        QVERIFY(!dte.Value().isValid()); // empty field
        QCOMPARE(dte.text().trimmed(), QString());
        dte.SetValue(QDateTime(QDate(2008, 1, 2), QTime(8, 15)));
        m_pTable->Post();

        // The date picker keeps the time of day, the time picker the date.
        TDBDateTimePicker date(TDBDateTimePicker::TKind::Date);
        Bind(date, "Date_Time");
        date.setDate(QDate(2009, 5, 6));
        QCOMPARE(F("Date_Time").AsDateTime(), QDateTime(QDate(2009, 5, 6), QTime(8, 15)));
        TDBDateTimePicker time(TDBDateTimePicker::TKind::Time);
        Bind(time, "Date_Time");
        QCOMPARE(time.time(), QTime(8, 15));
        time.setTime(QTime(17, 45, 30));
        QCOMPARE(F("Date_Time").AsDateTime(), QDateTime(QDate(2009, 5, 6), QTime(17, 45, 30)));
        QCOMPARE(date.date(), QDate(2009, 5, 6));
        m_pTable->Cancel();
        QCOMPARE(dte.Value(), QDateTime(QDate(2008, 1, 2), QTime(8, 15)));
    }

    // What they write is tried on the editors (tst_RecordEditors).
    void SpinAndComboFollowTheRow() {
        TDBSpinEdit spin;
        spin.setRange(1, 5);
        Bind(spin, "Priority");
        QCOMPARE(spin.value(), 3);
        TDBComboBox list;
        list.SetItems({"New", "Busy", "Complete"});
        Bind(list, "Status");
        m_pTable->Next();
        QCOMPARE(spin.value(), 5);
        m_pTable->Edit();
        F("Status").SetAsString("Awaiting Parts"); // not among the items
        QCOMPARE(list.currentIndex(), -1);
        m_pTable->Cancel();
    }

    // Nothing typed, pasted or dropped beyond a text field's width is lost
    // silently: the control stops at the width, and the field keeps exactly
    // what the control shows.
    void MemoStopsTypingAndPastingAtTheFieldsWidthButShowsAllThereIs() {
        TDBMemo memo;
        Bind(memo, "ProblemDescr"); // CHAR(254)
        QCOMPARE(memo.toPlainText(), QString("Line one"));
        const auto holdsWhatIsShown = [&] {
            return F("ProblemDescr").AsString() == memo.toPlainText();
        };

        // Typing stops at the width, line breaks counting one each.
        memo.setFocus();
        memo.moveCursor(QTextCursor::End);
        QTest::keyClick(&memo, Qt::Key_Return);
        QTest::keyClicks(&memo, QString(300, QLatin1Char('t')));
        QCOMPARE(memo.toPlainText(), "Line one\n" + QString(245, QLatin1Char('t')));
        QVERIFY(holdsWhatIsShown());
        QTest::keyClick(&memo, Qt::Key_Return);
        QCOMPARE(memo.toPlainText().size(), 254);
        QVERIFY(holdsWhatIsShown());

        // A long paste into the middle keeps what fits of its start; the
        // text after the cursor stays and the cursor follows the pasted part.
        QString pasted;
        for (int i = 0; pasted.size() < 663; ++i)
            pasted += QStringLiteral("word%1 ").arg(i);
        pasted.truncate(663);
        memo.setPlainText(QString(100, QLatin1Char('a')));
        QTextCursor at = memo.textCursor();
        at.setPosition(50);
        memo.setTextCursor(at);
        QGuiApplication::clipboard()->setText(pasted);
        memo.paste();
        const QString expected =
            QString(50, QLatin1Char('a')) + pasted.left(154) + QString(50, QLatin1Char('a'));
        QCOMPARE(memo.toPlainText(), expected);
        QCOMPARE(memo.textCursor().position(), 204);
        QVERIFY(holdsWhatIsShown());
        // Undo takes back the paste and its cut together.
        memo.undo();
        QCOMPARE(memo.toPlainText(), QString(100, QLatin1Char('a')));
        QVERIFY(holdsWhatIsShown());

        // A selection that a paste replaces makes room for it.
        memo.selectAll();
        memo.paste();
        QCOMPARE(memo.toPlainText(), pasted.left(254));
        QCOMPARE(memo.textCursor().position(), 254);
        QVERIFY(holdsWhatIsShown());
        m_pTable->Post();
        QCOMPARE(Stored("000001", "ProblemDescr"), QVariant(pasted.left(254)));

        // A text written behind the program's back, longer than the column,
        // is shown whole; typing adds nothing to it and the control cuts none.
        const QString stored = QString(300, QLatin1Char('s'));
        m_Db.Exec(QStringLiteral("UPDATE Call SET ProblemDescr = '%1' WHERE CallNr = '000002'")
                      .arg(stored));
        m_pTable->Refresh();
        m_pTable->Next();
        QCOMPARE(memo.toPlainText(), stored);
        memo.setFocus();
        memo.moveCursor(QTextCursor::End);
        QTest::keyClicks(&memo, "more");
        QCOMPARE(memo.toPlainText(), stored);
        QTest::keyClick(&memo, Qt::Key_Backspace);
        QCOMPARE(memo.toPlainText().size(), 299);
        m_pTable->Cancel();
    }

    void EditableComboStopsAtTheFieldsWidth() {
        TDBComboBox combo;
        combo.SetItems({"New", "Busy"});
        combo.SetEditable(true);
        Bind(combo, "Status"); // CHAR(20)
        QCOMPARE(combo.currentText(), QString("New"));
        combo.lineEdit()->selectAll();
        QTest::keyClicks(combo.lineEdit(), "Waiting for the customer's answer");
        QCOMPARE(combo.currentText(), QString("Waiting for the cust"));
        QCOMPARE(F("Status").AsString(), combo.currentText());
        m_pTable->Cancel();
    }

    void BillTimeMaskAcceptsTheClassicTexts() {
        QCOMPARE(TDBMaskEdit::QtInputMask("!990:00:99;1;_"), QString("009:99:00;_"));
        QCOMPARE(TDBMaskEdit::QtInputMask(">LLaa\\0;0;*"), QString(">AAnn\\0;*"));

        TDBMaskEdit edt;
        edt.SetEditMask("!990:00:99;1;_");
        Bind(edt, "BillTime");
        QCOMPARE(edt.displayText(), QString("__1:30:__"));

        edt.setText("12:45:10");
        QCOMPARE(F("BillTime").AsString(), QString(" 12:45:10"));
        edt.setText("");
        QVERIFY(F("BillTime").IsNull());
        edt.setText("123:45:10");
        QCOMPARE(F("BillTime").AsString(), QString("123:45:10"));
        m_pTable->Post();
        m_pTable->Next();
        QCOMPARE(edt.displayText(), QString("___:__:__"));
        m_pTable->First();
        QCOMPARE(edt.displayText(), QString("123:45:10"));
        QCOMPARE(Stored("000001", "BillTime"), QVariant("123:45:10"));
    }

    void MarkupLabelFillsTagsWithEscapedValues() {
        m_Db.Exec("UPDATE Call SET CustomerID = '<b>Bold</b> & Co', "
                  "ProblemDescr = 'one\r\ntwo' WHERE CallNr = '000001'");
        m_pTable->Refresh();
        TDBMarkupLabel lbl;
        lbl.SetDataSource(m_pSource.get());
        lbl.SetMarkup("<B>Customer:</B> <#CustomerID><BR><#ProblemDescr>|<#Missing>|<#Billed>");
        QCOMPARE(lbl.text(), QString("<B>Customer:</B> &lt;b&gt;Bold&lt;/b&gt; &amp; Co<BR>"
                                     "one<br>two||True"));
        QCOMPARE(lbl.textFormat(), Qt::RichText);
        m_pTable->Next();
        QCOMPARE(lbl.text(), QString("<B>Customer:</B> bolt<BR>||False"));
        m_pTable->Edit();
        F("CustomerID").SetAsString("a<b");
        QCOMPARE(lbl.text(), QString("<B>Customer:</B> a&lt;b<BR>||False"));
        m_pTable->Cancel();
        m_pTable->Close();
        QCOMPARE(lbl.text(), QString("<B>Customer:</B> <BR>||"));
    }

    void ARefusedValueIsReportedAndTheFieldShownAgain() {
        TestWindows::TInstalledDialogs dialogs;
        dialogs.AnswerButton(mbOK);
        TDBEdit edt;
        Bind(edt, "Priority");
        edt.setText("high");
        QCOMPARE(dialogs.Requests().size(), 1);
        QCOMPARE(dialogs.Requests().at(0).MsgKind, TMsgKind::Error);
        QCOMPARE(edt.text(), QString("3"));
        m_pTable->Cancel();
    }
};

QTEST_MAIN(TestUDBControls)
#include "tst_UDBControls.moc"
