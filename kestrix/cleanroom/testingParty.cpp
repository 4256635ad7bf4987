#include "kestrix/cleanroom/testingParty.h"

#include "kestrix/ini/IniFile.h"
#include "kestrix/shell/settingDefinitions.h"

#include <array>
#include <utility>

namespace kestrix::cleanroom {

namespace {

using modConfig::TextSettingDefinition;

std::array<std::pair<const TextSettingDefinition*, std::string*>, 3> Fields(TestingParty& party) {
    return {{{&modConfig::settings::kReportOrganisation, &party.organisation},
             {&modConfig::settings::kReportAddress, &party.address},
             {&modConfig::settings::kReportTester, &party.tester}}};
}

} // namespace

TestingParty ReadTestingParty(const std::string& configPath) {
    IniFile file(configPath);
    file.Load();
    TestingParty party;
    for (const auto& [setting, text] : Fields(party)) {
        *text = file.GetString(setting->section, setting->key, "", setting->maxLength + 1);
    }
    return party;
}

std::string SaveTestingParty(const std::string& configPath, const TestingParty& party) {
    IniFile file(configPath);
    // A file that cannot be read is left alone rather than replaced by these keys alone.
    if (!file.Load()) {
        return "The configuration file \"" + configPath + "\" cannot be read.";
    }
    TestingParty copy = party;
    for (const auto& [setting, text] : Fields(copy)) {
        file.SetString(setting->section, setting->key, *text);
    }
    std::string error;
    return file.Save(&error) ? std::string() : error;
}

} // namespace kestrix::cleanroom
