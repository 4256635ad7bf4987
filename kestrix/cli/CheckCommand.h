#pragma once

// kestrix-cli check --json IN: lists the records of a record-set file a careful analyst would
// question, one line each on stdout.

#include "kestrix/cli/CliCommand.h"

#include <string>

namespace kestrix::cli {

class CheckCommand : public CliCommand {
public:
    CLI::App* Register(CLI::App& program) override;
    int Run(const CliContext& context) override;

private:
    std::string jsonPath_;
};

} // namespace kestrix::cli
