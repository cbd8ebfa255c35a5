#include "shell/UHelpIndex.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTextDocument>
#include <algorithm>

namespace {

QString ReadText(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// The HTML files `html` links to, in order, each once; anchors and links
// that leave the folder are left out.
QStringList LinkedPages(const QString& html) {
    static const QRegularExpression link(
        QStringLiteral("<a\\s[^>]*href\\s*=\\s*\"([^\"#:]+\\.html)(#[^\"]*)?\""),
        QRegularExpression::CaseInsensitiveOption);
    QStringList pages;
    for (const QRegularExpressionMatch& match : link.globalMatch(html)) {
        const QString page = match.captured(1);
        if (!pages.contains(page))
            pages << page;
    }
    return pages;
}

} // namespace

THelpIndex::THelpIndex(const QString& dir) : m_sDir(dir) {
    if (!FolderPresent(dir))
        return;
    QStringList files{ContentsPage()};
    const QString contents = ReadText(dir + ContentsPage());
    for (const QString& page : LinkedPages(contents)) {
        if (!files.contains(page) && QFile::exists(dir + page))
            files << page;
    }
    for (const QString& file : files)
        m_Pages << ReadPage(file, file == ContentsPage() ? contents : ReadText(dir + file));

    for (const TPage& page : m_Pages) {
        for (const QString& keyword : page.Keywords)
            m_Keywords << TKeyword{keyword, page.FileName, page.Title};
    }
    std::stable_sort(m_Keywords.begin(), m_Keywords.end(),
                     [](const TKeyword& a, const TKeyword& b) {
                         return QString::compare(a.Keyword, b.Keyword, Qt::CaseInsensitive) < 0;
                     });
}

bool THelpIndex::FolderPresent(const QString& dir) {
    return !dir.isEmpty() && QFile::exists(dir + ContentsPage());
}

const THelpIndex::TPage* THelpIndex::Page(const QString& fileName) const {
    for (const TPage& page : m_Pages) {
        if (page.FileName == fileName)
            return &page;
    }
    return nullptr;
}

QList<THelpIndex::TKeyword> THelpIndex::MatchKeywords(const QString& text) const {
    const QString wanted = text.trimmed();
    QList<TKeyword> result;
    for (const TKeyword& keyword : m_Keywords) {
        if (keyword.Keyword.contains(wanted, Qt::CaseInsensitive))
            result << keyword;
    }
    return result;
}

QStringList THelpIndex::SearchWords(const QString& query) {
    static const QRegularExpression separators(QStringLiteral("[^\\w'\\-]+"));
    QStringList words = query.split(separators, Qt::SkipEmptyParts);
    words.removeDuplicates();
    return words;
}

QStringList THelpIndex::Search(const QString& query) const {
    const QStringList words = SearchWords(query);
    if (words.isEmpty())
        return {};
    struct THit {
        qsizetype Count;
        int Place;
        QString FileName;
    };
    QList<THit> hits;
    for (int i = 0; i < m_Pages.size(); ++i) {
        qsizetype total = 0;
        for (const QString& word : words) {
            const qsizetype count = m_Pages[i].Text.count(word, Qt::CaseInsensitive);
            if (count == 0) {
                total = 0;
                break;
            }
            total += count;
        }
        if (total > 0)
            hits << THit{total, i, m_Pages[i].FileName};
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const THit& a, const THit& b) { return a.Count > b.Count; });
    QStringList result;
    for (const THit& hit : hits)
        result << hit.FileName;
    return result;
}

THelpIndex::TPage THelpIndex::ReadPage(const QString& fileName, const QString& html) {
    TPage page;
    page.FileName = fileName;
    static const QRegularExpression meta(
        QStringLiteral("<meta\\s+name\\s*=\\s*\"keywords\"\\s+content\\s*=\\s*\"([^\"]*)\""),
        QRegularExpression::CaseInsensitiveOption);
    QSet<QString> seen;
    for (const QRegularExpressionMatch& match : meta.globalMatch(html)) {
        for (const QString& keyword : match.captured(1).split(QLatin1Char(','))) {
            const QString trimmed = keyword.simplified();
            if (!trimmed.isEmpty() && !seen.contains(trimmed.toLower())) {
                seen.insert(trimmed.toLower());
                page.Keywords << trimmed;
            }
        }
    }
    QTextDocument document;
    document.setHtml(html);
    page.Text = document.toPlainText().remove(QChar::ObjectReplacementCharacter);
    page.Title = document.metaInformation(QTextDocument::DocumentTitle).simplified();
    if (page.Title.isEmpty())
        page.Title = fileName;
    return page;
}
