#pragma once

// Saving an IAQ report as the file its name's ending asks for: .pdf (printed like the table),
// .html or .htm, .csv, or .json. Each file is written under a temporary name and renamed into
// place when complete.

#include "kestrix/iaq/iaqReport.h"

#include <optional>
#include <string>

namespace kestrix::iaq {

enum class IaqFileKind { Pdf, Html, Csv, Json };

inline constexpr const char* kIaqFileEndings = ".pdf, .html, .htm, .csv or .json";

// Endings compare without regard to case.
std::optional<IaqFileKind> IaqFileKindOf(const std::string& fileName);

// The error text; empty when the file was written. PDF needs a QGuiApplication.
std::string SaveIaqReport(const IaqReport& report, const std::string& fileName);

} // namespace kestrix::iaq
