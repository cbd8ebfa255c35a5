#include "lists/FWorkerList.h"

#include "data/DMGlobals.h"
#include "data/engine/TField.h"
#include "data/engine/TQuery.h"
#include "lists/UListMenus.h"
#include "shell/UErrors.h"

#include <QMenu>

TfrmWorkerList* frmWorkerList = nullptr;

TfrmWorkerList::TfrmWorkerList(QWidget* owner, TdmlGlobals* dataModule, IRecordEditor* editor,
                               bool popupMode)
    : TfrmDataList(owner, popupMode) {
    setWindowTitle(QStringLiteral("Workers"));
    SetTitle(QStringLiteral("Workers"));
    m_pDataModule = dataModule;
    if (dataModule) {
        SetDataSet(dataModule->sqlWorker);
        m_pTableLink = dataModule->WorkersAccess();
    }
    m_pEditor = editor;
    m_sSortKeyField = QStringLiteral("WorkerNr");
    SetRecordNames({QStringLiteral("worker"), QStringLiteral("workers")});

    m_SearchBy.Add({QStringLiteral("Name"), QStringLiteral("Name"), false});
    m_SearchBy.Add({QStringLiteral("Surname"), QStringLiteral("Surname"), false});
    // ID and passport numbers are searched as digits only.
    m_SearchBy.Add({QStringLiteral("ID"), QStringLiteral("IDNR"), true});
    LoadSearchByEntries();

    SetColumn(QStringLiteral("Name"), QString(), 110);
    SetColumn(QStringLiteral("Surname"), QString(), 119);
    SetColumn(QStringLiteral("IDNR"), QStringLiteral("ID/Passport #"), 89);
    SetColumn(QStringLiteral("CallCount"), QStringLiteral("Calls"), 55);
    SetColumn(QStringLiteral("WorkerNR"), QStringLiteral("Worker #"), 60);

    // The entries work whether or not there is a worker.
    m_pMenus = new TListMenus(this);
    m_pMenus->AddRecordEntries(QStringLiteral("miNew"), true, true);
    m_pMenus->Popup()->addSeparator();
    m_pMenus->AddHiddenEntry(QStringLiteral("View Worker Report"));

    if (!popupMode) {
        // The picker twin over the same query, owned by this list alone as
        // its child.
        frmPopup = new TfrmWorkerList(this, dataModule, editor, true);
    }
}

bool TfrmWorkerList::DeleteCurrentRecord() {
    return DeleteThroughDataModule(
        QStringLiteral("TfrmWorkerList::DeleteCurrentRecord"), QStringLiteral("FWorkerList"),
        [](TdmlGlobals& module, TDataSet& row) {
            module.DeleteWorker(row.FieldByName(QStringLiteral("WorkerNr")).AsString());
        });
}

QString ExecuteWorkerList(QWidget* /*owner*/) {
    if (!frmWorkerList) {
        DebugTrace(QStringLiteral("frmWorkerList is Null"),
                   QStringLiteral("TfrmWorkerList::ExecuteWorkerList"),
                   QStringLiteral("FWorkerList"));
        return {};
    }
    return frmWorkerList->ExecutePopup(QStringLiteral("WorkerNR"));
}
