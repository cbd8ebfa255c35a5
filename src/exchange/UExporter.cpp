#include "exchange/UExporter.h"

#include "data/DMGlobals.h"
#include "data/engine/TTable.h"

TDataSet* ExportTableOf(TdmlGlobals* dataModule, int index) {
    if (!dataModule || index < 0 || index > 5)
        return nullptr;
    TTable* const tables[] = {dataModule->tblCall,     dataModule->tblCallComments,
                              dataModule->tblCustomer, dataModule->tblItem,
                              dataModule->tblWorker,   dataModule->tblServiceContract};
    return tables[index];
}
