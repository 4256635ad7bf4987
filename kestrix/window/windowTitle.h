#pragma once

// The main window's title: the program, and what it shows (the file it was opened from, or else
// the instrument the data was downloaded from).

#include <string>
#include <string_view>

namespace kestrix::data {
class clsDataRecordSet;
} // namespace kestrix::data

namespace kestrix::window {

// "Kestrix" without data; "Kestrix - records.json" for data opened from that file (any folder
// is left out); "Kestrix - <model> <serial, nine digits>" for a download.
std::string MainWindowTitle(const data::clsDataRecordSet* recordSet, std::string_view sourceFile);

} // namespace kestrix::window
