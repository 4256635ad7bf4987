#pragma once

// kestrix-cli export --json IN --save OUT: lays a record-set file out as the
// program's data table, with the view options and units of the configuration
// file, and saves it as .xlsx, .csv, .html/.htm or prints it to .pdf.

#include "kestrix/cli/CliCommand.h"

#include <optional>
#include <string>

namespace kestrix::cli {

class ExportCommand : public CliCommand {
public:
    CLI::App* Register(CLI::App& program) override;
    ApplicationKind RequiredApplication() const override;
    int Run(const CliContext& context) override;

private:
    std::string jsonPath_;
    std::string savePath_;
    std::optional<std::string> format_;
};

} // namespace kestrix::cli
