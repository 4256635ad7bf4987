#pragma once

// kestrix-cli iaq --json IN [--locations LIST] [--save OUT]: the daily PM2.5 and PM10 of an
// IAQ record-set file against the Air Quality Index and the WHO guidelines, printed one line
// a day with a summary, and saved as PDF, HTML, CSV or JSON.

#include "kestrix/cli/CliCommand.h"

#include <optional>
#include <string>

namespace kestrix::cli {

class IaqCommand : public CliCommand {
public:
    CLI::App* Register(CLI::App& program) override;
    ApplicationKind RequiredApplication() const override;
    int Run(const CliContext& context) override;

private:
    std::string jsonPath_;
    std::string locations_;
    std::string savePath_;
    std::optional<std::string> format_;
};

} // namespace kestrix::cli
