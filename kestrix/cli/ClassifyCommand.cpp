#include "kestrix/cli/ClassifyCommand.h"

#include "kestrix/archive/autoArchive.h"
#include "kestrix/cleanroom/classification.h"
#include "kestrix/cleanroom/listTexts.h"
#include "kestrix/cleanroom/reportFiles.h"
#include "kestrix/cleanroom/reportTexts.h"
#include "kestrix/cli/OutputTarget.h"
#include "kestrix/cli/archiveNoting.h"
#include "kestrix/cli/cliConfig.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/listOptions.h"
#include "kestrix/cli/recordSetInput.h"
#include "kestrix/table/locationNames.h"

#include <iostream>

namespace kestrix::cli {

namespace {

using namespace kestrix::cleanroom;

bool IsSizeList(const std::string& text) {
    const auto sizes = ParseSizeList(text);
    return sizes && !sizes->empty();
}

constexpr const char* kDefaultReportFormat = "json";

bool IsReportFile(const std::string& text) {
    return text == kStandardOutput || ReportFileKindOf(text).has_value();
}

} // namespace

CLI::App* ClassifyCommand::Register(CLI::App& program) {
    CLI::App* command = program.add_subcommand(
        "classify", "Classify the cleanroom sampled in a record-set file against an ISO class "
                    "or an EU GMP Annex 1 grade and save the report.");
    AddRecordSetInput(*command, jsonPath_);
    command->add_option("--area", area_, "area of the room or zone in square metres")
        ->required()
        ->type_name("M2")
        ->check(CLI::PositiveNumber);
    classOption_ = command->add_option("--class", isoClass_, "ISO class, 1 to 9")
                       ->type_name("N")
                       ->check(CLI::Range(kFirstIsoClass, kLastIsoClass));
    CLI::Option* grade = command->add_option("--grade", grade_, "EU GMP Annex 1 grade")
                             ->type_name("A|B|C|D")
                             ->check(CLI::IsMember({"A", "B", "C", "D"}));
    classOption_->excludes(grade);
    command
        ->add_option("--sizes", sizes_,
                     "considered particle sizes in µm, channels of the instrument (default: "
                     "those of 0.5 and 5.0 the class or grade has limits at)")
        ->type_name("LIST")
        ->check(ListCheck(IsSizeList, "sizes in µm separated by commas"));
    command->add_option("--state", state_, "occupancy state (default at-rest)")
        ->type_name("as-built|at-rest|in-operation")
        ->check(CLI::IsMember({"as-built", "at-rest", "in-operation"}));
    command->add_option("--room", room_, "name of the room, for the report")->type_name("TEXT");
    command
        ->add_option("--locations", locations_,
                     "location numbers to classify, such as 1,3,5-8 (default: all)")
        ->type_name("LIST")
        ->check(LocationListCheck());
    command
        ->add_option("--save", savePath_,
                     "report file to write: .pdf, .html, .htm or .json; - for standard output")
        ->required()
        ->type_name("OUT")
        ->check(ListCheck(IsReportFile, "a file name ending in .pdf, .html, .htm or .json"));
    AddFormatOption(*command, format_, {kDefaultReportFormat, "html", "pdf"});
    command->callback([this, command, grade] {
        if (classOption_->count() == 0 && grade->count() == 0) {
            throw CLI::RequiredError("--class or --grade");
        }
    });
    return command;
}

ApplicationKind ClassifyCommand::RequiredApplication() const {
    return ReportFileKindOf(NameForKind(savePath_, format_, kDefaultReportFormat)) ==
                   ReportFileKind::Pdf
               ? ApplicationKind::kGui
               : ApplicationKind::kCore;
}

int ClassifyCommand::Run(const CliContext& context) {
    const OutputTarget output(savePath_, format_, kDefaultReportFormat);
    if (const int status = output.Check(); status != kExitOk) {
        return status;
    }
    const std::unique_ptr<data::clsDataRecordSet> input = ReadRecordSetInput(jsonPath_);
    if (!input) {
        return kExitUnreadableInput;
    }
    modConfig::ConfigStore store;
    LoadCliConfig(context, store);
    data::clsDataRecordSet& recordSet = *input;

    ClassificationRequest request;
    if (classOption_->count() > 0) {
        request.target.isoClass = isoClass_;
    } else {
        request.target.grade = ParseGrade(grade_);
    }
    request.target.state = *ParseState(state_);
    request.areaSquareMetres = area_;
    request.sizes = ParseSizeList(sizes_).value_or(std::vector<double>{});
    request.room = room_;
    request.locations = ParseLocationList(locations_).value_or(std::vector<std::int32_t>{});
    const ClassificationOutcome outcome =
        Classify(recordSet, request, table::ConfiguredLocationNamer(recordSet, store));
    if (!outcome.report) {
        return Fail(kExitNotClassified, outcome.refusal);
    }
    ClassificationReport report = *outcome.report;
    // A record-set file's records are no archive's: the report carries the archive's head now.
    report.archiveHead =
        archive::CurrentChainHead(archive::ReadArchiveSettings(store.GetConfigPath()));
    const std::string error = SaveReport(report, output.WritePath());
    if (!error.empty()) {
        return Fail(kExitSaveFailed, "cannot save \"" + savePath_ + "\": " + error);
    }
    if (const int status = output.Deliver(); status != kExitOk) {
        return status;
    }
    NoteInArchive(store,
                  archive::ClassificationReportNote(report.instrumentModel, report.instrumentSerial,
                                                    report.targetName, report.passed, savePath_));
    output.Notes() << SummaryText(report.passed, report.targetName, report.locations.size(),
                                  report.checks.size())
                   << '\n';
    return report.passed ? kExitOk : kExitRoomFailed;
}

} // namespace kestrix::cli
