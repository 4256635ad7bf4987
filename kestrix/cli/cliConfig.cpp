#include "kestrix/cli/cliConfig.h"

#include "kestrix/cli/cliMessages.h"
#include "kestrix/shell/startup.h"

#include <filesystem>

namespace kestrix::cli {

namespace {

void ReportDefaults(const std::string& path, const std::string& why) {
    ReportNote("configuration file \"" + path + "\" " + why + "; using the default settings");
}

} // namespace

void LoadCliConfig(const CliContext& context, modConfig::ConfigStore& store) {
    const std::string path = context.configPath.value_or(startup::ConfigFilePath(""));
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        if (context.configPath) {
            ReportDefaults(path, "not found");
        }
    } else if (error) {
        ReportDefaults(path, "cannot be read (" + error.message() + ")");
    } else if (!std::filesystem::is_regular_file(status)) {
        ReportDefaults(path, "cannot be read (not a regular file)");
    }
    store.LoadConfig(path);
}

} // namespace kestrix::cli
