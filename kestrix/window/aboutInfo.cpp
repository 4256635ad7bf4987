#include "kestrix/window/aboutInfo.h"

#include <fstream>
#include <iomanip>
#include <sstream>

namespace kestrix::window {

std::string VersionText(const ProgramVersion& version, bool detailed) {
    std::ostringstream text;
    text << version.major << '.' << version.minor;
    if (detailed) {
        text << '.' << std::setw(2) << std::setfill('0') << version.revision;
    }
    return text.str();
}

std::optional<std::string> ReadLicenseText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf())) {
        return std::nullopt;
    }
    std::string content = text.str();
    if (!content.empty()) {
        content.pop_back();
    }
    return content;
}

} // namespace kestrix::window
