#pragma once

// The file types the main window's file dialogs offer and what a chosen filter means.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kestrix::window {

struct FileFilter {
    std::string_view text;      // as the dialog lists it
    std::string_view extension; // added to a name typed without one
    std::int32_t formatCode;    // SaveTable's code; -1 for files that are not tables
};

// Save As: Excel (code 0), HTML (code 2), CSV (code 1), in this order.
std::span<const FileFilter> TableFileFilters();

inline constexpr FileFilter kRecordSetFilter{"Kestrix Record Set (*.json)", "json", -1};
// File > Sign...: the reports Kestrix saves.
inline constexpr FileFilter kSignableReportFilter{"Report (*.pdf *.html *.htm *.json)", "pdf", -1};

// The name with ".extension" added when its file name has no extension of its own.
std::string WithExtension(const std::string& fileName, std::string_view extension);

} // namespace kestrix::window
