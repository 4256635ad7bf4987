#include "kestrix/window/fileChoices.h"

#include "kestrix/table/writers/SaveTable.h"

#include <array>
#include <filesystem>

namespace kestrix::window {
namespace {

constexpr std::array kTableFilters{
    FileFilter{"Excel File (*.xlsx)", "xlsx", modDataTable::kFormatExcel},
    FileFilter{"HTML File (*.html *.htm)", "html", modDataTable::kFormatHtml},
    FileFilter{"CSV File (*.csv)", "csv", modDataTable::kFormatCsv},
};

} // namespace

std::span<const FileFilter> TableFileFilters() {
    return kTableFilters;
}

std::string WithExtension(const std::string& fileName, std::string_view extension) {
    const std::filesystem::path path(fileName);
    if (fileName.empty() || path.has_extension() || !path.has_filename()) {
        return fileName;
    }
    return fileName + "." + std::string(extension);
}

} // namespace kestrix::window
