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
    void PaintRow(int row, double top, const PageCells& page);
    void PaintCell(int column, int row, const QRectF& rect);
    void PaintBorders(const CellFormat& format, const QRectF& rect);
    double Left(int column, const PageCells& page) const;

    const GridModel& grid_;
    QPainter& painter_;
    std::vector<double> columnWidths_;
    double rowHeight_;
    char decimalSeparator_;
};

} // namespace kestrix::table
