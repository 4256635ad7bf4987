#pragma once

// A list sorted by a click on a column's header, as the location lists sort: a click on another
// column sorts by it in the order kept so far, a second click on the same column turns the order
// round.

#include <QObject>

class QTreeWidget;

namespace kestrix::gui {

class HeaderSorting : public QObject {
public:
    explicit HeaderSorting(QTreeWidget& list);

    // Sorts again by the column and order chosen last, after rows changed.
    void Sort();

private:
    void SortBy(int column);

    QTreeWidget& list_;
    int column_ = 0;
    Qt::SortOrder order_ = Qt::AscendingOrder;
};

} // namespace kestrix::gui
