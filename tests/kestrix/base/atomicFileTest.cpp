#include "kestrix/base/atomicFile.h"

#include "kestrix/base/pendingFileCleanup.h"
#include "support/FileBytes.h"

#include <QTemporaryDir>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace kestrix {
namespace {

namespace fs = std::filesystem;

class PendingFileTest : public ::testing::Test {
protected:
    fs::path Path(const char* name) const { return fs::path(dir.path().toStdString()) / name; }
    std::size_t EntriesInFolder() const {
        return static_cast<std::size_t>(std::distance(
            fs::directory_iterator(dir.path().toStdString()), fs::directory_iterator{}));
    }
    QTemporaryDir dir;
};

TEST_F(PendingFileTest, UncommittedWriteLeavesTheOldFileAndNoTemporary) {
    ASSERT_TRUE(base::ReplaceFileAtomically(Path("table.csv"), "old"));
    {
        base::PendingFile file(Path("table.csv"));
        ASSERT_TRUE(file.IsOpen());
        EXPECT_TRUE(file.Write("half of the new"));
    }
    EXPECT_EQ(test_support::ReadFileBytes(Path("table.csv")), "old");
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(PendingFileTest, CommitReplacesTheFileWhole) {
    ASSERT_TRUE(base::ReplaceFileAtomically(Path("table.csv"), "a much longer old content"));
    base::PendingFile file(Path("table.csv"));
    EXPECT_TRUE(file.Write("new"));
    EXPECT_TRUE(file.Commit());
    EXPECT_FALSE(file.Commit()) << "a file is committed once";
    EXPECT_EQ(test_support::ReadFileBytes(Path("table.csv")), "new");
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(PendingFileTest, WriterThatOpensTheTemporaryByNameIsCommittedToo) {
    base::PendingFile file(Path("book.xlsx"));
    std::ofstream(file.TemporaryPath(), std::ios::binary) << "PK";
    EXPECT_TRUE(file.Commit());
    EXPECT_EQ(test_support::ReadFileBytes(Path("book.xlsx")), "PK");
}

TEST_F(PendingFileTest, MissingFolderFailsWithoutCreatingAnything) {
    base::PendingFile file(Path("no-such-folder") / "table.csv");
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Write("x"));
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(EntriesInFolder(), 0u);
}

// What is at the target path before the write, and whether it is replaced.
struct FileTarget {
    const char* name;
    std::function<void(const fs::path& target)> make;
    bool replaced;
};

void MakeDevice(const fs::path& target) {
    // The null device's numbers; a user who may not make devices writes through a link to it.
    if (::mknod(target.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        fs::create_symlink("/dev/null", target);
    }
}

class PendingFileTarget : public PendingFileTest,
                          public ::testing::WithParamInterface<FileTarget> {};

TEST_P(PendingFileTarget, OnlyARegularFileIsReplaced) {
    const fs::path target = Path("target");
    GetParam().make(target);
    const fs::file_type before = fs::symlink_status(target).type();
    const std::size_t entries = EntriesInFolder();
    const bool written = base::ReplaceFileAtomically(target, "new");
    EXPECT_EQ(written, GetParam().replaced);
    EXPECT_EQ(fs::symlink_status(target).type(), before) << "the path keeps its kind";
    EXPECT_EQ(EntriesInFolder(), entries) << "no temporary file is left";
    base::PendingFile file(target);
    EXPECT_EQ(file.IsOpen(), GetParam().replaced);
    if (!GetParam().replaced) {
        EXPECT_NE(file.Error().find("not a regular file"), std::string::npos) << file.Error();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PendingFileTarget,
    ::testing::Values(
        FileTarget{"Device", MakeDevice, false},
        FileTarget{"Fifo", [](const fs::path& target) { ::mkfifo(target.c_str(), 0600); }, false},
        FileTarget{"SymlinkToARegularFile",
                   [](const fs::path& target) {
                       ASSERT_TRUE(
                           base::ReplaceFileAtomically(target.parent_path() / "real", "old"));
                       fs::create_symlink("real", target);
                   },
                   true},
        FileTarget{"SymlinkLoop",
                   [](const fs::path& target) {
                       fs::create_symlink("loop", target);
                       fs::create_symlink("target", target.parent_path() / "loop");
                   },
                   false},
        FileTarget{"Folder", [](const fs::path& target) { fs::create_directory(target); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PendingFileTest, WritingThroughASymlinkKeepsTheLink) {
    ASSERT_TRUE(base::ReplaceFileAtomically(Path("real.ini"), "old"));
    fs::create_symlink("real.ini", Path("link.ini"));
    ASSERT_TRUE(base::ReplaceFileAtomically(Path("link.ini"), "new"));
    EXPECT_TRUE(fs::is_symlink(Path("link.ini")));
    EXPECT_EQ(test_support::ReadFileBytes(Path("real.ini")), "new");
}

// The program is ended by the signal while a new version of the file is half written.
void InterruptedWrite(const fs::path& target, int signal) {
    base::RemovePendingFilesOnInterrupt();
    base::PendingFile file(target);
    file.Write("half of the new");
    ::raise(signal);
}

TEST_F(PendingFileTest, AnInterruptRemovesThePendingFileAndKeepsTheOld) {
    ASSERT_TRUE(base::ReplaceFileAtomically(Path("table.csv"), "old"));
    for (const int signal : {SIGINT, SIGTERM}) {
        EXPECT_EXIT(InterruptedWrite(Path("table.csv"), signal), ::testing::KilledBySignal(signal),
                    "");
        EXPECT_EQ(test_support::ReadFileBytes(Path("table.csv")), "old");
        EXPECT_EQ(EntriesInFolder(), 1u) << "signal " << signal;
    }
}

} // namespace
} // namespace kestrix
