#include "shell/UQtDialogs.h"

#include "shell/UApplication.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>

namespace {

struct TButtonPair {
    TMsgButton Button;
    QMessageBox::StandardButton Standard;
};

const TButtonPair ButtonPairs[] = {
    {mbOK, QMessageBox::Ok},         {mbCancel, QMessageBox::Cancel}, {mbYes, QMessageBox::Yes},
    {mbNo, QMessageBox::No},         {mbAbort, QMessageBox::Abort},   {mbRetry, QMessageBox::Retry},
    {mbIgnore, QMessageBox::Ignore},
};

QMessageBox::Icon IconOf(TMsgKind kind) {
    switch (kind) {
    case TMsgKind::Error:
        return QMessageBox::Critical;
    case TMsgKind::Warning:
        return QMessageBox::Warning;
    case TMsgKind::Confirmation:
        return QMessageBox::Question;
    case TMsgKind::Information:
        break;
    }
    return QMessageBox::Information;
}

QWidget* Parent() {
    return QApplication::activeWindow();
}

} // namespace

TMsgButton TQtDialogs::MessageBox(TMsgKind kind, const QString& caption, const QString& text,
                                  TMsgButtons buttons) {
    if (buttons == mbNone)
        buttons = mbOK;
    QMessageBox::StandardButtons standard;
    for (const TButtonPair& pair : ButtonPairs) {
        if (buttons & pair.Button)
            standard |= pair.Standard;
    }
    // Messages are plain text written with "\r\n" breaks.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(IconOf(kind), ProgramCaption(caption), shown, standard, Parent());
    box.setTextFormat(Qt::PlainText);
    FitCaption(&box);
    box.exec();

    const QMessageBox::StandardButton chosen = box.standardButton(box.clickedButton());
    for (const TButtonPair& pair : ButtonPairs) {
        if (pair.Standard == chosen && (buttons & pair.Button))
            return pair.Button;
    }
    // Closed without a choice.
    if (buttons & mbCancel)
        return mbCancel;
    if (buttons & mbNo)
        return mbNo;
    return mbOK;
}

bool TQtDialogs::InputQuery(const QString& caption, const QString& prompt, QString& value) {
    QInputDialog dialog(Parent());
    dialog.setWindowTitle(ProgramCaption(caption));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    FitCaption(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.textValue();
    return true;
}

QString TQtDialogs::OpenFileName(const QString& caption, const QString& dir,
                                 const QString& filter) {
    return QFileDialog::getOpenFileName(Parent(), ProgramCaption(caption), dir, filter);
}

QString TQtDialogs::SaveFileName(const QString& caption, const QString& dir,
                                 const QString& filter) {
    // The program's save dialogs replace an existing file without asking:
    // the export writes over a file chosen again on purpose.
    return QFileDialog::getSaveFileName(Parent(), ProgramCaption(caption), dir, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString TQtDialogs::FolderName(const QString& caption, const QString& dir) {
    return QFileDialog::getExistingDirectory(Parent(), ProgramCaption(caption), dir);
}

int TQtDialogs::ExecModal(QObject* window, const std::function<int()>& exec) {
    // The window names the program while it is shown; its own title is put
    // back afterwards (unless it set another meanwhile), so the window's code
    // keeps seeing the title it set.
    QPointer<QWidget> widget = qobject_cast<QWidget*>(window);
    if (!widget || !widget->isWindow())
        return exec();
    const QString title = widget->windowTitle();
    const QString shown = ProgramCaption(title);
    widget->setWindowTitle(shown);
    FitCaption(widget);
    const int result = exec();
    if (widget && widget->windowTitle() == shown)
        widget->setWindowTitle(title);
    return result;
}

void InstallQtDialogs() {
    static TQtDialogs s_Dialogs;
    SetDialogs(&s_Dialogs);
}
