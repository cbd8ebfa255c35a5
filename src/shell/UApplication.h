#pragma once

// The application object: the program's title and the captions that name
// it, the handler that every exception escaping an event handler ends up in,
// and the idle hook.

#include <QApplication>
#include <QIcon>
#include <exception>
#include <functional>

// The title of the program, shown in window titles and boxes.
inline constexpr char ApplicationTitle[] = "TK Korvane";

// The program names itself in its captions: the main window reads
// "TK Korvane" or "TK Korvane - [Calls]", and every box, dialog and modal
// window the real dialogs show (UQtDialogs) carries ProgramCaption of its
// caption. No application display name is given to Qt, whose platform
// plugins would add it to the end of every top-level title a second time.

// `caption` naming the program once: as it is when it already names the
// program, the program's title when it is empty, otherwise followed by
// " - " and the program's title ("Confirm - TK Korvane").
QString ProgramCaption(const QString& caption);

// The width a top-level window needs to show `caption` whole in its title
// bar: the text in the title-bar font (bold, as most window managers draw
// it) and room for the window's icon and buttons.
int CaptionWidth(const QString& caption);

// Makes the dialog `window` at least CaptionWidth(ProgramCaption(its title))
// wide. The width is held by an empty item at the end of its layout, so a
// layout that fixes the window's size or a box that sizes itself (a
// QMessageBox) keeps it; call it again after the title changes.
void FitCaption(QWidget* window);

// The program's picture `name` (resources/icons/NAME-16.png, -24 and -32),
// as the commands and the navigation tree show it.
QIcon ProgramIcon(const QString& name);

// Added to the message of an EFatalError before the program ends.
inline constexpr char TerminationNotice[] = "\r\n\r\nThe Application will now terminate!";

// Shows the exception `error` through the dialog seam. An EFatalError (or a
// class derived from it) is shown in an error box with TerminationNotice
// appended, and the application is asked to quit (also when its event loop
// only starts later); anything else is shown in the error box of the
// application and the program goes on.
void HandleException(std::exception_ptr error);

// True once HandleException has asked the application to quit.
bool TerminationRequested();

class TKorvaneApplication : public QApplication {
    Q_OBJECT
public:
    TKorvaneApplication(int& argc, char** argv);
    ~TKorvaneApplication() override;

    // Exceptions that escape an event handler go to HandleException; the
    // event then counts as not handled.
    bool notify(QObject* receiver, QEvent* event) override;

    // `handler` runs every time the application becomes idle (the event loop
    // is about to wait for new events). It must be cheap. An exception from it
    // goes to HandleException. An empty handler switches the hook off.
    void SetIdleHandler(std::function<void()> handler);

private:
    void Idle();

    std::function<void()> m_IdleHandler;
    bool m_bInIdle = false;
};
