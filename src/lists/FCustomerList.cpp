#include "lists/FCustomerList.h"

#include "data/DMGlobals.h"
#include "data/engine/TField.h"
#include "data/engine/TQuery.h"
#include "shell/UErrors.h"

TfrmCustomerList* frmCustomerList = nullptr;

TfrmCustomerList::TfrmCustomerList(QWidget* owner, TdmlGlobals* dataModule, IRecordEditor* editor,
                                   bool popupMode)
    : TfrmDataList(owner, popupMode) {
    setWindowTitle(QStringLiteral("Customers"));
    SetTitle(QStringLiteral("Customers"));
    m_pDataModule = dataModule;
    if (dataModule) {
        SetDataSet(dataModule->sqlCustomer);
        m_pTableLink = dataModule->CustomersAccess();
    }
    m_pEditor = editor;
    // The items and call history tabs override HasDetails/CloseDetails/
    // RefreshDetails.
    m_sSortKeyField = QStringLiteral("CustomerID");

    m_SearchBy.Add({QStringLiteral("Name"), QStringLiteral("FirstName"), false});
    m_SearchBy.Add({QStringLiteral("Surname"), QStringLiteral("LastName"), false});
    m_SearchBy.Add({QStringLiteral("Company"), QStringLiteral("CompanyName"), false});
    m_SearchBy.Add({QStringLiteral("Customer ID"), QStringLiteral("CustomerID"), false});
    LoadSearchByEntries();

    SetColumn(QStringLiteral("CustomerID"), QStringLiteral("Customer #"), 89);
    SetColumn(QStringLiteral("CompanyName"), QStringLiteral("Company"), 203);
    SetColumn(QStringLiteral("FirstName"), QStringLiteral("Name"), 86);
    SetColumn(QStringLiteral("LastName"), QStringLiteral("Surname"), 86);
    // The query reads every field of a customer; the rest follow these.
    SetColumn(QStringLiteral("Tel"), QStringLiteral("Telephone"), 90);
    SetColumn(QStringLiteral("Fax"), QStringLiteral("Fax"), 90);
    SetColumn(QStringLiteral("Cell"), QStringLiteral("Cellphone"), 90);
    SetColumn(QStringLiteral("Email"), QStringLiteral("E-mail"), 150);
    SetColumn(QStringLiteral("PhysicalAddr"), QStringLiteral("Physical Address"), 160);
    SetColumn(QStringLiteral("PhysicalCode"), QStringLiteral("Code"), 50);
    SetColumn(QStringLiteral("PostalAddr"), QStringLiteral("Postal Address"), 160);
    SetColumn(QStringLiteral("PostalCode"), QStringLiteral("Code"), 50);
    SetColumn(QStringLiteral("Country"), QStringLiteral("Country"), 100);
    SetColumn(QStringLiteral("Notes"), QStringLiteral("Notes"), 200);

    if (!popupMode) {
        // The picker twin over the same query, owned by this list alone as
        // its child.
        frmPopup = new TfrmCustomerList(this, dataModule, editor, true);
    }
}

bool TfrmCustomerList::DeleteCurrentRecord() {
    return DeleteThroughDataModule(
        QStringLiteral("TfrmCustomerList::DeleteCurrentRecord"), QStringLiteral("FCustomerList"),
        [](TdmlGlobals& module, TDataSet& row) {
            module.DeleteCustomer(row.FieldByName(QStringLiteral("CustomerID")).AsString());
        });
}

QString ExecuteCustomerList(QWidget* /*owner*/) {
    if (!frmCustomerList) {
        DebugTrace(QStringLiteral("frmCustomerList is Null"),
                   QStringLiteral("frmCustomerList::ExecuteCustomerList"),
                   QStringLiteral("FCustomerList"));
        return {};
    }
    return frmCustomerList->ExecutePopup(QStringLiteral("CustomerID"));
}
