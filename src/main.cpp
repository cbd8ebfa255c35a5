#include "shell/FMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TK Korvane"));
    TfrmMain frmMain;
    frmMain.show();
    return QApplication::exec();
}
