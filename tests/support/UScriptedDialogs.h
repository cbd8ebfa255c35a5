#pragma once

// A dialog seam for tests: it records every box and dialog the code under
// test asks for and answers them, in order, from a script that the test fills
// in beforehand (TDialogsInstaller puts it in force).
//
// A request that the next scripted answer does not fit (none left, an answer
// of another kind, or a button the box does not offer) never blocks: it is
// recorded as unexpected, leaves the script as it is, and is answered as if
// the user had cancelled.

#include "shell/UDialogs.h"

#include <QList>
#include <QPointer>
#include <deque>

enum class TDialogKind { MessageBox, InputQuery, OpenFile, SaveFile, Folder, Modal };

// One request as the code under test made it.
struct TDialogRequest {
    TDialogKind Kind = TDialogKind::MessageBox;
    TMsgKind MsgKind = TMsgKind::Information; // message boxes only
    QString Caption{};
    QString Text{};               // the message, or the prompt of an input box
    TMsgButtons Buttons = mbNone; // message boxes only
    QString Value{};              // initial text of an input box, folder of a file dialog
    QString Filter{};             // file dialogs only
    QPointer<QObject> Window{};   // modal windows only; null once destroyed
    QString WindowClass{};        // class name of a modal window
    bool Expected = true;         // false when the script had no answer for it
};

class TScriptedDialogs : public IDialogs {
public:
    // Script: each call queues one answer for the next request.
    void AnswerButton(TMsgButton button) { m_Script.push_back({TAnswerKind::Button, button}); }
    void AnswerInput(bool ok, const QString& value = {}) {
        m_Script.push_back({.Kind = TAnswerKind::Input, .Ok = ok, .Text = value});
    }
    // Answers an open, save or folder dialog; an empty name means cancelled.
    void AnswerFile(const QString& fileName) {
        m_Script.push_back({.Kind = TAnswerKind::File, .Text = fileName});
    }
    // Answers a modal window: `handler` may work on the window (fill in its
    // fields, press its buttons) and returns the result code of the window.
    void AnswerModal(std::function<int(QObject*)> handler) {
        m_Script.push_back({.Kind = TAnswerKind::Modal, .Handler = std::move(handler)});
    }
    void AnswerModal(int result) {
        AnswerModal([result](QObject*) { return result; });
    }

    const QList<TDialogRequest>& Requests() const { return m_Requests; }
    int UnexpectedCount() const;
    // Answers scripted but not yet used.
    int PendingAnswers() const { return static_cast<int>(m_Script.size()); }
    // Forgets requests and the unused script.
    void Clear() {
        m_Requests.clear();
        m_Script.clear();
    }

    TMsgButton MessageBox(TMsgKind kind, const QString& caption, const QString& text,
                          TMsgButtons buttons) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
    QString OpenFileName(const QString& caption, const QString& dir,
                         const QString& filter) override {
        return FileDialog(TDialogKind::OpenFile, caption, dir, filter);
    }
    QString SaveFileName(const QString& caption, const QString& dir,
                         const QString& filter) override {
        return FileDialog(TDialogKind::SaveFile, caption, dir, filter);
    }
    QString FolderName(const QString& caption, const QString& dir) override {
        return FileDialog(TDialogKind::Folder, caption, dir, {});
    }
    int ExecModal(QObject* window, const std::function<int()>& exec) override;

private:
    enum class TAnswerKind { Button, Input, File, Modal };
    struct TAnswer {
        TAnswerKind Kind;
        TMsgButton Button = mbNone;
        bool Ok = false;
        QString Text{};
        std::function<int(QObject*)> Handler{};
    };

    // Records `request`; takes the next answer when it is of kind `kind`.
    bool Take(TDialogRequest request, TAnswerKind kind, TAnswer& answer);
    QString FileDialog(TDialogKind kind, const QString& caption, const QString& dir,
                       const QString& filter);

    QList<TDialogRequest> m_Requests;
    std::deque<TAnswer> m_Script;
};

// Puts a dialog seam in force for the lifetime of the object and brings back
// the one that was in force before.
class TDialogsInstaller {
public:
    explicit TDialogsInstaller(IDialogs& dialogs) : m_pPrevious(SetDialogs(&dialogs)) {}
    ~TDialogsInstaller() { SetDialogs(m_pPrevious); }
    TDialogsInstaller(const TDialogsInstaller&) = delete;
    TDialogsInstaller& operator=(const TDialogsInstaller&) = delete;

private:
    IDialogs* m_pPrevious;
};
