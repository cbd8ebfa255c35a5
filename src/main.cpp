#include <QApplication>

#include "shell/FMain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TK Korvane"));
    TfrmMain frmMain;
    frmMain.show();
    return QApplication::exec();
}
