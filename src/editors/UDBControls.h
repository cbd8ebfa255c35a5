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
//
// This unit holds what every such control is built on; the controls
// themselves are in UDBTextControls (text fields, memo, combo box) and
// UDBValueControls (check box, date and time, number, markup label).

#include "data/engine/TDataSource.h"

#include <QString>
#include <QVariant>
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
    // Whether the dataset has a row to show (the row being inserted counts).
    bool HasRow() const;
    // The bound field's text in the current row; empty without either.
    QString Text() const;

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
