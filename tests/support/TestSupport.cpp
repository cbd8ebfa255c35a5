#include "support/TestSupport.h"

#include "data/engine/TTable.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextDocumentFragment>

namespace TestSupport {

QString ShownText(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QTextDocumentFragment::fromHtml(text).toPlainText().trimmed();
}

QString WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

std::unique_ptr<TTable> OpenTable(TDatabase& db, const QString& name) {
    auto table = std::make_unique<TTable>();
    table->SetDatabase(&db);
    table->SetTableName(name);
    table->Open();
    return table;
}

QList<QStringList> RowTexts(TStatement& statement) {
    QList<QStringList> rows;
    while (statement.Step()) {
        QStringList row;
        for (int c = 0; c < statement.ColumnCount(); ++c)
            row << (statement.IsNull(c) ? QStringLiteral("<null>") : statement.Text(c));
        rows << row;
    }
    return rows;
}

} // namespace TestSupport

QStringList TestSupport::PdfPages(const QString& fileName) {
    QProcess process;
    process.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
                  {QStringLiteral("-layout"), fileName, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

bool TestSupport::CanReadPdf() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}
