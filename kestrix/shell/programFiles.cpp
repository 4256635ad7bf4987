#include "kestrix/shell/programFiles.h"

#include <filesystem>

namespace kestrix::shell {

std::string FindProgramFile(const std::string& programFolder, std::string_view name) {
    const std::filesystem::path folder(programFolder);
    const auto besideProgram = folder / name;
    const auto installed = folder.parent_path() / "share" / "kestrix" / name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(besideProgram, error) &&
        std::filesystem::is_regular_file(installed, error)) {
        return installed.lexically_normal().string();
    }
    return besideProgram.string();
}

} // namespace kestrix::shell
