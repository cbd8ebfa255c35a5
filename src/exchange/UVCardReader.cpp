#include "exchange/UVCardReader.h"

#include <QStringDecoder>

namespace {

// The file's text as UTF-8 bytes where it came in UTF-16; a byte-order mark
// goes.
QByteArray WithoutByteOrderMark(const QByteArray& data) {
    if (data.startsWith("\xEF\xBB\xBF"))
        return data.mid(3);
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringConverter::Utf16);
        return QString(utf16(data)).toUtf8();
    }
    return data;
}

QList<QByteArray> PhysicalLines(const QByteArray& text) {
    QList<QByteArray> lines;
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines << text.mid(start, i - start);
        if (c == '\r' && i + 1 < size && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines << text.mid(start);
    return lines;
}

bool IsQuotedPrintable(const QByteArray& line) {
    const qsizetype colon = line.indexOf(':');
    return (colon < 0 ? line : line.left(colon)).toUpper().contains("QUOTED-PRINTABLE");
}

// The physical lines joined into the logical ones: folded lines and the soft
// breaks of quoted-printable values undone.
QList<QByteArray> LogicalLines(const QByteArray& text) {
    QList<QByteArray> lines;
    QByteArray current;
    bool open = false;
    int quotedPrintable = -1; // of the current line; -1 while not yet known
    for (const QByteArray& line : PhysicalLines(text)) {
        if (open && current.endsWith('=')) {
            if (quotedPrintable < 0)
                quotedPrintable = IsQuotedPrintable(current) ? 1 : 0;
            if (quotedPrintable == 1) {
                current.chop(1);
                current += line;
                continue;
            }
        }
        if (open && (line.startsWith(' ') || line.startsWith('\t'))) {
            current += line.mid(1);
            continue;
        }
        if (open)
            lines << current;
        current = line;
        open = true;
        quotedPrintable = -1;
    }
    if (open)
        lines << current;
    return lines;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray DecodeQuotedPrintable(const QByteArray& value) {
    QByteArray bytes;
    bytes.reserve(value.size());
    const qsizetype size = value.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (value[i] == '=' && i + 2 < size && HexValue(value[i + 1]) >= 0 &&
            HexValue(value[i + 2]) >= 0) {
            bytes += char(HexValue(value[i + 1]) * 16 + HexValue(value[i + 2]));
            i += 2;
        } else {
            bytes += value[i];
        }
    }
    return bytes;
}

QString DecodeText(const QByteArray& bytes, const QByteArray& charset) {
    if (!charset.isEmpty()) {
        QStringDecoder named(charset.constData());
        if (named.isValid()) {
            QString text = named(bytes);
            if (!named.hasError())
                return text;
        }
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// `text` cut at every `separator` that stands outside double quotes.
QList<QByteArray> SplitOutsideQuotes(const QByteArray& text, char separator) {
    QList<QByteArray> parts;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == separator && !quoted) {
            parts << text.mid(start, i - start);
            start = i + 1;
        }
    }
    parts << text.mid(start);
    return parts;
}

qsizetype ColonOutsideQuotes(const QByteArray& line) {
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return -1;
}

// One logical line as a property; false for a line that is none.
bool ReadProperty(const QByteArray& line, TVCardProperty& property) {
    const qsizetype colon = ColonOutsideQuotes(line);
    if (colon < 0)
        return false;
    const QList<QByteArray> head = SplitOutsideQuotes(line.left(colon), ';');
    QByteArray name = head.first().trimmed();
    name = name.mid(name.lastIndexOf('.') + 1).toUpper();
    if (name.isEmpty())
        return false;
    property.Name = QString::fromLatin1(name);

    bool quotedPrintable = false;
    QByteArray charset;
    for (qsizetype i = 1; i < head.size(); ++i) {
        const QByteArray& parameter = head[i];
        const qsizetype equals = parameter.indexOf('=');
        if (equals < 0) {
            const QByteArray bare = parameter.trimmed().toUpper();
            if (bare == "QUOTED-PRINTABLE")
                quotedPrintable = true;
            else if (!bare.isEmpty() && bare != "BASE64" && bare != "8BIT" && bare != "7BIT")
                property.Types << QString::fromLatin1(bare);
            continue;
        }
        const QByteArray key = parameter.left(equals).trimmed().toUpper();
        QByteArray value = parameter.mid(equals + 1).trimmed();
        value.replace('"', QByteArray());
        if (key == "TYPE") {
            for (const QByteArray& type : value.split(',')) {
                const QByteArray upper = type.trimmed().toUpper();
                if (!upper.isEmpty())
                    property.Types << QString::fromLatin1(upper);
            }
        } else if (key == "ENCODING") {
            quotedPrintable = value.toUpper() == "QUOTED-PRINTABLE";
        } else if (key == "CHARSET") {
            charset = value;
        } else if (key == "PREF") {
            property.Types << QStringLiteral("PREF");
        }
    }
    QByteArray value = line.mid(colon + 1);
    if (quotedPrintable)
        value = DecodeQuotedPrintable(value);
    property.Value = DecodeText(value, charset);
    return true;
}

QString Unescape(QStringView value) {
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            text += c;
            continue;
        }
        const QChar next = value[++i];
        if (next == QLatin1Char('n') || next == QLatin1Char('N'))
            text += QLatin1Char('\n');
        else if (next == QLatin1Char(',') || next == QLatin1Char(';') ||
                 next == QLatin1Char('\\') || next == QLatin1Char(':'))
            text += next;
        else
            text += c + QString(next);
    }
    return text;
}

} // namespace

QString TVCardProperty::Text() const {
    return Unescape(Value);
}

QStringList TVCardProperty::Components() const {
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < Value.size(); ++i) {
        if (Value[i] == QLatin1Char('\\'))
            ++i;
        else if (Value[i] == QLatin1Char(';')) {
            parts << Unescape(QStringView(Value).mid(start, i - start));
            start = i + 1;
        }
    }
    parts << Unescape(QStringView(Value).mid(qMin(start, Value.size())));
    return parts;
}

const TVCardProperty* TVCard::Find(const QString& name) const {
    for (const TVCardProperty& property : Properties) {
        if (property.Name == name)
            return &property;
    }
    return nullptr;
}

QList<TVCard> ReadVCards(const QByteArray& data) {
    QList<TVCard> cards;
    TVCard card;
    int depth = 0; // 1 inside a card, more inside a card nested in it
    for (const QByteArray& line : LogicalLines(WithoutByteOrderMark(data))) {
        TVCardProperty property;
        if (!ReadProperty(line, property))
            continue;
        const bool vcard =
            property.Value.trimmed().compare(QLatin1String("VCARD"), Qt::CaseInsensitive) == 0;
        if (property.Name == QLatin1String("BEGIN") && vcard) {
            if (depth++ == 0)
                card = TVCard();
        } else if (property.Name == QLatin1String("END") && vcard) {
            if (depth > 0 && --depth == 0)
                cards << card;
        } else if (depth == 1) {
            card.Properties << property;
        }
    }
    if (depth > 0)
        cards << card;
    return cards;
}
