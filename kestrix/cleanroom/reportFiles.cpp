#include "kestrix/cleanroom/reportFiles.h"

#include "kestrix/base/atomicFile.h"
#include "kestrix/cleanroom/reportGrid.h"
#include "kestrix/cleanroom/reportJson.h"
#include "kestrix/table/print/TablePrinter.h"
#include "kestrix/table/writers/SaveTable.h"

#include <QString>

namespace kestrix::cleanroom {

std::optional<ReportFileKind> ReportFileKindOf(const std::string& fileName) {
    const QString name = QString::fromStdString(fileName);
    const auto endsWith = [&](const char* ending) {
        return name.endsWith(QLatin1String(ending), Qt::CaseInsensitive);
    };
    if (endsWith(".pdf")) {
        return ReportFileKind::Pdf;
    }
    if (endsWith(".html") || endsWith(".htm")) {
        return ReportFileKind::Html;
    }
    if (endsWith(".json")) {
        return ReportFileKind::Json;
    }
    return std::nullopt;
}

std::string SaveReport(const ClassificationReport& report, const std::string& fileName) {
    const std::optional<ReportFileKind> kind = ReportFileKindOf(fileName);
    if (!kind) {
        return std::string("the file name must end in ") + kReportFileEndings;
    }
    std::string error;
    if (*kind == ReportFileKind::Json) {
        ReplaceFileAtomically(fileName, ReportJson(report), &error);
        return error;
    }
    table::GridModel grid;
    LayOutReport(report, grid);
    if (*kind == ReportFileKind::Html) {
        return modDataTable::SaveTable(&grid, fileName, modDataTable::kFormatHtml).message;
    }
    table::PrintTableToPdf(grid, fileName, error);
    return error;
}

} // namespace kestrix::cleanroom
