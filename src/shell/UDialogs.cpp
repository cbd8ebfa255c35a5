#include "shell/UDialogs.h"

#include <cstdio>

namespace {

// Used while no implementation is installed: reports on stderr and answers
// every box as if it had been closed.
class TFallbackDialogs : public IDialogs {
public:
    TMsgButton MessageBox(TMsgKind, const QString& caption, const QString& text,
                          TMsgButtons buttons) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
        if (buttons & mbCancel)
            return mbCancel;
        if (buttons & mbNo)
            return mbNo;
        return mbOK;
    }
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
    QString OpenFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString FolderName(const QString&, const QString&) override { return {}; }
    int ExecModal(QObject*, const std::function<int()>&) override { return 0; }
};

TFallbackDialogs g_FallbackDialogs;
IDialogs* g_pDialogs = nullptr;

} // namespace

IDialogs& Dialogs() {
    return g_pDialogs ? *g_pDialogs : g_FallbackDialogs;
}

IDialogs* SetDialogs(IDialogs* dialogs) {
    IDialogs* previous = g_pDialogs;
    g_pDialogs = dialogs;
    return previous;
}
