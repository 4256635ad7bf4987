#pragma once

// Reads a workbook with a reader that is not ours (openpyxl through check_xlsx.py).

#include "TemporaryFolder.h"

#include <nlohmann/json.hpp>
#include <string>

namespace kestrix::table::testing {

// What the script printed: sheets, cells (value, cached result, number format, date flag,
// colours), comments, merged ranges, freeze panes. Null when the script failed.
nlohmann::json ReadXlsx(const std::string& path);

} // namespace kestrix::table::testing
