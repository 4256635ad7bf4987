#include "kestrix/cli/tableOutput.h"

#include "kestrix/calc/ArithmeticError.h"
#include "kestrix/cli/OutputTarget.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/tableFileKind.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/TableViewOptions.h"
#include "kestrix/table/modDataTable.h"
#include "kestrix/table/print/TablePrinter.h"
#include "kestrix/table/writers/SaveTable.h"

namespace kestrix::cli {

namespace {

std::int32_t SaveTableCode(TableFileKind kind) {
    switch (kind) {
    case TableFileKind::kCsv:
        return modDataTable::kFormatCsv;
    case TableFileKind::kHtml:
        return modDataTable::kFormatHtml;
    default:
        return modDataTable::kFormatExcel;
    }
}

// The error text, empty when the file was written.
std::string SaveTableFile(const table::GridModel& grid, const std::string& path,
                          TableFileKind kind) {
    std::string error;
    if (kind == TableFileKind::kPdf) {
        table::PrintTableToPdf(grid, path, error);
        return error;
    }
    return modDataTable::SaveTable(&grid, path, SaveTableCode(kind)).message;
}

int LayoutFailed(const std::string& source, const std::exception& error) {
    return Fail(kExitTableFailed, "cannot lay out " + source + ": " + error.what());
}

} // namespace

CLI::Option* AddSaveOption(CLI::App& command, std::string& savePath,
                           std::optional<std::string>& format) {
    CLI::Option* save =
        command
            .add_option("--save", savePath,
                        "table file to write: .xlsx, .csv, .html, .htm or .pdf; - for standard "
                        "output")
            ->type_name("OUT")
            ->check(CLI::Validator(
                [](const std::string& path) {
                    return path == kStandardOutput || TableFileKindOf(path)
                               ? std::string()
                               : std::string("must end in ") + kTableFileEndings;
                },
                "", "table file"));
    AddFormatOption(command, format, {kDefaultTableFormat, "html", "xlsx", "pdf"});
    return save;
}

ApplicationKind ApplicationForSave(const std::string& savePath,
                                   const std::optional<std::string>& format) {
    return TableFileKindOf(NameForKind(savePath, format, kDefaultTableFormat)) ==
                   TableFileKind::kPdf
               ? ApplicationKind::kGui
               : ApplicationKind::kCore;
}

int SaveRecordSetTable(data::clsDataRecordSet& recordSet, const modConfig::ConfigStore& store,
                       const std::string& source, const std::string& savePath) {
    table::GridModel grid;
    modDataTable::InitTableGrid(grid);
    try {
        modDataTable::FillTable(grid, &recordSet, table::ReadTableViewOptions(store), store);
    } catch (const calc::ArithmeticError& error) {
        return LayoutFailed(source, error);
    } catch (const table::GridRefusal& error) {
        return LayoutFailed(source, error);
    }
    const std::string error = SaveTableFile(grid, savePath, *TableFileKindOf(savePath));
    if (!error.empty()) {
        return Fail(kExitSaveFailed, "cannot save \"" + savePath + "\": " + error);
    }
    return kExitOk;
}

} // namespace kestrix::cli
