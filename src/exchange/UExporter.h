#pragma once

// The exporters' side of an export: an exporter writes the tables that an
// IExportQuery hands it and counts its rows on the IExportProgress it is
// given, which also tells it when the user cancelled.

#include "shell/abstract/UAbstract.h"

namespace Interfaces {
class IExportQuery;
}

// The progress of a running export: a row counter (range, step, position and
// the user's Cancel) and notifications of how far the exporter has come. An
// implementation may ignore the notifications.
class IExportProgress {
public:
    virtual ~IExportProgress() = default;
    virtual UAbstract::IProgress& Progress() = 0;

    virtual void OnExportStart() = 0;
    virtual void OnRangeSet() = 0;
    virtual void OnBeforeWrite() = 0;
    virtual void OnExportEnd() = 0;
    virtual void OnExportAbandoned() = 0;
    virtual void OnTableStart() = 0;
    virtual void OnTableEnd() = 0;
    virtual void OnRowStart() = 0;
    virtual void OnRowEnd() = 0;
    virtual void OnFieldStart() = 0;
    virtual void OnFieldEnd() = 0;
};

class IExporter {
public:
    virtual ~IExporter() = default;
    // Writes what `source` offers into the file it chooses.
    virtual void Export(Interfaces::IExportQuery* source, IExportProgress* progress) = 0;
};
