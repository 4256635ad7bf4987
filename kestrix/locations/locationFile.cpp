#include "kestrix/locations/locationFile.h"

#include "kestrix/base/textEncoding.h"
#include "kestrix/ini/IniFile.h"
#include "kestrix/locations/fixedWidthNames.h"
#include "kestrix/shell/locationNameKeys.h"
#include "kestrix/shell/modConfig.h"

namespace kestrix::locations {
namespace {

using namespace locationNames;

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
    if (!file.Load(Utf8FromUtf8OrWindows1252)) {
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

bool LoadLocationFile(LocationNames& names, const std::string& path) {
    if (path.empty()) {
        return false;
    }
    IniFile file(path);
    if (!file.Load(Utf8FromUtf8OrWindows1252)) {
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
