#pragma once

// Files that go with the program (the manual, the licence): beside the executable in a build
// tree, in the data folder share/kestrix beside bin/ once installed.

#include <string>
#include <string_view>

namespace kestrix::shell {

// The file in the program folder, else in programFolder/../share/kestrix; the program-folder path
// when neither exists, so a message can name where it was looked for.
std::string FindProgramFile(const std::string& programFolder, std::string_view name);

} // namespace kestrix::shell
