#pragma once

// Figures 13 to 16 of the benchmark, on the program's copy of the database
// directory (they change its files): opening the call editor on a call and
// saving a change of status with Apply, an item's call history written as a
// PDF, and an address book of 10,000 contacts imported; each beside its
// floor.
//
// The program's side runs first, after deleting and adding on the same copy;
// the floors run afterwards: the history's on the program's copy, the
// editor's and the import's on the floor's copy after those of deleting and
// adding.

#include "UBenchSupport.h"

#include <QString>
#include <optional>
#include <vector>

class TdmlGlobals;

// A contact of the imported address book.
struct TContact {
    QString Company, Given, Surname, Tel, Fax, Cell, Email;
};

class TReportFigures {
public:
    // `dm` is open on the program's copy; the address book and the PDF go
    // into `scratch`.
    TReportFigures(TdmlGlobals& dm, const QString& scratch, int repeat);

    // (14), (15), (13) and (16), in that order, through the data module.
    void MeasureProgram();
    // The floor of 13 on the program's copy `programCopy`.
    void MeasureHistoryFloor(const QString& programCopy);
    // The floors of 14 to 16 on the floor's copy, with the call table's read
    // and the calls list's statement as SQLite runs them.
    void MeasureFloors(TFloor& copyFloor, const QString& callTableRead, const QString& callListSql);

    std::vector<TFigure> Figures(const TGoals& goals) const;

private:
    void MeasureCallEditor();
    void MeasureHistory();
    void MeasureImport();
    void MeasureEditorFloors(TFloor& copyFloor, const QString& callTableRead,
                             const QString& callListSql);
    void MeasureImportFloor(TFloor& copyFloor);

    TdmlGlobals& m_Dm;
    const QString m_Scratch;
    const int m_Repeat;

    // (13) The item whose history is printed, the report's statement as the
    // engine runs it, and the times.
    QString m_HistoryItem;
    QString m_HistorySql;
    std::vector<double> m_Histories;
    std::vector<double> m_HistoryFloors;
    // (14) and (15): the calls edited, as the list shows them, the status
    // each was given, and the editor's lookup statements as SQLite runs them.
    std::vector<TCallKeys> m_Edited;
    std::vector<QString> m_NewStatus;
    std::vector<QString> m_LookupSql;
    QString m_UpdateStatusSql;
    QString m_InsertLineSql;
    std::vector<double> m_EditorOpens;
    std::vector<double> m_StatusApplies;
    std::vector<double> m_OpenFloors;
    std::vector<double> m_StatusFloors;
    // (16) The address book, the import's statements as SQLite runs them,
    // and the times.
    const std::vector<TContact> m_Contacts;
    std::optional<double> m_ImportTime;
    double m_ImportFloor = 0;
    int m_Imported = 0;
    QString m_CompanySql;
    QString m_FreeCustomerSql;
    QString m_InsertCustomerSql;
    QString m_InsertRepresentativeSql;
};
