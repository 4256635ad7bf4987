// What the sign dialog shows before a signature: the download's instrument, the records it added
// and their time span, or the file's name, with the SHA-256 the signature will carry.

#include "kestrix/archive/signedSummary.h"

#include "ArchiveFixture.h"
#include "kestrix/archive/Archive.h"

#include <fstream>
#include <gmock/gmock.h>

namespace kestrix::archive {
namespace {

using ::testing::HasSubstr;

using SignedSummary = ArchiveFixture;

std::map<std::string, std::string> Facts(const std::vector<SignedFact>& facts) {
    std::map<std::string, std::string> byLabel;
    for (const SignedFact& fact : facts) {
        byLabel[fact.label] = fact.value;
    }
    return byLabel;
}

TEST_P(SignedSummary, ADownloadIsNamedByItsInstrumentAndTheRecordsItAdded) {
    Archive archive(settings_);
    archive.Store(*MakeDownload("Model 9", 4711, 5, 0), {kEventDownload, 150});
    struct Case {
        std::int32_t firstMinute;
        const char* records;
        const char* span;
    };
    const Case cases[] = {
        {100, "5 added to the archive", "2026-03-01 09:40:00 to 2026-03-01 09:44:00"},
        {3, "3 added to the archive (of 5 downloaded; the others were archived before)",
         "2026-03-01 08:05:00 to 2026-03-01 08:07:00"},
    };
    for (const Case& c : cases) {
        const std::int64_t event =
            archive.Store(*MakeDownload("Model 9", 4711, 5, c.firstMinute), {kEventDownload, 150})
                .head.event;
        const SignedContent content = DownloadContent(archive.Database(), event);
        const auto facts = Facts(DescribeSignedContent(archive.Database(), content));
        EXPECT_EQ(facts.at("Instrument"), "Model 9");
        EXPECT_EQ(facts.at("Serial number"), "4711");
        EXPECT_THAT(facts.at("Download"),
                    ::testing::MatchesRegex("event " + std::to_string(event) +
                                            ", downloaded [0-9]{4}-[0-9]{2}-[0-9]{2} "
                                            "[0-9]{2}:[0-9]{2}:[0-9]{2}"));
        EXPECT_EQ(facts.at("Records"), c.records);
        EXPECT_EQ(facts.at("Time span"), c.span);
        EXPECT_EQ(facts.at("SHA-256"), content.sha256);
    }
}

TEST_P(SignedSummary, AFileIsNamedWithoutItsFolder) {
    const std::string path = folder_.filePath("report.pdf").toStdString();
    std::ofstream(path, std::ios::binary) << "abc";
    std::string problem;
    const std::optional<SignedContent> content = FileContent(path, problem);
    ASSERT_TRUE(content) << problem;
    Archive archive(settings_);
    EXPECT_EQ(
        DescribeSignedContent(archive.Database(), *content),
        (std::vector<SignedFact>{
            {"File", "report.pdf"},
            {"SHA-256", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"}}));
}

INSTANTIATE_TEST_SUITE_P(Engines, SignedSummary,
                         ::testing::Values(TestEngine::kSqlite, TestEngine::kPostgres), EngineName);

} // namespace
} // namespace kestrix::archive
