#include "shell/files/UStrings.h"

namespace UStrings {

ListStr::ListStr(const QString& text) {
    SetText(text);
}

void ListStr::SetText(const QString& text) {
    m_Lines.clear();
    qsizetype start = 0;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        m_Lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < length && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < length)
        m_Lines.append(text.mid(start));
}

QString ListStr::Text() const {
    QString text;
    for (const QString& line : m_Lines) {
        text += line;
        text += LineBreak;
    }
    return text;
}

} // namespace UStrings
