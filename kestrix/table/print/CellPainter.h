#pragma once

// Paints the cells of one printed page.

#include "kestrix/table/GridModel.h"
#include "kestrix/table/print/PageLayout.h"

#include <QFont>
#include <QPainter>
#include <vector>

namespace kestrix::table {

class CellPainter {
public:
    CellPainter(const GridModel& grid, QPainter& painter, std::vector<double> columnWidths,
                double rowHeight, char decimalSeparator);

    // Rows and columns of the page from the painter's origin.
    void PaintPage(const PageCells& page);

private:
    void PaintRow(int row, double top);
    void PaintCell(int column, int row, const QRectF& rect);
    void PaintBorders(const CellFormat& format, const QRectF& rect);

    // A grid column as placed on the page.
    struct PlacedColumn {
        int column;
        double left;
        double right;
    };

    const GridModel& grid_;
    QPainter& painter_;
    std::vector<double> columnWidths_;
    double rowHeight_;
    char decimalSeparator_;
    std::vector<PlacedColumn> placed_; // the page's columns from left to right
};

} // namespace kestrix::table
