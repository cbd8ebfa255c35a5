#include "shell/FHelp.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int FileRole = Qt::UserRole;
constexpr int HighlightRole = Qt::UserRole + 1;

QListWidgetItem* AddItem(QListWidget* list, const QString& text, const QString& fileName,
                         const QString& highlight = {}) {
    auto* item = new QListWidgetItem(text, list);
    item->setData(FileRole, fileName);
    item->setData(HighlightRole, highlight);
    return item;
}

} // namespace

TfrmHelp::TfrmHelp(const QString& dir, QWidget* parent)
    : QWidget(parent, Qt::Window), m_Index(dir) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("TK Korvane Help"));
    resize(1000, 700);

    auto tool = [this](const char* name, const QString& text, QStyle::StandardPixmap icon) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setText(text);
        button->setIcon(style()->standardIcon(icon));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAutoRaise(true);
        return button;
    };
    btnBack = tool("btnBack", QStringLiteral("Back"), QStyle::SP_ArrowBack);
    btnForward = tool("btnForward", QStringLiteral("Forward"), QStyle::SP_ArrowForward);
    btnHome = tool("btnHome", QStringLiteral("Contents"), QStyle::SP_DirHomeIcon);
    btnBack->setShortcut(QKeySequence::Back);
    btnForward->setShortcut(QKeySequence::Forward);
    btnBack->setEnabled(false);
    btnForward->setEnabled(false);

    brwPage = new QTextBrowser(this);
    brwPage->setObjectName(QStringLiteral("brwPage"));
    brwPage->setSearchPaths({dir});
    brwPage->setOpenExternalLinks(false);

    pgcNavigation = new QTabWidget(this);
    pgcNavigation->setObjectName(QStringLiteral("pgcNavigation"));

    lstContents = new QListWidget(pgcNavigation);
    lstContents->setObjectName(QStringLiteral("lstContents"));
    for (const THelpIndex::TPage& page : m_Index.Pages())
        AddItem(lstContents, page.Title, page.FileName);
    pgcNavigation->addTab(lstContents, QStringLiteral("Contents"));

    auto* indexPage = new QWidget(pgcNavigation);
    edtKeyword = new QLineEdit(indexPage);
    edtKeyword->setObjectName(QStringLiteral("edtKeyword"));
    edtKeyword->setPlaceholderText(QStringLiteral("Type a word to look for"));
    edtKeyword->setClearButtonEnabled(true);
    lstKeywords = new QListWidget(indexPage);
    lstKeywords->setObjectName(QStringLiteral("lstKeywords"));
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(4, 6, 4, 4);
    indexLayout->addWidget(edtKeyword);
    indexLayout->addWidget(lstKeywords, 1);
    pgcNavigation->addTab(indexPage, QStringLiteral("Index"));

    auto* searchPage = new QWidget(pgcNavigation);
    edtSearch = new QLineEdit(searchPage);
    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    edtSearch->setPlaceholderText(QStringLiteral("Words to find in the pages"));
    edtSearch->setClearButtonEnabled(true);
    btnSearch = new QToolButton(searchPage);
    btnSearch->setObjectName(QStringLiteral("btnSearch"));
    btnSearch->setText(QStringLiteral("Find"));
    lstResults = new QListWidget(searchPage);
    lstResults->setObjectName(QStringLiteral("lstResults"));
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(edtSearch, 1);
    searchRow->addWidget(btnSearch);
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->setContentsMargins(4, 6, 4, 4);
    searchLayout->addLayout(searchRow);
    searchLayout->addWidget(lstResults, 1);
    pgcNavigation->addTab(searchPage, QStringLiteral("Search"));

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(pgcNavigation);
    splitter->addWidget(brwPage);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({270, 710});
    splitter->setChildrenCollapsible(false);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    buttons->addWidget(btnBack);
    buttons->addWidget(btnForward);
    buttons->addSpacing(8);
    buttons->addWidget(btnHome);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(btnBack, &QToolButton::clicked, brwPage, &QTextBrowser::backward);
    connect(btnForward, &QToolButton::clicked, brwPage, &QTextBrowser::forward);
    connect(btnHome, &QToolButton::clicked, this, [this] { ShowPage(THelpIndex::ContentsPage()); });
    connect(brwPage, &QTextBrowser::backwardAvailable, btnBack, &QToolButton::setEnabled);
    connect(brwPage, &QTextBrowser::forwardAvailable, btnForward, &QToolButton::setEnabled);
    connect(brwPage, &QTextBrowser::sourceChanged, this, &TfrmHelp::PageChanged);
    connect(edtKeyword, &QLineEdit::textChanged, this, &TfrmHelp::FillKeywords);
    connect(edtKeyword, &QLineEdit::returnPressed, this,
            [this] { OpenItem(lstKeywords->currentItem()); });
    connect(edtSearch, &QLineEdit::returnPressed, this, [this] { Search(edtSearch->text()); });
    connect(btnSearch, &QToolButton::clicked, this, [this] { Search(edtSearch->text()); });
    for (QListWidget* list : {lstContents, lstKeywords, lstResults}) {
        connect(list, &QListWidget::itemActivated, this, &TfrmHelp::OpenItem);
        connect(list, &QListWidget::itemClicked, this, &TfrmHelp::OpenItem);
    }
    FillKeywords({});
}

const char* TfrmHelp::MissingFolderMessage() {
    return "Unable to show help: the help files were not found in \"%s\".\r\n\r\n"
           "Install the program again to restore them.";
}

void TfrmHelp::ShowContents() {
    pgcNavigation->setCurrentWidget(lstContents);
    ShowPage(THelpIndex::ContentsPage());
    BringToFront();
    lstContents->setFocus();
}

void TfrmHelp::ShowIndex(const QString& keyword) {
    pgcNavigation->setCurrentWidget(lstKeywords->parentWidget());
    edtKeyword->setText(keyword);
    FillKeywords(keyword);
    if (brwPage->source().isEmpty())
        ShowPage(THelpIndex::ContentsPage());
    BringToFront();
    edtKeyword->setFocus();
    edtKeyword->selectAll();
}

void TfrmHelp::ShowPage(const QString& fileName, const QString& highlight) {
    const QUrl url = QUrl::fromLocalFile(m_Index.Dir() + fileName);
    if (brwPage->source() != url)
        brwPage->setSource(url);
    brwPage->moveCursor(QTextCursor::Start);
    if (!highlight.isEmpty())
        brwPage->find(highlight);
}

void TfrmHelp::Search(const QString& query) {
    pgcNavigation->setCurrentWidget(lstResults->parentWidget());
    if (edtSearch->text() != query)
        edtSearch->setText(query);
    lstResults->clear();
    const QStringList words = THelpIndex::SearchWords(query);
    const QStringList pages = m_Index.Search(query);
    for (const QString& fileName : pages) {
        const THelpIndex::TPage* page = m_Index.Page(fileName);
        AddItem(lstResults, page ? page->Title : fileName, fileName, words.value(0));
    }
    if (pages.isEmpty() && !words.isEmpty()) {
        auto* none =
            new QListWidgetItem(QStringLiteral("No page holds all of these words."), lstResults);
        none->setFlags(Qt::NoItemFlags);
    }
    if (!pages.isEmpty()) {
        lstResults->setCurrentRow(0);
        OpenItem(lstResults->item(0));
    }
}

QString TfrmHelp::CurrentPage() const {
    return brwPage->source().fileName();
}

void TfrmHelp::BringToFront() {
    if (!m_bPlaced) {
        m_bPlaced = true;
        if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr)
            move(owner->geometry().center() - rect().center());
    }
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void TfrmHelp::FillKeywords(const QString& text) {
    lstKeywords->clear();
    const QList<THelpIndex::TKeyword> keywords = m_Index.MatchKeywords(text);
    QListWidgetItem* first = nullptr;
    for (int i = 0; i < keywords.size(); ++i) {
        const THelpIndex::TKeyword& k = keywords[i];
        // A keyword of several pages names the page on each of its lines.
        const auto same = [&](int j) {
            return j >= 0 && j < keywords.size() &&
                   keywords[j].Keyword.compare(k.Keyword, Qt::CaseInsensitive) == 0;
        };
        const QString shown = same(i - 1) || same(i + 1)
                                  ? QStringLiteral("%1 (%2)").arg(k.Keyword, k.Title)
                                  : k.Keyword;
        QListWidgetItem* item = AddItem(lstKeywords, shown, k.FileName, k.Keyword);
        item->setToolTip(k.Title);
        if (!first && k.Keyword.startsWith(text.trimmed(), Qt::CaseInsensitive))
            first = item;
    }
    if (!first && lstKeywords->count() > 0)
        first = lstKeywords->item(0);
    lstKeywords->setCurrentItem(first);
    if (first)
        lstKeywords->scrollToItem(first, QAbstractItemView::PositionAtTop);
}

void TfrmHelp::OpenItem(QListWidgetItem* item) {
    if (!item || !(item->flags() & Qt::ItemIsEnabled))
        return;
    const QString highlight =
        item->listWidget() == lstResults ? item->data(HighlightRole).toString() : QString();
    ShowPage(item->data(FileRole).toString(), highlight);
}

void TfrmHelp::PageChanged(const QUrl& url) {
    const QString page = url.fileName();
    for (int i = 0; i < lstContents->count(); ++i) {
        if (lstContents->item(i)->data(FileRole).toString() == page) {
            lstContents->setCurrentRow(i);
            return;
        }
    }
    lstContents->clearSelection();
}
