#pragma once

// The grid as an .xlsx workbook with the single sheet "Sheet 1": every cell as the grid shows
// it, numbers as numbers with their decimals, formulas as formulas in A1 style together with
// their computed results (the file is not recalculated by its writer), the standard deviation
// row as STDEV over the data rows, notes as cell comments, colours, alignment, borders, bold,
// spans centred across their columns, column widths, the frozen rows frozen, and the time
// stamps of the data rows (tableRowKinds.h) as date-time cells shown with a four-digit year.
// Rows are streamed to disc as they are written, so memory stays small for a full instrument
// memory; merged cells cannot be streamed, hence spans centred across instead.

#include "kestrix/table/GridModel.h"

#include <QLocale>
#include <string>

namespace kestrix::table {

inline constexpr const char* kXlsxSheetName = "Sheet 1";

struct XlsxOptions {
    // Time stamp texts are read, and shown again, in this locale's date order.
    QLocale locale;
};

// Writes the workbook to path; false with `error` telling why when it cannot be written.
bool WriteXlsx(const GridModel& grid, const std::string& path, const XlsxOptions& options,
               std::string& error);

} // namespace kestrix::table
