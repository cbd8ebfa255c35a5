#include "data/engine/TDataSource.h"

TDataSource::TDataSource(QObject* parent) : QObject(parent) {}

TDataSource::TDataSource(TDataSet* dataSet, QObject* parent) : QObject(parent) {
    SetDataSet(dataSet);
}

TDataLink::~TDataLink() {
    SetDataSource(nullptr);
}

void TDataLink::SetDataSource(TDataSource* source) {
    if (source == m_pSource)
        return;
    if (m_pSource)
        m_pSource->m_Links.removeAll(this);
    m_pSource = source;
    if (m_pSource)
        m_pSource->m_Links << this;
}

TDataSet* TDataLink::DataSet() const {
    return m_pSource ? m_pSource->DataSet() : nullptr;
}

TDataSource::~TDataSource() {
    for (TDataLink* link : std::as_const(m_Links))
        link->m_pSource = nullptr;
    if (m_pDataSet)
        m_pDataSet->DetachSource(this);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
    if (dataSet == m_pDataSet)
        return;
    if (m_pDataSet)
        m_pDataSet->DetachSource(this);
    m_pDataSet = dataSet;
    if (m_pDataSet)
        m_pDataSet->AttachSource(this);
    Notify(TEvent::DataSetChanged, nullptr);
}

TDataSetState TDataSource::State() const {
    return m_pDataSet ? m_pDataSet->State() : TDataSetState::Inactive;
}

void TDataSource::DataSetDestroyed() {
    m_pDataSet = nullptr;
    Notify(TEvent::DataSetChanged, nullptr);
}

void TDataSource::Notify(TEvent event, TField* field) {
    const QList<TDataLink*> links = m_Links;
    for (TDataLink* link : links) {
        if (!m_Links.contains(link))
            continue;
        switch (event) {
        case TEvent::RecordChanged:
            link->RecordChanged();
            break;
        case TEvent::FieldChanged:
            link->FieldChanged(field);
            break;
        case TEvent::StateChanged:
            link->StateChanged();
            break;
        case TEvent::DataSetChanged:
            link->DataSetChanged();
            break;
        case TEvent::UpdateRecord:
            link->UpdateRecord();
            break;
        }
    }
    switch (event) {
    case TEvent::RecordChanged:
        Q_EMIT RecordChanged();
        break;
    case TEvent::FieldChanged:
        Q_EMIT FieldChanged(field);
        break;
    case TEvent::StateChanged:
        Q_EMIT StateChanged();
        break;
    case TEvent::DataSetChanged:
        Q_EMIT DataSetChanged();
        break;
    case TEvent::UpdateRecord:
        Q_EMIT UpdateRecord();
        break;
    }
}
