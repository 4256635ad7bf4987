#pragma once

// The program's folders, each without a trailing slash. None is created here:
// callers check that a folder exists before they use it.

#include <string>

namespace kestrix::shell {

// The folder of the running executable.
std::string GetProgramFolder();

// $XDG_CONFIG_HOME (else ~/.config) followed by "/Orvenda/Kestrix"; the
// program folder when neither is known.
std::string GetDataFolder();

// Where the program keeps its data (the archive): $XDG_DATA_HOME (else ~/.local/share)
// followed by "/Orvenda/Kestrix"; the program folder when neither is known.
std::string GetArchiveFolder();

// The XDG documents folder followed by "/Kestrix"; the program folder when no
// home folder is known.
std::string GetDocumentsFolder();

// Initial folder for saving tables.
std::string GetDownloadsFolder();

// Initial folder for location files.
std::string GetLocationsFolder();

} // namespace kestrix::shell
