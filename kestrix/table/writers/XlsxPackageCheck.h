#pragma once

// Reading back the end of a part of a workbook package. The spreadsheet library stages each
// part in a temporary file without checking those writes, so a full disc can cut a part short
// inside a package that was itself written without error.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrix::table {

inline constexpr std::string_view kXlsxSheetPart = "xl/worksheets/sheet1.xml";

struct PartEnding {
    std::uint64_t size = 0; // uncompressed
    std::string tail;       // the last bytes, up to the length asked for
};

// Inflates the named part; nullopt when the file is no readable zip package, lacks the part or
// its data is damaged.
std::optional<PartEnding> ReadPartEnding(const std::string& packagePath, std::string_view partName,
                                         std::size_t tailLength);

} // namespace kestrix::table
