#include "shell/abstract/IDataView.h"

Interfaces::IDataView* g_pDataView = nullptr;
