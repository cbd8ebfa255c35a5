#pragma once

// The program's help as a set of HTML pages in one folder (beside the
// executable in "help/"): the contents page "index.html" links the other
// pages in the order the contents show them; every page names its subjects
// in <meta name="keywords" content="one, two, ...">, from which the keyword
// index is built; and the pages' text can be searched word by word.

#include <QList>
#include <QString>
#include <QStringList>

class THelpIndex {
public:
    // The page every help folder starts from.
    static QString ContentsPage() { return QStringLiteral("index.html"); }

    struct TPage {
        QString FileName; // relative to the folder, "calls.html"
        QString Title;    // the page's <title>, or its file name without one
        QStringList Keywords;
        QString Text; // what a reader sees, without markup
    };

    // One line of the keyword index: a keyword and the page it leads to. A
    // keyword named by two pages gives two entries.
    struct TKeyword {
        QString Keyword;
        QString FileName;
        QString Title;
    };

    // Reads the folder `dir` (ending in '/'): the contents page first, then
    // the pages it links, in order, each once. A folder without a contents
    // page gives an empty index.
    explicit THelpIndex(const QString& dir = {});

    // True when `dir` holds a contents page.
    static bool FolderPresent(const QString& dir);

    const QString& Dir() const { return m_sDir; }
    const QList<TPage>& Pages() const { return m_Pages; }
    // The page `fileName`, or nullptr for one the index does not know.
    const TPage* Page(const QString& fileName) const;

    // Every keyword of every page, sorted without regard to case (then by
    // the page's place in the contents).
    const QList<TKeyword>& Keywords() const { return m_Keywords; }
    // The keywords that contain `text` (ignoring case), in the same order;
    // all of them for an empty text.
    QList<TKeyword> MatchKeywords(const QString& text) const;

    // The pages whose text holds every word of `query` (ignoring case), the
    // page holding them most often first, then in the order of the contents.
    // No words, no pages.
    QStringList Search(const QString& query) const;
    // The words Search looks for in `query`.
    static QStringList SearchWords(const QString& query);

    // What one HTML page holds, for pages read from elsewhere.
    static TPage ReadPage(const QString& fileName, const QString& html);

private:
    QString m_sDir;
    QList<TPage> m_Pages;
    QList<TKeyword> m_Keywords;
};
