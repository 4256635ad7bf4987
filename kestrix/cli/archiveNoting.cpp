#include "kestrix/cli/archiveNoting.h"

#include "kestrix/archive/archiveSettings.h"
#include "kestrix/cli/cliMessages.h"
#include "kestrix/shell/modConfig.h"

namespace kestrix::cli {

void NoteInArchive(const modConfig::ConfigStore& store, const archive::ActivityNote& note) {
    const std::string problem =
        archive::NoteActivity(archive::ReadArchiveSettings(store.GetConfigPath()), note);
    if (!problem.empty()) {
        ReportNote(problem);
    }
}

} // namespace kestrix::cli
