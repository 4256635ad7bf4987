#include "kestrix/cli/recordSetOutputs.h"

#include "kestrix/cli/OutputTarget.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/cli/exitCodes.h"
#include "kestrix/cli/tableOutput.h"
#include "kestrix/data/recordSetFile.h"

namespace kestrix::cli {

namespace {

constexpr const char* kJsonFormat = "json";

int WriteJson(data::clsDataRecordSet& recordSet, const std::string& path) {
    const OutputTarget output(path, std::nullopt, kJsonFormat);
    std::string error;
    if (!data::WriteRecordSetJson(recordSet, output.WritePath(), error)) {
        return Fail(kExitSaveFailed, error);
    }
    return output.Deliver();
}

int WriteTable(data::clsDataRecordSet& recordSet, const modConfig::ConfigStore& store,
               const std::string& source, const RecordSetOutputs& outputs) {
    const OutputTarget output(outputs.savePath, outputs.format, kDefaultTableFormat);
    const int status = SaveRecordSetTable(recordSet, store, source, output.WritePath());
    return status == kExitOk ? output.Deliver() : status;
}

} // namespace

int CheckRecordSetOutputs(const RecordSetOutputs& outputs) {
    const bool jsonOut = outputs.jsonPath == kStandardOutput;
    if (jsonOut && outputs.savePath == kStandardOutput) {
        return Fail(kExitUsage, "only one of --json and --save can be - (standard output)");
    }
    if (jsonOut) {
        if (const int status = OutputTarget(*outputs.jsonPath, std::nullopt, kJsonFormat).Check();
            status != kExitOk) {
            return status;
        }
    }
    if (outputs.savePath.empty()) {
        return outputs.format ? Fail(kExitUsage, "--format goes with --save -") : kExitOk;
    }
    return OutputTarget(outputs.savePath, outputs.format, kDefaultTableFormat).Check();
}

int WriteRecordSetOutputs(data::clsDataRecordSet& recordSet, const modConfig::ConfigStore& store,
                          const std::string& source, const RecordSetOutputs& outputs) {
    if (outputs.jsonPath) {
        if (const int status = WriteJson(recordSet, *outputs.jsonPath); status != kExitOk) {
            return status;
        }
    }
    return outputs.savePath.empty() ? kExitOk : WriteTable(recordSet, store, source, outputs);
}

} // namespace kestrix::cli
