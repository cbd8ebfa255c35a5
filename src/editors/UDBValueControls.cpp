#include "editors/UDBValueControls.h"

#include <QRegularExpression>

// ---------------------------------------------------------------------------
// TDBCheckBox

TDBCheckBox::TDBCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent), TDBControl([this] { Load(); }, [this] { Q_EMIT Changed(); }) {
    connect(this, &QCheckBox::toggled, this, [this](bool checked) {
        Commit(checked ? QStringLiteral("True") : QStringLiteral("False"));
    });
    Load();
}

void TDBCheckBox::Load() {
    m_bLoading = true;
    setEnabled(Writable());
    setChecked(m_Link.Text().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0);
    m_bLoading = false;
}

// ---------------------------------------------------------------------------
// TDBDateTimePicker

TDBDateTimePicker::TDBDateTimePicker(TKind kind, QWidget* parent)
    : QDateTimeEdit(parent), TDBControl([this] { Load(); }, [this] { Q_EMIT Changed(); }),
      m_Kind(kind) {
    const QLocale locale;
    switch (kind) {
    case TKind::DateTime:
        setDisplayFormat(locale.dateTimeFormat(QLocale::ShortFormat));
        break;
    case TKind::Date:
        setDisplayFormat(locale.dateFormat(QLocale::ShortFormat));
        setCalendarPopup(true);
        break;
    case TKind::Time:
        setDisplayFormat(locale.timeFormat(QLocale::LongFormat).remove(QStringLiteral(" t")));
        break;
    }
    // The lowest value stands for an empty field.
    setSpecialValueText(QStringLiteral(" "));
    connect(this, &QDateTimeEdit::dateTimeChanged, this,
            [this](const QDateTime& shown) { Picked(shown); });
    Load();
}

void TDBDateTimePicker::SetValue(const QDateTime& value) {
    setDateTime(value.isValid() ? value : minimumDateTime());
}

QDateTime TDBDateTimePicker::Value() const {
    return dateTime() == minimumDateTime() ? QDateTime() : dateTime();
}

void TDBDateTimePicker::Load() {
    m_bLoading = true;
    setEnabled(Writable());
    TField* field = m_Link.Field();
    const QDateTime value =
        field && m_Link.HasRow() && !field->IsNull() ? field->AsDateTime() : QDateTime();
    setDateTime(value.isValid() ? value : minimumDateTime());
    m_bLoading = false;
}

void TDBDateTimePicker::Picked(const QDateTime& shown) {
    if (m_bLoading)
        return;
    QVariant value;
    if (shown != minimumDateTime()) {
        TField* field = m_Link.Field();
        const QDateTime old = field && !field->IsNull() ? field->AsDateTime() : QDateTime();
        QDateTime stored = shown;
        if (m_Kind == TKind::Date)
            stored = QDateTime(shown.date(), old.isValid() ? old.time() : QTime(0, 0));
        else if (m_Kind == TKind::Time)
            stored = QDateTime(old.isValid() ? old.date() : QDate::currentDate(), shown.time());
        value = stored;
    }
    Commit(value);
}

// ---------------------------------------------------------------------------
// TDBSpinEdit

TDBSpinEdit::TDBSpinEdit(QWidget* parent)
    : QSpinBox(parent), TDBControl([this] { Load(); }, [this] { Q_EMIT Changed(); }) {
    connect(this, &QSpinBox::valueChanged, this, [this](int value) { Commit(qint64(value)); });
    Load();
}

void TDBSpinEdit::Load() {
    m_bLoading = true;
    setEnabled(Writable());
    TField* field = m_Link.Field();
    setValue(field && m_Link.HasRow() && !field->IsNull() ? int(field->AsInteger()) : minimum());
    m_bLoading = false;
}

// ---------------------------------------------------------------------------
// TDBMarkupLabel

TDBMarkupLabel::TDBMarkupLabel(QWidget* parent)
    : QLabel(parent), m_Link([this] { Load(); }, [] {}) {
    setTextFormat(Qt::RichText);
    setWordWrap(true);
}

void TDBMarkupLabel::SetMarkup(const QString& markup) {
    m_sMarkup = markup;
    Load();
}

QString TDBMarkupLabel::Expand(const QString& markup,
                               const std::function<QString(const QString&)>& valueOf) {
    static const QRegularExpression tag(QStringLiteral("<#([^>]*)>"));
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QString result;
    qsizetype last = 0;
    for (auto it = tag.globalMatch(markup); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        result += markup.mid(last, match.capturedStart() - last);
        QString value = valueOf(match.captured(1).trimmed()).toHtmlEscaped();
        value.replace(lineBreak, QStringLiteral("<br>"));
        result += value;
        last = match.capturedEnd();
    }
    return result + markup.mid(last);
}

void TDBMarkupLabel::Load() {
    TDataSet* dataSet = m_Link.DataSet();
    const bool hasRow = m_Link.HasRow();
    setText(Expand(m_sMarkup, [&](const QString& name) {
        TField* field = hasRow ? dataSet->FindField(name) : nullptr;
        return field && field->IsBound() ? field->DisplayText() : QString();
    }));
}
