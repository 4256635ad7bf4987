#include "kestrix/cleanroom/reportFiles.h"

#include "kestrix/cleanroom/reportGrid.h"
#include "kestrix/cleanroom/reportJson.h"

#include <array>

namespace kestrix::cleanroom {

namespace {

constexpr std::array kOffered{ReportFileKind::Pdf, ReportFileKind::Html, ReportFileKind::Json};

} // namespace

std::optional<ReportFileKind> ReportFileKindOf(const std::string& fileName) {
    return table::ReportFileKindOf(fileName, kOffered);
}

std::string SaveReport(const ClassificationReport& report, const std::string& fileName) {
    const std::optional<ReportFileKind> kind = ReportFileKindOf(fileName);
    if (!kind) {
        return std::string("the file name must end in ") + kReportFileEndings;
    }
    return table::SaveReportFile(fileName, *kind,
                                 {[&report](table::GridModel& grid) { LayOutReport(report, grid); },
                                  [&report] { return ReportJson(report); }});
}

} // namespace kestrix::cleanroom
