#pragma once

// Saving a classification report as the file its name's ending asks for: .pdf (printed like
// the table), .html or .htm, or .json. Each file is written under a temporary name and renamed
// into place when complete.

#include "kestrix/cleanroom/classification.h"

#include <optional>
#include <string>

namespace kestrix::cleanroom {

enum class ReportFileKind { Pdf, Html, Json };

inline constexpr const char* kReportFileEndings = ".pdf, .html, .htm or .json";

// Endings compare without regard to case.
std::optional<ReportFileKind> ReportFileKindOf(const std::string& fileName);

// The error text; empty when the file was written. PDF needs a QGuiApplication.
std::string SaveReport(const ClassificationReport& report, const std::string& fileName);

} // namespace kestrix::cleanroom
