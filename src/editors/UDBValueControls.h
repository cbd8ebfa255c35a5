#pragma once

// The data-aware controls for values other than free text: a check box, a
// date and time picker and a spin box, and the read-only label that shows
// several fields of the current row in a small markup. What they share with
// the other controls is described in UDBControls.

#include "editors/UDBControls.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QSpinBox>

// A check box storing "True" / "False".
class TDBCheckBox : public QCheckBox, public TDBControl {
    Q_OBJECT
public:
    explicit TDBCheckBox(const QString& text = {}, QWidget* parent = nullptr);

Q_SIGNALS:
    void Changed();

private:
    void Load();
};

// A date and time, date or time picker. A date picker keeps the time of day
// the field holds, a time picker its date (today for an empty field). An
// empty field shows blank.
class TDBDateTimePicker : public QDateTimeEdit, public TDBControl {
    Q_OBJECT
public:
    enum class TKind { DateTime, Date, Time };

    explicit TDBDateTimePicker(TKind kind = TKind::DateTime, QWidget* parent = nullptr);

    TKind Kind() const { return m_Kind; }
    // Shows and stores `value` as if the user had picked it.
    void SetValue(const QDateTime& value);
    // The value shown; invalid when blank.
    QDateTime Value() const;

Q_SIGNALS:
    void Changed();

private:
    void Load();
    void Picked(const QDateTime& shown);

    TKind m_Kind;
};

// A whole-number spin box. An empty field shows the lowest value.
class TDBSpinEdit : public QSpinBox, public TDBControl {
    Q_OBJECT
public:
    explicit TDBSpinEdit(QWidget* parent = nullptr);

Q_SIGNALS:
    void Changed();

private:
    void Load();
};

// A read-only label rendering a small markup (<B>, <BR>, centred paragraphs)
// in which <#Field> stands for the display text of that field in the data
// source's current row. Values are inserted as text, never as markup; line
// breaks in a value become line breaks. Unknown fields, a closed dataset or
// no current row give empty values.
class TDBMarkupLabel : public QLabel {
    Q_OBJECT
public:
    explicit TDBMarkupLabel(QWidget* parent = nullptr);

    void SetDataSource(TDataSource* source) { m_Link.SetSource(source); }
    void SetMarkup(const QString& markup);
    const QString& Markup() const { return m_sMarkup; }

    // `markup` with its field tags replaced by the escaped values `valueOf`
    // gives for the field names.
    static QString Expand(const QString& markup,
                          const std::function<QString(const QString&)>& valueOf);

private:
    void Load();

    TFieldDataLink m_Link;
    QString m_sMarkup;
};
