#pragma once

// kestrix-cli upload-names --port DEVICE|N [--address N|auto] [--from FILE.loc] [--yes]:
// writes My Locations' short names (or a location file's) into the instrument's name list,
// after asking on the console before the instrument's names are overwritten.

#include "kestrix/cli/CliCommand.h"
#include "kestrix/cli/InstrumentOptions.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrix::cli {

class UploadNamesCommand : public CliCommand {
public:
    CLI::App* Register(CLI::App& program) override;
    int Run(const CliContext& context) override;

private:
    // None, with the reason in `error`, when the location file cannot be read.
    std::optional<std::vector<std::string>> ShortNames(const modConfig::ConfigStore& store,
                                                       std::string& error) const;

    InstrumentOptions instrument_;
    std::optional<std::string> fromPath_;
    bool yes_ = false;
};

} // namespace kestrix::cli
