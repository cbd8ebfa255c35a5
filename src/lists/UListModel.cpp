#include "lists/UListModel.h"

TListModel::TListModel(std::function<void()> beforeSort, std::function<void()> afterSort,
                       QObject* parent)
    : TDataSetModel(parent), m_BeforeSort(std::move(beforeSort)),
      m_AfterSort(std::move(afterSort)) {
    SetReadableCells(true);
}

void TListModel::sort(int column, Qt::SortOrder order) {
    if (m_BeforeSort)
        m_BeforeSort();
    TDataSetModel::sort(column, order);
    if (m_AfterSort)
        m_AfterSort();
}

QVariant TListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return {};
    return TDataSetModel::headerData(section, orientation, role);
}
