#include "lists/FDataList.h"

#include "data/DBTableAccess.h"
#include "data/DMGlobals.h"
#include "data/engine/TDataSetModel.h"
#include "data/engine/TField.h"
#include "lists/UListColumns.h"
#include "lists/UListGreeting.h"
#include "lists/UListGrid.h"
#include "lists/UListKeys.h"
#include "lists/UListModel.h"
#include "lists/UListSearch.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"
#include "shell/abstract/IRecordEditor.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

TfrmDataList* CurrentDataList = nullptr;

namespace {

const QString Unit = QStringLiteral("FDataList");

constexpr int PopupWidth = 618;
constexpr int PopupHeight = 270;
const QColor ActiveSelection(182, 202, 234);
// The search box of a search that found nothing.
const QColor NoMatchTint(255, 214, 214);

} // namespace

// ---------------------------------------------------------------------------
// Construction

TfrmDataList::TfrmDataList(QWidget* owner, bool popupMode)
    : QDialog(owner), m_bPopupMode(popupMode),
      m_pModel(new TListModel([this] { BeforeSort(); }, [this] { AfterSort(); }, this)),
      m_pDigitsOnly(
          new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this)) {
    setWindowTitle(QStringLiteral("XXX List"));

    pnlMain = new QFrame(this);
    pnlMain->setObjectName(QStringLiteral("pnlMain"));
    pnlMain->setFrameShape(QFrame::StyledPanel);
    lblTitle = new QLabel(pnlMain);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setTextFormat(Qt::RichText);
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setAutoFillBackground(true);
    lblTitle->setContentsMargins(4, 2, 4, 2);
    edtSearch = new QLineEdit(pnlMain);
    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    cbxSearchBy = new QComboBox(pnlMain);
    cbxSearchBy->setObjectName(QStringLiteral("cbxSearchBy"));
    cbxSearchBy->setEditable(false);
    cbxSearchBy->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    btnOK = new QPushButton(QStringLiteral("Ok"), pnlMain);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel = new QPushButton(QStringLiteral("Cancel"), pnlMain);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* lblSearch = new QLabel(QStringLiteral("Search"), pnlMain);
    lblSearch->setBuddy(edtSearch);
    auto* lblSearchBy = new QLabel(QStringLiteral("Search By"), pnlMain);
    lblSearchBy->setBuddy(cbxSearchBy);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(lblSearch);
    // Wide enough for a name or a number, not the whole window.
    const int charWidth = edtSearch->fontMetrics().averageCharWidth();
    edtSearch->setMinimumWidth(charWidth * 20);
    edtSearch->setMaximumWidth(charWidth * 40);
    searchRow->addWidget(edtSearch, 1);
    searchRow->addSpacing(8);
    searchRow->addWidget(lblSearchBy);
    searchRow->addWidget(cbxSearchBy);
    searchRow->addStretch(1);
    searchRow->addWidget(btnOK);
    searchRow->addWidget(btnCancel);
    auto* panelLayout = new QVBoxLayout(pnlMain);
    panelLayout->setContentsMargins(0, 0, 0, 4);
    panelLayout->setSpacing(4);
    panelLayout->addWidget(lblTitle);
    panelLayout->addLayout(searchRow);
    searchRow->setContentsMargins(4, 0, 4, 0);

    dbcGrid = new QTableView(this);
    dbcGrid->setObjectName(QStringLiteral("dbcGrid"));
    UListGrid::SetUpGrid(dbcGrid);
    dbcGrid->setModel(m_pModel);
    m_pModel->SetSelectionModel(dbcGrid->selectionModel());
    QHeaderView* header = dbcGrid->horizontalHeader();
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
    dbcGrid->setSortingEnabled(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pnlMain);
    layout->addWidget(dbcGrid, 1);

    connect(edtSearch, &QLineEdit::textChanged, this, &TfrmDataList::SearchTextChanged);
    connect(cbxSearchBy, &QComboBox::activated, this,
            [this](int index) { m_SearchBy.SetActiveIndex(index); });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(dbcGrid, &QAbstractItemView::doubleClicked, this, [this] { GridDblClick(); });
    connect(m_pModel, &QAbstractItemModel::modelReset, this, &TfrmDataList::ModelReset);
    connect(m_pModel, &QAbstractItemModel::rowsInserted, this, &TfrmDataList::ListChanged);
    m_pGreeting = new TListGreeting(dbcGrid);
    new TListKeys(dbcGrid, edtSearch,
                  {[this] { GridDblClick(); },
                   [this] {
                       if (!m_bPopupMode && CanDelete())
                           DeleteCurrentRecord();
                   },
                   [this] { FindNext(); }, [this] { ClearSearch(); }, [this] { MoveToEnd(false); },
                   [this] { MoveToEnd(true); }},
                  this);
    dbcGrid->viewport()->installEventFilter(this);
    m_pColumns = new TListColumns(
        dbcGrid, m_pModel,
        [this] {
            return m_bPopupMode ? QString() : QString::fromLatin1(metaObject()->className());
        },
        this);

    m_SearchBy.SetChangeHandler([this](int index, const QString& fieldName, bool numeric) {
        SearchByChanged(index, fieldName, numeric);
    });

    if (m_bPopupMode) {
        setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        btnOK->setDefault(true);
        CentreOnOwner();
    } else {
        btnOK->setAutoDefault(false);
        btnCancel->setAutoDefault(false);
        btnOK->hide();
        btnCancel->hide();
    }
    SetActiveLook(false);
}

TfrmDataList::~TfrmDataList() {
    if (CurrentDataList == this)
        CurrentDataList = nullptr;
    disconnect(m_SubWindowConnection);
    if (m_pModel->DataSource())
        m_pModel->DataSource()->disconnect(this);
}

TDataSetModel* TfrmDataList::Model() const {
    return m_pModel;
}

void TfrmDataList::SetDataSet(TDataSet* dataSet) {
    if (m_pModel->DataSource())
        m_pModel->DataSource()->disconnect(this);
    m_pDataset = dataSet;
    m_pModel->SetDataSet(dataSet);
    if (TDataSource* source = m_pModel->DataSource()) {
        connect(source, &TDataSource::RecordChanged, this, &TfrmDataList::RowChanged);
        connect(source, &TDataSource::DataSetChanged, this, &TfrmDataList::RowChanged);
    }
}

void TfrmDataList::SetColumn(const QString& fieldName, const QString& header, int width) {
    if (!m_pDataset)
        return;
    if (!header.isEmpty())
        m_pDataset->DefineField(fieldName).SetDisplayLabel(header);
    m_pColumns->SetColumn(fieldName, width);
}

int TfrmDataList::ColumnWidth(int column, int width) const {
    return UListGrid::ColumnWidth(dbcGrid, column, width);
}

QString TfrmDataList::CurrentValue(const QString& fieldName) const {
    if (!m_pDataset || !m_pDataset->Active() || m_pDataset->IsEmpty())
        return {};
    const TField* field = m_pDataset->FindField(fieldName);
    return field ? field->AsString() : QString();
}

void TfrmDataList::LoadSearchByEntries() {
    {
        const QSignalBlocker blocker(cbxSearchBy);
        cbxSearchBy->clear();
        cbxSearchBy->addItems(m_SearchBy.Captions());
    }
    m_SearchBy.SetActiveIndex(0);
}

// ---------------------------------------------------------------------------
// Virtual operations with their defaults

bool TfrmDataList::CanPrint() {
    return false;
}

void TfrmDataList::Print() {}

void TfrmDataList::RefreshDetails() {}

void TfrmDataList::IdleUpdate() {
    if (!m_bDetailsPending)
        return;
    m_bDetailsPending = false;
    RefreshDetails();
}

void TfrmDataList::SetTitle(const QString& title) {
    lblTitle->setText(QStringLiteral("<B><P align=\"center\">") + title +
                      QStringLiteral("</P></B>"));
}

// ---------------------------------------------------------------------------
// Searching

void TfrmDataList::SearchByChanged(int index, const QString& fieldName, bool numeric) {
    edtSearch->clear();
    m_sSearchField = fieldName;
    edtSearch->setValidator(numeric ? m_pDigitsOnly : nullptr);
    if (cbxSearchBy->currentIndex() != index)
        cbxSearchBy->setCurrentIndex(index);
    edtSearch->clear();
}

void TfrmDataList::SearchTextChanged(const QString& text) {
    if (text.isEmpty())
        ShowSearchResult(true, text);
    if (!m_pDataset || m_sSearchField.isEmpty() || text.isEmpty() || !m_pDataset->Active())
        return;
    try {
        ShowSearchResult(m_pDataset->Locate(m_sSearchField, text,
                                            TDataSet::CaseInsensitive | TDataSet::PartialKey),
                         text);
    } catch (const EError& e) {
        ShowError("%s", e.Message());
    }
}

void TfrmDataList::FindNext() {
    const QString text = edtSearch->text();
    if (!m_pDataset || m_sSearchField.isEmpty() || text.isEmpty() || !m_pDataset->Active())
        return;
    try {
        ShowSearchResult(UListSearch::LocateNext(*m_pDataset, m_sSearchField, text), text);
    } catch (const EError& e) {
        ShowError("%s", e.Message());
    }
}

void TfrmDataList::ClearSearch() {
    edtSearch->clear();
}

void TfrmDataList::MoveToEnd(bool last) {
    if (!m_pDataset || !m_pDataset->Active())
        return;
    try {
        if (last)
            m_pDataset->Last();
        else
            m_pDataset->First();
    } catch (const EError& e) {
        ShowError("%s", e.Message());
    }
}

void TfrmDataList::ShowSearchResult(bool found, const QString& text) {
    QPalette tinted;
    if (!found)
        tinted.setColor(QPalette::Base, NoMatchTint);
    edtSearch->setPalette(tinted);
    m_sStatusNote = found ? QString() : UListTexts::NoMatchText(cbxSearchBy->currentText(), text);
}

// ---------------------------------------------------------------------------
// Sorting: the grid re-orders the dataset; the list puts the same record back.

void TfrmDataList::BeforeSort() {
    m_sSortKeyValue.clear();
    if (m_sSortKeyField.isEmpty() || !CanEdit())
        return;
    try {
        m_sSortKeyValue = m_pDataset->FieldByName(m_sSortKeyField).AsString();
    } catch (const EError& e) {
        DebugTrace(e.Message(), QStringLiteral("TfrmDataList::BeforeSort"), Unit);
    }
}

void TfrmDataList::AfterSort() {
    if (!m_pDataset || m_sSortKeyField.isEmpty() || m_sSortKeyValue.isEmpty() ||
        !m_pDataset->Active())
        return;
    try {
        m_pDataset->Locate(m_sSortKeyField, m_sSortKeyValue);
    } catch (const EError& e) {
        ShowError("%s", e.Message());
    }
}

void TfrmDataList::ModelReset() {
    m_pColumns->Arrange();
    QHeaderView* header = dbcGrid->horizontalHeader();
    // Only the indicator: the rows are in that order already.
    const QSignalBlocker blocker(header);
    header->setSortIndicator(m_pModel->SortColumn(), m_pModel->SortOrder());
    ListChanged();
}

// ---------------------------------------------------------------------------
// What the list says about its rows

void TfrmDataList::ListChanged() {
    m_bCounted = false;
    m_pGreeting->ShowText(GreetingText());
}

QString TfrmDataList::GreetingText() const {
    if (!m_pDataset || !m_pDataset->Active() || m_pModel->rowCount() > 0)
        return {};
    return ShowsAllRecords()
               ? UListTexts::GreetingText(m_RecordNames, m_bPopupMode ? nullptr : m_pNewCommand)
               : UListTexts::EmptyViewText(m_RecordNames);
}

void TfrmDataList::SetNewCommand(const QAction* command) {
    m_pNewCommand = command;
    ListChanged();
}

QString TfrmDataList::CountText() {
    if (m_bCounted)
        return m_sCountText;
    m_bCounted = true;
    m_sCountText.clear();
    if (!m_pDataset || !m_pDataset->Active())
        return m_sCountText;
    try {
        // A filter is evaluated on rows as they are read: such a list says
        // how many it has found so far rather than read them all to count.
        const bool complete = !m_pDataset->Filtered() || m_pDataset->Filter().isEmpty() ||
                              !m_pDataset->CanFetchMore();
        m_sCountText = UListTexts::CountText(complete ? m_pDataset->RecordCount()
                                                      : m_pDataset->RowsAvailable(),
                                             complete, m_RecordNames);
    } catch (const EError& e) {
        DebugTrace(e.Message(), QStringLiteral("TfrmDataList::CountText"), Unit);
    }
    return m_sCountText;
}

// ---------------------------------------------------------------------------
// Detail panels

void TfrmDataList::RowChanged() {
    if (!HasDetails())
        return;
    m_bDetailsPending = true;
    CloseDetails();
}

// ---------------------------------------------------------------------------
// Records

bool TfrmDataList::CanEdit() {
    return m_pDataset && !m_pDataset->IsEmpty();
}

bool TfrmDataList::CanDelete() {
    return m_pDataset && !m_pDataset->IsEmpty();
}

bool TfrmDataList::EditCurrentRecord() {
    const QString function = QStringLiteral("TfrmDataList::EditCurrentRecord");
    if (!m_pDataset) {
        DebugTrace(QStringLiteral("NULL dataset"), function, Unit);
        return false;
    }
    if (!m_pEditor) {
        DebugTrace(QStringLiteral("No Editor"), function, Unit);
        return false;
    }
    // The editor opens exactly the record the user chose, or nothing.
    if (m_pTableLink && !m_pTableLink->SyncTableToQuery()) {
        ShowError("Error editing record: Record not found!");
        RefreshList();
        return false;
    }
    m_pEditor->SetEditMode(true);
    const bool saved = m_pEditor->Execute();
    if (saved)
        ShowSavedRecord();
    return saved;
}

void TfrmDataList::ShowSavedRecord() {
    if (!m_pTableLink)
        return;
    QCoreApplication::processEvents();
    if (m_pDataModule) {
        // Every list reads the saved rows once; this one then goes to the
        // saved record.
        m_pDataModule->ApplyChanges();
        m_pTableLink->SyncQueryToTable();
    } else {
        m_pTableLink->RefreshQuery();
    }
}

void TfrmDataList::RefreshList() {
    if (m_pDataModule)
        m_pDataModule->ApplyChanges();
    if (m_pDataset && m_pDataset->Active() && m_pDataset->State() == TDataSetState::Browse)
        m_pDataset->Refresh();
}

bool TfrmDataList::AppendRecord() {
    const QString function = QStringLiteral("TfrmDataList::AppendRecord");
    if (!m_pDataset) {
        DebugTrace(QStringLiteral("NULL dataset"), function, Unit);
        return false;
    }
    if (!m_pEditor) {
        DebugTrace(QStringLiteral("NULL Editor"), function, Unit);
        return false;
    }
    m_pEditor->SetEditMode(false);
    const bool saved = m_pEditor->Execute();
    if (saved)
        ShowSavedRecord();
    return saved;
}

bool TfrmDataList::ConfirmDelete() {
    return Dialogs().MessageBox(TMsgKind::Confirmation, QStringLiteral("Confirm"),
                                QStringLiteral("Delete the selected record?"),
                                mbYes | mbNo) == mbYes;
}

bool TfrmDataList::DeleteThroughDataModule(
    const QString& function, const QString& unit,
    const std::function<void(TdmlGlobals&, TDataSet&)>& remove) {
    if (!m_pDataModule || !m_pDataset) {
        DebugTrace(QStringLiteral("dmlGlobals or m_pDataset is NULL"), function, unit);
        return false;
    }
    return ConfirmAndDelete([this, &remove] { remove(*m_pDataModule, *m_pDataset); });
}

bool TfrmDataList::ConfirmAndDelete(const std::function<void()>& remove) {
    if (!ConfirmDelete())
        return false;
    if (m_pTableLink && m_pTableLink->QueryKeyIsBlank()) {
        // A row without a key (from older data) owns nothing: it goes alone.
        QCoreApplication::processEvents();
        m_pTableLink->DeleteQueryRecord();
    } else if (m_pTableLink && !m_pTableLink->SyncTableToQuery()) {
        ShowError("Error deleting record: Record not found!");
        RefreshList();
        return true;
    } else {
        remove();
    }
    if (m_pDataModule)
        m_pDataModule->ApplyChanges(); // the list stays where the row was
    else if (m_pTableLink)
        m_pTableLink->RefreshQuery();
    return true;
}

bool TfrmDataList::DeleteCurrentRecord() {
    if (!m_pDataset) {
        DebugTrace(QStringLiteral("NULL dataset"),
                   QStringLiteral("TfrmDataList::DeleteCurrentRecord"), Unit);
        return false;
    }
    return ConfirmAndDelete([this] {
        QCoreApplication::processEvents();
        m_pDataset->Delete();
    });
}

// ---------------------------------------------------------------------------
// Picking

QString TfrmDataList::ExecutePopup(const QString& fieldName) {
    QString result;
    if (!frmPopup) {
        DebugTrace(QStringLiteral("frmPopup is NULL"), QStringLiteral("TfrmDataList::ExecutePopup"),
                   Unit);
        return result;
    }
    TDataSet* dataSet = m_pDataset;
    TBookmark position;
    {
        const TControlsDisabled suspended(dataSet);
        if (dataSet)
            position = dataSet->GetBookmark();
    }

    TfrmDataList* popup = frmPopup;
    popup->setFixedSize(PopupWidth, PopupHeight);
    popup->CentreOnOwner();
    const int answer = Dialogs().ExecModal(popup, [popup] { return popup->exec(); });

    const TControlsDisabled suspended(dataSet);
    const auto restore = [dataSet, &position] {
        if (dataSet && dataSet->BookmarkValid(position))
            dataSet->GotoBookmark(position);
    };
    try {
        if (answer == QDialog::Accepted && dataSet && dataSet->Active() && !dataSet->IsEmpty())
            result = dataSet->FieldByName(fieldName).AsString();
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return result;
}

void TfrmDataList::CentreOnOwner() {
    QRect area;
    if (QWidget* owner = parentWidget())
        area = owner->window()->frameGeometry();
    else if (const QScreen* display = screen())
        area = display->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());
}

void TfrmDataList::done(int result) {
    // Only the picker closes with a result; a list window stays a list.
    if (m_bPopupMode)
        QDialog::done(result);
}

void TfrmDataList::showEvent(QShowEvent* event) {
    // A dialog places itself over its parent when shown; inside a child
    // window of the main window the child window places it.
    if (isWindow())
        QDialog::showEvent(event);
    else
        QWidget::showEvent(event);
}

void TfrmDataList::closeEvent(QCloseEvent* event) {
    if (m_bPopupMode)
        QDialog::closeEvent(event);
    else
        event->accept();
}

// ---------------------------------------------------------------------------
// Grid mouse

void TfrmDataList::GridClick() {
    if (m_bPopupMode)
        return;
    CurrentDataList = this;
    if (focusWidget() == dbcGrid) {
        // Bounce the focus so the window becomes the active one.
        setUpdatesEnabled(false);
        edtSearch->setFocus();
        dbcGrid->setFocus();
        setUpdatesEnabled(true);
    }
}

void TfrmDataList::GridDblClick() {
    if (m_bPopupMode) {
        accept();
        return;
    }
    if (CanEdit())
        EditCurrentRecord();
}

bool TfrmDataList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dbcGrid->viewport() && event->type() == QEvent::MouseButtonPress)
        GridClick();
    // A picker picks on a double-click anywhere in the grid, below the rows too.
    if (m_bPopupMode && watched == dbcGrid->viewport() &&
        event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Activation: as a top-level window, or as the widget of an MDI child window.

void TfrmDataList::MakeCurrent() {
    if (!m_bPopupMode)
        CurrentDataList = this;
}

void TfrmDataList::FormActivate() {
    MakeCurrent();
    SetActiveLook(true);
}

void TfrmDataList::FormDeactivate() {
    if (CurrentDataList == this)
        CurrentDataList = nullptr;
    SetActiveLook(false);
}

void TfrmDataList::SetActiveLook(bool active) {
    const QPalette base = palette();
    const QColor caption = active ? base.color(QPalette::Active, QPalette::Highlight)
                                  : base.color(QPalette::Inactive, QPalette::Mid);
    QPalette title = lblTitle->palette();
    title.setColor(QPalette::Window, caption);
    title.setColor(QPalette::WindowText,
                   active ? base.color(QPalette::Active, QPalette::HighlightedText)
                          : base.color(QPalette::Active, QPalette::WindowText));
    lblTitle->setPalette(title);

    QPalette grid = dbcGrid->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        grid.setColor(group, QPalette::Highlight, active ? ActiveSelection : caption);
        grid.setColor(group, QPalette::HighlightedText,
                      base.color(QPalette::Active, QPalette::Text));
    }
    dbcGrid->setPalette(grid);
}

void TfrmDataList::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isWindow()) {
        if (isActiveWindow())
            FormActivate();
        else
            FormDeactivate();
    }
    QDialog::changeEvent(event);
}

bool TfrmDataList::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange)
        WatchSubWindow();
    return QDialog::event(event);
}

void TfrmDataList::WatchSubWindow() {
    disconnect(m_SubWindowConnection);
    auto* subWindow = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!subWindow)
        return;
    m_SubWindowConnection =
        connect(subWindow, &QMdiSubWindow::windowStateChanged, this,
                [this](Qt::WindowStates before, Qt::WindowStates now) {
                    if (before.testFlag(Qt::WindowActive) == now.testFlag(Qt::WindowActive))
                        return;
                    if (now.testFlag(Qt::WindowActive))
                        FormActivate();
                    else
                        FormDeactivate();
                });
}
