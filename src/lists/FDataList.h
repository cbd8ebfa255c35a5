#pragma once

// The window every record list is built on. It shows one query of the data
// module in a grid under a title panel with a search box and a "Search By"
// drop-down, and gives each list the same behaviour for incremental search,
// column sorting that keeps the current record, editing, adding and deleting
// through the list's record editor and table-access pair, the deferred
// refresh of detail panels, and a picker mode.
//
// A list lives as a child window of the main window. A list that serves as a
// picker creates a second instance of its own class in popup mode (frmPopup),
// a child of the list that nothing else deletes; ExecutePopup on the main
// instance shows that twin modally over the same query and returns the
// picked record's key.
//
// A concrete list takes its data module and record editor as constructor
// arguments and sets, in its constructor: the dataset (SetDataSet), the
// editor, the table link and the key field, adds its search-by entries, then
// calls LoadSearchByEntries. Lists with detail panels override HasDetails,
// CloseDetails and RefreshDetails: the panels are closed whenever the row
// changes and reopened once when the application is next idle (IdleUpdate).
//
// For daily use the list also answers the keyboard (UListKeys), counts its
// rows for the status bar (CountText), tints its search box and leaves a
// note when a search finds nothing (StatusNote), greets the user when it is
// empty (UListGreeting) and keeps its columns as the user left them
// (UListColumns).

#include "lists/UListTexts.h"
#include "lists/USearchByList.h"
#include "shell/abstract/IDataListWindow.h"
#include "shell/abstract/IRecordEditor.h"

#include <QDialog>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QValidator;
class TDataSet;
class TDataSetModel;
class TListColumns;
class TListGreeting;
class TListModel;
class TDBTableAccess;
class TdmlGlobals;

class TfrmDataList : public QDialog, public IDataListWindow {
    Q_OBJECT
public:
    // `popupMode` makes the window a picker: a plain hidden dialog with OK and
    // Cancel buttons, shown by ExecutePopup.
    TfrmDataList(QWidget* owner, bool popupMode);
    ~TfrmDataList() override;

    // --- Commands of the main window act on the current data list
    // Whether the Print command applies. Default: false.
    bool CanPrint() override;
    // Asks, then deletes the current record; true when the user went ahead.
    bool DeleteCurrentRecord() override;
    // Prints something for the current record. Default: nothing.
    void Print() override;
    // Reopens the detail panels' queries for the current row. Default: nothing.
    virtual void RefreshDetails();
    // Called when the application is idle: refreshes the detail panels once
    // if the row has changed since the last time.
    void IdleUpdate() override;
    // The title panel's caption, bold and centred.
    void SetTitle(const QString& title) override;

    // Both true when there is a dataset holding at least one record.
    bool CanEdit() override;
    bool CanDelete() override;
    // Runs the editor on the current record / on a new record; true when it
    // was closed with OK (the list is then reloaded on the saved record).
    bool EditCurrentRecord() override;
    bool AppendRecord() override;
    // Makes this list the current data list.
    void MakeCurrent() override;
    // Shows the popup twin and returns `fieldName` of the record picked with
    // OK, or an empty string; the list's current record is kept.
    QString ExecutePopup(const QString& fieldName);
    // "Delete the selected record?" with Yes and No; true only for Yes.
    bool ConfirmDelete();

    // "1,234 calls" for the status bar, counted once per reading of the list.
    QString CountText() override;
    // The note of a search that found nothing; empty otherwise.
    QString StatusNote() override { return m_sStatusNote; }
    // The main window's command that adds a record of the list's kind, named
    // (with its shortcut) by the line an empty list shows; not owned.
    void SetNewCommand(const QAction* command);
    // The keyboard's F3 and Escape: the next row that matches the search
    // text; an empty search box.
    void FindNext();
    void ClearSearch();
    // Ctrl+End and Ctrl+Home: the last (or first) row of the whole list.
    void MoveToEnd(bool last);
    // What the empty list says now; empty while it has rows.
    QString GreetingText() const;

    // The record editor the list runs; not owned, nullptr for none.
    void SetEditor(IRecordEditor* editor) { m_pEditor = editor; }
    IRecordEditor* Editor() const { return m_pEditor; }

    bool PopupMode() const { return m_bPopupMode; }
    TDataSet* DataSet() const { return m_pDataset; }
    TSearchByList& SearchBy() { return m_SearchBy; }
    const QString& SearchField() const { return m_sSearchField; }
    bool DetailsPending() const { return m_bDetailsPending; }
    TDataSetModel* Model() const;

    // Activation, also called by the window system: the active list becomes
    // the current data list and takes the active look.
    void FormActivate();
    void FormDeactivate();

    // Controls
    QFrame* pnlMain;
    QLabel* lblTitle;
    QLineEdit* edtSearch;
    QComboBox* cbxSearchBy;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    QTableView* dbcGrid;

    // The picker twin of a list that serves as a picker; created by the
    // concrete list as its child, so Qt deletes it with the list. The base
    // class never deletes it.
    TfrmDataList* frmPopup = nullptr;

public Q_SLOTS:
    void done(int result) override;

protected:
    // Lists with detail panels return true; their panels are then closed
    // (CloseDetails) whenever the current row changes and reopened at idle.
    virtual bool HasDetails() const { return false; }
    virtual void CloseDetails() {}
    // A click on the grid: makes this list the current data list and its
    // window the active one.
    virtual void GridClick();
    // Double-click: picks in a popup, edits otherwise.
    virtual void GridDblClick();
    // Whether the list shows every record of its kind now (not a view of
    // some); an empty list that does invites the user to add the first one.
    virtual bool ShowsAllRecords() const { return true; }
    // "call" and "calls": how the list counts and greets.
    void SetRecordNames(const UListTexts::TRecordNames& names) { m_RecordNames = names; }

    // Binds the grid to the dataset.
    void SetDataSet(TDataSet* dataSet);
    // Header text and width of the column of a field; the columns stand in
    // the order of these calls, ahead of the fields that have none. The
    // width is in the pixels of a small dialog font: it grows with the
    // grid's font and never leaves the header text clipped (ColumnWidth).
    // Order and widths outlive the query's reopening; what the user moves or
    // resizes stays so, also from one start to the next.
    void SetColumn(const QString& fieldName, const QString& header, int width);
    int ColumnWidth(int column, int width) const;
    // The current row's `fieldName` as text; empty without a current row.
    QString CurrentValue(const QString& fieldName) const;
    // Fills the drop-down from the search-by entries and activates the first.
    void LoadSearchByEntries();
    // The record lists' delete: asks, finds the row in the editor's table,
    // has the data module delete it with what depends on it (`remove`, given
    // the current row) and refreshes the list. Without a module or dataset
    // it traces "dmlGlobals or m_pDataset is NULL" under `function` and
    // `unit` and returns false.
    bool DeleteThroughDataModule(const QString& function, const QString& unit,
                                 const std::function<void(TdmlGlobals&, TDataSet&)>& remove);

    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    IRecordEditor* m_pEditor = nullptr;
    TdmlGlobals* m_pDataModule = nullptr; // the record lists' module
    TDataSet* m_pDataset = nullptr;
    TDBTableAccess* m_pTableLink = nullptr;
    QString m_sSearchField;
    TSearchByList m_SearchBy;
    const bool m_bPopupMode;
    QString m_sSortKeyField;
    QString m_sSortKeyValue;
    bool m_bDetailsPending = false;

private:
    void SearchByChanged(int index, const QString& fieldName, bool numeric);
    void SearchTextChanged(const QString& text);
    void BeforeSort();
    void AfterSort();
    void RowChanged();
    void ModelReset();
    void SetActiveLook(bool active);
    void ShowSearchResult(bool found, const QString& text);
    void ListChanged();
    // Asks, finds the row in the editor's table ("Error deleting record:
    // Record not found!" when it is gone), runs `remove` and refreshes.
    bool ConfirmAndDelete(const std::function<void()>& remove);
    // After an editor's OK: the lists read the saved rows, this one shows
    // the saved record.
    void ShowSavedRecord();
    // Reads the list again, staying on its record where it is still there.
    void RefreshList();
    void CentreOnOwner();
    void WatchSubWindow();

    TListModel* m_pModel;
    QValidator* m_pDigitsOnly;
    QMetaObject::Connection m_SubWindowConnection;
    TListGreeting* m_pGreeting;
    TListColumns* m_pColumns;
    UListTexts::TRecordNames m_RecordNames{QStringLiteral("record"), QStringLiteral("records")};
    const QAction* m_pNewCommand = nullptr;
    QString m_sCountText;
    bool m_bCounted = false;
    QString m_sStatusNote;
};

// The list activated or clicked last; the main window's Edit, Delete, New and
// Print commands and its idle hook act on it. Null when no list is active.
extern TfrmDataList* CurrentDataList;
