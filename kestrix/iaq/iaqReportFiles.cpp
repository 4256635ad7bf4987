#include "kestrix/iaq/iaqReportFiles.h"

#include "kestrix/iaq/iaqReportGrid.h"
#include "kestrix/iaq/iaqReportJson.h"

#include <array>

namespace kestrix::iaq {

using table::ReportFileKind;

std::optional<ReportFileKind> IaqFileKindOf(const std::string& fileName) {
    static constexpr std::array kOffered{ReportFileKind::Pdf, ReportFileKind::Html,
                                         ReportFileKind::Csv, ReportFileKind::Json};
    return table::ReportFileKindOf(fileName, kOffered);
}

std::string SaveIaqReport(const IaqReport& report, const std::string& fileName) {
    const std::optional<ReportFileKind> kind = IaqFileKindOf(fileName);
    if (!kind) {
        return std::string("the file name must end in ") + kIaqFileEndings;
    }
    return table::SaveReportFile(
        fileName, *kind,
        {[&report](table::GridModel& grid) { LayOutIaqReport(report, grid); },
         [&report] { return IaqReportJson(report); }});
}

} // namespace kestrix::iaq
