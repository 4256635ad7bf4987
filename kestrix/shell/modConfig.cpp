#include "kestrix/shell/modConfig.h"

#include "kestrix/ini/IniFile.h"
#include "kestrix/shell/locationNameKeys.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

namespace kestrix::modConfig {

namespace {

using namespace locationNames;

// The stored text of a setting; none when the key is absent or empty.
std::optional<std::string> StoredText(const IniFile& file, const SettingDefinition& setting) {
    constexpr std::size_t kLongestRead = 64;
    std::string text = file.GetString(setting.section, setting.key, "", kLongestRead);
    return text.empty() ? std::nullopt : std::optional(std::move(text));
}

// The profile reader's conversion: the leading digits; a text that does not start with a digit is
// no number.
std::optional<std::int32_t> ParseNumber(const IniFile& file, const SettingDefinition& setting,
                                        const std::string& text) {
    if (!std::isdigit(static_cast<unsigned char>(text.front()))) {
        return std::nullopt;
    }
    return file.GetInt(setting.section, setting.key, setting.defaultValue);
}

// A hand-edited value that cannot be used is told once, at load, so the user can mend it.
void NoteUnusable(const std::string& path, const SettingDefinition& setting,
                  const std::string& text) {
    std::fprintf(stderr, "%s: [%.*s] %.*s=%s is not valid; the default %d is used\n", path.c_str(),
                 static_cast<int>(setting.section.size()), setting.section.data(),
                 static_cast<int>(setting.key.size()), setting.key.data(), text.c_str(),
                 static_cast<int>(setting.defaultValue));
}

bool IsSettingNumber(std::int32_t setting) {
    return setting >= 0 && setting < kSettingCount;
}
bool IsLocationIndex(std::int32_t index) {
    return index >= 0 && index < kLocationCount;
}

} // namespace

ConfigStore::ConfigStore() : changes_(std::make_unique<SettingChanges>()) {}
ConfigStore::~ConfigStore() = default;
ConfigStore::ConfigStore(ConfigStore&&) noexcept = default;
ConfigStore& ConfigStore::operator=(ConfigStore&&) noexcept = default;

bool ConfigStore::LoadConfig(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    IniFile file(path);
    file.Load(); // an unreadable file leaves every entry at its default
    LoadSettings(file);
    LoadNames(file);
    path_ = path;
    return true;
}

void ConfigStore::LoadSettings(const IniFile& file) {
    for (const SettingDefinition* setting : AllSettings()) {
        const std::optional<std::string> text = StoredText(file, *setting);
        const std::optional<std::int32_t> number =
            text ? ParseNumber(file, *setting, *text) : std::nullopt;
        const std::int32_t value = setting->Read(number);
        if (text && number != value) {
            NoteUnusable(file.Path(), *setting, *text);
        }
        settings_[setting->number] = clsConfigObj{false, setting->number, value};
    }
}

void ConfigStore::LoadNames(const IniFile& file) {
    for (std::int32_t index = 0; index < kLocationCount; ++index) {
        const std::string key = ThreeDigitKey(index);
        longNames_[index] = clsConfigObj{
            false, index,
            file.GetString(kLongNameSection, key, DefaultLongName(index), kLongNameMaxChars + 1)};
        shortNames_[index] =
            clsConfigObj{false, index,
                         file.GetString(kShortNameSection, key, DefaultShortName(index),
                                        kShortNameMaxChars + 1)};
    }
}

bool ConfigStore::SaveConfig() {
    if (path_.empty()) {
        return false;
    }
    CreateFolderPath(std::filesystem::path(path_).parent_path().string());
    IniFile file(path_);
    // A file that exists but cannot be read is left alone rather than
    // replaced by one holding only the changed entries.
    if (!file.Load()) {
        return false;
    }
    return !ApplyChanges(file) || file.Save();
}

// True when anything was changed, so a run without changes leaves the file untouched.
bool ConfigStore::ApplyChanges(IniFile& file) const {
    bool changed = false;
    for (const SettingDefinition* setting : AllSettings()) {
        const clsConfigObj& entry = settings_[setting->number];
        if (entry.bHasChanged) {
            file.SetString(setting->section, setting->key,
                           std::to_string(std::get<std::int32_t>(entry.vValue)));
            changed = true;
        }
    }
    for (std::int32_t index = 0; index < kLocationCount; ++index) {
        for (const auto& [table, section] : {std::pair{&longNames_, kLongNameSection},
                                             std::pair{&shortNames_, kShortNameSection}}) {
            const clsConfigObj& entry = (*table)[index];
            if (entry.bHasChanged) {
                file.SetString(section, ThreeDigitKey(index), std::get<std::string>(entry.vValue));
                changed = true;
            }
        }
    }
    return changed;
}

std::int32_t ConfigStore::GetConfigValue(std::int32_t setting) const {
    if (path_.empty() || !IsSettingNumber(setting)) {
        return 0;
    }
    return Definition(static_cast<ConfigSetting>(setting))
        .Read(std::get<std::int32_t>(settings_[setting].vValue));
}

bool ConfigStore::SetConfigValue(std::int32_t setting, std::int32_t value) {
    if (path_.empty() || !IsSettingNumber(setting)) {
        return false;
    }
    settings_[setting].vValue = value;
    settings_[setting].bHasChanged = true;
    emit changes_->Changed(static_cast<ConfigSetting>(setting));
    return true;
}

std::string ConfigStore::GetName(const NameTable& table, std::int32_t index) {
    if (!IsLocationIndex(index)) {
        return {};
    }
    const auto* name = std::get_if<std::string>(&table[index].vValue);
    return name == nullptr ? std::string() : *name;
}

bool ConfigStore::SetName(NameTable& table, std::int32_t index, const std::string& name) {
    if (!IsLocationIndex(index) || name.empty()) {
        return false;
    }
    table[index] = clsConfigObj{true, index, name};
    return true;
}

std::string ConfigStore::GetLongLocationName(std::int32_t index) const {
    return GetName(longNames_, index);
}

std::string ConfigStore::GetShortLocationName(std::int32_t index) const {
    return GetName(shortNames_, index);
}

bool ConfigStore::SetLongLocationName(std::int32_t index, const std::string& name) {
    return !path_.empty() && SetName(longNames_, index, name);
}

bool ConfigStore::SetShortLocationName(std::int32_t index, const std::string& name) {
    return !path_.empty() && SetName(shortNames_, index, name);
}

void CreateFolderPath(const std::string& path) {
    std::string folder = !path.empty() && path.front() == '/' ? "/" : "";
    std::size_t begin = 0;
    while (begin < path.size()) {
        const std::size_t slash = std::min(path.find('/', begin), path.size());
        if (slash > begin) {
            folder += path.substr(begin, slash - begin);
            std::error_code ignored;
            std::filesystem::create_directory(folder, ignored);
            folder += '/';
        }
        begin = slash + 1;
    }
}

ConfigStore& Store() {
    static ConfigStore store;
    return store;
}

} // namespace kestrix::modConfig
