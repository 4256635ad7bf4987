#pragma once

// Dividing the grid into printed pages: columns that do not fit on one page width go on to
// further pages, the frozen top rows (header lines and titles) repeat at the top of every page,
// the title columns (time stamp, location) at the left of every page after the first band, and
// the other rows fill the rest of each page. Pages run down the rows of one band of columns
// before moving to the next band.

#include <vector>

namespace kestrix::table {

struct PageCells {
    int repeatedColumns = 0; // columns 1..repeatedColumns at the left of the page
    int firstColumn = 1;     // then these columns
    int lastColumn = 0;
    int repeatedRows = 0; // rows 1..repeatedRows at the top of the page
    int firstBodyRow = 1; // then these rows; none when firstBodyRow > lastBodyRow
    int lastBodyRow = 0;
};

struct PageGeometry {
    std::vector<double> columnWidths; // of columns 1..n, in device units
    int rowCount = 0;
    double rowHeight = 1.0;
    double pageWidth = 1.0;
    double pageHeight = 1.0; // space for rows, the caption excluded
    int frozenRows = 0;
    int titleColumns = 0;
};

// Every page, at least one even for an empty grid. A column wider than the page gets a page
// width of its own; frozen rows that would leave no room for other rows repeat only as many as
// leave room for one; title columns wider than half the page do not repeat.
std::vector<PageCells> LayOutPages(const PageGeometry& geometry);

} // namespace kestrix::table
