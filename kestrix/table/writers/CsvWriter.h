#pragma once

// The grid as delimited text: one line per row (CRLF), every cell as the grid shows it, UTF-8.
// A field holding the separator, a quote, a line break or a leading or trailing blank is quoted
// with inner quotes doubled (RFC 4180). A text cell that starts with =, +, - or @ is written
// with a leading apostrophe, so that a spreadsheet does not run it as a formula.

#include "kestrix/table/GridModel.h"

#include <ostream>

namespace kestrix::table {

struct CsvOptions {
    char separator = ',';
    char decimalSeparator = '.';
};

// ";" between cells where numbers use a decimal comma, "," otherwise.
CsvOptions CsvOptionsFor(char decimalSeparator);

void WriteCsv(const GridModel& grid, std::ostream& out, const CsvOptions& options);

} // namespace kestrix::table
