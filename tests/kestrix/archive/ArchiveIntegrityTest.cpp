// What the archive keeps readable and trustworthy: descriptions it can read back, settings it
// understands, a writer that vanished, and files damaged at random.

#include "ArchiveFixture.h"
#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/autoArchive.h"

#include <QFile>
#include <cmath>
#include <fstream>
#include <gmock/gmock.h>
#include <limits>
#include <random>
#include <set>

namespace kestrix::archive {
namespace {

using ::testing::HasSubstr;

class ArchiveIntegrity : public ArchiveFixture {};

TEST_P(ArchiveIntegrity, NoDescriptionIsStoredThatCannotBeReadBack) {
    Archive archive(settings_);
    archive.Store(*MakeDownload("Model 9", 7, 10), {kEventDownload, 150});
    archive.Store(*MakeDownload("Model 9", 8, 10), {kEventDownload, 150});
    data::clsDataRecordSet poisoned;
    std::string units = "LPM";
    ASSERT_TRUE(poisoned.Init("Model 9", 9, 2.83F, units, std::numeric_limits<float>::quiet_NaN(),
                              0, "s", {"0.3"}, {}, {}, {false}, {0}));
    EXPECT_THROW(archive.Store(poisoned, {kEventDownload, 150}), ArchiveError);
    // A description an older program left unreadable hides no other instrument.
    archive.Database().Run("UPDATE downloads SET header = '{' WHERE instrument_id = 1");
    const std::vector<InstrumentSummary> listed = archive.Instruments();
    ASSERT_EQ(listed.size(), 2U);
    EXPECT_EQ(listed[0].locationNames, (std::vector<std::string>{"LOC001", "LOC002", "LOC003"}));
    EXPECT_THROW(archive.Query({7, "", std::nullopt, std::nullopt, {}}), ArchiveError);
    EXPECT_EQ(archive.Query({8, "", std::nullopt, std::nullopt, {}}).recordSet->RecordCount(), 10);
}

TEST_P(ArchiveIntegrity, AClockResetMemoryKeepsEveryRecordAndNotesTheCollisions) {
    constexpr std::int32_t kBeforeReset = 30;
    Archive archive(settings_);
    ASSERT_EQ(
        archive.Store(*MakeDownload("Model 9", 7, kBeforeReset), {kEventDownload, 150}).newRecords,
        kBeforeReset);
    // After the reset the clock gives the earlier time stamps again, to other samples.
    auto memory = MakeDownload("Model 9", 7, 2 * kBeforeReset);
    for (std::int32_t row = kBeforeReset; row < 2 * kBeforeReset; ++row) {
        data::clsDataRecord record = *memory->Record(row);
        record.SetTimeStamp(memory->Record(row - kBeforeReset)->GetTimeStamp());
        memory->RecordCopy(row, &record);
    }
    EXPECT_EQ(archive.Store(*memory, {kEventDownload, 150}).newRecords, kBeforeReset);
    EXPECT_EQ(archive.Store(*memory, {kEventDownload, 150}).newRecords, 0);
    EXPECT_THAT(archive.Events()[1].event.details, HasSubstr(R"("collisions":30)"));
    const auto kept = archive.Query({7, "", std::nullopt, std::nullopt, {}}).recordSet;
    ASSERT_EQ(kept->RecordCount(), 2 * kBeforeReset);
    std::multiset<std::int32_t> counts;
    for (std::int32_t row = 0; row < kept->RecordCount(); ++row) {
        counts.insert(kept->Record(row)->GetPartChanValue(0, true));
    }
    for (std::int32_t row = 0; row < memory->RecordCount(); ++row) {
        EXPECT_EQ(counts.count(memory->Record(row)->GetPartChanValue(0, true)), 1U) << row;
    }
    const VerifyResult verified = archive.Verify();
    EXPECT_TRUE(verified.intact) << verified.problem;
}

// SQLite drops a dead process's lock with its file handle; a server keeps a session's.
class ArchiveServerSession : public ArchiveFixture {};

TEST_P(ArchiveServerSession, AWriterThatVanishedInsideATransactionBlocksNoOther) {
    ArchiveSettings vanishing = settings_;
    vanishing.lockTimeoutSeconds = 1;
    Archive(settings_).Instruments(); // the tables exist
    Archive stalled(vanishing);
    const WriteTransaction held(stalled.Database());
    Archive other(settings_);
    EXPECT_EQ(other.Store(*MakeDownload("Model 9", 7, 10), {kEventDownload, 150}).newRecords, 10);
}

INSTANTIATE_TEST_SUITE_P(Engines, ArchiveIntegrity,
                         ::testing::Values(TestEngine::kSqlite, TestEngine::kPostgres), EngineName);
INSTANTIATE_TEST_SUITE_P(Server, ArchiveServerSession, ::testing::Values(TestEngine::kPostgres),
                         EngineName);

struct FlagCase {
    const char* value;
    bool enabled;
};

TEST(ArchiveSettingsFile, TheUsualBooleanSpellingsAreUnderstoodAndBadValuesRefused) {
    QTemporaryDir folder;
    const std::string config = folder.filePath("config.ini").toStdString();
    const FlagCase cases[] = {{"1", true},  {"true", true},   {"Yes", true}, {"ON", true},
                              {"0", false}, {"FALSE", false}, {"no", false}, {"Off", false}};
    for (const FlagCase& c : cases) {
        SCOPED_TRACE(c.value);
        std::ofstream(config, std::ios::binary) << "[archive]\nenabled=" << c.value << "\n";
        const ArchiveSettings settings = ReadArchiveSettings(config);
        EXPECT_EQ(settings.enabled, c.enabled);
        EXPECT_EQ(settings.problem, "");
    }
    for (const char* timeout : {"abc", "-1", "86401", "99999999999"}) {
        std::ofstream(config, std::ios::binary) << "[archive]\nlock_timeout=" << timeout << "\n";
        EXPECT_THAT(ReadArchiveSettings(config).problem,
                    HasSubstr(std::string("[archive] lock_timeout=") + timeout));
    }
    std::ofstream(config, std::ios::binary) << "[archive]\nenabled=maybe\n";
    const ArchiveSettings refused = ReadArchiveSettings(config);
    EXPECT_THAT(refused.problem, HasSubstr("[archive] enabled=maybe"));
    auto download = MakeDownload("Model 9", 7, 5);
    const AutoArchiveOutcome outcome = ArchiveFinishedDownload(refused, *download, 150);
    EXPECT_FALSE(outcome.archived);
    EXPECT_THAT(outcome.message, HasSubstr("enabled=maybe"));
    EXPECT_THROW(Archive{refused}, ArchiveError);
}

// Flips a few bytes of the file at random places.
void Damage(const QByteArray& original, const QString& path, std::mt19937& random) {
    QByteArray bytes = original;
    std::uniform_int_distribution<qsizetype> place(0, bytes.size() - 1);
    std::uniform_int_distribution<int> flips(1, 8);
    std::uniform_int_distribution<int> mask(1, 255);
    for (int flip = flips(random); flip > 0; --flip) {
        const qsizetype at = place(random);
        bytes[at] = static_cast<char>(bytes[at] ^ mask(random));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Every instrument's records, or why the archive cannot give them.
void ReadEverything(const ArchiveSettings& settings, const data::clsDataRecordSet& original) {
    try {
        Archive archive(settings, Access::kRead);
        const bool intact = archive.Verify().intact;
        archive.Events();
        for (const InstrumentSummary& summary : archive.Instruments()) {
            const auto records =
                archive.Query({summary.serial, summary.model, std::nullopt, std::nullopt, {}})
                    .recordSet;
            for (std::int32_t row = 0; row < records->RecordCount(); ++row) {
                ASSERT_NE(records->Record(row)->GetTimeStamp(), 0.0) << "a blank record";
            }
            if (intact) {
                ASSERT_EQ(records->RecordCount(), original.RecordCount());
            }
        }
    } catch (const ArchiveError&) {
        // Told, which is what a damaged archive must do.
    }
}

TEST(ArchiveDamage, ARandomlyDamagedFileIsReadOrRefusedButNeverGivesBlankRecords) {
    constexpr int kDamagedFiles = 200;
    QTemporaryDir folder;
    ArchiveSettings settings;
    settings.sqlitePath = folder.filePath("archive.sqlite").toStdString();
    const auto download = MakeDownload("Model 9", 7, 400);
    {
        Archive archive(settings);
        archive.Store(*download, {kEventDownload, 150});
        archive.Note({kEventArchiveExport, "{}", "Model 9", 7});
    }
    QFile file(QString::fromStdString(settings.sqlitePath));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    file.close();
    std::mt19937 random(20260301);
    for (int run = 0; run < kDamagedFiles; ++run) {
        SCOPED_TRACE(run);
        ArchiveSettings damaged;
        damaged.sqlitePath = folder.filePath(QString("damaged-%1.sqlite").arg(run)).toStdString();
        Damage(original, QString::fromStdString(damaged.sqlitePath), random);
        ReadEverything(damaged, *download);
        QFile::remove(QString::fromStdString(damaged.sqlitePath));
    }
}

} // namespace
} // namespace kestrix::archive
