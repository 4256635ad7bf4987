#include "kestrix/iaq/iaqReportFiles.h"

#include "kestrix/base/atomicFile.h"
#include "kestrix/iaq/iaqReportGrid.h"
#include "kestrix/iaq/iaqReportJson.h"
#include "kestrix/table/print/TablePrinter.h"
#include "kestrix/table/writers/SaveTable.h"

#include <QString>
#include <array>
#include <utility>

namespace kestrix::iaq {

std::optional<IaqFileKind> IaqFileKindOf(const std::string& fileName) {
    static const std::array<std::pair<const char*, IaqFileKind>, 5> kEndings{{
        {".pdf", IaqFileKind::Pdf},
        {".html", IaqFileKind::Html},
        {".htm", IaqFileKind::Html},
        {".csv", IaqFileKind::Csv},
        {".json", IaqFileKind::Json},
    }};
    const QString name = QString::fromStdString(fileName);
    for (const auto& [ending, kind] : kEndings) {
        if (name.endsWith(QLatin1String(ending), Qt::CaseInsensitive)) {
            return kind;
        }
    }
    return std::nullopt;
}

std::string SaveIaqReport(const IaqReport& report, const std::string& fileName) {
    const std::optional<IaqFileKind> kind = IaqFileKindOf(fileName);
    if (!kind) {
        return std::string("the file name must end in ") + kIaqFileEndings;
    }
    std::string error;
    if (*kind == IaqFileKind::Json) {
        ReplaceFileAtomically(fileName, IaqReportJson(report), &error);
        return error;
    }
    table::GridModel grid;
    LayOutIaqReport(report, grid);
    if (*kind == IaqFileKind::Pdf) {
        table::PrintTableToPdf(grid, fileName, error);
        return error;
    }
    const std::int32_t format =
        *kind == IaqFileKind::Html ? modDataTable::kFormatHtml : modDataTable::kFormatCsv;
    return modDataTable::SaveTable(&grid, fileName, format).message;
}

} // namespace kestrix::iaq
