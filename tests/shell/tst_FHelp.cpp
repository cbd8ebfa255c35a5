// The help: the help window that Contents and Index open, its keyword index
// and text search, the help pages shipped beside the program, the What's
// This texts of every control, and the About Life window.

#include "data/DMGlobals.h"
#include "data/FBackup.h"
#include "data/FRestore.h"
#include "editors/FCallEdtr.h"
#include "editors/FWorkerEdtr.h"
#include "editors/UDBTextControls.h"
#include "shell/FAbout.h"
#include "shell/FGospel.h"
#include "shell/FHelp.h"
#include "shell/UWhatsThis.h"
#include "shell/files/UFiles.h"
#include "support/TestWindows.h"

#include <QtTest>
#include <QtWidgets>

using TestSupport::FileBytes;
using TestSupport::WriteFile;

namespace {

QByteArray Page(const QString& title, const QString& keywords, const QString& body) {
    return QStringLiteral("<html><head><title>%1</title><meta name=\"keywords\" content=\"%2\">"
                          "</head><body>%3</body></html>")
        .arg(title, keywords, body)
        .toUtf8();
}

// "frmX/name" for every named widget and action in and under `root` that
// has no What's This text; Qt's own parts are left out.
QStringList WithoutText(QWidget* root) {
    static const QRegularExpression qtOwn("^(qt_|_q_|Scroll(Left|Right)Button$)");
    QStringList missing;
    for (QObject* object : root->findChildren<QObject*>() + QList<QObject*>{root}) {
        const QString name = object->objectName();
        // Widgets and actions have the property; other objects need no text.
        const QVariant text = object->property("whatsThis");
        if (!text.isValid() || name.isEmpty() || qtOwn.match(name).hasMatch())
            continue;
        if (text.toString().isEmpty())
            missing << TWhatsThisTexts::WindowNames(object).value(0) + QLatin1Char('/') + name;
    }
    return missing;
}

} // namespace

class TestFHelp : public QObject {
    Q_OBJECT
    TestSupport::TTempDir m_Dir;

private Q_SLOTS:
    void KeywordsAndSearchFindTheirPagesShippedPagesAreWhole() {
        const QString d = m_Dir.Path();
        WriteFile(d + "index.html",
                  Page("Contents", "contents",
                       "<a href=\"a.html\">A</a> <a href=\"b.html#top\">B</a> <a "
                       "href=\"a.html\">again</a> <a href=\"gone.html\">gone</a>"));
        WriteFile(d + "a.html", Page("Billing", "billing, bill time, Calls",
                                     "<p>A call is billed. Billed calls; bill time.</p>"));
        WriteFile(d + "b.html", Page("Backup &amp; restore", "backup, Billing,restore",
                                     "<p>Back up, then restore the backup archive. billed</p>"));
        WriteFile(d + "c.html", Page("Not linked", "orphan", "<p>billed billed billed</p>"));

        TfrmHelp help(d);
        QStringList files;
        for (const THelpIndex::TPage& page : help.Index().Pages())
            files << page.FileName;
        QCOMPARE(files, QStringList({"index.html", "a.html", "b.html"}));
        QCOMPARE(help.Index().Page("b.html")->Title, QString("Backup & restore"));

        // The box narrows the keywords as one types; a keyword of two pages
        // names each page; Enter opens the chosen one.
        help.ShowIndex("bill");
        QStringList shown;
        for (int i = 0; i < help.lstKeywords->count(); ++i)
            shown << help.lstKeywords->item(i)->text();
        QCOMPARE(shown,
                 QStringList({"bill time", "billing (Billing)", "Billing (Backup & restore)"}));
        QTest::keyClicks(help.edtKeyword, "ing");
        QCOMPARE(help.lstKeywords->count(), 2);
        help.lstKeywords->setCurrentRow(1);
        QTest::keyClick(help.edtKeyword, Qt::Key_Return);
        QCOMPARE(help.CurrentPage(), QString("b.html"));
        help.edtKeyword->setText("RESTO");
        QCOMPARE(help.lstKeywords->count(), 1);
        QCOMPARE(help.lstKeywords->currentItem()->text(), QString("restore"));

        // Every word must be on the page; the page naming them most comes first.
        QCOMPARE(help.Index().Search("billed"), QStringList({"a.html", "b.html"}));
        QCOMPARE(help.Index().Search("restore, BILLED"), QStringList({"b.html"}));
        QCOMPARE(help.Index().Search("bill time"), QStringList({"a.html"}));
        QCOMPARE(help.Index().Search("  ,. "), QStringList());
        help.edtSearch->setText("archive");
        help.btnSearch->click();
        QCOMPARE(help.lstResults->count(), 1);
        QCOMPARE(help.CurrentPage(), QString("b.html"));
        QCOMPARE(help.brwPage->textCursor().selectedText(), QString("archive"));
        help.Search("nowhere");
        QCOMPARE(help.lstResults->count(), 1);
        QVERIFY(!(help.lstResults->item(0)->flags() & Qt::ItemIsEnabled));

        // The pages shipped beside the program are whole.
        const QString dir = GetAppPath() + "help/";
        const THelpIndex index(dir);
        QVERIFY(index.Pages().size() >= 13);
        static const QRegularExpression reference("(?:src|href)\\s*=\\s*\"([^\"#:]+)[\"#]",
                                                  QRegularExpression::CaseInsensitiveOption);
        QStringList faults;
        for (const THelpIndex::TPage& page : index.Pages()) {
            const QString html = QString::fromUtf8(FileBytes(dir + page.FileName));
            if (page.Title == page.FileName)
                faults << page.FileName + ": no title";
            if (page.Keywords.isEmpty())
                faults << page.FileName + ": no keywords";
            for (const QRegularExpressionMatch& match : reference.globalMatch(html)) {
                if (!QFile::exists(dir + match.captured(1)))
                    faults << page.FileName + ": " + match.captured(1) + " is missing";
            }
        }
        QCOMPARE(faults, QStringList());
    }

    void HelpWindowAboutLifeAndWhatsThisTextsOnTheProgramsWindows() {
        TWhatsThisTexts texts;
        QCOMPARE(texts.Parse(QString::fromUtf8(FileBytes(GetAppPath() + "help/whatsthis.txt"))),
                 QStringList());

        TestWindows::TInstalledDialogs dialogs;
        TProgramWindows program(TestWindows::Locations(m_Dir.Path()));
        program.DataModule().SetDatabaseDir(m_Dir.Path() + "database/");
        TfrmMain& main = program.MainWindow();
        QVERIFY(TestWindows::ShowExposed(main));

        // Contents and Index open their pages in one help window.
        main.actHelpContents->trigger();
        TfrmHelp* help = main.findChild<TfrmHelp*>();
        QVERIFY(help && help->isVisible());
        QVERIFY(!help->isModal());
        QCOMPARE(help->CurrentPage(), QString("index.html"));
        QCOMPARE(help->pgcNavigation->currentWidget(), help->lstContents);

        // The contents list the pages the contents page links, and follow
        // the page shown.
        QVERIFY(help->lstContents->count() >= 12);
        help->lstContents->item(3)->setSelected(true);
        Q_EMIT help->lstContents->itemActivated(help->lstContents->item(3));
        QCOMPARE(help->CurrentPage(), help->Index().Pages()[3].FileName);
        QVERIFY(help->btnBack->isEnabled());
        help->btnBack->click();
        QCOMPARE(help->CurrentPage(), QString("index.html"));
        QCOMPARE(help->lstContents->currentRow(), 0);

        help->edtKeyword->setText("backup");
        help->ShowPage("calls.html");
        QCOMPARE(help->lstContents->currentItem()->text(), help->Index().Page("calls.html")->Title);
        main.actHelpIndex->trigger();
        QCOMPARE(main.findChildren<TfrmHelp*>().size(), 1);
        QCOMPARE(help->pgcNavigation->currentWidget(), help->lstKeywords->parentWidget());
        QCOMPARE(help->edtKeyword->text(), QString());
        QCOMPARE(help->lstKeywords->count(), help->Index().Keywords().size());
        QCOMPARE(help->CurrentPage(), QString("calls.html"));

        main.actHelpContents->trigger();
        QCOMPARE(help->CurrentPage(), QString("index.html"));
        QCOMPARE(dialogs.Requests().size(), 0);

        // About Life opens its address only after OK.
        QList<QUrl> opened;
        const TUrlOpener previous = SetExternalUrlOpener([&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        QString seen;
        dialogs.AnswerModal([&](QObject* window) {
            auto* gospel = qobject_cast<TfrmGospel*>(window);
            if (!gospel)
                return int(QDialog::Rejected);
            // The five pictures shipped beside the program are shown, and
            // nothing is opened before the window closes.
            int shown = 0;
            for (QLabel* picture : gospel->imgPictures)
                shown += picture->pixmap().isNull() ? 0 : 1;
            seen = QString("%1 pictures, %2 opened").arg(shown).arg(opened.size());
            gospel->btnOK->click();
            return gospel->result();
        });
        main.actAboutLife->trigger();
        SetExternalUrlOpener(previous);
        QCOMPARE(seen, QString("5 pictures, 0 opened"));
        QCOMPARE(dialogs.Requests().size(), 1);
        QVERIFY(!dialogs.Requests()[0].Window); // destroyed
        QCOMPARE(opened, QList<QUrl>{TfrmGospel::Address()});

        // Without the help folder, Contents and Index report it.
        TfrmMain::TLocations locations = TestWindows::Locations(m_Dir.Path());
        locations.HelpDir = m_Dir.Path() + "help/";
        TfrmMain without(locations);
        dialogs.AnswerButton(mbOK);
        without.actHelpContents->trigger();
        dialogs.AnswerButton(mbOK);
        without.actHelpIndex->trigger();
        QCOMPARE(dialogs.Requests().size(), 3);
        const TDialogRequest& box = dialogs.Requests()[1];
        QCOMPARE(box.MsgKind, TMsgKind::Error);
        QCOMPARE(box.Text, QString("Unable to show help: the help files were not found in \"%1\"."
                                   "\r\n\r\nInstall the program again to restore them.")
                               .arg(QDir::toNativeSeparators(locations.HelpDir)));
        QVERIFY(without.findChildren<TfrmHelp*>().isEmpty());

        // Every control of every window has a What's This text.
        TfrmBackup backup(&main, &program.DataModule(), m_Dir.Path());
        TfrmRestore restore(&main, &program.DataModule(), m_Dir.Path());
        TfrmGospel gospel(&main);
        TfrmAbout about;
        // Every window is polished before it is first shown, the editors and
        // dialogs of the main window as much as the main window itself.
        const QList<QWidget*> windows{&main, &gospel, &about};
        for (QWidget* widget : windows + main.findChildren<QWidget*>())
            widget->ensurePolished();
        QStringList missing;
        for (QWidget* window : windows)
            missing << WithoutText(window);
        missing.removeDuplicates();
        QVERIFY2(missing.isEmpty(), qPrintable("no What's This text for " + missing.join(", ")));

        // Shift+F1 and the menu enter the mode in which a click shows them.
        main.actHelpWhatsThis->trigger();
        QVERIFY(QWhatsThis::inWhatsThisMode());
        QWhatsThis::leaveWhatsThisMode();

        // In an editor, Shift+F1 tells what the field being typed in is for.
        TfrmWorkerEdtr* editor = program.Windows().WorkerEdtr;
        QVERIFY(TestWindows::ShowExposed(*editor));
        QWidget* field = editor->edtName;
        field->setFocus();
        QTest::keyClick(field, Qt::Key_F1, Qt::ShiftModifier);
        QVERIFY(std::ranges::any_of(QApplication::topLevelWidgets(), [](QWidget* widget) {
            return widget->isVisible() && widget->inherits("QWhatsThat");
        }));
        QWhatsThis::hideText();
        editor->hide();

        // Texts are looked up by window, then base window, then any window.
        TWhatsThisTexts own;
        QCOMPARE(own.Parse("# note\n[frmBaseEditor]\nbtnOk=Saves.\n[frmCallEdtr]\nbtnOk = Saves "
                           "the call.\\nThen closes.\n[*]\nbtnOk=Any OK.\nbad line\n[frmCallEdtr]"
                           "\nbtnOk=again\n"),
                 QStringList({"line 8: not \"name=text\": bad line",
                              "line 10: a second text for frmCallEdtr/btnOk"}));
        TfrmCallEdtr call(nullptr);
        TfrmWorkerEdtr worker(nullptr);
        QCOMPARE(own.TextFor(call.btnOk), QString("again"));
        QCOMPARE(own.TextFor(worker.btnOk), QString("Saves."));
        QPushButton outside;
        outside.setObjectName("btnOk");
        QCOMPARE(own.TextFor(&outside), QString("Any OK."));
        QCOMPARE(TWhatsThisTexts::WindowNames(call.btnOk),
                 QStringList({"frmCallEdtr", "frmBaseEditor"}));
    }
};

QTEST_MAIN(TestFHelp)
#include "tst_FHelp.moc"
