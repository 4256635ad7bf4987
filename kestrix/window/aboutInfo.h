#pragma once

// What the about dialog shows: the version, short or detailed, and the licence text.

#include <optional>
#include <string>

namespace kestrix::window {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// "1.6", or "1.6.02" when detailed.
std::string VersionText(const ProgramVersion& version, bool detailed);

// The file's text without its last character (the line end that closes the file); none when the
// file cannot be read.
std::optional<std::string> ReadLicenseText(const std::string& path);

inline constexpr const char* kLicenseFileName = "license.txt";
inline constexpr const char* kLicenseMissingText = "Error loading license agreement!\n";

} // namespace kestrix::window
