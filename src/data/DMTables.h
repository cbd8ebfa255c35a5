#pragma once

// The eight tables of the database (one file each in the database directory),
// their creation statements, and the joined queries that the lists show. All
// texts are in the program's own SQL dialect (see data/engine/USqlDialect.h)
// and are kept character for character as the lists and the start-up have
// always run them.

#include "data/engine/TDatabase.h"

#include <QList>
#include <QString>

namespace DMTables {

struct TTableDef {
    const char* Name;      // "Call"
    const char* File;      // "Call.db", in the database directory
    const char* CreateSql; // the statement that creates the file
    // Secondary indexes on the columns that joins, detail queries and
    // deletions look rows up by, and on the names that are searched and
    // sorted. The engine makes them (TDatabase::DeclareIndexes) for every
    // program that links these definitions, with new files and on old ones.
    QList<TDatabase::TIndexDef> Indexes;
};

// All tables in the order in which missing files are created: Call,
// CallComments, Customer, Item, Representative, ServiceContract, StateTimes,
// Worker.
const QList<TTableDef>& TableDefs();

// The table named `name` (letter case and a ".db" suffix do not matter);
// nullptr when there is none.
const TTableDef* FindTableDef(const QString& name);

// The data module's joined queries. Their lines are joined by "\n".
QString SqlCallText();            // all calls with company, item and worker
QString SqlItemText();            // items with owner's company and contract type
QString SqlServiceContractText(); // contracts with company, brand and model
QString SqlWorkerText();          // workers with their number of calls
QString SqlCustomerText();        // all customers
QString SqlRepresentativesText(); // a customer's representatives; parameter :ID

// The base text of the main window's call views: like SqlCallText with
// C.Billed added; every line, the last included, ends with "\r\n", so that a
// WHERE clause can be appended directly.
QString SqlCallsListText();

// `value` cut to the width `table`.`column` is created with (CHAR(n) in its
// creation statement), as a field cuts the text set through it: statements
// that write text of unknown length put it through here. A column without a
// width, or one the table does not have, leaves the value whole.
QString FitToColumn(const QString& table, const QString& column, const QString& value);
// That width; 0 for none. Letter case does not matter.
int ColumnWidth(const QString& table, const QString& column);

} // namespace DMTables
