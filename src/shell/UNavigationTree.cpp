#include "shell/UNavigationTree.h"

#include "shell/UApplication.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextDocument>

namespace {

// Row height of the tree.
constexpr int NavigationRowHeight = 16;

// Draws item texts as markup ("<b>Calls</b>"), one line, in fixed-height rows.
class TMarkupDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString markup = opt.text;
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        QTextDocument document;
        document.setDocumentMargin(0);
        document.setDefaultFont(opt.font);
        document.setHtml(markup);
        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
        const bool selected = opt.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (opt.state & QStyle::State_Active)
                                               ? QPalette::Active
                                               : QPalette::Inactive;
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(
            QPalette::Text,
            opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->save();
        painter->translate(textRect.left() + 2,
                           textRect.top() + (textRect.height() - document.size().height()) / 2);
        painter->setClipRect(QRectF(0, 0, textRect.width() - 2, textRect.height()));
        document.documentLayout()->draw(painter, context);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        QTextDocument document;
        document.setDocumentMargin(0);
        document.setDefaultFont(opt.font);
        document.setHtml(opt.text);
        const int icon = opt.icon.isNull() ? 0 : opt.decorationSize.width() + 4;
        return {icon + int(document.idealWidth()) + 8, NavigationRowHeight};
    }
};

} // namespace

const QStringList& TNavigationTree::TopTexts() {
    // The first closing tag has always been written this way; it renders bold.
    static const QStringList texts = {
        QStringLiteral("<b>Calls<b>"),
        QStringLiteral("<b>Customers</b>"),
        QStringLiteral("<b>Workers</b>"),
        QStringLiteral("<b>Items</b>"),
        QStringLiteral("<b>Service Contracts</b>"),
    };
    return texts;
}

const QStringList& TNavigationTree::CallTexts() {
    static const QStringList texts = {
        QStringLiteral("New"),
        QStringLiteral("Busy"),
        QStringLiteral("Pending"),
        QStringLiteral("Awaiting parts"),
        QStringLiteral("Complete"),
        QStringLiteral("Not complete"),
        QStringLiteral("Complete but not Billed"),
        QStringLiteral("By Worker"),
        QStringLiteral("By Month"),
        QStringLiteral("Complete by Month"),
        QStringLiteral("By Priority"),
    };
    return texts;
}

TNavigationTree::TNavigationTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    setIndentation(22);
    setItemDelegate(new TMarkupDelegate(this));

    const QStringList icons = {QStringLiteral("call"), QStringLiteral("customer"),
                               QStringLiteral("worker"), QStringLiteral("item"),
                               QStringLiteral("contract")};
    const QStringList& topTexts = TopTexts();
    for (int i = 0; i < topTexts.size(); ++i) {
        auto* node = new QTreeWidgetItem(this, {topTexts[i]});
        node->setIcon(0, ProgramIcon(icons[i]));
    }
    for (const QString& text : CallTexts())
        new QTreeWidgetItem(topLevelItem(0), {text});
}

TNavigationTree::TPlace TNavigationTree::PlaceOf(QTreeWidgetItem* node) const {
    TPlace place;
    if (!node)
        return place;
    place.Top = indexOfTopLevelItem(node);
    if (QTreeWidgetItem* parent = node->parent()) {
        place.Sub = parent->indexOfChild(node);
        place.Top = indexOfTopLevelItem(parent);
    }
    return place;
}

void TNavigationTree::SelectAllCalls() {
    setCurrentItem(topLevelItem(0));
}
