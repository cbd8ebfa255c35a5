#include "lists/UListKeys.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>

TListKeys::TListKeys(QAbstractItemView* grid, QLineEdit* search, TCommands commands,
                     QObject* parent)
    : QObject(parent), m_pGrid(grid), m_pSearch(search), m_Commands(std::move(commands)) {
    m_pGrid->installEventFilter(this);
    m_pSearch->installEventFilter(this);
}

bool TListKeys::eventFilter(QObject* watched, QEvent* event) {
    const bool inGrid = watched == m_pGrid;
    if ((!inGrid && watched != m_pSearch) ||
        (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride))
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    std::function<void()> command;
    if (inGrid && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        if (key->key() == Qt::Key_Home)
            command = m_Commands.First;
        else if (key->key() == Qt::Key_End)
            command = m_Commands.Last;
    }
    if (!command && (key->modifiers() & ~Qt::KeypadModifier))
        return QObject::eventFilter(watched, event);

    switch (command ? 0 : key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        command = m_Commands.Open;
        break;
    case Qt::Key_Delete:
        if (inGrid)
            command = m_Commands.Delete;
        break;
    case Qt::Key_F3:
        command = m_Commands.FindNext;
        break;
    case Qt::Key_Escape:
        if (!m_pSearch->text().isEmpty())
            command = m_Commands.ClearSearch;
        break;
    default:
        break;
    }
    if (!command)
        return QObject::eventFilter(watched, event);
    // Claimed before any shortcut of the main window can take the key.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    command();
    return true;
}
