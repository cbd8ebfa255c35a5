#include "shell/UApplication.h"

#include "shell/UDialogs.h"
#include "shell/UErrors.h"

#include <QAbstractEventDispatcher>
#include <QIcon>

namespace {

bool g_bTerminationRequested = false;

void RequestTermination() {
    g_bTerminationRequested = true;
    // Queued, so that an event loop that has not started yet stops at once
    // as well; quitting leaves every running loop, modal ones included.
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection);
}

QString ApplicationCaption() {
    return QString::fromLatin1(ApplicationTitle);
}

} // namespace

QString ProgramCaption(const QString& caption) {
    const QString title = QString::fromLatin1(ApplicationTitle);
    if (caption.isEmpty())
        return title;
    if (caption.contains(title))
        return caption;
    return caption + QStringLiteral(" - ") + title;
}

void HandleException(std::exception_ptr error) {
    if (!error)
        return;
    try {
        std::rethrow_exception(error);
    } catch (const EFatalError& fatal) {
        Dialogs().MessageBox(TMsgKind::Error, QStringLiteral("Error"),
                             fatal.Message() + QLatin1String(TerminationNotice), mbOK);
        RequestTermination();
    } catch (const EError& failure) {
        Dialogs().MessageBox(TMsgKind::Error, ApplicationCaption(), failure.Message(), mbOK);
    } catch (const std::exception& failure) {
        Dialogs().MessageBox(TMsgKind::Error, ApplicationCaption(),
                             QString::fromLocal8Bit(failure.what()), mbOK);
    } catch (...) {
        Dialogs().MessageBox(TMsgKind::Error, ApplicationCaption(),
                             QStringLiteral("An unknown error occurred."), mbOK);
    }
}

bool TerminationRequested() {
    return g_bTerminationRequested;
}

TKorvaneApplication::TKorvaneApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // No application display name: the captions name the program themselves
    // (ProgramCaption), and on X11 and Wayland Qt would add the display name
    // to every top-level title again ("TK Korvane - [Calls] — TK Korvane").
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/korvane/icons/korvane-%1.png").arg(size));
    setWindowIcon(icon);
    connect(eventDispatcher(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TKorvaneApplication::Idle);
}

TKorvaneApplication::~TKorvaneApplication() = default;

bool TKorvaneApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleException(std::current_exception());
    }
    return false;
}

void TKorvaneApplication::SetIdleHandler(std::function<void()> handler) {
    m_IdleHandler = std::move(handler);
}

void TKorvaneApplication::Idle() {
    // A handler that opens a box starts an event loop of its own, which
    // becomes idle in turn; that inner idleness is not passed on.
    if (!m_IdleHandler || m_bInIdle)
        return;
    m_bInIdle = true;
    try {
        m_IdleHandler();
    } catch (...) {
        HandleException(std::current_exception());
    }
    m_bInIdle = false;
}
