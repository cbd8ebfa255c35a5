#include "support/UScriptedDialogs.h"

#include <QObject>
#include <QVariant>
#include <algorithm>

int TScriptedDialogs::UnexpectedCount() const {
    return static_cast<int>(std::count_if(m_Requests.cbegin(), m_Requests.cend(),
                                          [](const TDialogRequest& r) { return !r.Expected; }));
}

bool TScriptedDialogs::Take(TDialogRequest request, TAnswerKind kind, TAnswer& answer) {
    bool fits = !m_Script.empty() && m_Script.front().Kind == kind;
    if (fits && kind == TAnswerKind::Button) {
        const TMsgButtons offered = request.Buttons == mbNone ? mbOK : request.Buttons;
        fits = (offered & m_Script.front().Button) != 0;
    }
    request.Expected = fits;
    m_Requests.append(request);
    if (!fits)
        return false;
    answer = std::move(m_Script.front());
    m_Script.pop_front();
    return true;
}

TMsgButton TScriptedDialogs::MessageBox(TMsgKind kind, const QString& caption, const QString& text,
                                        TMsgButtons buttons) {
    TAnswer answer;
    if (Take({.Kind = TDialogKind::MessageBox,
              .MsgKind = kind,
              .Caption = caption,
              .Text = text,
              .Buttons = buttons},
             TAnswerKind::Button, answer))
        return answer.Button;
    // A box closed without choosing answers Cancel, else No, else OK.
    if (buttons & mbCancel)
        return mbCancel;
    return (buttons & mbNo) ? mbNo : mbOK;
}

bool TScriptedDialogs::InputQuery(const QString& caption, const QString& prompt, QString& value) {
    TAnswer answer;
    if (!Take({.Kind = TDialogKind::InputQuery, .Caption = caption, .Text = prompt, .Value = value},
              TAnswerKind::Input, answer) ||
        !answer.Ok)
        return false;
    value = answer.Text;
    return true;
}

QString TScriptedDialogs::FileDialog(TDialogKind kind, const QString& caption, const QString& dir,
                                     const QString& filter) {
    TAnswer answer;
    return Take({.Kind = kind, .Caption = caption, .Value = dir, .Filter = filter},
                TAnswerKind::File, answer)
               ? answer.Text
               : QString();
}

int TScriptedDialogs::ExecModal(QObject* window, const std::function<int()>&) {
    TDialogRequest request{.Kind = TDialogKind::Modal, .Window = window};
    if (window) {
        request.WindowClass = QString::fromLatin1(window->metaObject()->className());
        request.Caption = window->property("windowTitle").toString();
    }
    TAnswer answer;
    // 0 is the result code of a rejected dialog.
    if (!Take(request, TAnswerKind::Modal, answer) || !answer.Handler)
        return 0;
    return answer.Handler(window);
}
