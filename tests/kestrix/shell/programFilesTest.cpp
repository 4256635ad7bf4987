#include "kestrix/shell/programFiles.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kestrix::shell {
namespace {

namespace fs = std::filesystem;

// An installed tree: prefix/bin for the program, prefix/share/kestrix for its files.
class ProgramFiles : public ::testing::Test {
protected:
    void SetUp() override {
        prefix_ = fs::temp_directory_path() /
                  (std::string("kestrix-program-files-") +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(bin());
        fs::create_directories(share());
    }
    void TearDown() override { fs::remove_all(prefix_); }

    fs::path bin() const { return prefix_ / "bin"; }
    fs::path share() const { return prefix_ / "share" / "kestrix"; }
    static void Touch(const fs::path& path) { std::ofstream(path) << "x"; }

private:
    fs::path prefix_;
};

TEST_F(ProgramFiles, FileBesideTheProgramIsTaken) {
    Touch(bin() / "license.txt");
    Touch(share() / "license.txt");
    EXPECT_EQ(FindProgramFile(bin().string(), "license.txt"), (bin() / "license.txt").string());
}

TEST_F(ProgramFiles, InstalledDataFolderIsTheFallback) {
    Touch(share() / "Kestrix.pdf");
    EXPECT_EQ(FindProgramFile(bin().string(), "Kestrix.pdf"), (share() / "Kestrix.pdf").string());
}

TEST_F(ProgramFiles, MissingFileIsNamedInTheProgramFolder) {
    EXPECT_EQ(FindProgramFile(bin().string(), "Kestrix.pdf"), (bin() / "Kestrix.pdf").string());
}

} // namespace
} // namespace kestrix::shell
