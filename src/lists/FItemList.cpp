#include "lists/FItemList.h"

#include "data/DMGlobals.h"
#include "data/engine/TField.h"
#include "data/engine/TQuery.h"
#include "shell/UErrors.h"

TfrmItemList* frmItemList = nullptr;

TfrmItemList::TfrmItemList(QWidget* owner, TdmlGlobals* dataModule, IRecordEditor* editor,
                           bool popupMode)
    : TfrmDataList(owner, popupMode) {
    setWindowTitle(QStringLiteral("Items"));
    SetTitle(QStringLiteral("Items"));
    m_pDataModule = dataModule;
    if (dataModule) {
        SetDataSet(dataModule->sqlItem);
        m_pTableLink = dataModule->ItemsAccess();
    }
    m_pEditor = editor;
    // The owner, contract and call history tabs override HasDetails/
    // CloseDetails/RefreshDetails, and the history report CanPrint/Print.
    m_sSortKeyField = QStringLiteral("SerialNr");

    m_SearchBy.Add({QStringLiteral("Serial #"), QStringLiteral("SerialNr"), false});
    m_SearchBy.Add({QStringLiteral("Owner ID"), QStringLiteral("Owner"), false});
    m_SearchBy.Add({QStringLiteral("Company"), QStringLiteral("CompanyName"), false});
    m_SearchBy.Add({QStringLiteral("Brand"), QStringLiteral("Brand"), false});
    m_SearchBy.Add({QStringLiteral("Model"), QStringLiteral("Model"), false});
    LoadSearchByEntries();

    SetColumn(QStringLiteral("SerialNr"), QStringLiteral("Serial #"), 81);
    SetColumn(QStringLiteral("Brand"), QStringLiteral("Brand"), 83);
    SetColumn(QStringLiteral("Model"), QStringLiteral("Model"), 83);
    SetColumn(QStringLiteral("Owner"), QStringLiteral("Owner ID"), 80);
    SetColumn(QStringLiteral("CompanyName"), QStringLiteral("Company"), 109);
    SetColumn(QStringLiteral("Description"), QStringLiteral("Description"), 191);
    SetColumn(QStringLiteral("ServiceType"), QStringLiteral("Contract"), 73);

    if (!popupMode) {
        // The picker twin over the same query, owned by this list alone as
        // its child.
        frmPopup = new TfrmItemList(this, dataModule, editor, true);
    }
}

bool TfrmItemList::DeleteCurrentRecord() {
    return DeleteThroughDataModule(
        QStringLiteral("TfrmItemList::DeleteCurrentRecord"), QStringLiteral("FItemList"),
        [](TdmlGlobals& module, TDataSet& row) {
            module.DeleteItem(row.FieldByName(QStringLiteral("SerialNr")).AsString());
        });
}

QString ExecuteItemList(QWidget* /*owner*/) {
    if (!frmItemList) {
        DebugTrace(QStringLiteral("frmItemList is Null"),
                   QStringLiteral("frmItemList::ExecuteItemList"), QStringLiteral("FItemList"));
        return {};
    }
    return frmItemList->ExecutePopup(QStringLiteral("SerialNr"));
}
