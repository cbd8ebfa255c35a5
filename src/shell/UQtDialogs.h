#pragma once

// The dialog seam of the running program: real message boxes, input boxes,
// file dialogs and modal windows, parented to the active window. Each names
// the program once in its caption (ProgramCaption); boxes, input boxes and
// modal windows are at least as wide as that caption (FitCaption).

#include "shell/UDialogs.h"

class TQtDialogs : public IDialogs {
public:
    TMsgButton MessageBox(TMsgKind kind, const QString& caption, const QString& text,
                          TMsgButtons buttons) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    // `filter` uses the toolkit's form: "Zip files (*.zip);;All files (*)".
    QString OpenFileName(const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString SaveFileName(const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString FolderName(const QString& caption, const QString& dir) override;
    int ExecModal(QObject* window, const std::function<int()>& exec) override;
};

// Puts the real dialogs in force for the rest of the run. Call once the
// application object exists.
void InstallQtDialogs();
