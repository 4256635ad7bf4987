#pragma once

// kestrix-cli download --port DEVICE|N [--address N|auto] [--json OUT] [--save OUT] [--quiet]
// [--no-archive]: connects, identifies and downloads every record, and writes the record set as a
// record-set file, the data table as a table file, or both. Unless told not to, it archives the
// download and notes the files written.

#include "kestrix/cli/CliCommand.h"
#include "kestrix/cli/InstrumentOptions.h"

#include <optional>
#include <string>

namespace kestrix {
class clsDataRecordSet;
namespace modConfig {
class ConfigStore;
}
} // namespace kestrix

namespace kestrix::cli {

class DownloadCommand : public CliCommand {
public:
    CLI::App* Register(CLI::App& program) override;
    ApplicationKind RequiredApplication() const override;
    int Run(const CliContext& context) override;

private:
    // The record-set file carries the archive's head; the exit status of the writing.
    int WriteFiles(clsDataRecordSet& recordSet, const modConfig::ConfigStore& store,
                   const std::string& archiveHead) const;
    void NoteSavedFiles(const clsDataRecordSet& recordSet,
                        const modConfig::ConfigStore& store) const;

    InstrumentOptions instrument_;
    std::optional<std::string> jsonPath_;
    std::string savePath_;
    bool quiet_ = false;
    bool noArchive_ = false;
};

} // namespace kestrix::cli
