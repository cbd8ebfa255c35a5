#pragma once

// Writes the database's tables into one XML-like text file: an element per
// table, per row and per field, each field holding its display text as it
// is (nothing is escaped). Lines end in CR LF; the file ends with
// "</Database>" and no line break. Text is written as UTF-8.
//
// Tables, in order: tblCustomer, tblItem, tblServiceContract, tblWorker,
// tblCall, then tblCallComments (the call comments belong to a complete
// export, and with them the row count reaches the progress maximum, which
// counts every exported table).
//
// The progress counts rows: stepped once per row written, asked before each
// row whether the user cancelled. After a Cancel the table being written
// ends where it is and every later table is written empty.

#include "exchange/UExporter.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringEncoder>
#include <array>
#include <memory>

class QFile;
class TDataSet;
class TField;

class TXMLExporter : public IExporter {
public:
    TXMLExporter();
    ~TXMLExporter() override;
    TXMLExporter(const TXMLExporter&) = delete;
    TXMLExporter& operator=(const TXMLExporter&) = delete;

    // Raises EError "Cannot export: NULL Query object." / "Cannot export:
    // NULL Progress object." without either, and "Cannot export: Unable to
    // create file stream object" when the file cannot be made. Choosing no
    // file writes nothing (OnExportAbandoned).
    void Export(Interfaces::IExportQuery* source, IExportProgress* progress) override;

protected:
    virtual void WriteField(TField* field);
    virtual void WriteRow();
    virtual void WriteTable(TDataSet* dataSet);

private:
    void Write(const QString& line);
    void Flush();

    std::array<TDataSet*, 6> m_DataSets{};
    IExportProgress* m_pProgress = nullptr;
    Interfaces::IExportQuery* m_pSource = nullptr;
    QString m_sTargetFile;
    std::unique_ptr<QFile> m_pStream;
    QString m_sLine;                         // the last value written
    QHash<QString, QByteArray> m_FieldHeads; // "    <Fld name='X'>" by field name
    TDataSet* m_pCurrentDataSet = nullptr;
    QByteArray m_Pending; // written to the stream in large pieces
    QStringEncoder m_Encoder{QStringEncoder::Utf8};
};
