#include "kestrix/cli/CheckCommand.h"

#include "kestrix/cleanroom/dataChecks.h"
#include "kestrix/cleanroom/recordFacts.h"
#include "kestrix/cleanroom/reportTexts.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/recordSetInput.h"

#include <iostream>

namespace kestrix::cli {

CLI::App* CheckCommand::Register(CLI::App& program) {
    CLI::App* command = program.add_subcommand(
        "check", "List the records of a record-set file to question: impossible data (negative "
                 "counts or concentrations, a flow rate or sampled volume not above 0, counts in "
                 "no sample time), counts rising with size, volumes off the flow rate, zero "
                 "runs, time stamps going back or repeating, status flags.");
    AddRecordSetInput(*command, jsonPath_);
    return command;
}

int CheckCommand::Run(const CliContext&) {
    const std::unique_ptr<data::clsDataRecordSet> input = ReadRecordSetInput(jsonPath_);
    if (!input) {
        return kExitUnreadableInput;
    }
    if (!cleanroom::MeasuredVolume(*input).Available()) {
        ReportNote("the records carry no measured sample volume: the volume check does not apply");
    }
    const std::vector<cleanroom::DataFinding> findings = cleanroom::CheckRecords(*input);
    for (const cleanroom::DataFinding& finding : findings) {
        std::cout << "record " << finding.recordIndex + 1 << " ("
                  << cleanroom::ReportDateTime(finding.timeStamp)
                  << "): " << cleanroom::FindingKindKey(finding.kind) << ": " << finding.message
                  << '\n';
    }
    return findings.empty() ? kExitOk : kExitDataQuestioned;
}

} // namespace kestrix::cli
