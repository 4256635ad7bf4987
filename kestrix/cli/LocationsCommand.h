#pragma once

// kestrix-cli locations export OUT.loc | import IN.loc: the configuration's My Locations
// written as a location file, or a location file read into My Locations and saved.

#include "kestrix/cli/CliCommand.h"

#include <string>

namespace kestrix::cli {

class LocationsCommand : public CliCommand {
public:
    CLI::App* Register(CLI::App& program) override;
    int Run(const CliContext& context) override;

private:
    int Export(const CliContext& context) const;
    int Import(const CliContext& context) const;

    CLI::App* export_ = nullptr;
    std::string exportPath_;
    std::string importPath_;
};

} // namespace kestrix::cli
