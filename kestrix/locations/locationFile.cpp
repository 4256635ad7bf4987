#include "kestrix/locations/locationFile.h"

#include "kestrix/base/fileKind.h"
#include "kestrix/base/textEncoding.h"
#include "kestrix/ini/IniFile.h"
#include "kestrix/locations/fixedWidthNames.h"
#include "kestrix/shell/locationNameKeys.h"
#include "kestrix/shell/modConfig.h"

#include <filesystem>

namespace kestrix::locations {
namespace {

using namespace locationNames;

// A location file of 1000 long and 1000 short names stays under 100 kB.
constexpr std::uintmax_t kMaxFileBytes = 1 << 20;

// Files from other editors may begin with a byte order mark, and may be UTF-16.
std::string DecodeLocationFile(std::string bytes) {
    return base::Utf8FromUtf8OrWindows1252(base::Utf8WithoutByteOrderMark(std::move(bytes)));
}

// Why the file at path cannot be read as location names; empty when `file` holds them.
std::string ReadNamesFile(const std::string& path, IniFile& file) {
    const std::string quoted = "\"" + path + "\"";
    if (const std::string refusal = base::NotRegularReason(path); !refusal.empty()) {
        return "Cannot read " + quoted + ": " + refusal + ".";
    }
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        return "Cannot read " + quoted + ": " + error.message() + ".";
    }
    if (size > kMaxFileBytes) {
        return "Cannot read " + quoted + ": at " + std::to_string(size) +
               " bytes it is too large for a location file (at most 1 MB).";
    }
    bool hasNul = false;
    if (!file.Load([&hasNul](std::string bytes) {
            std::string text = DecodeLocationFile(std::move(bytes));
            hasNul = text.find('\0') != std::string::npos;
            return text;
        })) {
        return "Cannot read " + quoted + ".";
    }
    if (hasNul) {
        return "Cannot read " + quoted + ": it holds NUL bytes, so it is no location file.";
    }
    if (!file.HasSection(kLongNameSection) && !file.HasSection(kShortNameSection)) {
        return "Cannot read " + quoted + ": it has neither a [" + std::string(kLongNameSection) +
               "] nor a [" + std::string(kShortNameSection) + "] section.";
    }
    return {};
}

std::string OrDefault(const std::string& name, const std::string& fallback) {
    const std::string cut = locations::TrimAtNul(name);
    return cut.empty() ? fallback : cut;
}

} // namespace

bool SaveLocationFile(const LocationNames& names, const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "No file name was given.";
        return false;
    }
    IniFile file(path);
    if (!file.Load(DecodeLocationFile)) {
        error = "Cannot read \"" + path + "\", so its other contents cannot be kept.";
        return false;
    }
    for (int index = 0; index < kNameCount; ++index) {
        file.SetString(kShortNameSection, ThreeDigitKey(index),
                       OrDefault(names.shortNames[index], DefaultShortName(index)));
    }
    for (int index = 0; index < kNameCount; ++index) {
        file.SetString(kLongNameSection, ThreeDigitKey(index),
                       OrDefault(names.longNames[index], DefaultLongName(index)));
    }
    return file.Save(&error);
}

bool LoadLocationFile(LocationNames& names, const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "No file name was given.";
        return false;
    }
    IniFile file(path);
    error = ReadNamesFile(path, file);
    if (!error.empty()) {
        return false;
    }
    for (int index = 0; index < kNameCount; ++index) {
        names.shortNames[index] =
            file.GetString(kShortNameSection, ThreeDigitKey(index), DefaultShortName(index),
                           modConfig::kShortNameMaxChars + 1);
    }
    for (int index = 0; index < kNameCount; ++index) {
        names.longNames[index] =
            file.GetString(kLongNameSection, ThreeDigitKey(index), DefaultLongName(index),
                           modConfig::kLongNameMaxChars + 1);
    }
    return true;
}

} // namespace kestrix::locations
