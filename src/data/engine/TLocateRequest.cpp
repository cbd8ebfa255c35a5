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

TLocateRequest TLocateRequest::Part(const std::function<bool(int column)>& keep) const {
    TLocateRequest part;
    part.CaseInsensitive = CaseInsensitive;
    part.Partial = Partial;
    for (qsizetype i = 0; i < Columns.size(); ++i) {
        if (keep(Columns[i])) {
            part.Columns << Columns[i];
            part.Values.push_back(Values[size_t(i)]);
        }
    }
    return part;
}

bool TLocateRequest::IndexRanges(TDatabase& database, const QList<TField*>& fields, qsizetype i,
                                 TIndexRanges& out) const {
    const TField* field = fields.value(Columns[i]);
    if (!field || field->OriginTable().isEmpty() || field->OriginColumn().isEmpty() ||
        field->DataType() != TFieldType::String)
        return false;
    const QString& table = field->OriginTable();
    const QString& column = field->OriginColumn();
    bool text = false;
    for (const TDatabase::TColumn& c : database.Columns(table))
        text = text || (c.Name.compare(column, Qt::CaseInsensitive) == 0 &&
                        USqlDialect::KindOfDeclType(c.DeclType) == USqlDialect::TColumnKind::Text);
    if (!text)
        return false;
    // A NOCASE index serves a search without regard to case best.
    QString collation;
    for (const TDatabase::TIndexInfo& index : database.Indexes(table)) {
        if (index.FirstColumn.compare(column, Qt::CaseInsensitive) == 0 &&
            (index.Collation == QLatin1String("NOCASE") ||
             (index.Collation == QLatin1String("BINARY") && collation.isEmpty())))
            collation = index.Collation;
    }
    out.Table = table;
    out.Column = column;
    out.NoCase = collation == QLatin1String("NOCASE");
    return !collation.isEmpty() && Values[size_t(i)].TextRanges(out.NoCase, out.Ranges);
}

bool TLocateRequest::NoRowCanMatch(TDatabase& database, const QList<TField*>& fields) const {
    TIndexRanges ranges;
    for (qsizetype i = 0; i < Columns.size(); ++i) {
        if (IndexRanges(database, fields, i, ranges) &&
            !database.AnyTextIn(ranges.Table, ranges.Column, ranges.NoCase, ranges.Ranges))
            return true;
    }
    return false;
}
