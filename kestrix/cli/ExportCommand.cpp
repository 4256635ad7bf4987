#include "kestrix/cli/ExportCommand.h"

#include "kestrix/calc/ArithmeticError.h"
#include "kestrix/cli/cliConfig.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/tableFileKind.h"
#include "kestrix/data/recordSetFile.h"
#include "kestrix/table/TableViewOptions.h"
#include "kestrix/table/modDataTable.h"
#include "kestrix/table/print/TablePrinter.h"
#include "kestrix/table/writers/SaveTable.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace kestrix::cli {

namespace {

// Opened here so that the one message naming the file says why it failed.
RecordSetReadResult ReadInput(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {nullptr, std::strerror(errno)};
    }
    return ReadRecordSetJson(in);
}

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

} // namespace

CLI::App* ExportCommand::Register(CLI::App& program) {
    CLI::App* command = program.add_subcommand(
        "export", "Lay a record-set file out as the data table and save it as a file; the view "
                  "options and units come from the configuration file.");
    command->add_option("--json", jsonPath_, "record-set file (JSON) to read")
        ->required()
        ->type_name("IN");
    command
        ->add_option("--save", savePath_, "table file to write: .xlsx, .csv, .html, .htm or .pdf")
        ->required()
        ->type_name("OUT")
        ->check(CLI::Validator(
            [](const std::string& path) {
                return TableFileKindOf(path) ? std::string()
                                             : std::string("must end in ") + kTableFileEndings;
            },
            "", "table file"));
    return command;
}

ApplicationKind ExportCommand::RequiredApplication() const {
    return TableFileKindOf(savePath_) == TableFileKind::kPdf ? ApplicationKind::kGui
                                                             : ApplicationKind::kCore;
}

int ExportCommand::Run(const CliContext& context) {
    const RecordSetReadResult input = ReadInput(jsonPath_);
    if (!input.recordSet) {
        return Fail(kExitUnreadableInput, "cannot read \"" + jsonPath_ + "\": " + input.error);
    }
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    table::GridModel grid;
    modDataTable::InitTableGrid(grid);
    try {
        modDataTable::FillTable(grid, input.recordSet.get(), table::ReadTableViewOptions(store),
                                store);
    } catch (const ArithmeticError& error) {
        return Fail(kExitTableFailed, "cannot lay out \"" + jsonPath_ + "\": " + error.what());
    }
    const std::string error = SaveTableFile(grid, savePath_, *TableFileKindOf(savePath_));
    if (!error.empty()) {
        return Fail(kExitSaveFailed, "cannot save \"" + savePath_ + "\": " + error);
    }
    return kExitOk;
}

} // namespace kestrix::cli
