#pragma once

// Reads a workbook with a reader that is not ours (openpyxl through check_xlsx.py).

#include "TemporaryFolder.h"

#include <nlohmann/json.hpp>
#include <string>

namespace kestrix::table::testing {

// What the script printed: sheets, cells with a value or a look (value, cached result, number
// format, date flag, colours, horizontal alignment, borders as the letters of the sides "LTRB"),
// comments, merged ranges, freeze panes. Null when the script failed.
nlohmann::json ReadXlsx(const std::string& path);

} // namespace kestrix::table::testing
