#pragma once

// The common frame of the backup and restore dialogs: a path box with a
// browse button, a group with the "Current Table" and "Overall" progress
// bars, and two buttons, the first the default one and the second "Close".
// While the work runs every control is disabled; the dialog stays open
// afterwards, also when the work failed (the error then goes on to the
// application's error display).

#include <QDialog>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;
class TdmlGlobals;

class TArchiveDialog : public QDialog {
    Q_OBJECT
public:
    QLineEdit* edtPath;
    QToolButton* btnBrowse;
    QGroupBox* grpProgress;
    QProgressBar* prgCurrent;
    QProgressBar* prgOverall;
    QPushButton* btnStart; // "Backup" or "Restore"
    QPushButton* btnClose;
    QLabel* lblResult; // what the last run did

protected:
    // `defaultPath` is put into the path box each time the dialog is shown.
    TArchiveDialog(QWidget* parent, TdmlGlobals* dataModule, const QString& defaultPath,
                   const QString& caption, const QString& pathLabel, const QString& groupTitle,
                   const QString& startCaption);

    // Runs `work` with the controls disabled and both bars reset, enabling
    // them again however it ends.
    void RunDisabled(const std::function<void()>& work);

    void showEvent(QShowEvent* event) override;

    TdmlGlobals* m_pDataModule; // not owned
    QString m_sDefaultPath;
};
