#include "data/DMTables.h"

#include <QHash>
#include <QRegularExpression>

namespace DMTables {

namespace {

// clang-format off
const char* const CreateCall =
    "CREATE TABLE 'Call.db' ("
    "  CallNr CHAR(10),"
    "  CustomerID CHAR(20),"
    "  WorkerNr CHAR(10),"
    "  EquipmentSerialNr CHAR(20),"
    "  OrderNumber CHAR(10),"
    "  JobcardNumber CHAR(10),"
    "  Date_Time TIMESTAMP,"
    "  Status CHAR(20),"
    "  Priority INTEGER,"
    "  Date_TimeFinished TIMESTAMP,"
    "  ProblemDescr CHAR(254),"
    "  Comments CHAR(254),"
    "  PartsUsedReplaced CHAR(254),"
    "  BillTime CHAR(10),"
    "  Billed BOOLEAN,"
    "  Callout BOOLEAN,"
    "  StorageArea CHAR(80),"
    "  MeterReading INTEGER,"
    "PRIMARY KEY (CallNr));";

// Keyed on ID alone: a call has any number of comment lines, and every line's
// GUID is unique across all calls.
const char* const CreateCallComments =
    "CREATE TABLE 'CallComments.db' ("
    "  CallNr CHAR(10),"
    "  ID CHAR(40),"
    "  DateTime TIMESTAMP,"
    "  CommentLine CHAR(255),"
    "PRIMARY KEY (ID));";

const char* const CreateCustomer =
    "CREATE TABLE 'Customer.db' ("
    "  CustomerID CHAR(20),"
    "  LastName CHAR(20),"
    "  FirstName CHAR(20),"
    "  CompanyName CHAR(40),"
    "  Tel CHAR(25),"
    "  Fax CHAR(25),"
    "  Cell CHAR(25),"
    "  Email CHAR(50),"
    "  PhysicalAddr CHAR(80),"
    "  PhysicalCode CHAR(10),"
    "  PostalAddr CHAR(80),"
    "  PostalCode CHAR(10),"
    "  Country CHAR(20),"
    "  Notes CHAR(255),"
    "PRIMARY KEY (CustomerID));";

const char* const CreateItem =
    "CREATE TABLE 'Item.db' ("
    "  SerialNr CHAR(20),"
    "  Brand CHAR(40),"
    "  Model CHAR(30),"
    "  Description CHAR(254),"
    "  Owner CHAR(20),"
    "PRIMARY KEY (SerialNr));";

const char* const CreateRepresentative =
    "CREATE TABLE 'Representative.db' ("
    "  RecID CHAR(40),"
    "  FK_Customer CHAR(20),"
    "  Name CHAR(25),"
    "  Surname CHAR(25),"
    "  Mobile CHAR(20),"
    "  Email CHAR(60),"
    "PRIMARY KEY (RecID));";

const char* const CreateServiceContract =
    "CREATE TABLE 'ServiceContract.db' ("
    "  ItemSerialNr CHAR(20),"
    "  CustomerID CHAR(20),"
    "  ServiceType CHAR(20),"
    "  Comments CHAR(254),"
    "  StillValid BOOLEAN,"
    "PRIMARY KEY (ItemSerialNr));";

const char* const CreateStateTimes =
    "CREATE TABLE 'StateTimes.db' ("
    "  CallNR CHAR(10),"
    "  State CHAR(20),"
    "  DT DATE,"
    "  GUID CHAR(40),"
    "PRIMARY KEY (CallNR));";

const char* const CreateWorker =
    "CREATE TABLE 'Worker.db' ("
    "  WorkerNR CHAR(10),"
    "  Surname CHAR(20),"
    "  Name CHAR(20),"
    "  IDTypeIsPassport BOOLEAN,"
    "  CurrentlyEmployed BOOLEAN,"
    "  IDNr CHAR(13),"
    "PRIMARY KEY (WorkerNR));";

const char* const CallText =
    "Select C.CallNr, C.CustomerID, C.WorkerNr, Z.CompanyName, C.EquipmentSerialNr, \n"
    "\t(I.Brand || \" \" || I.Model || \" \" || I.Description) AS Item, \n"
    "\t(W.Name || \" \"|| W.Surname) AS Worker, \n"
    "\tC.JobcardNumber, C.OrderNumber, C.Date_Time, C.Status, C.Priority\n"
    "FROM Call C\n"
    "LEFT OUTER JOIN Customer Z ON (C.CustomerID = Z.CustomerID)\n"
    "LEFT OUTER JOIN Item I ON (C.EquipmentSerialNr = I.SerialNr)\n"
    "LEFT OUTER JOIN Worker W ON (C.WorkerNr = W.WorkerNR)";

const char* const CallsListText =
    "Select C.CallNr, C.WorkerNr, C.CustomerID, Z.CompanyName, C.EquipmentSerialNr,   "
    "(I.Brand || \" \" || I.Model || \" \" || I.Description) AS Item,"
    "\t(W.Name || \" \" || W.Surname) AS Worker,"
    "\tC.JobcardNumber, C.OrderNumber, C.Date_Time, C.Status, C.Priority, C.Billed\r\n"
    "FROM Call C\r\n"
    "LEFT OUTER JOIN Customer Z ON (C.CustomerID = Z.CustomerID)\r\n"
    "LEFT OUTER JOIN Item I ON (C.EquipmentSerialNr = I.SerialNr)\r\n"
    "LEFT OUTER JOIN Worker W ON (C.WorkerNr = W.WorkerNR)\r\n";

const char* const ItemText =
    "SELECT I.SerialNr, I.Brand, I.Model, I.Description, I.Owner, O.CompanyName, S.ServiceType \n"
    "FROM Item.DB I\n"
    "LEFT OUTER JOIN Customer O ON (I.Owner = O.CustomerID)\n"
    "LEFT OUTER JOIN ServiceContract S ON (I.SerialNr = S.ItemSerialNr)";

const char* const ServiceContractText =
    "SELECT S.ItemSerialNr, S.CustomerID, S.ServiceType, S.StillValid, S.Comments, C.CompanyName, I.Brand, I.Model\n"
    "FROM ServiceContract.DB S\n"
    "LEFT OUTER JOIN Customer C ON (S.CustomerID = C.CustomerID)\n"
    "LEFT OUTER JOIN Item I ON (S.ItemSerialNr = I.SerialNr)";

const char* const WorkerText =
    "SELECT W.Name, W.Surname, W.IDNR, W.WorkerNR, COUNT (C.WorkerNR) AS CallCount\n"
    "FROM Worker.DB W \n"
    "LEFT OUTER JOIN CALL.DB C ON (W.WorkerNR = C.WorkerNR)\n"
    "GROUP BY W.Name, W.Surname, W.IDNR, W.WorkerNR";

const char* const CustomerText = "Select * From Customer.DB";

const char* const RepresentativesText =
    "Select * \n"
    "From Representative.DB\n"
    "Where :ID = FK_Customer";
// clang-format on

} // namespace

// A lookup column's index carries the table's key after it, so that a list
// that reads only the keys and a joined column (to sort by it) walks that
// index in join order instead of the whole table, and finds the joined rows
// one after another rather than all over their file. SQLite counts the
// columns that the calls list's other joins look at as read even where it
// leaves those joins out, so the index on Call.CustomerID carries them too;
// it is then the only one that serves such a read, and the customers (the
// large table joined) are met in order. The workers' index in the order the
// worker list groups by lets that list count the calls of its first rows
// first instead of every call before showing anything.
const QList<TTableDef>& TableDefs() {
    static const QList<TTableDef> defs = {
        {"Call",
         "Call.db",
         CreateCall,
         {{"Call_Customer", "CustomerID, CallNr, WorkerNr, EquipmentSerialNr"},
          {"Call_Worker", "WorkerNr"},
          {"Call_Item", "EquipmentSerialNr"}}},
        {"CallComments",
         "CallComments.db",
         CreateCallComments,
         {{"CallComments_Call", "CallNr, DateTime"}}},
        {"Customer",
         "Customer.db",
         CreateCustomer,
         {{"Customer_Company", "CompanyName COLLATE NOCASE"}}},
        {"Item", "Item.db", CreateItem, {{"Item_Owner", "Owner, SerialNr"}}},
        {"Representative",
         "Representative.db",
         CreateRepresentative,
         {{"Representative_Customer", "FK_Customer"}}},
        {"ServiceContract",
         "ServiceContract.db",
         CreateServiceContract,
         {{"ServiceContract_Customer", "CustomerID, ItemSerialNr"}}},
        {"StateTimes", "StateTimes.db", CreateStateTimes, {}},
        {"Worker", "Worker.db", CreateWorker, {{"Worker_Group", "Name, Surname, IDNr, WorkerNR"}}},
    };
    return defs;
}

namespace {
// Declared while the program starts, so that the data module, the demo data
// tool and the benchmark all open the files with the same indexes.
[[maybe_unused]] const bool g_IndexesDeclared = [] {
    for (const TTableDef& def : TableDefs())
        TDatabase::DeclareIndexes(QLatin1String(def.Name), def.Indexes);
    return true;
}();
} // namespace

const TTableDef* FindTableDef(const QString& name) {
    QString bare = name.trimmed();
    if (bare.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
        bare.chop(3);
    for (const TTableDef& def : TableDefs())
        if (bare.compare(QLatin1String(def.Name), Qt::CaseInsensitive) == 0)
            return &def;
    return nullptr;
}

QString SqlCallText() {
    return QString::fromLatin1(CallText);
}

QString SqlCallsListText() {
    return QString::fromLatin1(CallsListText);
}

QString SqlItemText() {
    return QString::fromLatin1(ItemText);
}

QString SqlServiceContractText() {
    return QString::fromLatin1(ServiceContractText);
}

QString SqlWorkerText() {
    return QString::fromLatin1(WorkerText);
}

QString SqlCustomerText() {
    return QString::fromLatin1(CustomerText);
}

QString SqlRepresentativesText() {
    return QString::fromLatin1(RepresentativesText);
}

QString FitToColumn(const QString& table, const QString& column, const QString& value) {
    const int width = ColumnWidth(table, column);
    if (width <= 0 || value.size() <= width)
        return value;
    // A character outside the basic plane is not cut in two.
    return value.left(value[width - 1].isHighSurrogate() ? width - 1 : width);
}

int ColumnWidth(const QString& table, const QString& column) {
    // The widths of the creation statements, read once: "customer.email" -> 50.
    static const QHash<QString, int> widths = [] {
        QHash<QString, int> result;
        static const QRegularExpression definition(
            QStringLiteral("(\\w+)\\s+(?:VAR)?CHAR\\s*\\(\\s*(\\d+)"),
            QRegularExpression::CaseInsensitiveOption);
        for (const TTableDef& def : TableDefs()) {
            const QString name = QString::fromLatin1(def.Name).toLower() + QLatin1Char('.');
            auto match = definition.globalMatch(QString::fromLatin1(def.CreateSql));
            while (match.hasNext()) {
                const QRegularExpressionMatch found = match.next();
                result.insert(name + found.captured(1).toLower(), found.captured(2).toInt());
            }
        }
        return result;
    }();
    const TTableDef* def = FindTableDef(table);
    if (!def)
        return 0;
    return widths.value(QString::fromLatin1(def->Name).toLower() + QLatin1Char('.') +
                        column.toLower());
}

} // namespace DMTables
