#include "kestrix/shell/modConfig.h"

#include "support/FileBytes.h"

#include <QTemporaryDir>
#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

namespace kestrix::modConfig {
namespace {

namespace fs = std::filesystem;

class ConfigStoreTest : public ::testing::Test {
protected:
    fs::path Folder() const { return dir_.path().toStdString(); }
    fs::path Path() const { return Folder() / "config.ini"; }

    // A second store reading what the first one saved.
    ConfigStore Reload() const {
        ConfigStore reloaded;
        reloaded.LoadConfig(Path());
        return reloaded;
    }

    QTemporaryDir dir_;
    ConfigStore store_;
};

// ---- Before and at loading ----

TEST_F(ConfigStoreTest, BeforeLoadingReadsAreEmptyAndWritesRefused) {
    EXPECT_EQ(store_.GetConfigValue(kComPort), 0);
    EXPECT_EQ(store_.GetLongLocationName(7), "");
    EXPECT_FALSE(store_.SetConfigValue(kComPort, 3));
    EXPECT_FALSE(store_.SetShortLocationName(7, "X"));
    EXPECT_FALSE(store_.SaveConfig());
    EXPECT_FALSE(store_.LoadConfig(""));
    EXPECT_EQ(store_.GetConfigPath(), "");
}

TEST_F(ConfigStoreTest, FirstRunWithoutFileGivesTheDefaults) {
    ASSERT_TRUE(store_.LoadConfig(Path()));
    const std::pair<ConfigSetting, std::int32_t> defaults[] = {
        {kComPort, 1},
        {kDeviceAddress, 0},
        {kShowConfigBar, 1},
        {kUnitParticleNorm, 19},
        {kUnitSampleTime, 3},
        {kUnitSampleVolume, 13},
        {kUnitTemperature, 6},
        {kUnitAirVelocity, 21},
        {kUnitDiffPressure, 23},
        {kParticleDifferential, 1},
        {kLocationNameSource, 0},
        {kShowInstrumentInfo, 1},
        {kShowLocationNumbers, 0},
        {kShowLocationNames, 1},
        {kShowParticleRaw, 1},
        {kShowParticleNorm, 0},
        {kShowMassConcentrations, 1},
        {kShowParticulateMatter, 1},
        {kShowSampleTime, 1},
        {kShowSampleVolume, 1},
        {kShowEnvironmentals, 1},
        {kIsoDates, 0},
    };
    for (const auto& [setting, value] : defaults) {
        EXPECT_EQ(store_.GetConfigValue(setting), value) << setting;
    }
    EXPECT_EQ(store_.GetLongLocationName(0), "Location 000");
    EXPECT_EQ(store_.GetLongLocationName(7), "Location 007");
    EXPECT_EQ(store_.GetShortLocationName(999), "LOC999");
    EXPECT_EQ(store_.GetConfigPath(), Path().string());
}

TEST_F(ConfigStoreTest, ValuesAreReadFromTheirSectionsWhateverTheCase) {
    test_support::WriteFileBytes(
        Path(), "[UNITS]\nTemperature=7\n[data_table]\nshow_environmentals=0\n"
                "[driver]\ncom_port=abc\ndevice_address=12x\n"
                "[location_names]\n042=Lobby\n[short_location_names]\n042=LOBBY\n");
    ASSERT_TRUE(store_.LoadConfig(Path()));
    EXPECT_EQ(store_.GetConfigValue(kUnitTemperature), 7);
    EXPECT_EQ(store_.GetConfigValue(kShowEnvironmentals), 0);
    EXPECT_EQ(store_.GetConfigValue(kComPort), 1); // not a number: the default
    EXPECT_EQ(store_.GetConfigValue(kDeviceAddress), 12);
    EXPECT_EQ(store_.GetLongLocationName(42), "Lobby");
    EXPECT_EQ(store_.GetShortLocationName(42), "LOBBY");
    EXPECT_EQ(store_.GetShortLocationName(41), "LOC041");
}

TEST_F(ConfigStoreTest, OverlongNamesAreCutOnLoad) {
    const std::string longName(70, 'n');
    // 65 two-byte characters: the cut must not split one.
    std::string wideName;
    for (int i = 0; i < 65; ++i) {
        wideName += "\xC3\xA9";
    }
    test_support::WriteFileBytes(Path(), "[location_names]\n001=" + longName + "\n002=" + wideName +
                                             "\n[short_location_names]\n001=ABCDEFGHIJ\n");
    ASSERT_TRUE(store_.LoadConfig(Path()));
    EXPECT_EQ(store_.GetLongLocationName(1), longName.substr(0, 64));
    EXPECT_EQ(store_.GetLongLocationName(2), wideName.substr(0, 128));
    EXPECT_EQ(store_.GetShortLocationName(1), "ABCDEFGH");
}

TEST_F(ConfigStoreTest, UnreadableFileGivesDefaults) {
    fs::create_directory(Path());
    ASSERT_TRUE(store_.LoadConfig(Path()));
    EXPECT_EQ(store_.GetConfigValue(kUnitParticleNorm), 19);
}

// ---- Settings and names ----

TEST_F(ConfigStoreTest, SettingNumbersOutsideTheTableReadZeroAndCannotBeWritten) {
    ASSERT_TRUE(store_.LoadConfig(Path()));
    for (const std::int32_t setting : {-1, kSettingCount, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(store_.GetConfigValue(setting), 0) << setting;
        EXPECT_FALSE(store_.SetConfigValue(setting, 5)) << setting;
    }
    EXPECT_TRUE(store_.SetConfigValue(kShowEnvironmentals, 0));
    EXPECT_EQ(store_.GetConfigValue(kShowEnvironmentals), 0);
}

TEST_F(ConfigStoreTest, ValuesOutOfRangeOrNotNumbersReadAsTheDefault) {
    struct Case {
        const char* file;
        ConfigSetting setting;
        std::int32_t read;
        bool told; // one note on stderr at load
    };
    const Case cases[] = {
        {"[data_table]\nshow_particle_norm=1\n", kShowParticleNorm, 1, false},
        {"[data_table]\nshow_particle_norm=2\n", kShowParticleNorm, 0, true},
        {"[data_table]\nshow_sample_time=7\n", kShowSampleTime, 1, true},
        {"[data_table]\nparticle_differential=0\n", kParticleDifferential, 0, false},
        {"[data_table]\nlocation_name_source=2\n", kLocationNameSource, 2, false},
        {"[data_table]\nlocation_name_source=3\n", kLocationNameSource, 0, true},
        {"[data_table]\nlocation_name_source=-1\n", kLocationNameSource, 0, true},
        {"[units]\ntemperature=8\n", kUnitTemperature, 8, false},
        {"[units]\ntemperature=99\n", kUnitTemperature, 6, true},
        {"[units]\ntemperature=x7\n", kUnitTemperature, 6, true},
        {"[units]\nsample_time=0\n", kUnitSampleTime, 3, true},
        {"[units]\nsample_time=abc\n", kUnitSampleTime, 3, true},
        {"[units]\ndiff_pressure= 31 \n", kUnitDiffPressure, 31, false},
        {"[driver]\ndevice_address=12x\n", kDeviceAddress, 12, false},
        {"[driver]\ndevice_address=100\n", kDeviceAddress, 0, true},
        {"[driver]\ncom_port=0\n", kComPort, 1, true},
        {"[driver]\ncom_port=32\n", kComPort, 32, false},
        {"[driver]\ncom_port=\n", kComPort, 1, false},
    };
    for (const Case& c : cases) {
        test_support::WriteFileBytes(Path(), c.file);
        ::testing::internal::CaptureStderr();
        ASSERT_TRUE(store_.LoadConfig(Path()));
        const std::string notes = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(store_.GetConfigValue(c.setting), c.read) << c.file;
        EXPECT_EQ(std::count(notes.begin(), notes.end(), '\n'), c.told ? 1 : 0) << c.file << notes;
    }
    store_.SetConfigValue(kShowSampleVolume, 5);
    EXPECT_TRUE(store_.Get(settings::kShowSampleVolume));
    store_.SetConfigValue(kShowLocationNumbers, 5);
    EXPECT_FALSE(store_.Get(settings::kShowLocationNumbers));
    // Every number has its one definition, whose default lies in its range.
    for (std::int32_t number = 0; number < kSettingCount; ++number) {
        const SettingDefinition& definition = Definition(static_cast<ConfigSetting>(number));
        EXPECT_EQ(definition.number, number);
        EXPECT_EQ(definition.Read(std::nullopt), definition.defaultValue) << definition.key;
        EXPECT_EQ(definition.Read(definition.defaultValue), definition.defaultValue)
            << definition.key;
    }
    EXPECT_EQ(AllSettings().size(), static_cast<std::size_t>(kSettingCount));
}

TEST_F(ConfigStoreTest, EveryStoredSettingIsAnnouncedEvenUnchanged) {
    ASSERT_TRUE(store_.LoadConfig(Path()));
    std::vector<ConfigSetting> announced;
    QObject::connect(&store_.Changes(), &SettingChanges::Changed,
                     [&announced](ConfigSetting setting) { announced.push_back(setting); });
    EXPECT_TRUE(store_.Set(settings::kShowParticleNorm, true));
    EXPECT_TRUE(store_.Set(settings::kShowParticleNorm, true));
    EXPECT_TRUE(store_.Set(settings::kUnitTemperature, std::int32_t{7}));
    EXPECT_FALSE(store_.SetConfigValue(kSettingCount, 1));
    EXPECT_EQ(announced,
              (std::vector<ConfigSetting>{kShowParticleNorm, kShowParticleNorm, kUnitTemperature}));
    EXPECT_TRUE(store_.Get(settings::kShowParticleNorm));
}

TEST_F(ConfigStoreTest, EmptyNameOrBadIndexIsRefusedAndTheOldNameStays) {
    ASSERT_TRUE(store_.LoadConfig(Path()));
    EXPECT_FALSE(store_.SetShortLocationName(5, ""));
    EXPECT_FALSE(store_.SetLongLocationName(5, ""));
    EXPECT_EQ(store_.GetShortLocationName(5), "LOC005");
    EXPECT_EQ(store_.GetLongLocationName(5), "Location 005");
    for (const std::int32_t index : {-1, 1000}) {
        EXPECT_FALSE(store_.SetLongLocationName(index, "x"));
        EXPECT_FALSE(store_.SetShortLocationName(index, "x"));
        EXPECT_EQ(store_.GetLongLocationName(index), "");
        EXPECT_EQ(store_.GetShortLocationName(index), "");
    }
    EXPECT_TRUE(store_.SetShortLocationName(5, "LOBBY_1"));
    EXPECT_EQ(store_.GetShortLocationName(5), "LOBBY_1");
}

// ---- Saving ----

TEST_F(ConfigStoreTest, FirstRunSaveCreatesTheFolderAndHoldsOnlyWhatWasSet) {
    const fs::path path = Folder() / "Orvenda" / "Kestrix" / "config.ini";
    ASSERT_TRUE(store_.LoadConfig(path));
    store_.SetConfigValue(kShowConfigBar, store_.GetConfigValue(kShowConfigBar));
    ASSERT_TRUE(store_.SaveConfig());
    EXPECT_EQ(test_support::ReadFileBytes(path), "[main_window]\nshow_config_bar=1\n");
}

TEST_F(ConfigStoreTest, SaveWithoutChangesCreatesTheFolderButNoFile) {
    const fs::path path = Folder() / "new" / "config.ini";
    ASSERT_TRUE(store_.LoadConfig(path));
    ASSERT_TRUE(store_.SaveConfig());
    EXPECT_TRUE(fs::is_directory(path.parent_path()));
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(ConfigStoreTest, ToggledBackSettingIsStillWritten) {
    ASSERT_TRUE(store_.LoadConfig(Path()));
    store_.SetConfigValue(kShowParticleNorm, 1);
    store_.SetConfigValue(kShowParticleNorm, 0);
    ASSERT_TRUE(store_.SaveConfig());
    EXPECT_EQ(test_support::ReadFileBytes(Path()), "[data_table]\nshow_particle_norm=0\n");
}

TEST_F(ConfigStoreTest, SaveFollowsTheLoadOrder) {
    ASSERT_TRUE(store_.LoadConfig(Path()));
    store_.SetConfigValue(kUnitParticleNorm, 20);
    store_.SetConfigValue(kShowSampleTime, 0);
    store_.SetConfigValue(kDeviceAddress, 4);
    store_.SetShortLocationName(5, "LOBBY");
    store_.SetLongLocationName(5, "Lobby");
    store_.SetLongLocationName(3, "Lab");
    ASSERT_TRUE(store_.SaveConfig());
    EXPECT_EQ(test_support::ReadFileBytes(Path()), "[driver]\ndevice_address=4\n"
                                                   "[data_table]\nshow_sample_time=0\n"
                                                   "[units]\nparticle_norm=20\n"
                                                   "[location_names]\n003=Lab\n005=Lobby\n"
                                                   "[short_location_names]\n005=LOBBY\n");
}

TEST_F(ConfigStoreTest, SaveWritesOnlyChangedEntriesAndKeepsForeignContent) {
    const std::string before = "; my settings\r\n[ports]\r\nCOM1=/dev/ttyUSB0\r\n\r\n"
                               "[driver]\r\ncom_port = 2\r\ndevice_address=7\r\nextra=x\r\n";
    test_support::WriteFileBytes(Path(), before);
    ASSERT_TRUE(store_.LoadConfig(Path()));
    store_.SetConfigValue(kComPort, 3);
    store_.SetLongLocationName(7, "Clean room");
    ASSERT_TRUE(store_.SaveConfig());
    EXPECT_EQ(test_support::ReadFileBytes(Path()),
              "; my settings\r\n[ports]\r\nCOM1=/dev/ttyUSB0\r\n\r\n"
              "[driver]\r\ncom_port =3\r\ndevice_address=7\r\nextra=x\r\n"
              "[location_names]\r\n007=Clean room\r\n");
}

TEST_F(ConfigStoreTest, SavedEntriesLoadBackIntoANewStore) {
    ASSERT_TRUE(store_.LoadConfig(Path()));
    store_.SetConfigValue(kLocationNameSource, 2);
    store_.SetLongLocationName(999, "Last \xC3\xA9tage");
    store_.SetShortLocationName(0, "ZERO");
    ASSERT_TRUE(store_.SaveConfig());
    const ConfigStore reloaded = Reload();
    EXPECT_EQ(reloaded.GetConfigValue(kLocationNameSource), 2);
    EXPECT_EQ(reloaded.GetLongLocationName(999), "Last \xC3\xA9tage");
    EXPECT_EQ(reloaded.GetShortLocationName(0), "ZERO");
    EXPECT_EQ(reloaded.GetShortLocationName(1), "LOC001");
}

TEST_F(ConfigStoreTest, NameWithLineBreaksCannotInjectSettings) {
    ASSERT_TRUE(store_.LoadConfig(Path()));
    store_.SetLongLocationName(1, "a\n[driver]\ncom_port=99");
    ASSERT_TRUE(store_.SaveConfig());
    const ConfigStore reloaded = Reload();
    EXPECT_EQ(reloaded.GetConfigValue(kComPort), 1);
    EXPECT_EQ(reloaded.GetLongLocationName(1), "a[driver]com_port=99");
}

TEST_F(ConfigStoreTest, SecondSaveReplacesTheFileWhole) {
    ASSERT_TRUE(store_.LoadConfig(Path()));
    store_.SetConfigValue(kComPort, 2);
    ASSERT_TRUE(store_.SaveConfig());
    const std::string first = test_support::ReadFileBytes(Path());
    const int firstFile = ::open(Path().c_str(), O_RDONLY);
    ASSERT_GE(firstFile, 0);

    store_.SetConfigValue(kComPort, 5);
    store_.SetShortLocationName(8, "DOCK");
    ASSERT_TRUE(store_.SaveConfig());

    // The first file was never rewritten in place: a reader that had it open
    // still sees it complete.
    std::string seen(first.size() + 16, '\0');
    const ssize_t got = ::pread(firstFile, seen.data(), seen.size(), 0);
    ::close(firstFile);
    seen.resize(static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    EXPECT_EQ(seen, first);
    EXPECT_EQ(test_support::ReadFileBytes(Path()),
              "[driver]\ncom_port=5\n[short_location_names]\n008=DOCK\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), fs::directory_iterator()), 1);
}

TEST_F(ConfigStoreTest, FileThatCannotBeReadIsNotOverwritten) {
    fs::create_directory(Path());
    ASSERT_TRUE(store_.LoadConfig(Path()));
    store_.SetConfigValue(kComPort, 2);
    EXPECT_FALSE(store_.SaveConfig());
    EXPECT_TRUE(fs::is_directory(Path()));
}

// ---- Folders ----

TEST(CreateFolderPath, CreatesEveryMissingLevel) {
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    CreateFolderPath((root / "a").string() + "//b/c/");
    EXPECT_TRUE(fs::is_directory(root / "a" / "b" / "c"));
    CreateFolderPath((root / "a" / "b" / "d").string());
    EXPECT_TRUE(fs::is_directory(root / "a" / "b" / "d"));
}

TEST(CreateFolderPath, ALevelBlockedByAFileIsSkippedWithoutError) {
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    test_support::WriteFileBytes(root / "file", "x");
    CreateFolderPath((root / "file" / "sub").string());
    CreateFolderPath("");
    EXPECT_TRUE(fs::is_regular_file(root / "file"));
    EXPECT_FALSE(fs::exists(root / "file" / "sub"));
}

} // namespace
} // namespace kestrix::modConfig
