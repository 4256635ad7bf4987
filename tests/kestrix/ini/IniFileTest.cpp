#include "kestrix/ini/IniFile.h"

#include "support/FileBytes.h"

#include <QTemporaryDir>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrix {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr std::size_t kBig = 1 << 21;

// ---- Reading ----

TEST(IniFileRead, SectionAndKeyNamesAreCaseBlindAndBlanksAroundThemIgnored) {
    const IniFile file = IniFile::FromText("[ Driver ]\n  Com_Port   =  7  \t\nname = a b \n");
    EXPECT_EQ(file.GetInt("driver", "COM_PORT", 1), 7);
    EXPECT_EQ(file.GetString("DRIVER", "name", "", kBig), "a b");
}

TEST(IniFileRead, FirstOfDuplicateSectionsAndKeysWins) {
    const IniFile file = IniFile::FromText("[a]\nk=1\nk=2\n[b]\nx=3\n[A]\nk=4\nonly_later=5\n");
    EXPECT_EQ(file.GetInt("a", "k", 0), 1);
    EXPECT_EQ(file.GetString("a", "only_later", "none", kBig), "none");
}

TEST(IniFileRead, MissingKeySectionOrEmptySectionNameGivesDefault) {
    const IniFile file = IniFile::FromText("top=1\n[a]\nk=1\n");
    EXPECT_EQ(file.GetString("a", "other", "dflt", kBig), "dflt");
    EXPECT_EQ(file.GetString("b", "k", "dflt", kBig), "dflt");
    EXPECT_EQ(file.GetInt("", "top", 9), 9);
}

TEST(IniFileRead, CommentsAndLinesWithoutEqualsAreNotKeys) {
    const IniFile file = IniFile::FromText("[a]\n;k=1\nk\n=5\n");
    EXPECT_EQ(file.GetInt("a", ";k", 9), 9);
    EXPECT_EQ(file.GetInt("a", "k", 9), 9);
    EXPECT_EQ(file.GetInt("a", "", 9), 9);
}

TEST(IniFileRead, KeysAreListedOnceInFileOrderFromTheFirstSection) {
    const IniFile file = IniFile::FromText("[a]\n B = 1\n;c=2\nb=3\n2=x\n[A]\nlater=4\n");
    EXPECT_EQ(file.Keys("A"), (std::vector<std::string>{"B", "2"}));
    EXPECT_TRUE(file.Keys("none").empty());
}

TEST(IniFileRead, IntegerStopsAtFirstNonDigit) {
    const IniFile file = IniFile::FromText(
        "[n]\nplain=42\ntail=12abc\nword=abc\nneg=-5\nempty=\nhuge=99999999999999999999\n");
    EXPECT_EQ(file.GetInt("n", "plain", 0), 42);
    EXPECT_EQ(file.GetInt("n", "tail", 0), 12);
    EXPECT_EQ(file.GetInt("n", "word", 9), 0);
    EXPECT_EQ(file.GetInt("n", "neg", 9), 0);
    EXPECT_EQ(file.GetInt("n", "empty", 9), 9);
    EXPECT_EQ(file.GetInt("n", "huge", 0), INT32_MAX);
}

TEST(IniFileRead, StringIsCutToBufferLengthMinusOneCharacters) {
    const IniFile file = IniFile::FromText("[s]\nascii=abcdef\nutf8=\xC3\xA9\xC3\xA9\xC3\xA9\n");
    EXPECT_EQ(file.GetString("s", "ascii", "", 4), "abc");
    EXPECT_EQ(file.GetString("s", "utf8", "", 3), "\xC3\xA9\xC3\xA9");
    EXPECT_EQ(file.GetString("s", "ascii", "", 1), "");
    EXPECT_EQ(file.GetString("s", "ascii", "", 0), "");
    EXPECT_EQ(file.GetString("s", "missing", "defaults too", 9), "defaults");
}

TEST(IniFileRead, InvalidUtf8BytesCountAsOneCharacterEach) {
    const IniFile file = IniFile::FromText("[s]\nbad=\xFF\xC3\xE2\x82x\nsurrogate=\xED\xA0\x80z\n");
    EXPECT_EQ(file.GetString("s", "bad", "", 3), "\xFF\xC3");
    EXPECT_EQ(file.GetString("s", "bad", "", kBig), "\xFF\xC3\xE2\x82x");
    EXPECT_EQ(file.GetString("s", "surrogate", "", 2), "\xED");
}

TEST(IniFileRead, ValueIsCutAtNul) {
    const IniFile file = IniFile::FromText("[s]\nk=ab\0cd\n"s);
    EXPECT_EQ(file.GetString("s", "k", "", kBig), "ab");
}

// ---- Bad input ----

TEST(IniFileBadInput, BinaryGarbageParsesAndKeepsEveryByte) {
    std::mt19937 random(1234);
    std::string garbage(1 << 16, '\0');
    for (char& c : garbage) {
        c = static_cast<char>(random());
    }
    garbage += "\n[ok]\nkey=1\n";
    IniFile file = IniFile::FromText(garbage);
    EXPECT_EQ(file.Text(), garbage);
    EXPECT_EQ(file.GetInt("ok", "key", 0), 1);
    EXPECT_TRUE(file.SetString("ok", "key", "2"));
    EXPECT_EQ(IniFile::FromText(file.Text()).GetInt("ok", "key", 0), 2);
}

TEST(IniFileBadInput, MegabyteLineIsReadTruncatedAndKeptWhole) {
    const std::string longValue(1 << 20, 'x');
    const std::string text = "[s]\nlong=" + longValue + "\nafter=1\n";
    IniFile file = IniFile::FromText(text);
    EXPECT_EQ(file.GetString("s", "long", "", 65), std::string(64, 'x'));
    EXPECT_EQ(file.GetString("s", "long", "", kBig), longValue);
    EXPECT_TRUE(file.SetString("s", "new", "v"));
    EXPECT_EQ(file.Text(), "[s]\nlong=" + longValue + "\nafter=1\nnew=v\n");
}

TEST(IniFileBadInput, MissingTrailingNewlineIsAddedBeforeAppending) {
    IniFile file = IniFile::FromText("[a]\nk=1");
    EXPECT_EQ(file.GetInt("a", "k", 0), 1);
    file.SetString("a", "j", "2");
    file.SetString("b", "m", "3");
    EXPECT_EQ(file.Text(), "[a]\nk=1\nj=2\n[b]\nm=3\n");
}

TEST(IniFileBadInput, CrLfLinesStayCrLfAndNewLinesFollowThem) {
    IniFile file = IniFile::FromText("; keep\r\n[a]\r\nk = 1\r\n\r\n");
    EXPECT_EQ(file.GetInt("a", "k", 0), 1);
    file.SetString("a", "k", "5");
    file.SetString("a", "j", "6");
    file.SetString("b", "m", "7");
    EXPECT_EQ(file.Text(), "; keep\r\n[a]\r\nk =5\r\nj=6\r\n\r\n[b]\r\nm=7\r\n");
}

TEST(IniFileBadInput, NulAndNonUtf8BytesInNamesAndValuesAreHarmless) {
    const std::string text = "[\xFF\xFE]\n\0\0=\x80\x81\n[s]\nk\xC3=v\xC0\xAF\n"s;
    IniFile file = IniFile::FromText(text);
    EXPECT_EQ(file.Text(), text);
    EXPECT_EQ(file.GetString("\xFF\xFE", "\0\0"s, "", kBig), "\x80\x81");
    EXPECT_EQ(file.GetString("\xFF\xFE", "x", "d", kBig), "d");
    EXPECT_EQ(file.GetString("s", "k\xC3", "", kBig), "v\xC0\xAF");
}

TEST(IniFileBadInput, HeaderWithoutClosingBracketIsAnOrdinaryLine) {
    const IniFile file = IniFile::FromText("[a]\nk=1\n[b\nj=2\n");
    EXPECT_EQ(file.GetInt("a", "j", 0), 2);
    EXPECT_EQ(file.GetInt("b", "j", 0), 0);
}

// ---- Writing ----

TEST(IniFileWrite, ReplacingAValueKeepsEveryOtherLine) {
    const std::string before = "# head\n[a]\n  k = old ; not a comment\n\n[b]\nk=b\n";
    IniFile file = IniFile::FromText(before);
    ASSERT_TRUE(file.SetString("A", "K", "new"));
    EXPECT_EQ(file.Text(), "# head\n[a]\n  k =new\n\n[b]\nk=b\n");
}

TEST(IniFileWrite, NewKeyGoesAfterTheSectionsLastKey) {
    IniFile file = IniFile::FromText("[a]\nk=1\n; about b\n\n[b]\n");
    file.SetString("a", "j", "2");
    file.SetString("b", "x", "3");
    EXPECT_EQ(file.Text(), "[a]\nk=1\nj=2\n; about b\n\n[b]\nx=3\n");
}

TEST(IniFileWrite, NewSectionGoesAtTheEnd) {
    IniFile file;
    file.SetString("one", "k", "1");
    file.SetString("two", "k", "2");
    file.SetString("one", "j", "3");
    EXPECT_EQ(file.Text(), "[one]\nk=1\nj=3\n[two]\nk=2\n");
}

TEST(IniFileWrite, OnlyTheFirstOfDuplicatesIsWritten) {
    IniFile file = IniFile::FromText("[a]\nk=1\nk=2\n[a]\nk=3\n");
    file.SetString("a", "k", "9");
    EXPECT_EQ(file.Text(), "[a]\nk=9\nk=2\n[a]\nk=3\n");
    EXPECT_EQ(file.GetInt("a", "k", 0), 9);
}

TEST(IniFileWrite, LineBreaksInAValueCannotInjectKeys) {
    IniFile file;
    ASSERT_TRUE(file.SetString("s", "name", "x\r\n[evil]\nk=1"));
    const IniFile reread = IniFile::FromText(file.Text());
    EXPECT_EQ(reread.GetString("s", "name", "", kBig), "x[evil]k=1");
    EXPECT_EQ(reread.GetInt("evil", "k", 0), 0);
}

TEST(IniFileWrite, NamesThatWouldNotReadBackAreRefused) {
    IniFile file = IniFile::FromText("[s]\nk=1\n");
    for (const std::string key : {"", "a=b", "[x", ";x", " k", "k ", "a\nb"}) {
        EXPECT_FALSE(file.SetString("s", key, "v")) << key;
    }
    for (const std::string section : {"", "a]b", "a\nb", " s"}) {
        EXPECT_FALSE(file.SetString(section, "k", "v")) << section;
    }
    EXPECT_EQ(file.Text(), "[s]\nk=1\n");
}

// ---- Files on disk ----

class IniFileDisk : public ::testing::Test {
protected:
    fs::path Folder() const { return dir_.path().toStdString(); }
    fs::path Path() const { return Folder() / "test.ini"; }

    std::size_t EntriesInFolder() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(Folder()), fs::directory_iterator()));
    }

    QTemporaryDir dir_;
};

TEST_F(IniFileDisk, MissingFileLoadsEmptyAndSaveCreatesIt) {
    IniFile file(Path());
    EXPECT_TRUE(file.Load());
    EXPECT_EQ(file.Text(), "");
    file.SetString("s", "k", "v");
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(test_support::ReadFileBytes(Path()), "[s]\nk=v\n");
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(IniFileDisk, LoadKeepsBytesAndPath) {
    test_support::WriteFileBytes(Path(), "[a]\r\nk=1");
    IniFile file(Path());
    ASSERT_TRUE(file.Load());
    EXPECT_EQ(file.Text(), "[a]\r\nk=1");
    EXPECT_EQ(file.Path(), Path().string());
}

TEST_F(IniFileDisk, FolderOrFifoInPlaceOfTheFileIsRefusedWithoutWaiting) {
    fs::create_directory(Path());
    EXPECT_FALSE(IniFile(Path()).Load());
    const fs::path fifo = Folder() / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(IniFile(fifo).Load());
}

TEST_F(IniFileDisk, SaveKeepsTheFilesMode) {
    test_support::WriteFileBytes(Path(), "[a]\nk=1\n");
    fs::permissions(Path(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    IniFile file(Path());
    ASSERT_TRUE(file.Load());
    file.SetString("a", "k", "2");
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(fs::status(Path()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(IniFileDisk, SaveWritesThroughASymlinkToItsTarget) {
    const fs::path target = Folder() / "real.ini";
    test_support::WriteFileBytes(target, "[a]\nk=1\n");
    fs::create_symlink("real.ini", Path());
    IniFile file(Path());
    ASSERT_TRUE(file.Load());
    file.SetString("a", "k", "2");
    ASSERT_TRUE(file.Save());
    EXPECT_TRUE(fs::is_symlink(Path()));
    EXPECT_EQ(test_support::ReadFileBytes(target), "[a]\nk=2\n");
    EXPECT_EQ(EntriesInFolder(), 2u);
}

TEST_F(IniFileDisk, SaveReplacesTheFileInsteadOfRewritingIt) {
    test_support::WriteFileBytes(Path(), "[a]\nk=1\n");
    const int oldFile = ::open(Path().c_str(), O_RDONLY);
    ASSERT_GE(oldFile, 0);
    IniFile file(Path());
    ASSERT_TRUE(file.Load());
    file.SetString("a", "k", "2");
    ASSERT_TRUE(file.Save());

    char oldBytes[32] = {};
    const ssize_t got = ::pread(oldFile, oldBytes, sizeof oldBytes, 0);
    ::close(oldFile);
    EXPECT_EQ(std::string(oldBytes, static_cast<std::size_t>(std::max<ssize_t>(got, 0))),
              "[a]\nk=1\n");
    EXPECT_EQ(test_support::ReadFileBytes(Path()), "[a]\nk=2\n");
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(IniFileDisk, SaveIntoAMissingFolderFailsAndSaveWithoutPathFails) {
    IniFile file(Folder() / "absent" / "x.ini");
    file.SetString("a", "k", "1");
    EXPECT_FALSE(file.Save());
    EXPECT_FALSE(IniFile().Save());
}

} // namespace
} // namespace kestrix
