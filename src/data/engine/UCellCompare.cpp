#include "data/engine/UCellCompare.h"

#include <algorithm>
#include <cstring>

namespace UCellCompare {

namespace {

int Rank(const TCell& cell) {
    switch (cell.Kind) {
    case TCell::Null:
        return 0;
    case TCell::Integer:
    case TCell::Float:
        return 1;
    case TCell::Text:
        return 2;
    case TCell::Blob:
        return 3;
    }
    return 0;
}

inline unsigned char Lower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

QByteArray CellUtf8(const TCell& cell) {
    return cell.IsNumber() ? cell.ToText().toUtf8() : QByteArray();
}

// The smallest text above every text that begins with `prefix` (bytewise);
// empty when there is none.
QByteArray Beyond(QByteArray prefix) {
    while (!prefix.isEmpty()) {
        const auto last = static_cast<unsigned char>(prefix.back());
        if (last < 0xff) {
            prefix.back() = char(last + 1);
            return prefix;
        }
        prefix.chop(1);
    }
    return prefix;
}

// The two characters beyond ASCII whose case folding is an ASCII letter (the
// long s and the Kelvin sign); a test checks the list against Qt's tables.
bool FoldedFromBeyondAscii(char c) {
    return c == 's' || c == 'k';
}

// Most spellings in letter case of a search text that a BINARY index is
// asked for, one seek each.
constexpr int MaxSpellings = 32;

} // namespace

int Compare(const TCell& a, const TCell& b) {
    const int ra = Rank(a);
    const int rb = Rank(b);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    switch (a.Kind) {
    case TCell::Null:
        return 0;
    case TCell::Integer:
    case TCell::Float:
        if (a.Kind == TCell::Integer && b.Kind == TCell::Integer)
            return a.Int < b.Int ? -1 : (a.Int > b.Int ? 1 : 0);
        {
            const double x = a.Kind == TCell::Integer ? double(a.Int) : a.Real;
            const double y = b.Kind == TCell::Integer ? double(b.Int) : b.Real;
            return x < y ? -1 : (x > y ? 1 : 0);
        }
    case TCell::Text: {
        const size_t n = std::min(a.Bytes.size(), b.Bytes.size());
        for (size_t i = 0; i < n; ++i) {
            const unsigned char x = Lower(static_cast<unsigned char>(a.Bytes[i]));
            const unsigned char y = Lower(static_cast<unsigned char>(b.Bytes[i]));
            if (x != y)
                return x < y ? -1 : 1;
        }
        return a.Bytes.size() < b.Bytes.size() ? -1 : (a.Bytes.size() > b.Bytes.size() ? 1 : 0);
    }
    case TCell::Blob: {
        const size_t n = std::min(a.Bytes.size(), b.Bytes.size());
        const int c = n ? std::memcmp(a.Bytes.data(), b.Bytes.data(), n) : 0;
        if (c != 0)
            return c < 0 ? -1 : 1;
        return a.Bytes.size() < b.Bytes.size() ? -1 : (a.Bytes.size() > b.Bytes.size() ? 1 : 0);
    }
    }
    return 0;
}

void AppendSortKey(std::string& key, const TCell& cell, bool descending, bool noCase) {
    const size_t start = key.size();
    key.push_back(char(1 + Rank(cell)));
    switch (cell.Kind) {
    case TCell::Null:
        break;
    case TCell::Integer:
    case TCell::Float: {
        double value = cell.Kind == TCell::Integer ? double(cell.Int) : cell.Real;
        if (value == 0)
            value = 0; // -0 sorts as 0
        quint64 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        bits = (bits & (quint64(1) << 63)) ? ~bits : bits ^ (quint64(1) << 63);
        for (int shift = 56; shift >= 0; shift -= 8)
            key.push_back(char((bits >> shift) & 0xff));
        break;
    }
    case TCell::Text:
    case TCell::Blob:
        // Zero bytes are escaped so that the terminator sorts the shorter first.
        for (const char c : cell.Bytes) {
            const auto byte = static_cast<unsigned char>(c);
            key.push_back(char(cell.Kind == TCell::Text && noCase ? Lower(byte) : byte));
            if (byte == 0)
                key.push_back(char(0xff));
        }
        key.push_back(0);
        key.push_back(0);
        break;
    }
    if (descending) {
        for (size_t i = start; i < key.size(); ++i)
            key[i] = char(~static_cast<unsigned char>(key[i]));
    }
}

std::vector<qint64> SortedOrder(const TRowStore& store, const QList<int>& columns,
                                bool descending) {
    // Each row gets one byte key; rows compare by its first sixteen bytes,
    // held in the entry, mostly, and by memcmp of the rest otherwise.
    struct TEntry {
        quint64 High;
        quint64 Low;
        quint64 Offset;
        quint32 Length;
        quint32 Row;
    };
    const qint64 n = store.Count();
    std::string keys;
    keys.reserve(size_t(n) * 24);
    std::vector<TEntry> entries(static_cast<size_t>(n));
    for (qint64 row = 0; row < n; ++row) {
        const size_t offset = keys.size();
        for (qsizetype c = 0; c < columns.size(); ++c)
            AppendSortKey(keys, store.Cell(row, columns[c]), descending && c == 0, c == 0);
        TEntry& entry = entries[size_t(row)];
        entry.Offset = offset;
        entry.Length = quint32(keys.size() - offset);
        entry.Row = quint32(row);
        unsigned char head[16] = {};
        std::memcpy(head, keys.data() + offset, std::min<size_t>(entry.Length, sizeof head));
        entry.High = entry.Low = 0;
        for (size_t i = 0; i < 8; ++i) {
            entry.High = (entry.High << 8) | head[i];
            entry.Low = (entry.Low << 8) | head[8 + i];
        }
    }
    const char* base = keys.data();
    std::sort(entries.begin(), entries.end(), [base](const TEntry& a, const TEntry& b) {
        if (a.High != b.High)
            return a.High < b.High;
        if (a.Low != b.Low)
            return a.Low < b.Low;
        // The heads are alike (a key shorter than its head is padded with
        // zeros, and no key is the beginning of another unless they are equal).
        const quint32 both = std::min(a.Length, b.Length);
        if (both > 16) {
            const int c = std::memcmp(base + a.Offset + 16, base + b.Offset + 16, both - 16);
            if (c != 0)
                return c < 0;
        }
        if (a.Length != b.Length)
            return a.Length < b.Length;
        return a.Row < b.Row;
    });
    std::vector<qint64> order;
    order.reserve(entries.size());
    for (const TEntry& entry : entries)
        order.push_back(entry.Row);
    return order;
}

bool NumberOf(const TCell& cell, double& number) {
    if (cell.Kind == TCell::Integer) {
        number = double(cell.Int);
        return true;
    }
    if (cell.Kind == TCell::Float) {
        number = cell.Real;
        return true;
    }
    return cell.Kind == TCell::Text && TField::ReadNumber(cell.Bytes, number);
}

// ---------------------------------------------------------------------------

TSearchValue::TSearchValue(const QVariant& value, TFieldType type, bool caseInsensitive,
                           bool partial)
    : m_Type(type), m_CaseInsensitive(caseInsensitive), m_Partial(partial) {
    if (value.isNull() || !value.isValid()) {
        m_Blank = true;
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        m_Text = value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        break;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        m_Text = TField::StoredText(TField::ToStored(
            type == TFieldType::Date ? TFieldType::Date : TFieldType::DateTime, 0, value, {}));
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        m_Text = TField::StoredText(value.toDouble());
        break;
    default:
        m_Text = value.toString();
        break;
    }
    if (m_Text.isEmpty()) {
        m_Blank = true;
        return;
    }
    if (type == TFieldType::Boolean) {
        if (const QString b = TField::BooleanText(m_Text); !b.isEmpty())
            m_Text = b;
        m_CaseInsensitive = true;
    }
    if (type == TFieldType::Integer || type == TFieldType::Float)
        m_IsNumber = TField::ReadNumber(m_Text, m_Number);
    m_Utf8 = m_Text.toUtf8();
    m_Lower = m_Utf8;
    for (char& c : m_Lower) {
        if (static_cast<unsigned char>(c) & 0x80)
            m_Ascii = false;
        c = char(Lower(static_cast<unsigned char>(c)));
    }
    m_Folded = m_Text.toCaseFolded();
}

bool TSearchValue::Matches(const TCell& cell) const {
    if (m_Blank)
        return m_Partial || cell.IsBlank();
    if (cell.IsNull())
        return false;
    if (m_IsNumber && !m_Partial) {
        double number = 0;
        return NumberOf(cell, number) && number == m_Number;
    }
    if (cell.IsNumber()) {
        const QByteArray text = CellUtf8(cell);
        return MatchesText(std::string_view(text.constData(), size_t(text.size())));
    }
    return MatchesText(cell.Bytes);
}

bool TSearchValue::TextRanges(bool noCase, QList<TTextRange>& ranges) const {
    ranges.clear();
    if (m_Blank || m_IsNumber)
        return false;
    if (!m_CaseInsensitive) {
        // The text begins with exactly these bytes; NOCASE folds ASCII only.
        const QByteArray from = noCase ? m_Lower : m_Utf8;
        ranges.append({from, Beyond(from)});
        return true;
    }
    // A text matches when its first characters fold to those of the search.
    // Only its ASCII head can be put as ranges: each character there is the
    // same ASCII letter in either case or, for 's' and 'k', a character beyond
    // ASCII (which sorts after every ASCII byte).
    QByteArray head;
    for (const QChar c : m_Folded) {
        if (c.unicode() >= 0x80)
            break;
        head.append(char(c.unicode()));
    }
    if (head.isEmpty())
        return false;
    QList<QByteArray> spellings{QByteArray()};
    for (const char c : std::as_const(head)) {
        if (FoldedFromBeyondAscii(c)) {
            for (const QByteArray& before : std::as_const(spellings))
                ranges.append({before + char(0x80), Beyond(before)});
        }
        const char upper = (c >= 'a' && c <= 'z') ? char(c - 32) : c;
        QList<QByteArray> next;
        for (const QByteArray& before : std::as_const(spellings)) {
            next << before + c;
            if (!noCase && upper != c)
                next << before + upper;
        }
        if (next.size() > MaxSpellings)
            return false;
        spellings = std::move(next);
    }
    for (const QByteArray& spelling : std::as_const(spellings))
        ranges.append({spelling, Beyond(spelling)});
    return true;
}

bool TSearchValue::MatchesText(std::string_view text) const {
    const auto n = size_t(m_Utf8.size());
    if (!m_CaseInsensitive) {
        if (m_Partial)
            return text.size() >= n && std::memcmp(text.data(), m_Utf8.constData(), n) == 0;
        return text.size() == n && std::memcmp(text.data(), m_Utf8.constData(), n) == 0;
    }
    if (m_Ascii) {
        // Up to the first non-ASCII byte positions line up with the folded
        // texts, so an ASCII mismatch there settles the matter.
        bool plain = true;
        const size_t m = std::min(n, text.size());
        for (size_t i = 0; i < m; ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (c & 0x80) {
                plain = false;
                break;
            }
            if (Lower(c) != static_cast<unsigned char>(m_Lower[qsizetype(i)]))
                return false;
        }
        if (plain) {
            if (text.size() < n)
                return false;
            if (m_Partial)
                return true;
            if (text.size() == n)
                return true;
            // Longer: equal only if the rest folds away, which ASCII never does.
            bool restAscii = true;
            for (size_t i = n; i < text.size() && restAscii; ++i)
                restAscii = !(static_cast<unsigned char>(text[i]) & 0x80);
            if (restAscii)
                return false;
        }
    }
    const QString folded = QString::fromUtf8(text.data(), qsizetype(text.size())).toCaseFolded();
    return m_Partial ? folded.startsWith(m_Folded) : folded == m_Folded;
}

} // namespace UCellCompare
