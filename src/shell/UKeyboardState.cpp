#include "shell/UKeyboardState.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>

namespace {

int g_iShortcutDepth = 0;
std::function<Qt::KeyboardModifiers()> g_ReadModifiers;

Qt::KeyboardModifiers HeldModifiers() {
    if (g_ReadModifiers)
        return g_ReadModifiers();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return Qt::NoModifier;
    return QGuiApplication::queryKeyboardModifiers();
}

// Lets a shortcut's command run inside a count, so that it can tell it was
// started from the keyboard.
class TShortcutWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Shortcut)
            return false;
        struct TDepth {
            TDepth() { ++g_iShortcutDepth; }
            ~TDepth() { --g_iShortcutDepth; }
        } depth;
        // The target handles the shortcut here, inside the count.
        static_cast<QObject*>(watched)->event(event);
        return true;
    }
};

TShortcutWatcher* g_pWatcher = nullptr; // owned by the application

} // namespace

namespace UKeyboardState {

void WatchShortcuts() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || g_pWatcher)
        return;
    g_pWatcher = new TShortcutWatcher(app);
    QObject::connect(g_pWatcher, &QObject::destroyed, [] { g_pWatcher = nullptr; });
    app->installEventFilter(g_pWatcher);
}

bool InShortcut() {
    return g_iShortcutDepth > 0;
}

bool CtrlHeldForCommand() {
    return !InShortcut() && HeldModifiers().testFlag(Qt::ControlModifier);
}

void SetModifierReader(std::function<Qt::KeyboardModifiers()> reader) {
    g_ReadModifiers = std::move(reader);
}

} // namespace UKeyboardState
