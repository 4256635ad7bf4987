#include "kestrix/base/atomicFile.h"
#include "support/FileBytes.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

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
    ASSERT_TRUE(ReplaceFileAtomically(Path("table.csv"), "old"));
    {
        PendingFile file(Path("table.csv"));
        ASSERT_TRUE(file.IsOpen());
        EXPECT_TRUE(file.Write("half of the new"));
    }
    EXPECT_EQ(test_support::ReadFileBytes(Path("table.csv")), "old");
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(PendingFileTest, CommitReplacesTheFileWhole) {
    ASSERT_TRUE(ReplaceFileAtomically(Path("table.csv"), "a much longer old content"));
    PendingFile file(Path("table.csv"));
    EXPECT_TRUE(file.Write("new"));
    EXPECT_TRUE(file.Commit());
    EXPECT_FALSE(file.Commit()) << "a file is committed once";
    EXPECT_EQ(test_support::ReadFileBytes(Path("table.csv")), "new");
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(PendingFileTest, WriterThatOpensTheTemporaryByNameIsCommittedToo) {
    PendingFile file(Path("book.xlsx"));
    std::ofstream(file.TemporaryPath(), std::ios::binary) << "PK";
    EXPECT_TRUE(file.Commit());
    EXPECT_EQ(test_support::ReadFileBytes(Path("book.xlsx")), "PK");
}

TEST_F(PendingFileTest, MissingFolderFailsWithoutCreatingAnything) {
    PendingFile file(Path("no-such-folder") / "table.csv");
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Write("x"));
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(EntriesInFolder(), 0u);
}

TEST_F(PendingFileTest, WritingThroughASymlinkKeepsTheLink) {
    ASSERT_TRUE(ReplaceFileAtomically(Path("real.ini"), "old"));
    fs::create_symlink("real.ini", Path("link.ini"));
    ASSERT_TRUE(ReplaceFileAtomically(Path("link.ini"), "new"));
    EXPECT_TRUE(fs::is_symlink(Path("link.ini")));
    EXPECT_EQ(test_support::ReadFileBytes(Path("real.ini")), "new");
}

} // namespace
} // namespace kestrix
