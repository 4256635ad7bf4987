#include "kestrix/cli/cliConfig.h"

#include "kestrix/cli/cliMessages.h"
#include "kestrix/shell/startup.h"

#include <filesystem>

namespace kestrix::cli {

void LoadCliConfig(const CliContext& context, modConfig::ConfigStore& store) {
    const std::string path = context.configPath.value_or(startup::ConfigFilePath(""));
    if (context.configPath && !std::filesystem::exists(path)) {
        ReportNote("configuration file \"" + path + "\" not found; using the default settings");
    }
    store.LoadConfig(path);
}

} // namespace kestrix::cli
