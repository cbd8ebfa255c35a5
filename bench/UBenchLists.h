#pragma once

// Figures 1 to 8 of the benchmark: start-up, opening the lists, the
// incremental search, sorting, GotoRecord from a call to its customer, item,
// worker and contract, a call's detail queries, deleting a customer and
// adding a call, each beside its floor.
//
// They run in phases, so that the other groups can run between them: the
// program's side of 1 to 6 on the data module's directory, their floors on
// the same files, then 7 and 8 on the program's copy of the directory and
// their floors on the floor's copy.

#include "UBenchSupport.h"

#include <QString>
#include <QStringList>
#include <vector>

class TdmlGlobals;

class TListFigures {
public:
    // `dm` is open on the database directory; `calls` is its number of calls.
    TListFigures(TdmlGlobals& dm, int repeat, qint64 calls);

    // (1) to (6), the program's side, through the data module.
    void MeasureProgram();
    // The floors of 1 to 6 on the files of `directory`.
    void MeasureFloors(const QString& directory);
    // (7) and (8), with the data module moved to `programCopy` and opened as
    // at start-up; it stays there for the figures that follow.
    void MeasureChanges(const QString& programCopy);
    // The floors of 7 and 8 on the floor's copy.
    void MeasureChangeFloors(TFloor& copyFloor);

    std::vector<TFigure> Figures(const TGoals& goals) const;

    // The calls that GotoRecord, the details and the list windows start from.
    const std::vector<TCallKeys>& Samples() const { return m_Samples; }
    // What opening the call table reads: its rows in key order.
    const QString& CallTableRead() const { return m_TableReads[3]; }
    // The calls list's statement as SQLite runs it.
    const QString& CallListSql() const { return m_Translated[0]; }

private:
    void MeasureSearch();
    void MeasureSort();
    void PickSamples();
    void MeasureGoto();
    void MeasureDetails();
    void TypedFloor(TFloor& floor, const QString& text, std::vector<double>& times);
    double SortedFloor(TFloor& floor, const char* column);
    void LocateFloor(TFloor& floor, const QString& sql, const std::vector<const char*>& columns,
                     const QStringList& keys, std::vector<double>& times);
    void PrepareChanges();

    TdmlGlobals& m_Dm;
    const int m_Repeat;
    const qint64 m_Calls;

    // The lists' statements as SQLite runs them.
    std::vector<QString> m_Translated;
    // What opening a table reads: its rows in key order.
    std::vector<QString> m_TableReads;
    std::vector<double> m_Startup;
    std::vector<double> m_StartupFloors;
    std::vector<double> m_ListTimes[5];
    std::vector<double> m_ListFloors[5];
    // The prefix typed in the search, and a text that matches no company.
    QString m_Prefix;
    const QString m_Nothing = QStringLiteral("Zzzzz");
    qint64 m_PrefixRow = 0;
    std::vector<double> m_Keystrokes;
    std::vector<double> m_MissKeystrokes;
    std::vector<double> m_KeyFloors;
    std::vector<double> m_MissFloors;
    // The call made current before sorting.
    QString m_SortedCall;
    std::vector<double> m_SortCompany;
    std::vector<double> m_SortBack;
    std::vector<double> m_CompanyFloors;
    std::vector<double> m_BackFloors;
    std::vector<TCallKeys> m_Samples;
    std::vector<double> m_GotoTimes[4];
    std::vector<double> m_GotoFloors[4];
    std::vector<QString> m_DetailSql;
    std::vector<double> m_DetailTimes;
    std::vector<double> m_DetailFloors;

    // (7) and (8): the customers deleted with their cascades as SQLite runs
    // them, the statements of adding a call, and the times.
    std::vector<QString> m_Customers;
    std::vector<QStringList> m_Cascades;
    QString m_LastCallSql;
    QString m_FreeCallSql;
    QString m_InsertLineSql;
    QString m_InsertCallSql;
    std::vector<double> m_Deletes;
    std::vector<double> m_Adds;
    std::vector<double> m_DeleteFloors;
    std::vector<double> m_AddFloors;
};
