#include "kestrix/cli/ClassifyCommand.h"

#include "kestrix/archive/autoArchive.h"
#include "kestrix/archive/calibration.h"
#include "kestrix/cleanroom/classification.h"
#include "kestrix/cleanroom/listTexts.h"
#include "kestrix/cleanroom/reportFiles.h"
#include "kestrix/cleanroom/reportSections.h"
#include "kestrix/cleanroom/reportTexts.h"
#include "kestrix/cleanroom/roomFile.h"
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

int VerdictStatus(Verdict verdict) {
    switch (verdict) {
    case Verdict::Pass:
        return kExitOk;
    case Verdict::Fail:
        return kExitRoomFailed;
    case Verdict::NotClassified:
        return kExitNotClassified;
    }
    return kExitInternalError;
}

} // namespace

CLI::App* ClassifyCommand::Register(CLI::App& program) {
    CLI::App* command = program.add_subcommand(
        "classify", "Classify the cleanroom sampled in a record-set file against an ISO class "
                    "or an EU GMP Annex 1 grade and save the report.");
    AddRecordSetInput(*command, jsonPath_);
    areaOption_ = command
                      ->add_option("--area", area_,
                                   "area of the room or zone in square metres (default: the room "
                                   "file's width x length)")
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
    command
        ->add_option("--room", roomFile_,
                     "room file (.room): the room's name, place in the building, size and the "
                     "locations' coordinates")
        ->type_name("FILE");
    roomNameOption_ = command
                          ->add_option("--room-name", roomName_,
                                       "name of the room, for the report (default: the room "
                                       "file's)")
                          ->type_name("TEXT");
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
    RegisterReportSigning(*command, signOptions_);
    command->callback([this, command, grade] {
        if (!signOptions_.meaning.empty() && savePath_ == "-") {
            throw CLI::ValidationError("--sign", "a report on standard output cannot be signed");
        }
        if (classOption_->count() == 0 && grade->count() == 0) {
            throw CLI::RequiredError("--class or --grade");
        }
        if (areaOption_->count() == 0 && roomFile_.empty()) {
            throw CLI::RequiredError("--area or --room");
        }
    });
    return command;
}

ApplicationKind ClassifyCommand::RequiredApplication() const {
    // PDF and HTML paint their charts and plans.
    return ReportFileKindOf(NameForKind(savePath_, format_, kDefaultReportFormat)) ==
                   ReportFileKind::Json
               ? ApplicationKind::kCore
               : ApplicationKind::kGui;
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
    RoomDescription room;
    if (!roomFile_.empty()) {
        RoomFileRead read = ReadRoomFile(roomFile_);
        if (!read.room) {
            return Fail(kExitUnreadableInput, read.error);
        }
        room = std::move(*read.room);
    }
    if (areaOption_->count() == 0 && !(room.Area() > 0)) {
        return Fail(kExitUsage, "the room file \"" + roomFile_ +
                                    "\" gives no width and length: --area is needed");
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
    request.areaSquareMetres = areaOption_->count() > 0 ? area_ : room.Area();
    request.sizes = ParseSizeList(sizes_).value_or(std::vector<double>{});
    request.room = roomNameOption_->count() > 0 ? roomName_ : room.name;
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
    const archive::CalibrationStatement calibration = archive::StateCalibration(
        archive::ReadArchiveSettings(store.GetConfigPath()), report.instrumentModel,
        report.instrumentSerial, report.lastSample);
    report.calibration = calibration.text;
    report.calibrationWarning = calibration.warning;
    report.party = ReadTestingParty(store.GetConfigPath());
    report.roomPlan = std::move(room);
    const std::string error = SaveReport(report, output.WritePath());
    if (!error.empty()) {
        return Fail(kExitSaveFailed, "cannot save \"" + savePath_ + "\": " + error);
    }
    if (const int status = output.Deliver(); status != kExitOk) {
        return status;
    }
    const Verdict verdict = ReportVerdict(report);
    NoteInArchive(store, archive::ClassificationReportNote(
                             report.instrumentModel, report.instrumentSerial, report.targetName,
                             VerdictWord(verdict), savePath_));
    output.Notes() << SummaryText(report) << '\n';
    if (!signOptions_.meaning.empty()) {
        const int status = RunSignReport(archive::ReadArchiveSettings(store.GetConfigPath()),
                                         report, savePath_, signOptions_);
        if (status != kExitOk) {
            return status;
        }
    }
    return VerdictStatus(verdict);
}

} // namespace kestrix::cli
