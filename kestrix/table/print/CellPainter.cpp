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
    double top = 0.0;
    for (int row = 1; row <= page.repeatedRows; ++row, top += rowHeight_) {
        PaintRow(row, top, page);
    }
    for (int row = page.firstBodyRow; row <= page.lastBodyRow; ++row, top += rowHeight_) {
        PaintRow(row, top, page);
    }
}

double CellPainter::Left(int column, const PageCells& page) const {
    double left = 0.0;
    for (int c = page.firstColumn; c < column; ++c) {
        left += columnWidths_[c - 1];
    }
    return left;
}

// A cell spanning into the page from a column left of it is painted over its visible part.
void CellPainter::PaintRow(int row, double top, const PageCells& page) {
    for (int column = 1; column <= page.lastColumn; column += grid_.Span(column, row)) {
        const int last = std::min(column + grid_.Span(column, row) - 1, page.lastColumn);
        const int first = std::max(column, page.firstColumn);
        if (last < first) {
            continue;
        }
        const double left = Left(first, page);
        const QRectF rect(left, top, Left(last + 1, page) - left, rowHeight_);
        PaintCell(column, row, rect);
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
