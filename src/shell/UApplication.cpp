#include "shell/UApplication.h"

#include "shell/UDialogs.h"
#include "shell/UErrors.h"

#include <QAbstractEventDispatcher>
#include <QBoxLayout>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QIcon>
#include <QSpacerItem>
#include <QWidget>
#include <algorithm>

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

// The empty item that holds a window's width for its caption (FitCaption).
class TCaptionStrut : public QSpacerItem {
public:
    explicit TCaptionStrut(int captionWidth)
        : QSpacerItem(captionWidth, 0, QSizePolicy::Fixed, QSizePolicy::Minimum) {}
};

TCaptionStrut* FindStrut(QLayout* layout) {
    for (int i = 0; i < layout->count(); ++i) {
        if (auto* strut = dynamic_cast<TCaptionStrut*>(layout->itemAt(i)))
            return strut;
    }
    return nullptr;
}

// Adds `strut` below everything else in `layout`; false for a layout that
// has no row of its own for it (a row of side-by-side items).
bool AddStrut(QLayout* layout, TCaptionStrut* strut) {
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        grid->addItem(strut, grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
        return true;
    }
    if (auto* box = qobject_cast<QBoxLayout*>(layout)) {
        if (box->direction() != QBoxLayout::TopToBottom &&
            box->direction() != QBoxLayout::BottomToTop)
            return false;
        box->addItem(strut);
        return true;
    }
    if (auto* form = qobject_cast<QFormLayout*>(layout)) {
        form->addItem(strut);
        return true;
    }
    return false;
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

int CaptionWidth(const QString& caption) {
    // The window's icon and its minimise, maximise and close buttons.
    constexpr int Decoration = 120;
    int text = 0;
    for (QFont font : {QApplication::font("QMdiSubWindowTitleBar"), QApplication::font()}) {
        font.setBold(true);
        text = std::max(text, QFontMetrics(font).horizontalAdvance(caption));
    }
    return text + Decoration;
}

void FitCaption(QWidget* window) {
    if (!window)
        return;
    const int width = CaptionWidth(ProgramCaption(window->windowTitle()));
    // Some dialogs (QInputDialog) build their layout only when they are first
    // measured or shown.
    if (!window->layout())
        window->minimumSizeHint();
    QLayout* layout = window->layout();
    if (!layout) {
        window->setMinimumWidth(std::max(window->minimumWidth(), width));
        return;
    }
    const QMargins margins = layout->contentsMargins();
    const int inner = std::max(0, width - margins.left() - margins.right());
    if (TCaptionStrut* strut = FindStrut(layout)) {
        strut->changeSize(inner, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
        layout->invalidate();
        return;
    }
    auto* strut = new TCaptionStrut(inner);
    if (!AddStrut(layout, strut)) {
        delete strut;
        window->setMinimumWidth(std::max(window->minimumSizeHint().width(), width));
    }
}

QIcon ProgramIcon(const QString& name) {
    QIcon icon;
    for (int size : {16, 24, 32})
        icon.addFile(QStringLiteral(":/korvane/icons/%1-%2.png").arg(name).arg(size));
    return icon;
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
    } catch (const EAbort&) {
        // The user's own choice: nothing to report.
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
