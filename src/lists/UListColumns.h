#pragma once

// The columns of a list window's grid. They belong to the list, not to its
// query: whatever order the query gives its fields in, and however often it
// is reopened with another text, they keep their places and widths, as the
// user left them or else as the list set them. A width the list sets is the
// least its column gets; a column whose first rows hold longer texts grows
// to fit them (once, up to a limit), so that the usual content is seen whole
// and only a long text ends in an ellipsis.
//
// What the user moves or drags is kept in the settings store under the
// list's name (UColumnMemory) and comes back at the next start; a list
// without a name (a picker twin) keeps nothing.

#include <QHash>
#include <QObject>
#include <QStringList>
#include <functional>

class QTableView;
class TDataSetModel;

class TListColumns : public QObject {
    Q_OBJECT
public:
    // `listName` is asked once, at the first SetColumn.
    TListColumns(QTableView* grid, TDataSetModel* model, std::function<QString()> listName,
                 QObject* parent);

    // The column of `fieldName` with the least `width` (UListGrid::ColumnWidth);
    // columns stand in the order of these calls unless the user moved them.
    void SetColumn(const QString& fieldName, int width);
    // Puts every column in its place and width; run when the model is reset.
    void Arrange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString ColumnName(int column) const;
    void Moved();
    void Resized(int column, int width);
    void Save() const;

    QTableView* m_pGrid;
    QObject* m_pHeaderViewport; // the grid's header's, whose mouse we watch
    TDataSetModel* m_pModel;
    std::function<QString()> m_ListName;
    QString m_sKeptAs; // empty: nothing kept
    bool m_bLoaded = false;
    QHash<QString, int> m_ListWidths;    // as the list set them, by field
    QHash<QString, int> m_UserWidths;    // as the user dragged them, in pixels
    QHash<QString, int> m_ContentWidths; // what the first rows needed
    QStringList m_Order;                 // field names, left to right
    bool m_bArranging = false;
    bool m_bHeaderPressed = false;
};
