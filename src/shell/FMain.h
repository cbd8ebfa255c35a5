#pragma once

#include <QMainWindow>

class QMdiArea;

// The program's main window: an MDI parent that holds the list windows.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);

private:
    QMdiArea* m_pMdiArea = nullptr;
};
