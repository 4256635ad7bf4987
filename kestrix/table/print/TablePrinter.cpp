#include "kestrix/table/print/TablePrinter.h"

#include "kestrix/base/atomicFile.h"
#include "kestrix/shell/userLocale.h"
#include "kestrix/table/print/CellPainter.h"
#include "kestrix/table/print/PageLayout.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace kestrix::table {

namespace {

constexpr int kFontPointSize = 8;
constexpr int kPdfResolution = 300;
constexpr double kRowHeightInLines = 1.4;
constexpr double kCaptionHeightInRows = 2.0;
constexpr double kMinimumColumnCharacters = 2.0;
constexpr double kColumnPaddingCharacters = 1.0;

char DecimalSeparator() {
    const std::string separator = GetDecimalSeparator();
    return separator.size() == 1 ? separator.front() : '.';
}

std::vector<double> ColumnWidths(const GridModel& grid, double characterWidth) {
    std::vector<double> widths;
    for (int column = 1; column <= grid.ColumnCount(); ++column) {
        const double characters = std::max(grid.ColumnWidth(column), kMinimumColumnCharacters);
        widths.push_back((characters + kColumnPaddingCharacters) * characterWidth);
    }
    return widths;
}

void PaintCaption(QPainter& painter, const QRectF& area, int pageNumber) {
    QFont font = painter.font();
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(area, Qt::AlignCenter, QStringLiteral("Page %1").arg(pageNumber));
}

} // namespace

bool PrintTable(const GridModel& grid, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    // Without shaping no ligatures are drawn: text copied from the file (an archive head's
    // "ff", "Differential") comes back as the letters printed.
    QFont font(QStringLiteral("DejaVu Sans"), kFontPointSize);
    font.setStyleStrategy(QFont::PreferNoShaping);
    painter.setFont(font);
    const QFontMetricsF metrics(painter.font(), &device);
    const double rowHeight = metrics.height() * kRowHeightInLines;
    const double captionHeight = rowHeight * kCaptionHeightInRows;
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    PageGeometry geometry;
    geometry.columnWidths = ColumnWidths(grid, metrics.horizontalAdvance(QLatin1Char('0')));
    geometry.rowCount = grid.RowCount();
    geometry.rowHeight = rowHeight;
    geometry.pageWidth = page.width();
    geometry.pageHeight = page.height() - captionHeight;
    geometry.frozenRows = grid.FrozenRows();
    geometry.titleColumns = grid.TitleColumns();
    const std::vector<PageCells> pages = LayOutPages(geometry);
    CellPainter cells(grid, painter, geometry.columnWidths, rowHeight, DecimalSeparator());
    for (std::size_t index = 0; index < pages.size(); ++index) {
        if (index > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        cells.PaintPage(pages[index]);
        PaintCaption(painter, QRectF(0, geometry.pageHeight, page.width(), captionHeight),
                     static_cast<int>(index) + 1);
    }
    return painter.end();
}

bool PrintTableToPdf(const GridModel& grid, const std::string& fileName, std::string& error) {
    base::PendingFile file(fileName);
    if (!file.IsOpen()) {
        error = file.Error();
        return false;
    }
    {
        QPdfWriter writer(QString::fromStdString(file.TemporaryPath()));
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        if (!PrintTable(grid, writer)) {
            error = "Cannot write \"" + fileName + "\"";
            return false;
        }
    }
    if (!file.Commit()) {
        error = file.Error();
        return false;
    }
    return true;
}

} // namespace kestrix::table
