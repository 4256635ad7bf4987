#pragma once

// kestrix-cli download --port DEVICE|N [--address N|auto] [--json OUT] [--save OUT] [--quiet]
// [--no-archive]: connects, identifies and downloads every record, and writes the record set as a
// record-set file, the data table as a table file, or both. Unless told not to, it archives the
// download and notes the files written.

#include "kestrix/cli/CliCommand.h"
#include "kestrix/cli/InstrumentOptions.h"
#include "kestrix/cli/recordSetOutputs.h"

#include <optional>
#include <string>

namespace kestrix::cli {

class DownloadCommand : public CliCommand {
public:
    CLI::App* Register(CLI::App& program) override;
    ApplicationKind RequiredApplication() const override;
    int Run(const CliContext& context) override;

private:
    void NoteSavedFiles(const data::clsDataRecordSet& recordSet,
                        const modConfig::ConfigStore& store) const;

    InstrumentOptions instrument_;
    RecordSetOutputs outputs_;
    bool quiet_ = false;
    bool noArchive_ = false;
};

} // namespace kestrix::cli
