#pragma once

// The seam through which every message box, question, input box, file or
// folder dialog and modal window of the program is shown. The widgets library
// installs the implementation with real dialogs at start-up; tests install a
// scripted one that records what would have been shown and answers it.

#include <QString>
#include <functional>

class QObject;

enum class TMsgKind { Error, Information, Warning, Confirmation };

enum TMsgButton : int {
    mbNone = 0,
    mbOK = 0x01,
    mbCancel = 0x02,
    mbYes = 0x04,
    mbNo = 0x08,
    mbAbort = 0x10,
    mbRetry = 0x20,
    mbIgnore = 0x40,
};
using TMsgButtons = int; // a set of TMsgButton values

class IDialogs {
public:
    virtual ~IDialogs() = default;

    // A message box or question with the given buttons; returns the button
    // chosen (mbCancel, or mbNo when there is no Cancel, when it is closed).
    virtual TMsgButton MessageBox(TMsgKind kind, const QString& caption, const QString& text,
                                  TMsgButtons buttons) = 0;

    // An input box. `value` holds the initial text and receives the answer;
    // returns false when the user cancels.
    virtual bool InputQuery(const QString& caption, const QString& prompt, QString& value) = 0;

    // File and folder dialogs; an empty result means cancelled.
    virtual QString OpenFileName(const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    virtual QString SaveFileName(const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    virtual QString FolderName(const QString& caption, const QString& dir) = 0;

    // A modal window. `window` is the window about to be shown (a QDialog in
    // practice) and `exec` shows it modally and returns its result code.
    virtual int ExecModal(QObject* window, const std::function<int()>& exec) = 0;
};

// The seam in force. Without an installed implementation boxes are written to
// stderr and answered as if closed (so headless tools never hang).
IDialogs& Dialogs();

// Installs `dialogs` (not owned; nullptr restores the fallback) and returns
// the one that was in force before.
IDialogs* SetDialogs(IDialogs* dialogs);
