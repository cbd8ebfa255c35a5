#include "shell/abstract/IProgramSettings.h"

Interfaces::IProgramSettings* g_pProgramSettings = nullptr;
