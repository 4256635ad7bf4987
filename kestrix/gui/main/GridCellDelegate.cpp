#include "kestrix/gui/main/GridCellDelegate.h"

#include "kestrix/gui/main/GridTableModel.h"
#include "kestrix/table/CellFormat.h"

#include <QPainter>
#include <QPainterPath>
#include <QTableView>

namespace kestrix::gui {
namespace {

constexpr int kMarkerSize = 6;
const QColor kMarkerColor(220, 0, 0);

void PaintBorders(QPainter& painter, const QRect& cell, int borders, const QColor& color) {
    painter.setPen(QPen(color, 1));
    const QRect r = cell.adjusted(0, 0, -1, -1);
    if (borders & table::kBorderLeft) {
        painter.drawLine(r.topLeft(), r.bottomLeft());
    }
    if (borders & table::kBorderTop) {
        painter.drawLine(r.topLeft(), r.topRight());
    }
    if (borders & table::kBorderRight) {
        painter.drawLine(r.topRight(), r.bottomRight());
    }
    if (borders & table::kBorderBottom) {
        painter.drawLine(r.bottomLeft(), r.bottomRight());
    }
}

void PaintNoteMarker(QPainter& painter, const QRect& cell) {
    QPainterPath corner;
    corner.moveTo(cell.right() - kMarkerSize, cell.top());
    corner.lineTo(cell.right(), cell.top());
    corner.lineTo(cell.right(), cell.top() + kMarkerSize);
    corner.closeSubpath();
    painter.fillPath(corner, kMarkerColor);
}

} // namespace

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    // A span wider than the view (a header line) keeps its text at the view's visible left edge.
    QStyleOptionViewItem shown = option;
    const auto* view = qobject_cast<const QTableView*>(option.widget);
    if (view && view->columnSpan(index.row(), index.column()) > 1) {
        shown.rect = option.rect.intersected(view->viewport()->rect());
    }
    QStyledItemDelegate::paint(painter, shown, index);
    const QVariant borders = index.data(GridTableModel::BordersRole);
    const bool noted = index.data(GridTableModel::NoteMarkerRole).toBool();
    if (!borders.isValid() && !noted) {
        return;
    }
    painter->save();
    if (borders.isValid()) {
        PaintBorders(*painter, option.rect, borders.toInt(), option.palette.color(QPalette::Text));
    }
    if (noted) {
        PaintNoteMarker(*painter, option.rect);
    }
    painter->restore();
}

} // namespace kestrix::gui
