#include "kestrix/table/print/CellPainter.h"

#include <QPolygonF>
#include <algorithm>

namespace kestrix::table {

namespace {

const QColor kGridLineColor(0xC0, 0xC0, 0xC0);
const QColor kFlagColor(0xFF, 0x00, 0x00);

QColor ToQColor(Rgb color) {
    return QColor(color.red, color.green, color.blue);
}

Qt::Alignment HorizontalAlignment(Alignment alignment, bool number) {
    switch (alignment) {
    case Alignment::Left:
        return Qt::AlignLeft;
    case Alignment::Center:
        return Qt::AlignHCenter;
    case Alignment::Right:
        return Qt::AlignRight;
    case Alignment::General:
        break;
    }
    return number ? Qt::AlignRight : Qt::AlignLeft;
}

} // namespace

CellPainter::CellPainter(const GridModel& grid, QPainter& painter, std::vector<double> columnWidths,
                         double rowHeight, char decimalSeparator)
    : grid_(grid), painter_(painter), columnWidths_(std::move(columnWidths)), rowHeight_(rowHeight),
      decimalSeparator_(decimalSeparator) {}

void CellPainter::PaintPage(const PageCells& page) {
    placed_.clear();
    double left = 0.0;
    const auto place = [this, &left](int column) {
        const double right = left + columnWidths_[static_cast<std::size_t>(column - 1)];
        placed_.push_back({column, left, right});
        left = right;
    };
    for (int column = 1; column <= page.repeatedColumns; ++column) {
        place(column);
    }
    for (int column = page.firstColumn; column <= page.lastColumn; ++column) {
        place(column);
    }
    double top = 0.0;
    for (int row = 1; row <= page.repeatedRows; ++row, top += rowHeight_) {
        PaintRow(row, top);
    }
    for (int row = page.firstBodyRow; row <= page.lastBodyRow; ++row, top += rowHeight_) {
        PaintRow(row, top);
    }
}

// A cell is painted once, over the page's columns it covers: a span reaching into the page
// from the left (or across the repeated columns into the band) included.
void CellPainter::PaintRow(int row, double top) {
    const int lastColumn = placed_.empty() ? 0 : placed_.back().column;
    for (int column = 1; column <= lastColumn; column += grid_.Span(column, row)) {
        const int last = column + grid_.Span(column, row) - 1;
        const auto covered = [column, last](const PlacedColumn& p) {
            return p.column >= column && p.column <= last;
        };
        const auto first = std::find_if(placed_.begin(), placed_.end(), covered);
        if (first == placed_.end()) {
            continue;
        }
        const auto end = std::find_if_not(first, placed_.end(), covered);
        const double right = std::prev(end)->right;
        PaintCell(column, row, QRectF(first->left, top, right - first->left, rowHeight_));
    }
}

void CellPainter::PaintCell(int column, int row, const QRectF& rect) {
    const CellFormat& format = grid_.Format(column, row);
    painter_.fillRect(rect, ToQColor(format.backColor));
    painter_.setPen(kGridLineColor);
    painter_.drawRect(rect);
    PaintBorders(format, rect);
    if (format.flagged) {
        const double size = rect.height() / 3;
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(kFlagColor);
        painter_.drawPolygon(QPolygonF({rect.topRight(), rect.topRight() - QPointF(size, 0),
                                        rect.topRight() + QPointF(0, size)}));
        painter_.setBrush(Qt::NoBrush);
    }
    QFont font = painter_.font();
    font.setBold(format.bold);
    painter_.setFont(font);
    painter_.setPen(ToQColor(format.textColor));
    const double padding = rect.height() / 6;
    const Qt::Alignment alignment =
        HorizontalAlignment(format.alignment, grid_.IsNumberCell(column, row)) | Qt::AlignVCenter;
    painter_.drawText(rect.adjusted(padding, 0, -padding, 0), static_cast<int>(alignment),
                      QString::fromStdString(grid_.ShownText(column, row, decimalSeparator_)));
}

void CellPainter::PaintBorders(const CellFormat& format, const QRectF& rect) {
    if (format.borders == 0) {
        return;
    }
    painter_.setPen(Qt::black);
    if (format.borders & kBorderLeft) {
        painter_.drawLine(rect.topLeft(), rect.bottomLeft());
    }
    if (format.borders & kBorderTop) {
        painter_.drawLine(rect.topLeft(), rect.topRight());
    }
    if (format.borders & kBorderRight) {
        painter_.drawLine(rect.topRight(), rect.bottomRight());
    }
    if (format.borders & kBorderBottom) {
        painter_.drawLine(rect.bottomLeft(), rect.bottomRight());
    }
}

} // namespace kestrix::table
