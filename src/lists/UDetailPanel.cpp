#include "lists/UDetailPanel.h"

#include "lists/FDataList.h"
#include "shell/USettings.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString SettingsKey = QStringLiteral("GUI");
// Height of the pages when the panel first opens.
constexpr int FirstOpenHeight = 210;

} // namespace

TDetailPanel::TDetailPanel(TfrmDataList* list, const QString& name) : QWidget(list) {
    setObjectName(name);
    tabDetails = new QTabBar(this);
    tabDetails->setObjectName(QStringLiteral("tabDetails"));
    tabDetails->setShape(QTabBar::RoundedSouth);
    tabDetails->setDrawBase(false);
    tabDetails->setExpanding(false);
    btnToggle = new QToolButton(this);
    btnToggle->setObjectName(QStringLiteral("btnToggle"));
    btnToggle->setAutoRaise(true);
    btnToggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    pgsDetails = new QStackedWidget(this);
    pgsDetails->setObjectName(QStringLiteral("pgsDetails"));
    pgsDetails->setFrameShape(QFrame::StyledPanel);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(2, 0, 2, 0);
    bar->addWidget(tabDetails);
    bar->addStretch(1);
    bar->addWidget(btnToggle);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pgsDetails, 1);
    layout->addLayout(bar);

    // The grid and the panel share the list's place, a splitter between them.
    m_pSplitter = new QSplitter(Qt::Vertical, list);
    m_pSplitter->setObjectName(QStringLiteral("splDetails"));
    m_pSplitter->setChildrenCollapsible(false);
    delete list->layout()->replaceWidget(list->dbcGrid, m_pSplitter);
    m_pSplitter->addWidget(list->dbcGrid);
    m_pSplitter->addWidget(this);
    m_pSplitter->setStretchFactor(0, 1);
    m_pSplitter->setStretchFactor(1, 0);
    m_pSplitter->installEventFilter(this);
    connect(m_pSplitter, &QSplitter::splitterMoved, this, [this] { m_bUserSized = true; });

    connect(tabDetails, &QTabBar::currentChanged, pgsDetails, &QStackedWidget::setCurrentIndex);
    connect(tabDetails, &QTabBar::tabBarClicked, this, [this] { SetOpen(true); });
    connect(btnToggle, &QToolButton::clicked, this, [this] { SetOpen(!m_bOpen); });

    m_nOpenHeight = FirstOpenHeight;
    RestoreState();
    ShowState();
}

TDetailPanel::~TDetailPanel() {
    SaveState();
}

void TDetailPanel::AddTab(const QString& caption, QWidget* page) {
    pgsDetails->addWidget(page);
    tabDetails->addTab(caption);
    tabDetails->setMinimumHeight(tabDetails->sizeHint().height());
}

bool TDetailPanel::eventFilter(QObject* watched, QEvent* event) {
    // Until the user drags the splitter, the open panel keeps its height as
    // the window is laid out and resized; the grid takes the rest.
    if (watched == m_pSplitter && event->type() == QEvent::Resize && m_bOpen && !m_bUserSized)
        ShowState();
    return QWidget::eventFilter(watched, event);
}

int TDetailPanel::CurrentTab() const {
    return tabDetails->currentIndex();
}

void TDetailPanel::SetCurrentTab(int index) {
    tabDetails->setCurrentIndex(index);
}

void TDetailPanel::SetOpen(bool open) {
    if (open == m_bOpen)
        return;
    if (!open && pgsDetails->isVisible() && height() > 0)
        m_nOpenHeight = height();
    m_bOpen = open;
    ShowState();
}

void TDetailPanel::ShowState() {
    pgsDetails->setVisible(m_bOpen);
    btnToggle->setArrowType(m_bOpen ? Qt::DownArrow : Qt::UpArrow);
    btnToggle->setText(m_bOpen ? QStringLiteral("Hide details") : QStringLiteral("Show details"));
    btnToggle->setToolTip(m_bOpen ? QStringLiteral("Slide the details panel shut")
                                  : QStringLiteral("Slide the details panel open"));
    if (m_bOpen) {
        setMaximumHeight(QWIDGETSIZE_MAX);
        const int total = m_pSplitter->height();
        const int panel = std::min(m_nOpenHeight, std::max(total / 2, 0));
        if (total > 0)
            m_pSplitter->setSizes({total - panel, panel});
        else
            m_pSplitter->setSizes({3 * m_nOpenHeight, m_nOpenHeight});
    } else {
        // Only the row of tabs stays; the grid takes the rest.
        const int bar = sizeHint().height();
        setMaximumHeight(bar);
        if (const int total = m_pSplitter->height(); total > bar)
            m_pSplitter->setSizes({total - bar, bar});
    }
}

void TDetailPanel::RestoreState() {
    try {
        OpenSettingsStore();
        const QString value = LoadParameter(objectName(), SettingsKey, false, false);
        CloseSettingsStore();
        if (!value.isEmpty())
            m_bOpen = value != QLatin1String("0");
    } catch (...) {
        // Nothing kept yet (or the store cannot be read): open.
        CloseSettingsStore();
    }
}

void TDetailPanel::SaveState() const {
    try {
        OpenSettingsStore();
        SaveParameter(objectName(), m_bOpen ? QStringLiteral("1") : QStringLiteral("0"),
                      SettingsKey, false, false);
    } catch (...) {
        // A store that cannot be written loses the state, nothing else.
    }
    try {
        CloseSettingsStore();
    } catch (...) {
    }
}
