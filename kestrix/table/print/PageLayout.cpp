#include "kestrix/table/print/PageLayout.h"

#include <algorithm>
#include <cmath>

namespace kestrix::table {

namespace {

struct Band {
    int repeated = 0;
    int first = 1;
    int last = 0;
};

// The title columns that later bands repeat: none when they would take over half the page.
int RepeatedColumns(const PageGeometry& geometry, double& width) {
    const int count = std::min<int>(geometry.titleColumns, geometry.columnWidths.size());
    width = 0.0;
    for (int column = 0; column < count; ++column) {
        width += geometry.columnWidths[column];
    }
    if (width > geometry.pageWidth / 2) {
        width = 0.0;
        return 0;
    }
    return count;
}

std::vector<Band> ColumnBands(const PageGeometry& geometry) {
    const std::vector<double>& widths = geometry.columnWidths;
    double repeatedWidth = 0.0;
    const int titleColumns = RepeatedColumns(geometry, repeatedWidth);
    std::vector<Band> bands;
    const int count = static_cast<int>(widths.size());
    for (int first = 1; first <= count;) {
        const int repeated = first > titleColumns ? titleColumns : 0;
        double used = (repeated > 0 ? repeatedWidth : 0.0) + widths[first - 1];
        int last = first;
        while (last < count && used + widths[last] <= geometry.pageWidth) {
            used += widths[last];
            ++last;
        }
        bands.push_back({repeated, first, last});
        first = last + 1;
    }
    if (bands.empty()) {
        bands.push_back({0, 1, count});
    }
    return bands;
}

} // namespace

std::vector<PageCells> LayOutPages(const PageGeometry& geometry) {
    const int rowsPerPage =
        std::max(1, static_cast<int>(std::floor(geometry.pageHeight / geometry.rowHeight)));
    const int repeated =
        std::clamp(geometry.frozenRows, 0, std::min(geometry.rowCount, rowsPerPage - 1));
    const int bodyPerPage = rowsPerPage - repeated;
    std::vector<PageCells> pages;
    for (const Band& band : ColumnBands(geometry)) {
        int first = repeated + 1;
        do {
            const int last = std::min(geometry.rowCount, first + bodyPerPage - 1);
            pages.push_back({band.repeated, band.first, band.last, repeated, first, last});
            first = last + 1;
        } while (first <= geometry.rowCount);
    }
    return pages;
}

} // namespace kestrix::table
