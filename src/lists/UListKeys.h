#pragma once

// The keyboard of a list window: Enter opens the current row (picks it in a
// picker), Delete deletes it, F3 finds the next row that matches the search
// text and Escape empties the search box; in the grid Ctrl+Home and Ctrl+End
// go to the first and the last row of the whole list (the grid alone knows
// only the rows read so far). Enter, F3 and Escape work in the
// grid and in the search box, Delete only in the grid (in the search box it
// deletes text). An Escape with an empty search box is left to the window
// (a picker closes).

#include <QObject>
#include <functional>

class QAbstractItemView;
class QLineEdit;

class TListKeys : public QObject {
    Q_OBJECT
public:
    struct TCommands {
        std::function<void()> Open;
        std::function<void()> Delete;
        std::function<void()> FindNext;
        std::function<void()> ClearSearch;
        std::function<void()> First;
        std::function<void()> Last;
    };

    TListKeys(QAbstractItemView* grid, QLineEdit* search, TCommands commands, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView* m_pGrid;
    QLineEdit* m_pSearch;
    TCommands m_Commands;
};
