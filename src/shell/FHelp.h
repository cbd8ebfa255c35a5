#pragma once

#include "shell/UHelpIndex.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTextBrowser;
class QToolButton;

// The help window: the program's help pages (THelpIndex) in a browser with
// Back, Forward and Home, and beside it three tabs: the contents, the
// keyword index with a box that narrows it as one types, and a search of
// the pages' text. It is an ordinary window, not modal; the main window
// makes it once, when help is first asked for, and owns it.
class TfrmHelp : public QWidget {
    Q_OBJECT
public:
    // Shows the pages of the folder `dir` (ending in '/').
    explicit TfrmHelp(const QString& dir, QWidget* parent = nullptr);

    // The message for a help folder without its contents page; "%s" takes
    // the folder.
    static const char* MissingFolderMessage();

    // Shows the window in front with the contents page.
    void ShowContents();
    // Shows the window in front with the keyword index, its box holding
    // `keyword` and the list narrowed to it.
    void ShowIndex(const QString& keyword = {});
    // Shows the page `fileName` of the folder, `highlight` (if any) selected
    // where it first occurs.
    void ShowPage(const QString& fileName, const QString& highlight = {});
    // Searches the pages for the words of `query` and lists them.
    void Search(const QString& query);

    // The file name of the page shown ("calls.html").
    QString CurrentPage() const;
    const THelpIndex& Index() const { return m_Index; }

    QToolButton* btnBack;
    QToolButton* btnForward;
    QToolButton* btnHome;
    QTabWidget* pgcNavigation;
    QListWidget* lstContents;
    QLineEdit* edtKeyword;
    QListWidget* lstKeywords;
    QLineEdit* edtSearch;
    QToolButton* btnSearch;
    QListWidget* lstResults;
    QTextBrowser* brwPage;

private:
    void BringToFront();
    void FillKeywords(const QString& text);
    void OpenItem(QListWidgetItem* item);
    void PageChanged(const QUrl& url);

    THelpIndex m_Index;
    bool m_bPlaced = false;
};
