#pragma once

// Saving an IAQ report as .pdf, .html or .htm, .csv, or .json (table/print/reportFile.h).

#include "kestrix/iaq/iaqReport.h"
#include "kestrix/table/print/reportFile.h"

#include <optional>
#include <string>

namespace kestrix::iaq {

inline constexpr const char* kIaqFileEndings = ".pdf, .html, .htm, .csv or .json";

// Endings compare without regard to case.
std::optional<table::ReportFileKind> IaqFileKindOf(const std::string& fileName);

// The error text; empty when the file was written. PDF needs a QGuiApplication.
std::string SaveIaqReport(const IaqReport& report, const std::string& fileName);

} // namespace kestrix::iaq
