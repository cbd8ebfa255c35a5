#pragma once

// ListStr: an ordered list of text lines, passed by value. SQL texts and the
// status and country lists travel in this form.
//
// Reading a text splits it at every line break ("\r\n", "\n" or a lone "\r");
// a break at the very end does not start another, empty line. Text() writes
// every line followed by "\r\n", the last one too, so a query text always ends
// with a line break and a clause appended to it starts on a line of its own.
// Reading Text() back gives the same lines.

#include <QString>
#include <QStringList>

namespace UStrings {

class ListStr {
public:
    ListStr() = default;
    explicit ListStr(const QString& text);
    explicit ListStr(const QStringList& lines) : m_Lines(lines) {}

    // Replaces every line by the lines of `text`.
    void SetText(const QString& text);
    // The lines, each followed by "\r\n"; empty for an empty list.
    QString Text() const;

    void Add(const QString& line) { m_Lines.append(line); }
    void Clear() { m_Lines.clear(); }

    int Count() const { return static_cast<int>(m_Lines.size()); }
    bool IsEmpty() const { return m_Lines.isEmpty(); }
    const QString& operator[](int index) const { return m_Lines.at(index); }
    const QStringList& Lines() const { return m_Lines; }

    QStringList::const_iterator begin() const { return m_Lines.cbegin(); }
    QStringList::const_iterator end() const { return m_Lines.cend(); }

    friend bool operator==(const ListStr&, const ListStr&) = default;

    static inline const QString LineBreak = QStringLiteral("\r\n");

private:
    QStringList m_Lines;
};

} // namespace UStrings
