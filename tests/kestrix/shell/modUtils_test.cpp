#include "kestrix/shell/modUtils.h"
#include "kestrix/shell/userLocale.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <optional>

namespace kestrix::modUtils {
namespace {

using namespace std::string_literals;

// ---- Numbers --------------------------------------------------------------

class PointFormatting : public ::testing::Test {
protected:
    void SetUp() override { saved_ = UserLocale(); }
    void TearDown() override { SetUserLocale(saved_); }

private:
    QLocale saved_;
};

TEST_F(PointFormatting, DecimalSeparatorFollowsTheLocale) {
    SetUserLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(GetDecimalSeparator(), ",");
    SetUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(GetDecimalSeparator(), ".");
}

TEST_F(PointFormatting, DecimalCommaLocaleStillWritesAPoint) {
    SetUserLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatWithPoint(1.5, "0.00"), "1.50");
    EXPECT_EQ(FormatWithPoint(1.5, ""), "1.5");
    EXPECT_EQ(FormatWithPoint(0.3, "####0.0####"), "0.3");
    EXPECT_EQ(FormatWithPoint(-2.5e-7, ""), "-2.5E-07");
}

TEST_F(PointFormatting, GroupsStayDistinctFromThePoint) {
    SetUserLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatWithPoint(1234.5, "#,##0.00"), "1,234.50");
    SetUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(FormatWithPoint(1234.5, "#,##0.00"), "1,234.50");
}

TEST_F(PointFormatting, MalformedFormatFallsBackToTheGeneralText) {
    SetUserLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatWithPoint(2.25, "0.0%"), "2.25");
}

// ---- Status byte ----------------------------------------------------------

TEST(StatusTests, OkOnlyWhenNoBitIsSet) {
    EXPECT_TRUE(IsStatusOk(0));
    EXPECT_FALSE(IsStatusOk(0x20));
    EXPECT_FALSE(IsStatusOk(0x80));
}

TEST(StatusTests, EachTestReadsExactlyItsOwnBit) {
    const std::map<std::uint8_t, bool (*)(std::uint8_t)> testOfBit = {
        {0x01, IsLaserVoltageBad},       {0x02, IsFlowRateBad},       {0x04, IsDataOverflowed},
        {0x08, IsInstrumentMalfunction}, {0x10, IsThresholdExceeded}, {0x40, IsPirrowMalfunction},
    };
    for (const auto& [bit, test] : testOfBit) {
        for (int shift = 0; shift < 8; ++shift) {
            const auto status = static_cast<std::uint8_t>(1 << shift);
            EXPECT_EQ(test(status), status == bit) << int(bit) << " vs " << int(status);
        }
        EXPECT_TRUE(test(0xFF)) << int(bit);
        EXPECT_FALSE(test(static_cast<std::uint8_t>(~bit))) << int(bit);
    }
}

TEST(StatusColor, MostSeriousConditionWins) {
    const Rgb magenta{255, 0, 255}, blue{0, 0, 255}, orange{255, 128, 32}, red{255, 0, 0},
        black{0, 0, 0};
    EXPECT_EQ(GetStatusColor(0x0A), magenta);
    EXPECT_EQ(GetStatusColor(0x01), magenta);
    EXPECT_EQ(GetStatusColor(0xFF), magenta);
    EXPECT_EQ(GetStatusColor(0x02), blue);
    EXPECT_EQ(GetStatusColor(0x56), blue);
    EXPECT_EQ(GetStatusColor(0x04), orange);
    EXPECT_EQ(GetStatusColor(0x50), orange);
    EXPECT_EQ(GetStatusColor(0x10), red);
    EXPECT_EQ(GetStatusColor(0x30), red);
    EXPECT_EQ(GetStatusColor(0xA0), black);
    EXPECT_EQ(GetStatusColor(0x00), black);
}

TEST(StatusMask, KeepsOnlyTheBitsTheTypeCanReport) {
    EXPECT_EQ(MaskStatusBits("STIM", 0xFF), 0x4A);
    EXPECT_EQ(MaskStatusBits("0.3", 0xFF), 0x5F);
    EXPECT_EQ(MaskStatusBits("TEMP", 0xFF), 0x00);
    EXPECT_EQ(MaskStatusBits("LASV", 0x03), 0x01);
    EXPECT_EQ(MaskStatusBits("0.3", 0x00), 0x00);
    EXPECT_EQ(MaskStatusBits("FLOW", 0x40), 0x40);
}

// ---- Fixed-width names ----------------------------------------------------

TEST(NameTexts, TrimAtNulStopsAtTheFirstNul) {
    EXPECT_EQ(TrimAtNul("AB\0CD"s), "AB");
    EXPECT_EQ(TrimAtNul("\0AB"s), "");
    EXPECT_EQ(TrimAtNul("LOBBY"), "LOBBY");
    EXPECT_EQ(TrimAtNul(""), "");
}

TEST(NameTexts, PaddingGivesExactlyTheLength) {
    const std::string padded = PadWithNul("AB", 8);
    EXPECT_EQ(padded, "AB\0\0\0\0\0\0"s);
    EXPECT_EQ(PadWithSpaces(padded, 8), "AB      ");
    EXPECT_EQ(PadWithNul("ABCDEFGHIJ", 8), "ABCDEFGH");
    EXPECT_EQ(PadWithSpaces("AB\0CDEF"s, 4), "AB  ");
    EXPECT_EQ(PadWithSpaces("", 3), "   ");
}

TEST(NameTexts, NonPositiveLengthGivesEmptyText) {
    EXPECT_EQ(PadWithNul("AB", 0), "");
    EXPECT_EQ(PadWithSpaces("AB", -5), "");
}

TEST(ShortNames, UpperCaseDigitsUnderscoreAndNulOnly) {
    EXPECT_TRUE(IsValidShortName("LOBBY_1"));
    EXPECT_TRUE(IsValidShortName(""));
    EXPECT_TRUE(IsValidShortName("AB\0\0\0\0\0\0"s));
    for (const char* name : {"lobby", "A B", "A-B", "A.B", "\xC4RZT", "\xFF"}) {
        EXPECT_FALSE(IsValidShortName(name)) << name;
    }
}

TEST(NameLists, FirstDuplicateIsTheEarliestRepeatedText) {
    EXPECT_EQ(FindFirstDuplicate({}), -1);
    EXPECT_EQ(FindFirstDuplicate({"A", "B", "C"}), -1);
    EXPECT_EQ(FindFirstDuplicate({"A", "B", "C", "B", "A"}), 0);
    EXPECT_EQ(FindFirstDuplicate({"A", "B", "C", "B"}), 1);
    EXPECT_EQ(FindFirstDuplicate({"X", "", "Y", ""}), 1);
    EXPECT_EQ(FindFirstDuplicate({"a", "A"}), -1);
}

TEST(NameLists, NameElsewhereSkipsTheGivenIndex) {
    const std::vector<std::string> names = {"A", "B", "A", "b"};
    EXPECT_EQ(FindNameElsewhere(names, "A", 0), 2);
    EXPECT_EQ(FindNameElsewhere(names, "A", 2), 0);
    EXPECT_EQ(FindNameElsewhere(names, "A", -1), 0);
    EXPECT_EQ(FindNameElsewhere(names, "B", 1), -1);
    EXPECT_EQ(FindNameElsewhere(names, "b", 0), 3);
    EXPECT_EQ(FindNameElsewhere({}, "A", 0), -1);
}

// ---- Registers, bytes and time -------------------------------------------

TEST(TextRegisters, PacksTwoCharactersInTheChosenOrder) {
    EXPECT_EQ(TextToRegister("LOBBY", 1, true), 'L' * 256 + 'O');
    EXPECT_EQ(TextToRegister("LOBBY", 1, false), 'O' * 256 + 'L');
    EXPECT_EQ(TextToRegister("LOBBY", 3, true), 'B' * 256 + 'B');
    EXPECT_EQ(TextToRegister("\xC4Z", 1, true), MakeWord(0xC4, 'Z'));
}

TEST(TextRegisters, LastCharacterAloneGoesToTheLowByte) {
    EXPECT_EQ(TextToRegister("LOBBY", 5, true), 'Y');
    EXPECT_EQ(TextToRegister("LOBBY", 5, false), 'Y');
    EXPECT_EQ(TextToRegister("\xC4", 1, true), 0xC4);
}

TEST(TextRegisters, PositionsOutsideTheTextGiveZero) {
    EXPECT_EQ(TextToRegister("LOBBY", 6, true), 0);
    EXPECT_EQ(TextToRegister("LOBBY", 0, true), 0);
    EXPECT_EQ(TextToRegister("LOBBY", -1, false), 0);
    EXPECT_EQ(TextToRegister("", 1, true), 0);
}

TEST(BytePacking, WordsKeepTheBitPattern) {
    EXPECT_EQ(MakeWord(0x12, 0x34), 0x1234);
    EXPECT_EQ(MakeWord(0x80, 0x00), -32768);
    EXPECT_EQ(MakeWord(0xFF, 0xFF), -1);
}

TEST(BytePacking, LongsDoNotSignExtendTheLowWord) {
    EXPECT_EQ(MakeLong(1, -1), 0x0001FFFF);
    EXPECT_EQ(MakeLong(-1, -1), -1);
    EXPECT_EQ(MakeLong(-32768, 0), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(MakeLong(0, -32768), 0x8000);
}

TEST(BytePacking, ShiftRightBringsInZeros) {
    EXPECT_EQ(ShiftRight16(-32768, 15), 1);
    EXPECT_EQ(ShiftRight16(-1, 8), 0xFF);
    EXPECT_EQ(ShiftRight16(-1, 15), 1);
    EXPECT_EQ(ShiftRight16(0x1234, 4), 0x0123);
}

TEST(BytePacking, ShiftCountsOutsideOneToFifteen) {
    EXPECT_EQ(ShiftRight16(-32768, 0), -32768);
    EXPECT_EQ(ShiftRight16(0x1234, -3), 0x1234);
    EXPECT_EQ(ShiftRight16(-1, 16), 0);
    EXPECT_EQ(ShiftRight16(-1, 32767), 0);
}

TEST(BytePacking, AddBytesWrapsAround) {
    EXPECT_EQ(AddBytes(200, 100), 44);
    EXPECT_EQ(AddBytes(255, 1), 0);
    EXPECT_EQ(AddBytes(1, 2), 3);
}

TEST(InstrumentTime, SecondsCountFromTheUnixEpoch) {
    EXPECT_DOUBLE_EQ(SecondsToDate(0), MakeDateTime(1970, 1, 1));
    EXPECT_DOUBLE_EQ(SecondsToDate(946684800), MakeDateTime(2000, 1, 1));
    EXPECT_DOUBLE_EQ(SecondsToDate(946729830), MakeDateTime(2000, 1, 1, 12, 30, 30));
    EXPECT_DOUBLE_EQ(SecondsToDate(std::numeric_limits<std::int32_t>::max()),
                     MakeDateTime(2038, 1, 19, 3, 14, 7));
}

TEST(InstrumentTime, NegativeSecondsGiveTheEpoch) {
    EXPECT_DOUBLE_EQ(SecondsToDate(-1), MakeDateTime(1970, 1, 1));
    EXPECT_DOUBLE_EQ(SecondsToDate(std::numeric_limits<std::int32_t>::min()),
                     MakeDateTime(1970, 1, 1));
}

// ---- Folders --------------------------------------------------------------

class FolderRules : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kVariables) {
            const char* value = std::getenv(name);
            saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
            unsetenv(name);
        }
        char pattern[] = "/tmp/kestrix_folders_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch_ = pattern;
    }

    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        std::filesystem::remove_all(scratch_);
    }

    void WriteUserDirs(const std::string& configHome, const std::string& content) {
        std::filesystem::create_directories(configHome);
        std::ofstream(configHome + "/user-dirs.dirs") << content;
    }

    static constexpr const char* kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR"};
    std::string scratch_;

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST_F(FolderRules, ProgramFolderHoldsTheRunningExecutable) {
    const std::string folder = GetProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(folder + "/kestrix_shell_tests"));
}

TEST_F(FolderRules, DataFolderPrefersAbsoluteConfigHome) {
    setenv("HOME", "/home/someone", 1);
    setenv("XDG_CONFIG_HOME", "/srv/config/", 1);
    EXPECT_EQ(GetDataFolder(), "/srv/config/Orvenda/Kestrix");
}

TEST_F(FolderRules, DataFolderFallsBackToHomeConfig) {
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(GetDataFolder(), "/home/someone/.config/Orvenda/Kestrix");
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(GetDataFolder(), "/home/someone/.config/Orvenda/Kestrix");
    setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(GetDataFolder(), "/home/someone/.config/Orvenda/Kestrix");
}

TEST_F(FolderRules, DataFolderIsTheProgramFolderWithoutAnyHome) {
    EXPECT_EQ(GetDataFolder(), GetProgramFolder());
}

TEST_F(FolderRules, DocumentsFromTheEnvironmentVariable) {
    setenv("HOME", "/home/someone", 1);
    setenv("XDG_DOCUMENTS_DIR", "/data/docs", 1);
    EXPECT_EQ(GetDocumentsFolder(), "/data/docs/Kestrix");
    EXPECT_EQ(GetDownloadsFolder(), "/data/docs/Kestrix/Downloads");
    EXPECT_EQ(GetLocationsFolder(), "/data/docs/Kestrix/Locations");
}

TEST_F(FolderRules, DocumentsFromTheUserDirsFileWithHomeExpanded) {
    setenv("HOME", "/home/someone", 1);
    setenv("XDG_CONFIG_HOME", scratch_.c_str(), 1);
    WriteUserDirs(scratch_, "# written by a tool\n"
                            "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                            "  XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\r\n");
    EXPECT_EQ(GetDocumentsFolder(), "/home/someone/Dokumente/Kestrix");
}

TEST_F(FolderRules, DocumentsFromTheUserDirsFileUnderHomeConfig) {
    setenv("HOME", scratch_.c_str(), 1);
    WriteUserDirs(scratch_ + "/.config", "XDG_DOCUMENTS_DIR=\"/mnt/papers/\"\n");
    EXPECT_EQ(GetDocumentsFolder(), "/mnt/papers/Kestrix");
}

TEST_F(FolderRules, UnusableUserDirsLinesAreIgnored) {
    setenv("HOME", "/home/someone", 1);
    setenv("XDG_CONFIG_HOME", scratch_.c_str(), 1);
    WriteUserDirs(scratch_, "XDG_DOCUMENTS_DIR=\"docs\"\nXDG_DOCUMENTS_DIR=\"$HOMEWORK\"\n");
    EXPECT_EQ(GetDocumentsFolder(), "/home/someone/Documents/Kestrix");
}

TEST_F(FolderRules, DocumentsDefaultToHomeDocuments) {
    setenv("HOME", "/home/someone/", 1);
    setenv("XDG_DOCUMENTS_DIR", "relative", 1);
    EXPECT_EQ(GetDocumentsFolder(), "/home/someone/Documents/Kestrix");
}

TEST_F(FolderRules, DocumentsAreTheProgramFolderWithoutAnyHome) {
    EXPECT_EQ(GetDocumentsFolder(), GetProgramFolder());
    EXPECT_EQ(GetDownloadsFolder(), GetProgramFolder() + "/Downloads");
}

} // namespace
} // namespace kestrix::modUtils
