#include "editors/UDBControls.h"

#include "shell/UErrors.h"

namespace {

QString MessageOf(const std::exception& error) {
    if (const auto* e = dynamic_cast<const EError*>(&error))
        return e->Message();
    return QString::fromLocal8Bit(error.what());
}

} // namespace

// ---------------------------------------------------------------------------
// TFieldDataLink

TFieldDataLink::TFieldDataLink(std::function<void()> load, std::function<void()> fieldSet)
    : m_Load(std::move(load)), m_FieldSet(std::move(fieldSet)) {}

void TFieldDataLink::SetFieldName(const QString& name) {
    if (name == m_sFieldName)
        return;
    m_sFieldName = name;
    m_Load();
}

void TFieldDataLink::SetSource(TDataSource* source) {
    if (source == DataSource())
        return;
    SetDataSource(source);
    m_Load();
}

TField* TFieldDataLink::Field() const {
    TDataSet* dataSet = DataSet();
    if (!dataSet || !dataSet->Active() || m_sFieldName.isEmpty())
        return nullptr;
    TField* field = dataSet->FindField(m_sFieldName);
    return field && field->IsBound() ? field : nullptr;
}

bool TFieldDataLink::CanModify() const {
    TField* field = Field();
    return field && !field->ReadOnly() && field->DataSet()->CanModify();
}

bool TFieldDataLink::Write(const QVariant& value) {
    TField* field = Field();
    if (!field)
        return false;
    // The control already shows what is written: no reloading meanwhile.
    m_bWriting = true;
    try {
        TDataSet* dataSet = field->DataSet();
        if (dataSet->State() == TDataSetState::Browse)
            dataSet->Edit();
        field->SetValue(value);
    } catch (const std::exception& error) {
        m_bWriting = false;
        ShowError("%s", MessageOf(error));
        return false;
    }
    m_bWriting = false;
    return true;
}

void TFieldDataLink::FieldChanged(TField* field) {
    if (m_bWriting)
        return;
    // A link without a field name (the markup label) follows every field.
    if (m_sFieldName.isEmpty()) {
        m_Load();
        return;
    }
    if (!field || field != Field())
        return;
    m_Load();
    m_FieldSet();
}

void TFieldDataLink::RecordChanged() {
    if (!m_bWriting)
        m_Load();
}

void TFieldDataLink::StateChanged() {
    if (!m_bWriting)
        m_Load();
}

void TFieldDataLink::DataSetChanged() {
    if (!m_bWriting)
        m_Load();
}

bool TFieldDataLink::HasRow() const {
    TDataSet* dataSet = DataSet();
    return dataSet && dataSet->Active() && !dataSet->IsEmpty();
}

QString TFieldDataLink::Text() const {
    TField* field = Field();
    return field && HasRow() ? field->AsString() : QString();
}

// ---------------------------------------------------------------------------
// TDBControl

TDBControl::TDBControl(std::function<void()> load, std::function<void()> changed)
    : m_Link(load, changed), m_Load(load), m_Changed(changed) {}

void TDBControl::SetEnabled(bool enabled) {
    m_bEnabled = enabled;
    m_Load();
}

int TDBControl::FieldWidth() const {
    TField* field = m_Link.Field();
    return field ? field->Size() : 0;
}

void TDBControl::Commit(const QVariant& value) {
    if (m_bLoading)
        return;
    if (m_Link.Write(value))
        m_Changed();
    else
        m_Load();
}
