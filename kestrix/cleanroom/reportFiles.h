#pragma once

// Saving a classification report as .pdf, .html or .htm, or .json.

#include "kestrix/cleanroom/classification.h"
#include "kestrix/table/print/reportFile.h"

#include <optional>
#include <string>

namespace kestrix::cleanroom {

using table::ReportFileKind;

inline constexpr const char* kReportFileEndings = ".pdf, .html, .htm or .json";

// Endings compare without regard to case.
std::optional<ReportFileKind> ReportFileKindOf(const std::string& fileName);

// The error text; empty when the file was written. PDF and HTML need a QGuiApplication: their
// charts and plans are painted.
std::string SaveReport(const ClassificationReport& report, const std::string& fileName);

} // namespace kestrix::cleanroom
