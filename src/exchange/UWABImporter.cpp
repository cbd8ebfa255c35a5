#include "exchange/UWABImporter.h"

#include "data/DMGlobals.h"
#include "data/DMTables.h"
#include "data/UDMStatements.h"
#include "data/engine/TQuery.h"
#include "shell/UErrors.h"

#include <climits>

namespace {

const QString CustomerTable = QStringLiteral("Customer");
// How long the rows of one transaction may take to write.
constexpr qint64 TransactionMs = 250;

} // namespace

CWABImporter::CWABImporter(TdmlGlobals& dataModule) : m_DataModule(dataModule) {}

CWABImporter::~CWABImporter() {
    try {
        Commit();
    } catch (...) {
        // Nothing more can be kept.
        try {
            m_DataModule.Connection().Rollback();
        } catch (...) {
        }
    }
}

void CWABImporter::OnBegin() {
    m_nInserted = 1;
    m_nRepresentatives = 0;
    ReadTakenNumbers();
    m_DataModule.GetNewCustomerID(FreeNumberFrom(1), m_nNextNumber);
    // Tables cannot be attached inside a transaction: attach them first.
    TDatabase& database = m_DataModule.Connection();
    database.AttachTable(CustomerTable);
    database.AttachTable(QStringLiteral("Representative"));
    database.StartTransaction();
    m_SinceCommit.start();
}

void CWABImporter::ReadTakenNumbers() {
    m_TakenNumbers.clear();
    const std::unique_ptr<TQuery> query = m_DataModule.CreateQuery(
        QStringLiteral("SELECT CustomerID FROM Customer WHERE CustomerID LIKE 'CUST%'"), true);
    const TField& id = query->FieldByName(QStringLiteral("CustomerID"));
    for (; !query->Eof(); query->Next()) {
        const QString text = id.AsString();
        bool ok = false;
        const qint64 number = QStringView(text).mid(4).toLongLong(&ok);
        // Only the IDs in the generated form take a number: "CUST0007", not
        // "CUST7" or "CUST00007".
        if (ok && number > 0 && number <= INT_MAX &&
            text == QStringLiteral("CUST") +
                        QString::number(number).rightJustified(4, QLatin1Char('0')))
            m_TakenNumbers.insert(int(number));
    }
}

int CWABImporter::FreeNumberFrom(int start) const {
    int number = start;
    while (m_TakenNumbers.contains(number))
        ++number;
    return number;
}

void CWABImporter::OnEnd() {
    Commit();
}

void CWABImporter::Commit() {
    TDatabase& database = m_DataModule.Connection();
    if (database.InTransaction())
        database.Commit();
}

void CWABImporter::OnRow(const UWAB::TRow&, bool starting) {
    if (starting) {
        m_sCompany.clear();
        m_sEmail.clear();
        m_sTel.clear();
        m_sFax.clear();
        m_sCell.clear();
        m_sFirstName.clear();
        m_sLastName.clear();
        return;
    }
    WriteContact();
    if (m_SinceCommit.elapsed() >= TransactionMs) {
        Commit();
        m_DataModule.Connection().StartTransaction();
        m_SinceCommit.start();
    }
}

void CWABImporter::OnRowProperty(const UWAB::TProperty& property) {
    if (property.Tag == UWAB::PR_EMAIL_ADDRESS)
        m_sEmail = property.Value;
}

void CWABImporter::OnMailUser(const UWAB::TEntry&, bool) {}

void CWABImporter::OnMailUserProperty(const UWAB::TProperty& property) {
    switch (property.Tag) {
    case UWAB::PR_COMPANY_NAME:
        m_sCompany = property.Value;
        break;
    case UWAB::PR_BUSINESS_TELEPHONE_NUMBER:
        m_sTel = property.Value;
        break;
    case UWAB::PR_BUSINESS_FAX_NUMBER:
        m_sFax = property.Value;
        break;
    case UWAB::PR_MOBILE_TELEPHONE_NUMBER:
        m_sCell = property.Value;
        break;
    case UWAB::PR_GIVEN_NAME:
        m_sFirstName = property.Value;
        break;
    case UWAB::PR_SURNAME:
        m_sLastName = property.Value;
        break;
    default:
        break;
    }
}

QString CWABImporter::Fit(const char* column, const QString& value) {
    auto width = m_Widths.constFind(column);
    if (width == m_Widths.cend())
        width =
            m_Widths.insert(column, DMTables::ColumnWidth(CustomerTable, QLatin1String(column)));
    if (*width <= 0 || value.size() <= *width)
        return value;
    return DMTables::FitToColumn(CustomerTable, QLatin1String(column), value);
}

QString CWABImporter::Quoted(const char* column, const QString& value) {
    return QLatin1Char('"') + UDMStatements::Dq(Fit(column, value)) + QLatin1Char('"');
}

void CWABImporter::WriteContact() {
    const QString company = Fit("CompanyName", m_sCompany);
    if (company.isEmpty())
        return;
    try {
        auto known = m_Customers.constFind(company);
        if (known == m_Customers.cend()) {
            // The name compared without regard to case as well lets the
            // company index find the candidates; the exact comparison decides.
            const QString name = Quoted("CompanyName", company);
            const std::unique_ptr<TQuery> query = m_DataModule.CreateQuery(
                QStringLiteral("SELECT * FROM Customer.DB WHERE CompanyName = ") + name +
                    QStringLiteral(" COLLATE NOCASE AND CompanyName = ") + name,
                true);
            if (!query->IsEmpty())
                known = m_Customers.insert(
                    company, query->FieldByName(QStringLiteral("CustomerID")).AsString());
        }
        if (known != m_Customers.cend()) {
            m_DataModule.AddRepresentative(*known, m_sFirstName, m_sLastName, m_sCell, m_sEmail);
            ++m_nRepresentatives;
            return;
        }
        const QString customerID =
            m_DataModule.GetNewCustomerID(FreeNumberFrom(m_nNextNumber), m_nNextNumber);
        m_TakenNumbers.insert(m_nNextNumber);
        m_DataModule.ExecSQL(
            QStringLiteral("INSERT INTO \"Customer.db\" (CustomerID, CompanyName, Email, Tel, "
                           "Fax, Cell, FirstName, LastName) VALUES (") +
            QStringList{Quoted("CustomerID", customerID), Quoted("CompanyName", company),
                        Quoted("Email", m_sEmail), Quoted("Tel", m_sTel), Quoted("Fax", m_sFax),
                        Quoted("Cell", m_sCell), Quoted("FirstName", m_sFirstName),
                        Quoted("LastName", m_sLastName)}
                .join(QStringLiteral(", ")) +
            QLatin1Char(')'));
        m_Customers.insert(company, customerID);
        ++m_nInserted;
    } catch (...) {
        UErrors::RaiseError(
            QStringLiteral("Error importing the contact of '%1':\r\n\r\n").arg(company) +
            UDMStatements::CurrentMessage());
    }
}
