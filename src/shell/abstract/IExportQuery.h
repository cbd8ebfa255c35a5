#pragma once

// What an exporter asks of the main window: the tables to export and the file
// to write them to.

#include <QString>

class TDataSet;

namespace Interfaces {

class IExportQuery {
public:
    virtual ~IExportQuery() = default;
    // A table of the data module by number: 0 Call, 1 CallComments,
    // 2 Customer, 3 Item, 4 Worker, 5 ServiceContract; nullptr for any other.
    virtual TDataSet* GetExportTable(int index) = 0;
    // Asks the user for the file to write; an empty name when cancelled.
    // `filter` is "Description|*.ext" (pairs separated by '|').
    virtual QString ChooseTargetFile(const QString& filter, const QString& defaultExtension) = 0;
};

} // namespace Interfaces
