#pragma once

// kestrix-cli classify --json IN (--area M2 | --room FILE) (--class N | --grade A|B|C|D)
// [--sizes LIST] [--state STATE] [--room-name TEXT] [--locations LIST] --save OUT: classifies
// the room sampled in a record-set file and saves the report as PDF, HTML or JSON, with the
// room file's place and plan and the configuration's [report] organisation, address and tester;
// with --sign MEANING, signs the saved report and writes it again with the signature printed.

#include "kestrix/cli/CliCommand.h"
#include "kestrix/cli/archiveSigning.h"

#include <optional>
#include <string>

namespace kestrix::cli {

class ClassifyCommand : public CliCommand {
public:
    CLI::App* Register(CLI::App& program) override;
    ApplicationKind RequiredApplication() const override;
    int Run(const CliContext& context) override;

private:
    std::string jsonPath_;
    std::string savePath_;
    std::optional<std::string> format_;
    double area_ = 0;
    int isoClass_ = 0;
    std::string grade_;
    std::string sizes_;
    std::string state_ = "at-rest";
    std::string roomFile_;
    std::string roomName_;
    std::string locations_;
    SignOptions signOptions_;
    CLI::Option* classOption_ = nullptr;
    CLI::Option* areaOption_ = nullptr;
    CLI::Option* roomNameOption_ = nullptr;
};

} // namespace kestrix::cli
