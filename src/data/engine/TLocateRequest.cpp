#include "data/engine/TLocateRequest.h"

#include "data/engine/EDatabaseError.h"
#include "data/engine/TDataSet.h"
#include "data/engine/TDatabase.h"
#include "data/engine/TField.h"

TLocateRequest TLocateRequest::For(const TDataSet& dataSet, const QString& fields,
                                   const QVariant& values, bool caseInsensitive, bool partial) {
    const QStringList names = TField::SplitNames(fields);
    QVariantList list;
    if (values.typeId() == QMetaType::QVariantList)
        list = values.toList();
    else if (values.typeId() == QMetaType::QStringList)
        for (const QString& value : values.toStringList())
            list << value;
    else
        list << values;
    if (names.isEmpty() || names.size() != list.size())
        throw EDatabaseError(
            QStringLiteral("Locate on '%1' needs one value per field").arg(fields));
    TLocateRequest request;
    request.CaseInsensitive = caseInsensitive;
    request.Partial = partial;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const TField& field = dataSet.FieldByName(names[i]);
        request.Columns << field.Index();
        request.Values.emplace_back(list[i], field.DataType(), caseInsensitive, partial);
    }
    return request;
}

bool TLocateRequest::Matches(const TRowView& row) const {
    for (qsizetype i = 0; i < Columns.size(); ++i) {
        if (!Values[size_t(i)].Matches(row.Cell(Columns[i])))
            return false;
    }
    return true;
}

bool TLocateRequest::NoRowCanMatch(TDatabase& database, const QList<TField*>& fields) const {
    for (qsizetype i = 0; i < Columns.size(); ++i) {
        const TField* field = fields.value(Columns[i]);
        if (!field || field->OriginTable().isEmpty() || field->OriginColumn().isEmpty() ||
            field->DataType() != TFieldType::String)
            continue;
        const QString& table = field->OriginTable();
        const QString& column = field->OriginColumn();
        bool text = false;
        for (const TDatabase::TColumn& c : database.Columns(table))
            text =
                text || (c.Name.compare(column, Qt::CaseInsensitive) == 0 &&
                         USqlDialect::KindOfDeclType(c.DeclType) == USqlDialect::TColumnKind::Text);
        if (!text)
            continue;
        // A NOCASE index serves a search without regard to case best.
        QString collation;
        for (const TDatabase::TIndexInfo& index : database.Indexes(table)) {
            if (index.FirstColumn.compare(column, Qt::CaseInsensitive) == 0 &&
                (index.Collation == QLatin1String("NOCASE") ||
                 (index.Collation == QLatin1String("BINARY") && collation.isEmpty())))
                collation = index.Collation;
        }
        QList<TTextRange> ranges;
        const bool noCase = collation == QLatin1String("NOCASE");
        if (!collation.isEmpty() && Values[size_t(i)].TextRanges(noCase, ranges) &&
            !database.AnyTextIn(table, column, noCase, ranges))
            return true;
    }
    return false;
}
