#pragma once

// The data-aware text controls: a one-line field, the same with an edit mask,
// a multi-line memo and a combo box. Each stores text in its field; what it
// shares with the other controls is described in UDBControls.

#include "editors/UDBControls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

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
