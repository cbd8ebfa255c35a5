#include "lists/UListMenus.h"

#include "lists/FDataList.h"

#include <QAction>
#include <QMenu>
#include <QTableView>

// ---------------------------------------------------------------------------
// Commands

TListCommand::TListCommand(const QString& name, std::function<bool()> enabled,
                           std::function<void()> run, QObject* parent)
    : QObject(parent), m_Enabled(std::move(enabled)), m_Run(std::move(run)) {
    setObjectName(name);
}

QAction* TListCommand::MakeAction(const QString& text, QObject* parent) {
    auto* action = new QAction(text, parent);
    action->setObjectName(objectName());
    connect(action, &QAction::triggered, this, [this] { Execute(); });
    m_Actions << action;
    connect(action, &QObject::destroyed, this, [this, action] { m_Actions.removeAll(action); });
    return action;
}

bool TListCommand::IsEnabled() const {
    return !m_Enabled || m_Enabled();
}

void TListCommand::Update() {
    const bool enabled = IsEnabled();
    for (QAction* action : std::as_const(m_Actions))
        action->setEnabled(enabled);
}

bool TListCommand::Execute() {
    if (!IsEnabled())
        return false;
    m_Run();
    return true;
}

// ---------------------------------------------------------------------------
// Menus

TListMenus::TListMenus(TfrmDataList* list) : QObject(list), m_pList(list) {
    m_pPopup = new QMenu(list);
    m_pPopup->setObjectName(QStringLiteral("mnuPopup"));
    connect(m_pPopup, &QMenu::aboutToShow, this, &TListMenus::UpdateStates);
    QTableView* grid = list->dbcGrid;
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this, grid](const QPoint& at) { m_pPopup->popup(grid->viewport()->mapToGlobal(at)); });
}

TListCommand* TListMenus::AddCommand(const QString& name, std::function<bool()> enabled,
                                     std::function<void()> run) {
    auto* command = new TListCommand(name, std::move(enabled), std::move(run), this);
    m_Commands << command;
    return command;
}

TListCommand* TListMenus::Command(const QString& name) const {
    for (TListCommand* command : m_Commands) {
        if (command->objectName() == name)
            return command;
    }
    return nullptr;
}

void TListMenus::AddRecordEntries(const QString& newName, bool withSelect, bool alwaysEnabled) {
    TfrmDataList* list = m_pList;
    const auto whenRecord = [list, alwaysEnabled](bool (TfrmDataList::*check)()) {
        return [list, alwaysEnabled, check] { return alwaysEnabled || (list->*check)(); };
    };
    const bool picker = list->PopupMode();
    if (withSelect) {
        QAction* select = AddEntry(
            m_pPopup, AddCommand(QStringLiteral("miSelect"), {}, [list] { list->accept(); }),
            QStringLiteral("Select"));
        select->setVisible(picker);
        if (picker)
            SetDefault(select);
        m_pPopup->addSeparator();
    }
    AddEntry(m_pPopup, AddCommand(newName, {}, [list] { list->AppendRecord(); }),
             QStringLiteral("New"));
    QAction* edit =
        AddEntry(m_pPopup,
                 AddCommand(QStringLiteral("actEdit"), whenRecord(&TfrmDataList::CanEdit),
                            [list] { list->EditCurrentRecord(); }),
                 QStringLiteral("Edit"));
    if (!picker)
        SetDefault(edit);
    AddEntry(m_pPopup,
             AddCommand(QStringLiteral("actDelete"), whenRecord(&TfrmDataList::CanDelete),
                        [list] { list->DeleteCurrentRecord(); }),
             QStringLiteral("Delete"));
}

QAction* TListMenus::AddEntry(QMenu* menu, TListCommand* command, const QString& text) {
    QAction* action = command->MakeAction(text, menu);
    menu->addAction(action);
    return action;
}

QMenu* TListMenus::AddSubMenu(QMenu* menu, const QString& name, const QString& title) {
    auto* sub = new QMenu(title, menu);
    sub->setObjectName(name);
    menu->addMenu(sub);
    return sub;
}

void TListMenus::AddHiddenEntry(const QString& text) {
    m_pPopup->addAction(text)->setVisible(false);
}

QAction* TListMenus::DefaultAction() const {
    return m_pPopup->defaultAction();
}

void TListMenus::SetDefault(QAction* action) {
    m_pPopup->setDefaultAction(action);
    QFont bold = action->font();
    bold.setBold(true);
    action->setFont(bold);
}

QMenu* TListMenus::WindowMenu(const QString& name, const QString& title) {
    if (!m_pWindowMenu) {
        m_pWindowMenu = new QMenu(title, m_pList);
        m_pWindowMenu->setObjectName(name);
        connect(m_pWindowMenu, &QMenu::aboutToShow, this, &TListMenus::UpdateStates);
    }
    return m_pWindowMenu;
}

void TListMenus::UpdateStates() {
    for (TListCommand* command : std::as_const(m_Commands))
        command->Update();
}
