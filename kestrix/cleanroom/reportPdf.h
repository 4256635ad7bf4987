#pragma once

// The report document as a PDF file (reportPages.h). Needs a QGuiApplication.

#include "kestrix/cleanroom/ReportDocument.h"

#include <string>

namespace kestrix::cleanroom {

// False with `error` telling why when the file could not be written; the file is written
// under a temporary name and renamed into place when complete.
bool WriteReportPdf(const ReportDocument& document, const std::string& fileName,
                    std::string& error);

} // namespace kestrix::cleanroom
