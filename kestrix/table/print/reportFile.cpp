#include "kestrix/table/print/reportFile.h"

#include "kestrix/base/atomicFile.h"
#include "kestrix/table/print/TablePrinter.h"
#include "kestrix/table/writers/SaveTable.h"

#include <QString>
#include <algorithm>
#include <array>
#include <utility>

namespace kestrix::table {

std::optional<ReportFileKind> ReportFileKindOf(const std::string& fileName,
                                               std::span<const ReportFileKind> offered) {
    static constexpr std::array<std::pair<const char*, ReportFileKind>, 5> kEndings{{
        {".pdf", ReportFileKind::Pdf},
        {".html", ReportFileKind::Html},
        {".htm", ReportFileKind::Html},
        {".csv", ReportFileKind::Csv},
        {".json", ReportFileKind::Json},
    }};
    const QString name = QString::fromStdString(fileName);
    for (const auto& [ending, kind] : kEndings) {
        if (name.endsWith(QLatin1String(ending), Qt::CaseInsensitive) &&
            std::find(offered.begin(), offered.end(), kind) != offered.end()) {
            return kind;
        }
    }
    return std::nullopt;
}

std::string SaveReportFile(const std::string& fileName, ReportFileKind kind,
                           const ReportForms& forms) {
    std::string error;
    if (kind == ReportFileKind::Json) {
        base::ReplaceFileAtomically(fileName, forms.json(), &error);
        return error;
    }
    GridModel grid;
    forms.layOut(grid);
    if (kind == ReportFileKind::Pdf) {
        PrintTableToPdf(grid, fileName, error);
        return error;
    }
    const std::int32_t format =
        kind == ReportFileKind::Html ? modDataTable::kFormatHtml : modDataTable::kFormatCsv;
    return modDataTable::SaveTable(&grid, fileName, format).message;
}

} // namespace kestrix::table
