#include "kestrix/table/print/PageLayout.h"

#include <algorithm>
#include <cmath>

namespace kestrix::table {

namespace {

struct Band {
    int first = 1;
    int last = 0;
};

std::vector<Band> ColumnBands(const std::vector<double>& widths, double pageWidth) {
    std::vector<Band> bands;
    const int count = static_cast<int>(widths.size());
    for (int first = 1; first <= count;) {
        double used = widths[first - 1];
        int last = first;
        while (last < count && used + widths[last] <= pageWidth) {
            used += widths[last];
            ++last;
        }
        bands.push_back({first, last});
        first = last + 1;
    }
    if (bands.empty()) {
        bands.push_back({1, count});
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
    for (const Band& band : ColumnBands(geometry.columnWidths, geometry.pageWidth)) {
        int first = repeated + 1;
        do {
            const int last = std::min(geometry.rowCount, first + bodyPerPage - 1);
            pages.push_back({band.first, band.last, repeated, first, last});
            first = last + 1;
        } while (first <= geometry.rowCount);
    }
    return pages;
}

} // namespace kestrix::table
