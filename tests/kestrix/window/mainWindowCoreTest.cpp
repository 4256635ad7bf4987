// What the main window takes from the core: command tables, bar layout, file choices and the
// window's saved place.

#include "kestrix/data/modUnits.h"
#include "kestrix/data/sensorName.h"
#include "kestrix/window/configBarLayout.h"
#include "kestrix/window/fileChoices.h"
#include "kestrix/window/mainCommands.h"
#include "kestrix/window/windowState.h"
#include "support/FileBytes.h"

#include <QTemporaryDir>
#include <cctype>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>

namespace kestrix::window {
namespace {

TEST(MainCommands, IconIndexAndEveryCommandPlacedOnce) {
    const std::pair<const char*, int> icons[] = {{"save", 0},           {"setup", 9},
                                                 {"uploadlocation", 8}, {"uploadlocations", -1},
                                                 {"Save", -1},          {"", -1}};
    for (const auto& [key, index] : icons) {
        EXPECT_EQ(GetIconIndexSmall(key), index) << key;
    }
    // Each command has one row and one menu entry; a toolbar button also has its tooltip and
    // a drawn icon.
    std::map<MainCommand, int> entries;
    for (const Menu& menu : MainMenus()) {
        for (const std::optional<MainCommand>& entry : menu.entries) {
            if (entry) {
                ++entries[*entry];
            }
        }
    }
    for (const CommandInfo& info : MainCommands()) {
        EXPECT_EQ(&Info(info.command), &info) << info.key;
        EXPECT_EQ(entries[info.command], 1) << info.key;
    }
    EXPECT_EQ(entries.size(), MainCommands().size());
    for (const MainCommand command : ToolbarCommands()) {
        EXPECT_FALSE(Info(command).tooltip.empty()) << Info(command).key;
        EXPECT_GE(GetIconIndexSmall(Info(command).imageKey), 0) << Info(command).key;
    }
}

// The letter after the single '&', lower case; 0 for none.
char AccessKey(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (caption[i + 1] != '&') {
                return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
            }
            ++i;
        }
    }
    return 0;
}

TEST(MainCommands, EveryMenuEntryAndMenuHasItsOwnAccessKey) {
    std::map<char, std::string_view> menuKeys;
    for (const Menu& menu : MainMenus()) {
        const char menuKey = AccessKey(menu.caption);
        EXPECT_NE(menuKey, 0) << menu.key;
        EXPECT_TRUE(menuKeys.emplace(menuKey, menu.caption).second) << menu.caption;
        std::map<char, std::string_view> keys;
        for (const std::optional<MainCommand>& entry : menu.entries) {
            if (!entry) {
                continue;
            }
            const std::string_view caption = Info(*entry).caption;
            const char key = AccessKey(caption);
            EXPECT_NE(key, 0) << caption;
            const auto [place, added] = keys.emplace(key, caption);
            EXPECT_TRUE(added) << menu.key << ": " << caption << " and " << place->second;
        }
    }
}

TEST(ConfigBarLayout, IaqNamesListsAndHandEditedValues) {
    for (const auto& [name, iaq] : {std::pair{"IAQ 3016", true},
                                    {"Monitor iaq", true},
                                    {"Counter 5000", false},
                                    {"IA Q", false},
                                    {"", false}}) {
        EXPECT_EQ(data::IsIaqSensorName(name), iaq) << name;
    }
    const auto pressure = ListEntries("cmbUnitsDiffPressure");
    ASSERT_FALSE(pressure.empty());
    EXPECT_EQ(pressure.front().value, modUnits::kUnitInchesOfWater);
    EXPECT_EQ(ListEntries("cmbUnitsTemperature").front().text, "Fahrenheit");
    EXPECT_EQ(ListEntries("cmbUnitsPartNorm"),
              (std::vector<ListEntry>{{"p/ft^3", modUnits::kUnitParticlesPerCubicFoot},
                                      {"p/m^3", modUnits::kUnitParticlesPerCubicMeter}}));
    const auto types = ListEntries("cmbPartType");
    EXPECT_EQ(ListIndexForSetting("cmbPartType", types, 5), 1);
    EXPECT_EQ(ListIndexForSetting("cmbPartType", types, 0), 0);
    EXPECT_EQ(ListIndexForSetting("cmbLocNameSource", ListEntries("cmbLocNameSource"), 3), -1);
    EXPECT_EQ(ListIndexForSetting("cmbUnitsDiffPressure", pressure, 99), -1);
}

TEST(FileChoices, ExtensionIsAddedOnlyWhenMissing) {
    for (const auto& [typed, written] : {std::pair{"table", "table.csv"},
                                         {"/data/table", "/data/table.csv"},
                                         {"table.txt", "table.txt"},
                                         {"/data.d/table", "/data.d/table.csv"},
                                         {".hidden", ".hidden.csv"},
                                         {"", ""}}) {
        EXPECT_EQ(WithExtension(typed, "csv"), written) << typed;
    }
}

TEST(WindowState, RoundTripKeepsTheOtherSettings) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("config.ini").toStdString();
    std::ofstream(path) << "[main_window]\nshow_config_bar=0\n";
    EXPECT_EQ(LoadWindowState(path), std::nullopt);

    const WindowState state{10, 20, 1280, 800, true, 300};
    ASSERT_TRUE(SaveWindowState(path, state));
    EXPECT_EQ(LoadWindowState(path), state);
    EXPECT_THAT(test_support::ReadFileBytes(path), ::testing::HasSubstr("show_config_bar=0"));
    EXPECT_FALSE(SaveWindowState(folder.filePath("no/such/folder.ini").toStdString(), state));
}

} // namespace
} // namespace kestrix::window
