#pragma once

// "Send SMS": the window in which a text message to customers is written.
// The program has no way of sending one: Send only closes the window, and
// what was written is discarded with it.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class TdmlGlobals;

class TfrmSMS : public QDialog {
    Q_OBJECT
public:
    // `dataModule` (not owned, may be null) serves the recipients window.
    explicit TfrmSMS(QWidget* owner, TdmlGlobals* dataModule);

    // The counter's text for `message`: every line of it counts with a
    // two-character line break after it (an empty message has no lines);
    // a message goes in parts of 160 characters, and the counter shows what
    // is left of the current part and its number: "Message: 155(1)".
    static QString CounterText(const QString& message);

    QPushButton* btnTo;
    QPlainTextEdit* memRecipients;
    QPlainTextEdit* memMessage;
    QLabel* lblCounter;
    QPushButton* btnSend;
    QPushButton* btnCancel;

private:
    // The recipients window, shown modally; nothing chosen there is copied.
    void btnToClick();

    TdmlGlobals* m_pDataModule;
};
