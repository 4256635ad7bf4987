#include "kestrix/cli/IaqCommand.h"

#include "kestrix/cleanroom/listTexts.h"
#include "kestrix/cli/OutputTarget.h"
#include "kestrix/cli/cliConfig.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/listOptions.h"
#include "kestrix/cli/recordSetInput.h"
#include "kestrix/iaq/iaqReportFiles.h"
#include "kestrix/iaq/iaqTexts.h"
#include "kestrix/table/TextWidth.h"
#include "kestrix/table/locationNames.h"

#include <algorithm>
#include <iostream>

namespace kestrix::cli {

namespace {

using namespace kestrix::iaq;

// Date, records, hours, complete, PM2.5, PM10, index, category; the WHO verdicts are summed up
// below the days.
constexpr std::size_t kPrintedColumns = 8;

constexpr const char* kDefaultIaqFormat = "csv";

bool IsIaqFile(const std::string& text) {
    return text == kStandardOutput || IaqFileKindOf(text).has_value();
}

int ExitCodeOf(IaqRefusal refusal) {
    switch (refusal) {
    case IaqRefusal::Overflow:
        return kExitTableFailed;
    case IaqRefusal::NoRecords:
        return kExitNoRecordsAtLocations;
    default:
        return kExitNotIaqInstrument;
    }
}

void PrintDays(const IaqReport& report, std::ostream& out) {
    std::vector<std::vector<std::string>> rows{DayHeadings()};
    for (const IaqDay& day : report.days) {
        rows.push_back(DayCells(day));
    }
    std::vector<int> widths(kPrintedColumns, 0);
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < kPrintedColumns; ++i) {
            widths[i] = std::max(widths[i], table::TextWidth(row[i]));
        }
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < kPrintedColumns; ++i) {
            const std::string padding(
                static_cast<std::size_t>(widths[i] - table::TextWidth(row[i])), ' ');
            // Numbers line up on the right, words on the left.
            const bool right = i > 0 && i < kPrintedColumns - 1 && i != 3;
            line += (i == 0 ? "" : "  ") + (right ? padding + row[i] : row[i] + padding);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

} // namespace

CLI::App* IaqCommand::Register(CLI::App& program) {
    CLI::App* command = program.add_subcommand(
        "iaq", "Judge the air sampled in an IAQ record-set file day by day: mean PM2.5 and PM10 "
               "against the Air Quality Index and the WHO guidelines.");
    AddRecordSetInput(*command, jsonPath_);
    command
        ->add_option("--locations", locations_,
                     "location numbers to include, such as 1,3,5-8 (default: all)")
        ->type_name("LIST")
        ->check(LocationListCheck());
    command
        ->add_option("--save", savePath_,
                     "report file to write: .pdf, .html, .htm, .csv or .json; - for standard "
                     "output")
        ->type_name("OUT")
        ->check(ListCheck(IsIaqFile, "a file name ending in .pdf, .html, .htm, .csv or .json"));
    AddFormatOption(*command, format_, {kDefaultIaqFormat, "json", "html", "pdf"});
    return command;
}

ApplicationKind IaqCommand::RequiredApplication() const {
    return IaqFileKindOf(NameForKind(savePath_, format_, kDefaultIaqFormat)) ==
                   table::ReportFileKind::Pdf
               ? ApplicationKind::kGui
               : ApplicationKind::kCore;
}

int IaqCommand::Run(const CliContext& context) {
    const OutputTarget output(savePath_, format_, kDefaultIaqFormat);
    if (const int status = output.Check(); status != kExitOk) {
        return status;
    }
    const std::unique_ptr<data::clsDataRecordSet> input = ReadRecordSetInput(jsonPath_);
    if (!input) {
        return kExitUnreadableInput;
    }
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    const IaqRequest request{
        cleanroom::ParseLocationList(locations_).value_or(std::vector<std::int32_t>{})};
    const IaqOutcome outcome =
        ComputeIaqReport(*input, request, table::ConfiguredLocationNamer(*input, store));
    if (!outcome.report) {
        return Fail(ExitCodeOf(outcome.refusal), outcome.message);
    }
    if (!savePath_.empty()) {
        const std::string error = SaveIaqReport(*outcome.report, output.WritePath());
        if (!error.empty()) {
            return Fail(kExitSaveFailed, "cannot save \"" + savePath_ + "\": " + error);
        }
        if (const int status = output.Deliver(); status != kExitOk) {
            return status;
        }
    }
    PrintDays(*outcome.report, output.Notes());
    for (const std::string& line : SummaryLines(*outcome.report)) {
        output.Notes() << line << '\n';
    }
    return kExitOk;
}

} // namespace kestrix::cli
