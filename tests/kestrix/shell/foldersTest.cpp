#include "kestrix/shell/folders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <optional>

namespace kestrix::shell {
namespace {

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

    static constexpr const char* kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                                 "XDG_DOCUMENTS_DIR"};
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

TEST_F(FolderRules, ArchiveFolderFollowsXdgDataHomeApartFromTheConfiguration) {
    struct Case {
        const char* home;
        const char* dataHome;
        std::string expected;
    };
    const Case cases[] = {
        {"/home/someone", nullptr, "/home/someone/.local/share/Orvenda/Kestrix"},
        {"/home/someone", "/srv/data/", "/srv/data/Orvenda/Kestrix"},
        {"/home/someone", "relative/data", "/home/someone/.local/share/Orvenda/Kestrix"},
        {"/home/someone", "", "/home/someone/.local/share/Orvenda/Kestrix"},
        {nullptr, nullptr, GetProgramFolder()},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.expected);
        entry.home ? setenv("HOME", entry.home, 1) : unsetenv("HOME");
        entry.dataHome ? setenv("XDG_DATA_HOME", entry.dataHome, 1) : unsetenv("XDG_DATA_HOME");
        EXPECT_EQ(GetArchiveFolder(), entry.expected);
    }
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
} // namespace kestrix::shell
