#include "lists/FServiceContractList.h"

#include "data/DMGlobals.h"
#include "data/engine/TField.h"
#include "data/engine/TQuery.h"

TfrmServiceContractList* frmServiceContractList = nullptr;

TfrmServiceContractList::TfrmServiceContractList(QWidget* owner, TdmlGlobals* dataModule,
                                                 IRecordEditor* editor)
    : TfrmDataList(owner, false) {
    setWindowTitle(QStringLiteral("Service Contracts"));
    SetTitle(QStringLiteral("Service Contracts"));
    m_pDataModule = dataModule;
    if (dataModule) {
        SetDataSet(dataModule->sqlServiceContract);
        // Matches on both the item serial number and the customer.
        m_pTableLink = dataModule->ServiceContractsAccess();
    }
    m_pEditor = editor;
    // The "Details" panel overrides HasDetails/CloseDetails/RefreshDetails.
    m_sSortKeyField = QStringLiteral("ItemSerialNr");

    m_SearchBy.Add({QStringLiteral("Customer ID"), QStringLiteral("CustomerID"), false});
    m_SearchBy.Add({QStringLiteral("Serial #"), QStringLiteral("ItemSerialNr"), false});
    m_SearchBy.Add({QStringLiteral("Company"), QStringLiteral("CompanyName"), false});
    m_SearchBy.Add({QStringLiteral("Brand"), QStringLiteral("Brand"), false});
    m_SearchBy.Add({QStringLiteral("Model"), QStringLiteral("Model"), false});
    LoadSearchByEntries();

    SetColumn(QStringLiteral("CustomerID"), QStringLiteral("Customer ID"), 83);
    SetColumn(QStringLiteral("ItemSerialNr"), QStringLiteral("Serial #"), 73);
    SetColumn(QStringLiteral("ServiceType"), QStringLiteral("Service Type"), 87);
    SetColumn(QStringLiteral("StillValid"), QStringLiteral("Valid?"), 36);
    SetColumn(QStringLiteral("Comments"), QStringLiteral("Comments"), 169);
    SetColumn(QStringLiteral("CompanyName"), QStringLiteral("Company"), 91);
    SetColumn(QStringLiteral("Brand"), QStringLiteral("Brand"), 90);
    SetColumn(QStringLiteral("Model"), QStringLiteral("Model"), 83);
}

bool TfrmServiceContractList::DeleteCurrentRecord() {
    return DeleteThroughDataModule(
        QStringLiteral("TfrmServiceContractList::DeleteCurrentRecord"),
        QStringLiteral("FServiceContractList"), [](TdmlGlobals& module, TDataSet& row) {
            module.DeleteServiceContract(row.FieldByName(QStringLiteral("ItemSerialNr")).AsString(),
                                         row.FieldByName(QStringLiteral("CustomerID")).AsString());
        });
}
