#pragma once

// How the rest of the program asks the main window to bring a list window to
// the front. The main window implements it and sets g_pDataView.

namespace Interfaces {

// View numbers of ShowDataList.
enum TDataViewNr : int {
    dvCalls = 0,
    dvItems = 1,
    dvCustomers = 2,
    dvServiceContracts = 3,
    dvWorkers = 4,
};

class IDataView {
public:
    virtual ~IDataView() = default;
    // Brings the list window of `view` (a TDataViewNr) to the front; any
    // other number does nothing.
    virtual void ShowDataList(int view) = 0;
};

} // namespace Interfaces

// The main window's IDataView; nullptr until the main window exists.
extern Interfaces::IDataView* g_pDataView;
