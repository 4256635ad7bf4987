#include "kestrix/locations/locationFile.h"

#include "kestrix/locations/myLocations.h"
#include "kestrix/shell/modConfig.h"
#include "support/FileBytes.h"

#include <QTemporaryDir>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrix::locations {
namespace {

using ::testing::HasSubstr;

class LocationFile : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return folder.filePath(name).toStdString(); }
    void Write(const char* name, const std::string& text) { std::ofstream(Path(name)) << text; }

    QTemporaryDir folder;
};

TEST_F(LocationFile, UntouchedNamesRoundTripAndShortNamesComeFirst) {
    modConfig::ConfigStore store;
    store.LoadConfig(Path("config.ini"));
    LocationNames names = MyLocationNames(store);
    names.shortNames[7] = std::string("LAB\0X", 5);
    names.longNames[8] = "";
    std::string error;
    ASSERT_TRUE(SaveLocationFile(names, Path("all.loc"), error)) << error;

    const std::string text = test_support::ReadFileBytes(Path("all.loc"));
    EXPECT_LT(text.find("[short_location_names]"), text.find("[location_names]"));
    LocationNames read;
    ASSERT_TRUE(LoadLocationFile(read, Path("all.loc")));
    EXPECT_EQ(read.shortNames[0], "LOC000");
    EXPECT_EQ(read.shortNames[7], "LAB");
    EXPECT_EQ(read.longNames[8], "Location 008");
    EXPECT_EQ(read.longNames[999], "Location 999");
}

TEST_F(LocationFile, MissingKeysTakeDefaultsAndLongValuesAreCut) {
    Write("long.loc", "[location_names]\n001=Clean room with a very long name that goes on and on "
                      "past sixty-four\n[short_location_names]\n002=TOOLONGNAME\n003=\n");
    LocationNames read;
    ASSERT_TRUE(LoadLocationFile(read, Path("long.loc")));
    EXPECT_EQ(read.longNames[1].size(), 64U);
    EXPECT_EQ(read.shortNames[1], "LOC001");
    EXPECT_EQ(read.shortNames[2], "TOOLONGN");
    EXPECT_EQ(read.shortNames[3], "");

    // An empty value keeps the stored name on import; a missing key sets the default.
    modConfig::ConfigStore store;
    store.LoadConfig(Path("config.ini"));
    store.SetShortLocationName(3, "KEEP");
    store.SetShortLocationName(4, "GONE");
    ImportLocationNames(read, store);
    EXPECT_EQ(store.GetShortLocationName(3), "KEEP");
    EXPECT_EQ(store.GetShortLocationName(4), "LOC004");
}

TEST_F(LocationFile, OlderFilesInWindows1252KeepTheirAccents) {
    Write("old.loc", "[location_names]\n000=Salle d'\xE9tude \x80\n");
    LocationNames read;
    ASSERT_TRUE(LoadLocationFile(read, Path("old.loc")));
    EXPECT_EQ(read.longNames[0], "Salle d'\xC3\xA9tude \xE2\x82\xAC");
}

TEST_F(LocationFile, WritingKeepsOtherLinesAndReportsFailures) {
    Write("mixed.loc", "; written by hand\n[notes]\nowner=lab\n[location_names]\n000=Old\n");
    LocationNames names;
    std::string error;
    ASSERT_TRUE(SaveLocationFile(names, Path("mixed.loc"), error)) << error;
    const std::string text = test_support::ReadFileBytes(Path("mixed.loc"));
    EXPECT_THAT(text, HasSubstr("; written by hand\n[notes]\nowner=lab\n"));
    EXPECT_THAT(text, HasSubstr("000=Location 000"));
    EXPECT_THAT(text, ::testing::Not(HasSubstr("000=Old")));

    EXPECT_FALSE(SaveLocationFile(names, Path("no/such/folder.loc"), error));
    EXPECT_THAT(error, HasSubstr("folder.loc"));
    EXPECT_FALSE(SaveLocationFile(names, "", error));
    EXPECT_FALSE(LoadLocationFile(names, ""));
}

} // namespace
} // namespace kestrix::locations
