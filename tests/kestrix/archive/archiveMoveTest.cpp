#include "kestrix/archive/archiveMove.h"

#include "ArchiveFixture.h"
#include "kestrix/archive/Archive.h"
#include "kestrix/archive/archiveSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace kestrix::archive {
namespace {

// The configuration and data homes of a user of its own, restored after each test.
class ArchiveMoveTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        ::setenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8().constData(), 1);
        ::setenv("XDG_DATA_HOME", home_.filePath("data").toUtf8().constData(), 1);
    }

    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
        }
    }

    std::string OldPath() const {
        return home_.filePath("config/Orvenda/Kestrix/archive.sqlite").toStdString();
    }
    std::string NewPath() const {
        return home_.filePath("data/Orvenda/Kestrix/archive.sqlite").toStdString();
    }

    static void StoreDownload(const std::string& path, std::int32_t serial) {
        ArchiveSettings settings;
        settings.sqlitePath = path;
        auto download = MakeDownload("Model 9", serial, 5);
        Archive(settings).Store(*download, {kEventDownload, 150});
    }

    // The serial numbers in the archive that the default configuration now uses.
    static std::vector<std::int32_t> SerialsInTheArchive() {
        std::vector<std::int32_t> serials;
        for (const InstrumentSummary& summary : Archive(ReadArchiveSettings("")).Instruments()) {
            serials.push_back(summary.serial);
        }
        return serials;
    }

    static bool Exists(const std::string& path) {
        return QFileInfo::exists(QString::fromStdString(path));
    }

    QTemporaryDir home_;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(ArchiveMoveTest, AnOlderArchiveMovesOnceAndNeverLeavesTwo) {
    struct Case {
        const char* name;
        bool oldPresent;
        bool newPresent;
        ArchiveMoveOutcome outcome;
        bool oldLeft;
        std::vector<std::int32_t> serials; // 1 in the old archive, 2 in the new one
    };
    const Case cases[] = {
        {"old only", true, false, ArchiveMoveOutcome::kMoved, false, {1}},
        {"both", true, true, ArchiveMoveOutcome::kBothKept, true, {2}},
        {"neither", false, false, ArchiveMoveOutcome::kNothingToMove, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(home_.path()).removeRecursively();
        if (c.oldPresent) {
            StoreDownload(OldPath(), 1);
        }
        if (c.newPresent) {
            StoreDownload(NewPath(), 2);
        }
        const ArchiveMove move = MoveOlderArchive("");
        EXPECT_EQ(move.outcome, c.outcome);
        EXPECT_EQ(move.note.empty(), c.outcome == ArchiveMoveOutcome::kNothingToMove);
        EXPECT_EQ(ReadArchiveSettings("").sqlitePath, NewPath());
        EXPECT_EQ(SerialsInTheArchive(), c.serials);
        EXPECT_TRUE(Exists(NewPath()));
        EXPECT_EQ(Exists(OldPath()), c.oldLeft);
        EXPECT_FALSE(Exists(OldPath() + "-wal") || Exists(OldPath() + "-shm"));
    }
    // Configuration and data in one folder: the older place is the archive itself.
    const ArchiveMove same = MoveArchive(NewPath(), NewPath());
    EXPECT_EQ(same.outcome, ArchiveMoveOutcome::kNothingToMove);
    EXPECT_EQ(same.note, "");
}

TEST_F(ArchiveMoveTest, AnArchiveInUseStaysTheArchiveUntilItIsFree) {
    StoreDownload(OldPath(), 1);
    {
        QSqlDatabase reader = QSqlDatabase::addDatabase("QSQLITE", "reader");
        reader.setDatabaseName(QString::fromStdString(OldPath()));
        ASSERT_TRUE(reader.open());
        QSqlQuery query(reader);
        ASSERT_TRUE(query.exec("PRAGMA journal_mode=WAL"));
        ASSERT_TRUE(query.exec("BEGIN"));
        ASSERT_TRUE(query.exec("SELECT count(*) FROM events") && query.next());

        const ArchiveMove move = MoveOlderArchive("");
        EXPECT_EQ(move.outcome, ArchiveMoveOutcome::kNotMoved);
        EXPECT_NE(move.note.find("another program has it open"), std::string::npos) << move.note;
        EXPECT_EQ(ReadArchiveSettings("").sqlitePath, OldPath());
        EXPECT_FALSE(Exists(NewPath()));
        query.exec("COMMIT");
    }
    QSqlDatabase::removeDatabase("reader");
    EXPECT_EQ(MoveOlderArchive("").outcome, ArchiveMoveOutcome::kMoved);
    EXPECT_EQ(SerialsInTheArchive(), std::vector<std::int32_t>{1});
}

TEST_F(ArchiveMoveTest, AcrossFileSystemsTheArchiveIsCopiedWholeAndTheOldOneRemoved) {
    QTemporaryDir memory(QStringLiteral("/dev/shm/kestrix-move-XXXXXX"));
    struct stat there {};
    struct stat here {};
    if (!memory.isValid() || ::stat("/dev/shm", &there) != 0 ||
        ::stat(home_.path().toUtf8().constData(), &here) != 0 || there.st_dev == here.st_dev) {
        GTEST_SKIP() << "no second file system in /dev/shm";
    }
    const std::string from = memory.filePath("archive.sqlite").toStdString();
    StoreDownload(from, 1);
    EXPECT_EQ(MoveArchive(from, NewPath()).outcome, ArchiveMoveOutcome::kMoved);
    EXPECT_FALSE(Exists(from));
    EXPECT_EQ(QDir(memory.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
              QStringList());
    EXPECT_EQ(SerialsInTheArchive(), std::vector<std::int32_t>{1});
}

TEST_F(ArchiveMoveTest, ANamedArchiveOrConfigurationIsNotMoved) {
    StoreDownload(OldPath(), 1);
    const QString config = home_.filePath("config/Orvenda/Kestrix/config.ini");
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("[archive]\npath=" + OldPath() + "\n").c_str());
    file.close();
    EXPECT_EQ(MoveOlderArchive(config.toStdString()).outcome, ArchiveMoveOutcome::kNothingToMove);
    EXPECT_EQ(MoveOlderArchive(home_.filePath("other.ini").toStdString()).outcome,
              ArchiveMoveOutcome::kNothingToMove);
    EXPECT_TRUE(Exists(OldPath()));
}

} // namespace
} // namespace kestrix::archive
