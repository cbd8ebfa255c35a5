#pragma once

// Turns the contacts of the address book into customers and representatives,
// as a visitor of the address book's walk (CWABIterator). Each row's e-mail
// and its contact's company, telephone, fax, cell and names are collected;
// at the end of the row:
//  - no company: nothing is written;
//  - a company no customer has: a new customer with the next free "CUST0001"
//    style ID (IDs already taken are skipped);
//  - a company that a customer has (the first one with that name, letter case
//    counting): a representative of that customer with the contact's names,
//    cell and e-mail.
// Every value is cut to its column's created width on the way in (a company
// is looked up as it would be stored) and quoted with the engine's helper.
// The next free ID is searched, from where the last search ended, when a
// customer is about to be added; the IDs taken are read once at the start,
// so the data module's search starts at a free one. A company is looked up
// in the database once per walk, and the customer found or added for it is
// remembered (the database is closed to everything else while the walk
// runs).
//
// The rows are written in transactions of a few hundred milliseconds' work,
// so a large address book goes in quickly; whatever was written stays, also
// when the walk is cancelled or fails (the importer's end, or its
// destructor, commits). A failing statement is raised as "Error importing
// the contact of '<company>':" with the engine's message.

#include "exchange/UWABIterator.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QString>

class TdmlGlobals;

class CWABImporter : public CWABIterator::IVisitor {
public:
    // The module must outlive the importer.
    explicit CWABImporter(TdmlGlobals& dataModule);
    ~CWABImporter() override;
    CWABImporter(const CWABImporter&) = delete;
    CWABImporter& operator=(const CWABImporter&) = delete;

    void OnBegin() override;
    void OnEnd() override;
    void OnRow(const UWAB::TRow& row, bool starting) override;
    void OnRowProperty(const UWAB::TProperty& property) override;
    void OnMailUser(const UWAB::TEntry& contact, bool starting) override;
    void OnMailUserProperty(const UWAB::TProperty& property) override;

    // What the walk added so far.
    int CustomersAdded() const { return m_nInserted - 1; }
    int RepresentativesAdded() const { return m_nRepresentatives; }
    int ContactsAdded() const { return CustomersAdded() + RepresentativesAdded(); }

private:
    void WriteContact();
    // `value` cut to the width of the customer's `column`, and that between
    // double quotes, escaped.
    QString Fit(const char* column, const QString& value);
    QString Quoted(const char* column, const QString& value);
    void Commit();
    // The numbers of the customer IDs in the generated form.
    void ReadTakenNumbers();
    // The first number from `start` on that no ID read or added takes.
    int FreeNumberFrom(int start) const;

    TdmlGlobals& m_DataModule;
    QString m_sCompany;
    QString m_sEmail;
    QString m_sTel;
    QString m_sFax;
    QString m_sCell;
    QString m_sFirstName;
    QString m_sLastName;
    int m_nInserted = 1; // one more than the customers inserted
    int m_nNextNumber = 1;
    int m_nRepresentatives = 0;
    // Company name -> the customer that has it.
    QHash<QString, QString> m_Customers;
    // The customer columns' widths, as they are asked for.
    QHash<const char*, int> m_Widths;
    QSet<int> m_TakenNumbers;
    QElapsedTimer m_SinceCommit;
};
