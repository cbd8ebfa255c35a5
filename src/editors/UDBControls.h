#pragma once

// Data-aware controls: each is bound to a data source and a field name, shows
// the field's value in the data source's current row, and follows the source
// (a move to another row, opening or closing, a post or cancel, a value set by
// code) without reporting a change.
//
// Input from the user is written into the field at once. A dataset that is
// browsing is put into edit state first, as the classic controls do; a
// control is read-only while its field cannot be written (no dataset, closed,
// field missing or read-only). A value the field refuses is reported with
// ShowError and the control shows the field again.
//
// Changed() is the control's change event, the one the record editors connect
// to their change handler (SetModified(true)). It is emitted when the user
// changes the value, when code changes the control's value, and when code sets
// the bound field while the row is being edited or inserted; never when the
// control only shows another row.

#include "data/engine/TDataSource.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <functional>

// The binding every control holds: the data source, the field name and the
// notifications that make the control show the field again.
class TFieldDataLink : public TDataLink {
public:
    // `load` shows the field; `fieldSet` runs after code set the bound field
    // of the row being edited. Without a field name every field's change
    // runs `load`.
    TFieldDataLink(std::function<void()> load, std::function<void()> fieldSet);

    const QString& FieldName() const { return m_sFieldName; }
    void SetFieldName(const QString& name);
    void SetSource(TDataSource* source);
    // The bound field of the open dataset; nullptr when there is none.
    TField* Field() const;
    // Whether the user may write the field now (browsing datasets count:
    // they are put into edit state by the first change).
    bool CanModify() const;
    // Writes `value` into the field, putting the dataset into edit state
    // first. Reports a refusal with ShowError and returns false; the control
    // should then show the field again.
    bool Write(const QVariant& value);

protected:
    void RecordChanged() override;
    void FieldChanged(TField* field) override;
    void StateChanged() override;
    void DataSetChanged() override;

private:
    std::function<void()> m_Load;
    std::function<void()> m_FieldSet;
    QString m_sFieldName;
    bool m_bWriting = false;
};

// What every field-bound control holds: the link to its data source and
// field, and the flag that tells its own change handler that the change came
// from showing the field rather than from the user.
//
// A control derives from its Qt widget and from this, hands the constructor
// how it shows the field and how it reports a change (its Changed() signal),
// and passes every value the user gives it to Commit.
class TDBControl {
public:
    void SetDataSource(TDataSource* source) { m_Link.SetSource(source); }
    TDataSource* DataSource() const { return m_Link.DataSource(); }
    void SetDataField(const QString& name) { m_Link.SetFieldName(name); }
    const QString& DataField() const { return m_Link.FieldName(); }
    TField* Field() const { return m_Link.Field(); }
    // Kept disabled while false, whatever the field allows (the widget's own
    // enabled state follows the field and would undo a plain setEnabled).
    void SetEnabled(bool enabled);

protected:
    // `load` shows the field; `changed` reports a change.
    TDBControl(std::function<void()> load, std::function<void()> changed);
    ~TDBControl() = default;
    TDBControl(const TDBControl&) = delete;
    TDBControl& operator=(const TDBControl&) = delete;

    // A value the control now shows: written into the field and reported as
    // a change, or, when the field refuses it, the field is shown again.
    // Ignored while the control is showing the field.
    void Commit(const QVariant& value);

    // Whether the user may change the value: enabled, and the field writable.
    bool Writable() const { return m_bEnabled && m_Link.CanModify(); }
    // The width of the bound text field in characters; 0 when it has none.
    int FieldWidth() const;

    TFieldDataLink m_Link;
    bool m_bLoading = false;
    bool m_bEnabled = true;

private:
    std::function<void()> m_Load;
    std::function<void()> m_Changed;
};

// A one-line text field. The maximum length comes from the field's width
// unless set; input may be forced to upper case and limited to digits, or to
// letters and digits; a prompt is shown while it is empty.
class TDBEdit : public QLineEdit, public TDBControl {
    Q_OBJECT
public:
    enum class TCharCase { Normal, Upper };
    enum class TCharSet { Any, Digits, LettersAndDigits };

    explicit TDBEdit(QWidget* parent = nullptr);

    // 0: the field's width (no limit when it has none).
    void SetMaxLength(int length);
    void SetCharCase(TCharCase charCase);
    void SetCharSet(TCharSet charSet);
    void SetPrompt(const QString& prompt) { setPlaceholderText(prompt); }
    // Kept read-only whatever the field allows.
    void SetReadOnly(bool readOnly);

Q_SIGNALS:
    void Changed();

protected:
    // The text to write for what is shown, and what to show for the field.
    virtual QString StoredText() const { return text(); }
    virtual void ShowText(const QString& value) { setText(value); }
    void Load();

private:
    // Text typed or set by code: upper-cased when asked, then committed.
    void TextChanged();
    void ApplyLimits();

    int m_nMaxLength = 0;
    TCharCase m_CharCase = TCharCase::Normal;
    TCharSet m_CharSet = TCharSet::Any;
    bool m_bReadOnly = false;
};

// A text field with a classic edit mask "mask;save-literals;blank", e.g. the
// bill time's "!990:00:99;1;_" (hours:minutes:seconds, up to three hour
// digits, nine characters).
//
// Mapping onto a QLineEdit input mask: the classic '0' (digit required) is
// Qt's '9', the classic '9' (digit optional) is Qt's '0'; 'L'/'l' (letter,
// required/optional) become 'A'/'a', 'A'/'a' (letter or digit) become 'N'/'n',
// 'C'/'c' (any character) become 'X'/'x'; '#', '>', '<' and '\' mean the same
// in both; every other character is a literal. The blank character carries
// over. A leading '!' (optional characters are stored as leading blanks) has
// no Qt counterpart: the control right-aligns what was typed within each run
// of mask characters when it stores the text, so "1" typed into the hours of
// the bill time is stored as "  1:30:  ". With save-literals 1 the literals are
// stored with the text; unfilled positions are stored as spaces, and a text
// with nothing typed is stored as empty.
class TDBMaskEdit : public TDBEdit {
    Q_OBJECT
public:
    explicit TDBMaskEdit(QWidget* parent = nullptr);

    void SetEditMask(const QString& classicMask);
    const QString& EditMask() const { return m_sEditMask; }

    // The QLineEdit input mask for a classic mask (documented above).
    static QString QtInputMask(const QString& classicMask);

protected:
    QString StoredText() const override;
    void ShowText(const QString& value) override;

private:
    QString m_sEditMask;
    bool m_bLeadingBlanks = false;
    bool m_bSaveLiterals = true;
};

// A multi-line text field. What the user types, pastes or drops stops at the
// field's width: the characters past it are dropped from what was just put
// in (as one step with it for undo), so the memo never shows more than the
// field keeps. The field's own text is shown whole.
class TDBMemo : public QPlainTextEdit, public TDBControl {
    Q_OBJECT
public:
    explicit TDBMemo(QWidget* parent = nullptr);

    void SetReadOnly(bool readOnly);

Q_SIGNALS:
    void Changed();

private:
    void Load();
    void TextChanged();
    // Drops what the last change put in past the field's width.
    void KeepWithinWidth();

    bool m_bReadOnly = false;
    bool m_bTrimming = false;
    // Where the document's last change put text in, and how much.
    int m_nChangeEnd = 0;
    int m_nChangeAdded = 0;
};

// A combo box storing the chosen or typed text. As a drop-down list
// (not editable) a value that is not among the items shows as no choice;
// typing into an editable one stops at the field's width.
class TDBComboBox : public QComboBox, public TDBControl {
    Q_OBJECT
public:
    explicit TDBComboBox(QWidget* parent = nullptr);

    // Editable: the user may type a value that is not among the items.
    void SetEditable(bool editable);
    // Replaces the items; the field's value is shown again.
    void SetItems(const QStringList& items);

Q_SIGNALS:
    void Changed();

private:
    void Load();
};

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
