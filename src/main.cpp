#include "shell/FMain.h"
#include "shell/UQtDialogs.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TK Korvane"));
    InstallQtDialogs();
    TfrmMain frmMain;
    frmMain.show();
    return QApplication::exec();
}
