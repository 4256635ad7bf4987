#include "kestrix/table/writers/SaveTable.h"

#include "kestrix/base/atomicFile.h"
#include "kestrix/shell/userLocale.h"
#include "kestrix/table/writers/CsvWriter.h"
#include "kestrix/table/writers/HtmlWriter.h"
#include "kestrix/table/writers/XlsxWriter.h"

#include <fstream>
#include <functional>

namespace kestrix::modDataTable {

namespace {

using table::GridModel;

char DecimalSeparator() {
    const std::string separator = GetDecimalSeparator();
    return separator.size() == 1 ? separator.front() : '.';
}

SaveTableResult Failure(std::string message) {
    return {false, std::move(message)};
}

// Writes the file through a stream; `write` fills it.
SaveTableResult SaveText(const std::string& fileName,
                         const std::function<void(std::ostream&)>& write) {
    base::PendingFile file(fileName);
    if (!file.IsOpen()) {
        return Failure(file.Error());
    }
    {
        std::ofstream out(file.TemporaryPath(), std::ios::binary | std::ios::trunc);
        write(out);
        out.close();
        if (!out) {
            return Failure("Cannot write \"" + fileName + "\"");
        }
    }
    if (!file.Commit()) {
        return Failure(file.Error());
    }
    return {true, {}};
}

SaveTableResult SaveExcel(const GridModel& grid, const std::string& fileName) {
    base::PendingFile file(fileName);
    if (!file.IsOpen()) {
        return Failure(file.Error());
    }
    std::string error;
    if (!table::WriteXlsx(grid, file.TemporaryPath(), {UserLocale()}, error)) {
        return Failure(error);
    }
    if (!file.Commit()) {
        return Failure(file.Error());
    }
    return {true, {}};
}

} // namespace

SaveTableResult SaveTable(const GridModel* grid, const std::string& fileName,
                          std::int32_t formatCode) {
    if (grid == nullptr || fileName.empty()) {
        return {};
    }
    const char decimalSeparator = DecimalSeparator();
    switch (formatCode) {
    case kFormatExcel:
        return SaveExcel(*grid, fileName);
    case kFormatCsv:
        return SaveText(fileName, [&](std::ostream& out) {
            table::WriteCsv(*grid, out, table::CsvOptionsFor(decimalSeparator));
        });
    case kFormatHtml:
        return SaveText(fileName,
                        [&](std::ostream& out) { table::WriteHtml(*grid, out, decimalSeparator); });
    default:
        return {};
    }
}

} // namespace kestrix::modDataTable
