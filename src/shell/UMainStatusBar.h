#pragma once

// The main window's status bar. From the left: the Caps Lock and Num Lock
// panels, the progress panel with the Cancel button beside it (both for long
// exports and imports), a short panel that cuts its text with an ellipsis
// (the current list's record count), and the text panel. The text panel
// shows the status text, or a command's hint while the pointer rests on that
// command.

#include <QStatusBar>

class QLabel;
class QProgressBar;
class QPushButton;

class TMainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    // `window` is the main window; the panels are as high as its text.
    explicit TMainStatusBar(QWidget* window);

    void SetStatusText(const QString& text);
    const QString& StatusText() const { return m_sStatusText; }
    // Shows a command's hint in the text panel; an empty hint gives the panel
    // back to the status text.
    void ShowTip(const QString& tip);
    // What the current list says: its record count ("1,234 calls") in the
    // ellipsis panel, which grows to show it whole, and its note (a search
    // that found nothing) as the status text while the note lasts.
    void ShowListState(const QString& countText, const QString& note);
    QString CountText() const;

    QProgressBar* ProgressPanel() const { return m_pProgressPanel; }
    // Hidden until a long task offers to be cancelled.
    QPushButton* CancelButton() const { return m_pCancelButton; }

private:
    // Shows the state of the keyboard's lock lights.
    void UpdateLockPanels();

    QLabel* m_pCapsPanel = nullptr;
    QLabel* m_pNumPanel = nullptr;
    QProgressBar* m_pProgressPanel = nullptr;
    QPushButton* m_pCancelButton = nullptr;
    QLabel* m_pEllipsisPanel = nullptr;
    QLabel* m_pTextPanel = nullptr;
    QString m_sStatusText;
    QString m_sListNote;
    // The brightness files of the lock lights ("/sys/class/leds/input3::capslock/...").
    QStringList m_CapsLockLeds;
    QStringList m_NumLockLeds;
};
