#include "shell/FMain.h"

#include <QMdiArea>

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("TK Korvane"));
    m_pMdiArea = new QMdiArea(this);
    setCentralWidget(m_pMdiArea);
    resize(1024, 700);
}
