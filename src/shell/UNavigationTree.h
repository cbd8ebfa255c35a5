#pragma once

// The navigation tree of the main window: a node for each of the five lists
// and, below "Calls", a node for each call view (numbered as UCallViews
// numbers them). The node texts are a small markup ("<b>Customers</b>"),
// drawn on one line in rows of a fixed height.

#include "shell/UCallViews.h"

#include <QTreeWidget>

class TNavigationTree : public QTreeWidget {
    Q_OBJECT
public:
    // Where a node sits: the row of its top-level node, and its row below
    // that one (UCallViews::cvAllCalls for a top-level node).
    struct TPlace {
        int Top = -1;
        int Sub = UCallViews::cvAllCalls;
    };

    // The node texts, top level and below "Calls".
    static const QStringList& TopTexts();
    static const QStringList& CallTexts();

    explicit TNavigationTree(QWidget* parent = nullptr);

    TPlace PlaceOf(QTreeWidgetItem* node) const;

    // Makes the "Calls" node the current one.
    void SelectAllCalls();
};
