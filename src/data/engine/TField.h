#pragma once

// One column of a dataset. A field reads and writes the value of its column in
// the dataset's current row (or in the row being edited or inserted); it holds
// no value of its own.
//
// Values travel in their stored form (see TDatabase.h): text for CHAR,
// BOOLEAN ('True'/'False'), DATE and TIMESTAMP columns, qint64 for INTEGER,
// double for FLOAT, and a null QVariant for a missing value. The typed
// accessors convert from and to that form.
//
// Blank and null are one thing here, as in the files: IsNull() is true for a
// missing value and for an empty text.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <string_view>

class TDataSet;

enum class TFieldType { Unknown, String, Integer, Float, Boolean, Date, DateTime };

class TField {
public:
    TField(TDataSet* dataSet, const QString& name);
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    TDataSet* DataSet() const { return m_pDataSet; }
    const QString& FieldName() const { return m_Name; }
    TFieldType DataType() const { return m_Type; }
    // Width of a text field in characters (from CHAR(n)); 0 when unlimited.
    // A narrower width may be set; text set through the field is cut to it.
    int Size() const { return m_Size; }
    void SetSize(int size);
    // Position among the dataset's fields; -1 while the dataset is closed or
    // the column is not in its result.
    int Index() const { return m_Index; }
    bool IsBound() const { return m_Index >= 0; }

    // Title of the field in grids; the field name unless set.
    QString DisplayLabel() const { return m_Label.isEmpty() ? m_Name : m_Label; }
    void SetDisplayLabel(const QString& label) { m_Label = label; }
    bool Visible() const { return m_Visible; }
    void SetVisible(bool visible) { m_Visible = visible; }
    // A read-only field refuses values. Columns that do not come from the
    // written table of a live dataset are always read-only.
    bool ReadOnly() const { return m_ReadOnly || !m_Writable; }
    void SetReadOnly(bool readOnly) { m_ReadOnly = readOnly; }

    // The table column behind the field, when known.
    const QString& OriginTable() const { return m_OriginTable; }
    const QString& OriginColumn() const { return m_OriginColumn; }

    // Reading the current row.
    bool IsNull() const;
    QVariant StoredValue() const;
    // The value typed: QString, qint64, double, bool, QDate or QDateTime; a
    // null QVariant when null.
    QVariant Value() const;
    QString AsString() const;
    qint64 AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;
    QDateTime AsDateTime() const;
    // The text shown to the user: booleans "True"/"False", dates and times in
    // the user's short formats, empty for null.
    QString DisplayText() const;

    // Writing the row being edited or inserted. Raise EDatabaseError when the
    // dataset is not editing, the field is read-only or the value does not
    // suit the field's type.
    void SetValue(const QVariant& value);
    void SetAsString(const QString& value);
    void SetAsInteger(qint64 value);
    void SetAsFloat(double value);
    void SetAsBoolean(bool value);
    void SetAsDateTime(const QDateTime& value);
    void Clear();

    // Conversions shared by the engine. `stored` is a value in stored form.
    static TFieldType TypeOfDeclType(const QString& declType, int* size = nullptr);
    static QString StoredText(const QVariant& stored);
    static QVariant TypedValue(TFieldType type, const QVariant& stored);
    static QString DisplayTextOf(TFieldType type, const QVariant& stored);
    // Converts a value to the stored form of a field of `type` and `size`;
    // raises EDatabaseError when it does not fit the type. `name` is for the
    // message.
    static QVariant ToStored(TFieldType type, int size, const QVariant& value, const QString& name);
    // Field names separated by ';', as Locate and SetKeyFields take them:
    // each trimmed, blanks left out.
    static QStringList SplitNames(const QString& names);
    // 'True'/'False' for a text that reads as a boolean, else an empty text.
    static QString BooleanText(const QString& text);
    // Reads a text as a plain decimal number: blanks around it, a sign,
    // digits with a decimal point, an exponent ("-12", " .5 ", "1.5E+3").
    // Nothing else counts: not "nan", "inf", hexadecimal nor a value beyond
    // the range of a double. `value` is set only when the text is a number.
    static bool ReadNumber(std::string_view text, double& value);
    static bool ReadNumber(const QString& text, double& value);

private:
    friend class TDataSet;

    TDataSet* m_pDataSet;
    QString m_Name;
    QString m_Label;
    QString m_OriginTable;
    QString m_OriginColumn;
    TFieldType m_Type = TFieldType::Unknown;
    int m_Size = 0;
    int m_DeclaredSize = 0;
    int m_Index = -1;
    bool m_Visible = true;
    bool m_ReadOnly = false;
    bool m_Writable = true;
    bool m_SizeSet = false;
};
