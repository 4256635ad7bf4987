#pragma once

// Which kind of table file a file name asks for, by its ending.

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix::cli {

enum class TableFileKind { kExcel, kCsv, kHtml, kPdf };

inline constexpr const char* kTableFileEndings = ".xlsx, .csv, .html, .htm or .pdf";

// Endings compare without regard to case; anything else has no kind.
std::optional<TableFileKind> TableFileKindOf(const std::string& fileName);

} // namespace kestrix::cli
