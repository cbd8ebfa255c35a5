#pragma once

// The line an empty list shows in the middle of its grid ("No customers yet.
// Press New Customer to add one."): a label over the grid's rows that keeps
// itself centred as the grid is resized, and shows only while asked to.

#include <QLabel>

class QAbstractItemView;

class TListGreeting : public QLabel {
    Q_OBJECT
public:
    explicit TListGreeting(QAbstractItemView* grid);

    // Shows `text` over the grid, or hides the label for an empty text.
    void ShowText(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Centre();

    QWidget* m_pViewport;
};
