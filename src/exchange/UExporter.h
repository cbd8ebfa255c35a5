#pragma once

// The exporters' side of an export: an exporter writes the tables that an
// IExportQuery hands it and counts its rows on the IExportProgress it is
// given, which also tells it when the user cancelled.

#include "shell/abstract/UAbstract.h"

class TDataSet;
class TdmlGlobals;

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

// An export progress that only counts: every notification is ignored.
class TCountingExportProgress : public IExportProgress {
public:
    void OnExportStart() override {}
    void OnRangeSet() override {}
    void OnBeforeWrite() override {}
    void OnExportEnd() override {}
    void OnExportAbandoned() override {}
    void OnTableStart() override {}
    void OnTableEnd() override {}
    void OnRowStart() override {}
    void OnRowEnd() override {}
    void OnFieldStart() override {}
    void OnFieldEnd() override {}
};

// The data module's table of an export number: 0 Call, 1 CallComments,
// 2 Customer, 3 Item, 4 Worker, 5 ServiceContract; nullptr for any other
// number or without a module.
TDataSet* ExportTableOf(TdmlGlobals* dataModule, int index);

class IExporter {
public:
    virtual ~IExporter() = default;
    // Writes what `source` offers into the file it chooses.
    virtual void Export(Interfaces::IExportQuery* source, IExportProgress* progress) = 0;
};
