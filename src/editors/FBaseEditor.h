#pragma once

// The common frame of the record editors: a fixed-size modal dialog that edits
// one row of one data-module table in place. Callers choose the mode with
// SetEditMode and call Execute; OK validates and posts, Apply validates, posts
// and goes on editing the same row, and every other way of closing cancels the
// pending insert or edit.
//
// Derived editors set m_sKindName and m_pDataset in their constructors, build
// their controls inside pnlClient, call SetModified(true) from the change
// handler of every data-bound control and override Validate (and
// EditModeChanged where the mode changes what may be edited).
//
// The window is shown through the dialog seam (Dialogs().ExecModal), so tests
// drive it headless: their handler presses btnOk / btnApply / btnCancel or
// calls close() for the close box. When the seam returns while the window has
// not been closed through its own rules (a scripted answer that pressed
// nothing), Execute closes it as the close box would, so the dataset is never
// left editing.

#include "shell/abstract/IRecordEditor.h"

#include <QDialog>
#include <QString>
#include <exception>

class QHBoxLayout;
class QPushButton;
class QWidget;
class TDataSet;

class TfrmBaseEditor : public QDialog, public IRecordEditor {
    Q_OBJECT
public:
    // The outcome of one use of the editor.
    enum TModalResult { mrNone, mrOk, mrCancel };

    explicit TfrmBaseEditor(QWidget* parent = nullptr);

    // true: change the current row; false: add a row. Runs UpdateCaption and
    // EditModeChanged when the mode changes.
    void SetEditMode(bool editMode) override;
    bool EditMode() const { return m_bEditMode; }
    // Unsaved changes exist; btnApply is enabled exactly when they do.
    void SetModified(bool modified);
    bool Modified() const { return m_bModified; }
    TModalResult ModalResult() const { return m_ModalResult; }

    virtual void UpdateCaption();
    // Checks the fields before the row is posted. An override shows its own
    // message, focuses the offending control and returns false.
    virtual bool Validate();
    // Run after SetEditMode has changed the mode.
    virtual void EditModeChanged();
    // Opens the row (edit or insert), shows the window modally and returns
    // true when it was closed with OK. Raises EError, before anything is
    // shown or changed, when the editor has no dataset, the dataset is not
    // browsing, or there is no row to change. False, showing nothing, when
    // the user declines to start a new record (EAbort from the insertion).
    bool Execute() override;

    // Where derived editors put their controls (above the buttons).
    QWidget* pnlClient;
    QPushButton* btnApply;
    QPushButton* btnOk;
    QPushButton* btnCancel;

public Q_SLOTS:
    // The dialog's own accept and reject (Enter on a default button, Escape)
    // follow the rules of OK and of the close box.
    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

    // Where the keyboard starts when the window opens: on OK when changing a
    // record, on `firstField` when adding one.
    void FocusForUse(QWidget* firstField);
    // A failed check of Validate: shows `message` in an error box, puts the
    // keyboard on `control` (when given) and returns false.
    bool Refuse(const char* message, QWidget* control = nullptr);
    // The row of Apply, OK and Cancel at the bottom, for buttons of an
    // editor's own (added before the stretch, they stand at the left).
    QHBoxLayout* ButtonRow() const { return m_pButtonRow; }

    QString m_sKindName;
    bool m_bEditMode = false;
    bool m_bModified = false;
    bool m_bApplied = false;
    TDataSet* m_pDataset = nullptr; // not owned

private:
    // The buttons' handlers; OK and Cancel set the modal result first, as a
    // button with a modal result does, and close when it still allows it.
    void OkPressed();
    void CancelPressed();
    void btnOkClick();
    void btnApplyClick();
    // Closes the window when the modal result allows it, cancelling a pending
    // insert or edit on Cancel. Returns whether the window closed.
    bool CloseQuery();
    void CancelPending();
    // Ends the window after CloseQuery has allowed it.
    void Finish();
    // The key fields of the row are filled in; otherwise says which is not
    // and puts the keyboard there.
    bool KeysFilled();
    // Tells the user, in the program's words, why the row was not written.
    void PostFailed(const std::exception& error);
    // Shows the page of the control bound to the field and focuses it.
    void FocusField(const QString& fieldName);

    QHBoxLayout* m_pButtonRow = nullptr;
    TModalResult m_ModalResult = mrNone;
    bool m_bOpen = false; // between showing and closing in Execute
};
