#pragma once

// Saving the table to a file in the format the Save As dialog's filter entry gives.

#include "kestrix/table/GridModel.h"

#include <cstdint>
#include <string>

namespace kestrix::modDataTable {

// The Save As dialog's filter; the chosen entry gives the format code: first 0, second 2,
// third 1.
inline constexpr const char* kSaveTableFilter =
    "Excel File (*.xlsx)|*.xlsx|HTML File (*.html;*.htm)|*.html;*.htm|CSV File (*.csv)|*.csv";

inline constexpr std::int32_t kFormatExcel = 0;
inline constexpr std::int32_t kFormatCsv = 1;
inline constexpr std::int32_t kFormatHtml = 2;

struct SaveTableResult {
    bool saved = false;  // a file was written
    std::string message; // why not, when writing failed; empty otherwise
    bool Failed() const { return !message.empty(); }
};

// Writes the table as the grid shows it (numbers with the user locale's decimal separator).
// Nothing happens for no grid, an empty file name or an unknown code. The file is written
// under a temporary name and renamed into place when complete, so a failure leaves an
// existing file untouched.
SaveTableResult SaveTable(const table::GridModel* grid, const std::string& fileName,
                          std::int32_t formatCode);

} // namespace kestrix::modDataTable
