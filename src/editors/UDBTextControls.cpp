#include "editors/UDBTextControls.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QChar CharAt(const QString& text, qsizetype i, QChar fallback = QChar()) {
    return i >= 0 && i < text.size() ? text.at(i) : fallback;
}

// The blank character of a Qt input mask ("mask;blank").
QChar MaskBlank(const QString& qtMask) {
    return CharAt(qtMask.section(QLatin1Char(';'), 1, 1), 0, QLatin1Char(' '));
}

// QLineEdit's own "no limit".
constexpr int UnlimitedLength = 32767;

// Positions of a Qt input mask: the mask character of each position of the
// text, or 0 for a literal.
QList<QChar> MaskPositions(const QString& qtMask) {
    QList<QChar> positions;
    const QString mask = qtMask.section(QLatin1Char(';'), 0, 0);
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        if (c == QLatin1Char('>') || c == QLatin1Char('<') || c == QLatin1Char('!'))
            continue;
        if (c == QLatin1Char('\\') && i + 1 < mask.size()) {
            positions << QChar();
            ++i;
            continue;
        }
        positions << (QStringLiteral("AaNnXx90Dd#HhBb").contains(c) ? c : QChar());
    }
    return positions;
}

} // namespace

// ---------------------------------------------------------------------------
// TDBEdit

TDBEdit::TDBEdit(QWidget* parent)
    : QLineEdit(parent), TDBControl([this] { Load(); }, [this] { Q_EMIT Changed(); }) {
    connect(this, &QLineEdit::textChanged, this, [this] { TextChanged(); });
    Load();
}

void TDBEdit::SetMaxLength(int length) {
    m_nMaxLength = qMax(0, length);
    ApplyLimits();
}

void TDBEdit::SetCharCase(TCharCase charCase) {
    m_CharCase = charCase;
}

void TDBEdit::SetCharSet(TCharSet charSet) {
    m_CharSet = charSet;
    switch (charSet) {
    case TCharSet::Any:
        setValidator(nullptr);
        break;
    case TCharSet::Digits:
        setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
        break;
    case TCharSet::LettersAndDigits:
        setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[\\p{L}\\p{N}]*")), this));
        break;
    }
}

void TDBEdit::SetReadOnly(bool readOnly) {
    m_bReadOnly = readOnly;
    setReadOnly(m_bReadOnly || !m_Link.CanModify());
}

void TDBEdit::ApplyLimits() {
    if (!inputMask().isEmpty())
        return;
    const int length = m_nMaxLength > 0 ? m_nMaxLength : FieldWidth();
    setMaxLength(length > 0 ? length : UnlimitedLength);
}

void TDBEdit::Load() {
    m_bLoading = true;
    ApplyLimits();
    setEnabled(m_bEnabled);
    setReadOnly(m_bReadOnly || !m_Link.CanModify());
    const QString value = m_Link.Text();
    if (value != StoredText() || value.isEmpty())
        ShowText(value);
    m_bLoading = false;
}

void TDBEdit::TextChanged() {
    if (m_bLoading)
        return;
    if (m_CharCase == TCharCase::Upper) {
        const QString upper = text().toUpper();
        if (upper != text()) {
            const int cursor = cursorPosition();
            m_bLoading = true;
            setText(upper);
            m_bLoading = false;
            setCursorPosition(cursor);
        }
    }
    Commit(StoredText());
}

// ---------------------------------------------------------------------------
// TDBMaskEdit

TDBMaskEdit::TDBMaskEdit(QWidget* parent) : TDBEdit(parent) {}

QString TDBMaskEdit::QtInputMask(const QString& classicMask) {
    const QStringList parts = classicMask.split(QLatin1Char(';'));
    QString mask = parts.value(0);
    const QString blank =
        parts.size() > 2 && !parts.at(2).isEmpty() ? parts.at(2).left(1) : QStringLiteral("_");
    QString result;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        switch (c.unicode()) {
        case '!':
            break;
        case '0':
            result += QLatin1Char('9');
            break;
        case '9':
            result += QLatin1Char('0');
            break;
        case 'L':
            result += QLatin1Char('A');
            break;
        case 'l':
            result += QLatin1Char('a');
            break;
        case 'A':
            result += QLatin1Char('N');
            break;
        case 'a':
            result += QLatin1Char('n');
            break;
        case 'C':
            result += QLatin1Char('X');
            break;
        case 'c':
            result += QLatin1Char('x');
            break;
        case '#':
        case '>':
        case '<':
            result += c;
            break;
        case '\\':
            if (i + 1 < mask.size())
                result += QLatin1Char('\\') + mask.at(++i);
            break;
        default:
            // Qt gives these a meaning of their own; as literals they are escaped.
            if (QStringLiteral("NnXxDdHhBb[]{}").contains(c))
                result += QLatin1Char('\\');
            result += c;
        }
    }
    return result + QLatin1Char(';') + blank;
}

void TDBMaskEdit::SetEditMask(const QString& classicMask) {
    m_sEditMask = classicMask;
    const QStringList parts = classicMask.split(QLatin1Char(';'));
    m_bLeadingBlanks = parts.value(0).contains(QLatin1Char('!'));
    m_bSaveLiterals = parts.size() < 2 || parts.at(1).trimmed() != QLatin1String("0");
    m_bLoading = true;
    setInputMask(QtInputMask(classicMask));
    m_bLoading = false;
    Load();
}

QString TDBMaskEdit::StoredText() const {
    if (inputMask().isEmpty())
        return text();
    const QList<QChar> positions = MaskPositions(inputMask());
    const QString shown = displayText();
    const QChar blank = MaskBlank(inputMask());
    QString result;
    bool typed = false;
    qsizetype i = 0;
    while (i < positions.size()) {
        if (positions.at(i).isNull()) {
            if (m_bSaveLiterals)
                result += CharAt(shown, i);
            ++i;
            continue;
        }
        // A run of mask positions: unfilled ones are blanks, moved to the
        // front when optional characters are stored as leading blanks.
        QString run;
        qsizetype blanks = 0;
        for (; i < positions.size() && !positions.at(i).isNull(); ++i) {
            const QChar c = CharAt(shown, i, blank);
            if (c == blank || c == QLatin1Char(' ')) {
                ++blanks;
                if (!m_bLeadingBlanks)
                    run += QLatin1Char(' ');
            } else {
                typed = true;
                run += c;
            }
        }
        if (m_bLeadingBlanks)
            run.prepend(QString(blanks, QLatin1Char(' ')));
        result += run;
    }
    return typed ? result : QString();
}

void TDBMaskEdit::ShowText(const QString& value) {
    if (inputMask().isEmpty() || value.isEmpty()) {
        setText(value);
        return;
    }
    const QChar blank = MaskBlank(inputMask());
    QString shown = value;
    shown.replace(QLatin1Char(' '), blank);
    setText(shown);
}

// ---------------------------------------------------------------------------
// TDBMemo

TDBMemo::TDBMemo(QWidget* parent)
    : QPlainTextEdit(parent), TDBControl([this] { Load(); }, [this] { Q_EMIT Changed(); }) {
    // The document reports where a change put text in before the memo
    // reports the change.
    connect(document(), &QTextDocument::contentsChange, this, [this](int from, int, int added) {
        m_nChangeEnd = from + added;
        m_nChangeAdded = added;
    });
    connect(this, &QPlainTextEdit::textChanged, this, [this] { TextChanged(); });
    Load();
}

void TDBMemo::TextChanged() {
    if (m_bLoading || m_bTrimming)
        return;
    KeepWithinWidth();
    Commit(toPlainText());
}

void TDBMemo::KeepWithinWidth() {
    const int width = FieldWidth();
    // Positions in the document count a line break as one character, as
    // toPlainText does.
    const int length = document()->characterCount() - 1;
    if (width <= 0 || length <= width)
        return;
    // Only what was just put in is dropped: a longer text the field already
    // held stays as it is, and deleting from it is always possible.
    const int end = qBound(0, m_nChangeEnd, length);
    int drop = qMin(length - width, qMin(m_nChangeAdded, end));
    if (drop <= 0)
        return;
    // Never half a surrogate pair at the end of what is kept.
    if (document()->characterAt(end - drop - 1).isHighSurrogate())
        ++drop;
    QTextCursor cursor(document());
    cursor.setPosition(end - drop);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    m_bTrimming = true;
    // One step with the change itself, so that undo takes back both.
    cursor.joinPreviousEditBlock();
    cursor.removeSelectedText();
    cursor.endEditBlock();
    m_bTrimming = false;
    setTextCursor(cursor);
}

void TDBMemo::SetReadOnly(bool readOnly) {
    m_bReadOnly = readOnly;
    setReadOnly(m_bReadOnly || !m_Link.CanModify());
}

void TDBMemo::Load() {
    m_bLoading = true;
    setEnabled(m_bEnabled);
    setReadOnly(m_bReadOnly || !m_Link.CanModify());
    const QString value = m_Link.Text();
    if (value != toPlainText())
        setPlainText(value);
    m_bLoading = false;
}

// ---------------------------------------------------------------------------
// TDBComboBox

TDBComboBox::TDBComboBox(QWidget* parent)
    : QComboBox(parent), TDBControl([this] { Load(); }, [this] { Q_EMIT Changed(); }) {
    connect(this, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { Commit(text); });
    Load();
}

void TDBComboBox::SetEditable(bool editable) {
    m_bLoading = true;
    setEditable(editable);
    m_bLoading = false;
    Load();
}

void TDBComboBox::SetItems(const QStringList& items) {
    m_bLoading = true;
    clear();
    addItems(items);
    m_bLoading = false;
    Load();
}

void TDBComboBox::Load() {
    m_bLoading = true;
    setEnabled(Writable());
    const QString value = m_Link.Text();
    if (isEditable()) {
        const int width = FieldWidth();
        lineEdit()->setMaxLength(width > 0 ? qMax(width, int(value.size())) : UnlimitedLength);
        setCurrentText(value);
    } else
        setCurrentIndex(findText(value, Qt::MatchFixedString));
    m_bLoading = false;
}
