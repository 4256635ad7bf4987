#pragma once

// kestrix-cli identify --port DEVICE|N [--address N|auto]: connects and prints the identity.

#include "kestrix/cli/CliCommand.h"
#include "kestrix/cli/InstrumentOptions.h"

namespace kestrix::cli {

class IdentifyCommand : public CliCommand {
public:
    CLI::App* Register(CLI::App& program) override;
    int Run(const CliContext& context) override;

private:
    InstrumentOptions instrument_;
};

} // namespace kestrix::cli
