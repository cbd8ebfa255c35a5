#include "data/engine/TField.h"

#include "data/engine/TDataSet.h"
#include "data/engine/TDatabase.h"

#include <QLocale>
#include <QRegularExpression>
#include <charconv>
#include <cmath>

TField::TField(TDataSet* dataSet, const QString& name) : m_pDataSet(dataSet), m_Name(name) {}

void TField::SetSize(int size) {
    m_Size = qMax(0, size);
    m_SizeSet = true;
}

// ---------------------------------------------------------------------------
// Reading

QVariant TField::StoredValue() const {
    return m_pDataSet->FieldStoredValue(*this);
}

bool TField::IsNull() const {
    const QVariant stored = StoredValue();
    return stored.isNull() ||
           (stored.typeId() == QMetaType::QString && stored.toString().isEmpty());
}

QVariant TField::Value() const {
    return TypedValue(m_Type, StoredValue());
}

QString TField::AsString() const {
    return StoredText(StoredValue());
}

qint64 TField::AsInteger() const {
    const QVariant stored = StoredValue();
    if (stored.isNull())
        return 0;
    if (stored.typeId() == QMetaType::LongLong)
        return stored.toLongLong();
    if (stored.typeId() == QMetaType::Double)
        return qint64(std::llround(stored.toDouble()));
    const QString text = stored.toString().trimmed();
    if (text.isEmpty())
        return 0;
    if (m_Type == TFieldType::Boolean)
        return AsBoolean() ? 1 : 0;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok)
        throw EDatabaseError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

double TField::AsFloat() const {
    const QVariant stored = StoredValue();
    if (stored.isNull())
        return 0;
    if (stored.typeId() == QMetaType::LongLong || stored.typeId() == QMetaType::Double)
        return stored.toDouble();
    const QString text = stored.toString().trimmed();
    if (text.isEmpty())
        return 0;
    double value = 0;
    if (!ReadNumber(text, value))
        throw EDatabaseError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

bool TField::AsBoolean() const {
    const QVariant stored = StoredValue();
    if (stored.isNull())
        return false;
    if (stored.typeId() == QMetaType::LongLong || stored.typeId() == QMetaType::Double)
        return stored.toDouble() != 0;
    return BooleanText(stored.toString()) == QLatin1String("True");
}

QDateTime TField::AsDateTime() const {
    const QVariant stored = StoredValue();
    if (stored.isNull())
        return {};
    return UStorage::ParseDateTime(stored.toString());
}

QString TField::DisplayText() const {
    return DisplayTextOf(m_Type, StoredValue());
}

// ---------------------------------------------------------------------------
// Writing

void TField::SetValue(const QVariant& value) {
    m_pDataSet->SetFieldStoredValue(*this, ToStored(m_Type, m_Size, value, m_Name));
}

void TField::SetAsString(const QString& value) {
    SetValue(value);
}

void TField::SetAsInteger(qint64 value) {
    SetValue(value);
}

void TField::SetAsFloat(double value) {
    SetValue(value);
}

void TField::SetAsBoolean(bool value) {
    SetValue(value);
}

void TField::SetAsDateTime(const QDateTime& value) {
    SetValue(value);
}

void TField::Clear() {
    SetValue(QVariant());
}

// ---------------------------------------------------------------------------
// Conversions

TFieldType TField::TypeOfDeclType(const QString& declType, int* size) {
    const QString t = declType.trimmed().toUpper();
    if (size) {
        static const QRegularExpression width(QStringLiteral("\\(\\s*(\\d+)"));
        const auto match = width.match(t);
        *size = match.hasMatch() ? match.captured(1).toInt() : 0;
    }
    if (t.isEmpty())
        return TFieldType::Unknown;
    if (t.startsWith(QLatin1String("CHAR")) || t.startsWith(QLatin1String("VARCHAR")) ||
        t.startsWith(QLatin1String("TEXT")) || t.startsWith(QLatin1String("CLOB")))
        return TFieldType::String;
    if (t.startsWith(QLatin1String("BOOL")) || t == QLatin1String("LOGICAL"))
        return TFieldType::Boolean;
    if (t.startsWith(QLatin1String("TIMESTAMP")) || t == QLatin1String("DATETIME"))
        return TFieldType::DateTime;
    if (t == QLatin1String("DATE"))
        return TFieldType::Date;
    if (t.contains(QLatin1String("INT")))
        return TFieldType::Integer;
    if (t.startsWith(QLatin1String("FLOAT")) || t.startsWith(QLatin1String("REAL")) ||
        t.startsWith(QLatin1String("DOUBLE")) || t.startsWith(QLatin1String("NUMERIC")) ||
        t.startsWith(QLatin1String("DECIMAL")) || t == QLatin1String("MONEY"))
        return TFieldType::Float;
    return TFieldType::String;
}

QString TField::StoredText(const QVariant& stored) {
    if (stored.isNull())
        return {};
    if (stored.typeId() == QMetaType::Double)
        return QString::number(stored.toDouble(), 'g', 15);
    return stored.toString();
}

QStringList TField::SplitNames(const QString& names) {
    QStringList result;
    for (const QString& name : names.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = name.trimmed();
        if (!trimmed.isEmpty())
            result << trimmed;
    }
    return result;
}

QString TField::BooleanText(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("True");
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("False");
    return {};
}

bool TField::ReadNumber(std::string_view text, double& value) {
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    size_t i = 0;
    const size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    for (; i < n && digit(text[i]); ++i)
        ++digits;
    if (i < n && text[i] == '.') {
        for (++i; i < n && digit(text[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        size_t exponent = 0;
        for (; i < n && digit(text[i]); ++i)
            ++exponent;
        if (exponent == 0)
            return false;
    }
    if (i != n)
        return false;
    // from_chars reads the rest as checked above, but no leading '+'.
    const char* begin = text.data() + (text.front() == '+' ? 1 : 0);
    double number = 0;
    const auto [end, error] = std::from_chars(begin, text.data() + n, number);
    if (error != std::errc() || end != text.data() + n || !std::isfinite(number))
        return false;
    value = number;
    return true;
}

bool TField::ReadNumber(const QString& text, double& value) {
    const QByteArray utf8 = text.toUtf8();
    return ReadNumber(std::string_view(utf8.constData(), size_t(utf8.size())), value);
}

QVariant TField::TypedValue(TFieldType type, const QVariant& stored) {
    if (stored.isNull())
        return {};
    const bool text = stored.typeId() == QMetaType::QString;
    if (text && stored.toString().isEmpty() && type != TFieldType::String &&
        type != TFieldType::Unknown)
        return {};
    switch (type) {
    case TFieldType::Boolean:
        if (!text)
            return stored.toDouble() != 0;
        if (const QString b = BooleanText(stored.toString()); !b.isEmpty())
            return b == QLatin1String("True");
        return stored;
    case TFieldType::Integer:
        if (text) {
            bool ok = false;
            const qint64 value = stored.toString().trimmed().toLongLong(&ok);
            return ok ? QVariant(value) : stored;
        }
        return stored.typeId() == QMetaType::Double ? QVariant(qint64(stored.toDouble())) : stored;
    case TFieldType::Float:
        if (text) {
            double value = 0;
            return ReadNumber(stored.toString(), value) ? QVariant(value) : stored;
        }
        return stored.toDouble();
    case TFieldType::DateTime:
        if (const QDateTime dt = UStorage::ParseDateTime(stored.toString()); dt.isValid())
            return dt;
        return stored;
    case TFieldType::Date:
        if (const QDateTime dt = UStorage::ParseDateTime(stored.toString()); dt.isValid())
            return dt.date();
        return stored;
    case TFieldType::String:
        return StoredText(stored);
    case TFieldType::Unknown:
        break;
    }
    return stored;
}

QString TField::DisplayTextOf(TFieldType type, const QVariant& stored) {
    if (stored.isNull())
        return {};
    switch (type) {
    case TFieldType::Boolean: {
        const QVariant typed = TypedValue(type, stored);
        if (typed.typeId() == QMetaType::Bool)
            return typed.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        break;
    }
    case TFieldType::DateTime:
    case TFieldType::Date: {
        // Read and shown as the wall-clock time stored: no time zone asked
        // (a UTC value formats the same digits).
        QDate date;
        QTime time;
        if (!UStorage::ParseStamp(stored.toString(), date, time)) {
            const QDateTime dt = UStorage::ParseDateTime(stored.toString());
            if (!dt.isValid())
                break;
            date = dt.date();
            time = dt.time();
        }
        if (type == TFieldType::Date)
            return QLocale().toString(date, QLocale::ShortFormat);
        return QLocale().toString(QDateTime(date, time, Qt::UTC), QLocale::ShortFormat);
    }
    default:
        break;
    }
    return StoredText(stored);
}

namespace {

[[noreturn]] void NotA(const char* what, const QVariant& value, const QString& name) {
    throw EDatabaseError(QStringLiteral("'%1' is not a valid %2 value for field '%3'")
                             .arg(value.toString(), QLatin1String(what), name));
}

bool IsNumber(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

} // namespace

QVariant TField::ToStored(TFieldType type, int size, const QVariant& value, const QString& name) {
    if (value.isNull() || !value.isValid())
        return {};
    const int id = value.typeId();
    const bool isText = id == QMetaType::QString || id == QMetaType::QByteArray;
    if (isText && value.toString().isEmpty())
        return type == TFieldType::String ? QVariant(QString()) : QVariant();
    switch (type) {
    case TFieldType::String:
    case TFieldType::Unknown: {
        QString text;
        if (id == QMetaType::Bool)
            text = value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        else if (id == QMetaType::QDateTime)
            text = UStorage::DateTimeText(value.toDateTime());
        else if (id == QMetaType::QDate)
            text = UStorage::DateText(value.toDate());
        else if (type == TFieldType::Unknown && IsNumber(value))
            return id == QMetaType::Double || id == QMetaType::Float ? QVariant(value.toDouble())
                                                                     : QVariant(value.toLongLong());
        else
            text = value.toString();
        if (size > 0 && text.size() > size)
            text.truncate(size);
        return text;
    }
    case TFieldType::Integer: {
        if (id == QMetaType::Bool)
            return qint64(value.toBool() ? 1 : 0);
        if (id == QMetaType::Double || id == QMetaType::Float) {
            const double d = value.toDouble();
            if (d != std::floor(d))
                NotA("integer", value, name);
            return qint64(d);
        }
        bool ok = false;
        const qint64 result =
            isText ? value.toString().trimmed().toLongLong(&ok) : value.toLongLong(&ok);
        if (!ok)
            NotA("integer", value, name);
        return result;
    }
    case TFieldType::Float: {
        double result = 0;
        bool ok = false;
        if (isText)
            ok = ReadNumber(value.toString(), result);
        else
            result = value.toDouble(&ok);
        if (!ok)
            NotA("floating point", value, name);
        return result;
    }
    case TFieldType::Boolean: {
        if (id == QMetaType::Bool)
            return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        if (IsNumber(value))
            return value.toDouble() != 0 ? QStringLiteral("True") : QStringLiteral("False");
        const QString b = BooleanText(value.toString());
        if (b.isEmpty())
            NotA("boolean", value, name);
        return b;
    }
    case TFieldType::DateTime:
    case TFieldType::Date: {
        QDateTime dt;
        if (id == QMetaType::QDateTime)
            dt = value.toDateTime();
        else if (id == QMetaType::QDate)
            dt = value.toDate().startOfDay();
        else if (isText)
            dt = UStorage::ParseDateTime(value.toString());
        if (!dt.isValid())
            NotA(type == TFieldType::Date ? "date" : "date and time", value, name);
        return type == TFieldType::Date ? UStorage::DateText(dt.date())
                                        : UStorage::DateTimeText(dt);
    }
    }
    return value;
}
