#include "lists/UListColumns.h"

#include "data/engine/TDataSetModel.h"
#include "data/engine/TField.h"
#include "lists/UColumnMemory.h"
#include "lists/UListGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>

namespace {

// A column grows for its content to twice the list's width at most, and to
// at least this many of the lists' design pixels, so that the grid keeps to
// a screen's width and a long text ends in an ellipsis.
constexpr int GrowthFactor = 2;
constexpr int WidestForContent = 160;

} // namespace

TListColumns::TListColumns(QTableView* grid, TDataSetModel* model,
                           std::function<QString()> listName, QObject* parent)
    : QObject(parent), m_pGrid(grid), m_pModel(model), m_ListName(std::move(listName)) {
    QHeaderView* header = grid->horizontalHeader();
    m_pHeaderViewport = header->viewport();
    m_pHeaderViewport->installEventFilter(this);
    connect(header, &QHeaderView::sectionMoved, this, &TListColumns::Moved);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { Resized(column, width); });
}

void TListColumns::SetColumn(const QString& fieldName, int width) {
    if (!m_bLoaded) {
        m_bLoaded = true;
        m_sKeptAs = m_ListName ? m_ListName() : QString();
        if (!m_sKeptAs.isEmpty()) {
            const UColumnMemory::TColumns kept = UColumnMemory::Load(m_sKeptAs);
            m_Order = kept.Order;
            m_UserWidths = kept.Widths;
        }
    }
    const QString name = fieldName.toLower();
    m_ListWidths.insert(name, width);
    if (!m_Order.contains(name))
        m_Order << name;
    Arrange();
}

QString TListColumns::ColumnName(int column) const {
    const TField* field = m_pModel->ColumnField(column);
    return field ? field->FieldName().toLower() : QString();
}

void TListColumns::Arrange() {
    QHeaderView* header = m_pGrid->horizontalHeader();
    m_bArranging = true;
    for (int column = 0; column < m_pModel->columnCount(); ++column) {
        const QString name = ColumnName(column);
        if (const auto chosen = m_UserWidths.constFind(name); chosen != m_UserWidths.cend()) {
            header->resizeSection(column, chosen.value());
        } else if (const auto set = m_ListWidths.constFind(name); set != m_ListWidths.cend()) {
            const int least = UListGrid::ColumnWidth(m_pGrid, column, set.value());
            // Measured once: the columns do not jump as rows come and go.
            if (!m_ContentWidths.contains(name) && m_pModel->rowCount() > 0)
                m_ContentWidths.insert(
                    name, UListGrid::UsualContentWidth(
                              m_pGrid, column,
                              std::max(GrowthFactor * least,
                                       UListGrid::ColumnWidth(m_pGrid, column, WidestForContent))));
            header->resizeSection(column, std::max(least, m_ContentWidths.value(name)));
        }
    }
    UListGrid::PlaceColumns(m_pGrid, *m_pModel, m_Order);
    m_bArranging = false;
    header->viewport()->update();
}

void TListColumns::Moved() {
    if (m_bArranging)
        return;
    QHeaderView* header = m_pGrid->horizontalHeader();
    QStringList order;
    for (int place = 0; place < header->count(); ++place)
        order << ColumnName(header->logicalIndex(place));
    // Columns the query does not show now keep their turn behind these.
    for (const QString& name : std::as_const(m_Order)) {
        if (!order.contains(name))
            order << name;
    }
    m_Order = order;
    Save();
}

void TListColumns::Resized(int column, int width) {
    if (!m_bArranging && m_bHeaderPressed && width > 0)
        m_UserWidths.insert(ColumnName(column), width);
}

void TListColumns::Save() const {
    if (!m_sKeptAs.isEmpty())
        UColumnMemory::Save(m_sKeptAs, {m_Order, m_UserWidths});
}

bool TListColumns::eventFilter(QObject* watched, QEvent* event) {
    // Compared with the viewport kept, not asked of the grid: the header
    // still has events while the grid is being destroyed.
    if (watched == m_pHeaderViewport) {
        // Widths the user drags (or double-clicks) are the user's to keep.
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
            m_bHeaderPressed = true;
        } else if (event->type() == QEvent::MouseButtonRelease && m_bHeaderPressed) {
            m_bHeaderPressed = false;
            Save();
        }
    }
    return QObject::eventFilter(watched, event);
}
