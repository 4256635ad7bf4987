#pragma once

#include <QStyledItemDelegate>

namespace kestrix::gui {

// Draws a cell as the item view does, then the cell's borders and, for a cell with a note, a
// small marker in its top right corner.
class GridCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace kestrix::gui
