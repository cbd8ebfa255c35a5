#include "lists/FCallsList.h"

#include "data/DMGlobals.h"
#include "data/engine/TField.h"
#include "data/engine/TQuery.h"

TfrmCallsList* frmCallsList = nullptr;

TfrmCallsList::TfrmCallsList(QWidget* owner, TdmlGlobals* dataModule, IRecordEditor* editor)
    : TfrmDataList(owner, false) {
    setWindowTitle(QStringLiteral("Calls"));
    SetTitle(QStringLiteral("Calls"));
    m_pDataModule = dataModule;
    if (dataModule) {
        SetDataSet(dataModule->sqlCall);
        m_pTableLink = dataModule->CallsAccess();
    }
    m_pEditor = editor;
    // The "Call Details" panel overrides HasDetails/CloseDetails/RefreshDetails.
    m_sSortKeyField = QStringLiteral("CallNr");

    m_SearchBy.Add({QStringLiteral("Call #"), QStringLiteral("CallNr"), false});
    m_SearchBy.Add({QStringLiteral("Customer"), QStringLiteral("CustomerID"), false});
    m_SearchBy.Add({QStringLiteral("Company"), QStringLiteral("CompanyName"), false});
    m_SearchBy.Add({QStringLiteral("Serial #"), QStringLiteral("EquipmentSerialNr"), false});
    m_SearchBy.Add({QStringLiteral("Jobcard #"), QStringLiteral("JobcardNumber"), false});
    LoadSearchByEntries();

    SetColumn(QStringLiteral("CallNr"), QStringLiteral("Call #"), 57);
    SetColumn(QStringLiteral("CustomerID"), QStringLiteral("Customer"), 60);
    SetColumn(QStringLiteral("CompanyName"), QStringLiteral("Company"), 96);
    SetColumn(QStringLiteral("EquipmentSerialNr"), QStringLiteral("Serial #"), 66);
    SetColumn(QStringLiteral("Item"), QStringLiteral("Item"), 100);
    SetColumn(QStringLiteral("JobcardNumber"), QStringLiteral("Jobcard #"), 64);
    SetColumn(QStringLiteral("Worker"), QStringLiteral("Worker"), 87);
    SetColumn(QStringLiteral("OrderNumber"), QStringLiteral("Order #"), 50);
    SetColumn(QStringLiteral("Status"), QStringLiteral("Status"), 67);
    SetColumn(QStringLiteral("Priority"), QStringLiteral("Priority"), 41);
    SetColumn(QStringLiteral("Date_Time"), QStringLiteral("Date"), 64);
    SetColumn(QStringLiteral("WorkerNr"), QStringLiteral("Worker #"), 60);
    SetColumn(QStringLiteral("Billed"), QStringLiteral("Billed"), 40);
}

bool TfrmCallsList::DeleteCurrentRecord() {
    return DeleteThroughDataModule(
        QStringLiteral("TfrmCallsList::DeleteCurrentRecord"), QStringLiteral("FCallsList"),
        [](TdmlGlobals& module, TDataSet& row) {
            module.DeleteCall(row.FieldByName(QStringLiteral("CallNr")).AsString());
        });
}
