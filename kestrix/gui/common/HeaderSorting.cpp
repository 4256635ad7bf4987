#include "kestrix/gui/common/HeaderSorting.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace kestrix::gui {

HeaderSorting::HeaderSorting(QTreeWidget& list) : QObject(&list), list_(list) {
    list_.header()->setSectionsClickable(true);
    list_.header()->setSortIndicatorShown(true);
    connect(list_.header(), &QHeaderView::sectionClicked, this, &HeaderSorting::SortBy);
}

void HeaderSorting::SortBy(int column) {
    if (column == column_) {
        order_ = order_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    }
    column_ = column;
    Sort();
}

void HeaderSorting::Sort() {
    list_.sortItems(column_, order_);
    list_.header()->setSortIndicator(column_, order_);
}

} // namespace kestrix::gui
