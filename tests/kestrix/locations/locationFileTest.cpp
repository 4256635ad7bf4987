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
    ASSERT_TRUE(LoadLocationFile(read, Path("all.loc"), error));
    EXPECT_EQ(read.shortNames[0], "LOC000");
    EXPECT_EQ(read.shortNames[7], "LAB");
    EXPECT_EQ(read.longNames[8], "Location 008");
    EXPECT_EQ(read.longNames[999], "Location 999");
}

TEST_F(LocationFile, MissingKeysTakeDefaultsAndLongValuesAreCut) {
    Write("long.loc", "[location_names]\n001=Clean room with a very long name that goes on and on "
                      "past sixty-four\n[short_location_names]\n002=TOOLONGNAME\n003=\n");
    LocationNames read;
    std::string error;
    ASSERT_TRUE(LoadLocationFile(read, Path("long.loc"), error)) << error;
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
    std::string error;
    ASSERT_TRUE(LoadLocationFile(read, Path("old.loc"), error)) << error;
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
    EXPECT_FALSE(LoadLocationFile(names, "", error));
}

// UTF-16 of ASCII text, with its byte order mark.
std::string Utf16(const std::string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : text) {
        bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return bytes;
}

TEST_F(LocationFile, ByteOrderMarksAreReadAndFilesWithoutNamesAreRefused) {
    const std::string names = "[short_location_names]\n000=BOM\n[location_names]\n001=Hall\n";
    struct Case {
        const char* name;
        std::string bytes;
        const char* refusal; // empty when the file is read
    };
    const Case cases[] = {
        {"utf8.loc", "\xEF\xBB\xBF" + names, ""},
        {"le.loc", Utf16(names, false), ""},
        {"be.loc", Utf16(names, true), ""},
        {"nul.loc", std::string(4096, '\0'), "NUL bytes"},
        {"nul-inside.loc", names + std::string("002=A\0B\n", 8), "NUL bytes"},
        {"plain.txt", "just some text\n",
         "neither a [location_names] nor a [short_location_names]"},
        {"empty.loc", "", "neither"},
        {"large.loc", names + std::string(1 << 20, ';'), "too large"},
    };
    for (const Case& c : cases) {
        test_support::WriteFileBytes(Path(c.name), c.bytes);
        LocationNames read;
        read.shortNames[0] = "KEPT";
        std::string error;
        const bool loaded = LoadLocationFile(read, Path(c.name), error);
        EXPECT_EQ(loaded, std::string(c.refusal).empty()) << c.name;
        if (loaded) {
            EXPECT_EQ(read.shortNames[0], "BOM") << c.name;
            EXPECT_EQ(read.longNames[1], "Hall") << c.name;
        } else {
            EXPECT_THAT(error, HasSubstr(Path(c.name))) << c.name;
            EXPECT_THAT(error, HasSubstr(c.refusal)) << c.name;
            EXPECT_EQ(read.shortNames[0], "KEPT") << c.name;
        }
    }
    std::string error;
    LocationNames read;
    EXPECT_FALSE(LoadLocationFile(read, Path("missing.loc"), error));
    EXPECT_THAT(error, HasSubstr("missing.loc"));
}

} // namespace
} // namespace kestrix::locations
