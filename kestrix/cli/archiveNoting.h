#pragma once

// Noting what a command did with an instrument's data in the archive of the configuration; the
// archive's trouble goes to stderr and never changes the command's outcome.

#include "kestrix/archive/activityNotes.h"

namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::cli {

void NoteInArchive(const modConfig::ConfigStore& store, const archive::ActivityNote& note);

} // namespace kestrix::cli
