#pragma once

// Saving a report as the file its name's ending asks for: .pdf (printed like the table), .html or
// .htm and .csv (written like the table), or .json. Each file is written under a temporary name
// and renamed into place when complete.

#include "kestrix/table/GridModel.h"

#include <functional>
#include <optional>
#include <span>
#include <string>

namespace kestrix::table {

enum class ReportFileKind { Pdf, Html, Csv, Json };

// The kind among the offered ones that the name ends in, without regard to case.
std::optional<ReportFileKind> ReportFileKindOf(const std::string& fileName,
                                               std::span<const ReportFileKind> offered);

// A report's two forms: laid out as a grid, and as JSON text; only the one saved is made.
struct ReportForms {
    std::function<void(GridModel&)> layOut;
    std::function<std::string()> json;
};

// The error text; empty when the file was written. PDF needs a QGuiApplication.
std::string SaveReportFile(const std::string& fileName, ReportFileKind kind,
                           const ReportForms& forms);

} // namespace kestrix::table
