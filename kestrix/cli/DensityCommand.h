#pragma once

// kestrix-cli density --port DEVICE|N [--address N|auto] [--set VALUE]: connects, identifies
// an IAQ instrument and prints its particle density; with --set writes a new one and prints
// the density read back.

#include "kestrix/cli/CliCommand.h"
#include "kestrix/cli/InstrumentOptions.h"

#include <optional>
#include <string>

namespace kestrix::cli {

class DensityCommand : public CliCommand {
public:
    CLI::App* Register(CLI::App& program) override;
    int Run(const CliContext& context) override;

private:
    InstrumentOptions instrument_;
    std::optional<std::string> newDensity_;
};

} // namespace kestrix::cli
