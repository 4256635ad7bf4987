#include "kestrix/cli/recordSetInput.h"

#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/data/recordSetFile.h"

namespace kestrix::cli {

void AddRecordSetInput(CLI::App& command, std::string& path) {
    command.add_option("--json", path, "record-set file (JSON) to read")
        ->required()
        ->type_name("IN");
}

std::unique_ptr<data::clsDataRecordSet> ReadRecordSetInput(const std::string& path) {
    data::RecordSetReadResult input = data::ReadRecordSetJson(path);
    if (!input.recordSet) {
        Fail(kExitUnreadableInput, input.error);
    }
    return std::move(input.recordSet);
}

} // namespace kestrix::cli
