#include "exchange/UXMLExporter.h"

#include "data/engine/TDataSet.h"
#include "data/engine/TDatabase.h"
#include "data/engine/TField.h"
#include "shell/UErrors.h"
#include "shell/abstract/IExportQuery.h"

#include <QFile>
#include <optional>

namespace {
// Source numbers of the tables in the order they are written.
constexpr int TableOrder[] = {2, 3, 5, 4, 0, 1};
constexpr qsizetype FlushSize = 1 << 20;
} // namespace

TXMLExporter::TXMLExporter() = default;
TXMLExporter::~TXMLExporter() = default;

void TXMLExporter::Export(Interfaces::IExportQuery* source, IExportProgress* progress) {
    m_pSource = source;
    m_pProgress = progress;
    if (!source)
        UErrors::RaiseError(QStringLiteral("Cannot export: NULL Query object."));
    if (!progress)
        UErrors::RaiseError(QStringLiteral("Cannot export: NULL Progress object."));
    progress->OnExportStart();

    m_sTargetFile =
        source->ChooseTargetFile(QStringLiteral("XML Files (*.xml)|*.xml"), QStringLiteral(".xml"));
    if (m_sTargetFile.isEmpty()) {
        progress->OnExportAbandoned();
        return;
    }
    m_pStream = std::make_unique<QFile>(m_sTargetFile);
    if (!m_pStream->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_pStream.reset();
        UErrors::RaiseError(QStringLiteral("Cannot export: Unable to create file stream object"));
    }

    m_Pending.reserve(FlushSize + 64 * 1024);
    qint64 rows = 0;
    for (int i = 0; i < int(m_DataSets.size()); ++i) {
        m_DataSets[size_t(i)] = source->GetExportTable(i);
        if (TDataSet* dataSet = m_DataSets[size_t(i)])
            rows += dataSet->RecordCount();
    }
    // Tables are read whole in key order: through memory maps, pages the
    // cache misses cost no system call.
    std::optional<TDatabase::TMappedReads> mapped;
    for (TDataSet* dataSet : m_DataSets) {
        if (dataSet && dataSet->Database() && !mapped)
            mapped.emplace(*dataSet->Database());
    }
    UAbstract::IProgress& counter = progress->Progress();
    counter.SetMin(0);
    counter.SetStep(1);
    counter.SetMax(int(std::min<qint64>(rows, std::numeric_limits<int>::max())));
    progress->OnRangeSet();
    progress->OnBeforeWrite();

    Write(QStringLiteral("<Database version='1.0'>\r\n"));
    for (const int index : TableOrder)
        WriteTable(m_DataSets[size_t(index)]);
    Write(QStringLiteral("</Database>"));
    Flush();

    progress->OnExportEnd();
    m_pStream->close();
    m_pStream.reset();
}

void TXMLExporter::WriteTable(TDataSet* dataSet) {
    m_pCurrentDataSet = dataSet;
    if (!m_pProgress)
        return;
    m_pProgress->OnTableStart();
    Write(QStringLiteral("<Table name='%1'>\r\n").arg(dataSet ? dataSet->objectName() : QString()));
    if (dataSet) {
        UAbstract::IProgress& counter = m_pProgress->Progress();
        for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) {
            if (counter.IsCancelled())
                break;
            WriteRow();
            counter.StepIt();
        }
    }
    m_pProgress->OnTableEnd();
    Write(QStringLiteral("</Table>\r\n"));
}

void TXMLExporter::WriteRow() {
    m_pProgress->OnRowStart();
    Write(QStringLiteral("  <Row>\r\n"));
    for (TField* field : m_pCurrentDataSet->Fields())
        WriteField(field);
    Write(QStringLiteral("  </Row>\r\n"));
    m_pProgress->OnRowEnd();
}

void TXMLExporter::WriteField(TField* field) {
    m_pProgress->OnFieldStart();
    if (field) {
        // The line's fixed parts are encoded once per field name; only the
        // value is encoded for every row.
        QByteArray& head = m_FieldHeads[field->FieldName()];
        if (head.isEmpty())
            head = QByteArrayLiteral("    <Fld name='") + field->FieldName().toUtf8() + "'>";
        m_sLine = field->DisplayText();
        m_Pending += head;
        Write(m_sLine);
        m_Pending += QByteArrayView("</Fld>\r\n");
    }
    m_pProgress->OnFieldEnd();
}

void TXMLExporter::Write(const QString& line) {
    // Encoded straight onto the end of what is waiting to be written.
    const qsizetype used = m_Pending.size();
    m_Pending.resize(used + line.size() * 3);
    char* const end = m_Encoder.appendToBuffer(m_Pending.data() + used, line);
    m_Pending.truncate(end - m_Pending.constData());
    if (m_Pending.size() >= FlushSize)
        Flush();
}

void TXMLExporter::Flush() {
    if (m_Pending.isEmpty() || !m_pStream)
        return;
    if (m_pStream->write(m_Pending) != m_Pending.size())
        UErrors::RaiseError(QStringLiteral("Error writing the export file:\r\n\r\n") +
                            m_pStream->errorString());
    m_Pending.resize(0); // the capacity stays for the next piece
}
