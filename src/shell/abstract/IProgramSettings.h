#pragma once

// The lists the main window offers to the rest of the program. The main
// window implements it and sets g_pProgramSettings; users without it keep
// lists of their own.

#include "shell/files/UStrings.h"

namespace Interfaces {

class IProgramSettings {
public:
    virtual ~IProgramSettings() = default;
    // A copy of the call status list.
    virtual UStrings::ListStr GetStatusList() = 0;
    // A copy of the country list, read again from its file at every call.
    virtual UStrings::ListStr GetCountryList() = 0;
};

} // namespace Interfaces

// The main window's IProgramSettings; nullptr until the main window exists.
extern Interfaces::IProgramSettings* g_pProgramSettings;
