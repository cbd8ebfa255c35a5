#pragma once

// The model of a list window's grid: the dataset's rows as a person reads
// them (check marks, short dates, no trailing blanks), blank row headers
// (the narrow first column), and word to the list before and after a header
// sort so that it can keep its record.

#include "data/engine/TDataSetModel.h"

#include <functional>

class TListModel final : public TDataSetModel {
public:
    TListModel(std::function<void()> beforeSort, std::function<void()> afterSort, QObject* parent);

    void sort(int column, Qt::SortOrder order) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::function<void()> m_BeforeSort;
    std::function<void()> m_AfterSort;
};
