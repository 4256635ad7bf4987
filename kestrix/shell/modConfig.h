#pragma once

// The configuration store: 21 numbered settings and the My Locations name
// tables, loaded from an INI file at start and written back, changed entries
// only, at shutdown. Readers of a setting listen to Changes().

#include "kestrix/shell/clsConfigObj.h"
#include "kestrix/shell/settingDefinitions.h"

#include <QObject>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kestrix {
class IniFile;
}

namespace kestrix::modConfig {

// Tells of every setting stored, even one stored with its old value.
class SettingChanges : public QObject {
    Q_OBJECT
signals:
    void Changed(modConfig::ConfigSetting setting);
};

inline constexpr std::int32_t kLocationCount = 1000;
inline constexpr std::size_t kLongNameMaxChars = 64;
inline constexpr std::size_t kShortNameMaxChars = 8;

class ConfigStore {
public:
    ConfigStore();
    ~ConfigStore();
    ConfigStore(ConfigStore&&) noexcept;
    ConfigStore& operator=(ConfigStore&&) noexcept;

    // False for an empty path; otherwise reads every entry (a missing or
    // unreadable file gives the defaults), remembers the path and returns true.
    bool LoadConfig(const std::string& path);

    // Writes the changed entries into the remembered file in one atomic
    // replacement, keeping everything else in it. False when nothing was
    // loaded or the file could not be written.
    bool SaveConfig();

    // 0 for a number outside 0..kSettingCount - 1 or before LoadConfig; the setting's default for a stored
    // value outside its range.
    std::int32_t GetConfigValue(std::int32_t setting) const;
    // Marks the entry changed even when the value is the same, and tells Changes().
    bool SetConfigValue(std::int32_t setting, std::int32_t value);

    template <typename T>
    T Get(const Setting<T>& setting) const {
        return static_cast<T>(GetConfigValue(setting.definition.number));
    }
    template <typename T>
    bool Set(const Setting<T>& setting, T value) {
        return SetConfigValue(setting.definition.number, static_cast<std::int32_t>(value));
    }
    const SettingChanges& Changes() const { return *changes_; }

    // Empty for an index outside 0..999 or before LoadConfig.
    std::string GetLongLocationName(std::int32_t index) const;
    std::string GetShortLocationName(std::int32_t index) const;
    // False (old name kept) for an index outside 0..999, an empty name or
    // before LoadConfig.
    bool SetLongLocationName(std::int32_t index, const std::string& name);
    bool SetShortLocationName(std::int32_t index, const std::string& name);

    // The file loaded last; empty before LoadConfig.
    const std::string& GetConfigPath() const { return path_; }

private:
    using NameTable = std::array<clsConfigObj, kLocationCount>;

    void LoadSettings(const IniFile& file);
    void LoadNames(const IniFile& file);
    bool ApplyChanges(IniFile& file) const;
    static bool SetName(NameTable& table, std::int32_t index, const std::string& name);
    static std::string GetName(const NameTable& table, std::int32_t index);

    std::string path_;
    std::unique_ptr<SettingChanges> changes_;
    std::array<clsConfigObj, kSettingCount> settings_;
    NameTable longNames_;
    NameTable shortNames_;
};

// Creates every missing level of a '/'-separated folder path; errors are
// ignored and the walk goes on.
void CreateFolderPath(const std::string& path);

// The program's one store.
ConfigStore& Store();

} // namespace kestrix::modConfig
