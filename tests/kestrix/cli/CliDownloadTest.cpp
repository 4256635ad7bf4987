// kestrix-cli identify and download as a user runs them, against kestrix-sim on a
// pseudo-terminal.

#include "SimProcess.h"
#include "kestrix/data/recordSetFile.h"
#include "support/FileBytes.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <spawn.h>
#include <sys/wait.h>

namespace kestrix::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct CliRun {
    int status = -1;
    std::string output;
    std::string error;
};

// A folder of its own for the configuration, the outputs and the record-set file.
class CliDownload : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kestrix_cli_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    CliRun Run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(),
                         {KESTRIX_CLI_EXECUTABLE, "--config", Path("config.ini")});
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, Path("out.txt").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, Path("err.txt").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<char*> argv;
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        pid_t pid = -1;
        CliRun run;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
            int raw = 0;
            ::waitpid(pid, &raw, 0);
            run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        }
        posix_spawn_file_actions_destroy(&actions);
        run.output = test_support::ReadFileBytes(Path("out.txt"));
        run.error = test_support::ReadFileBytes(Path("err.txt"));
        return run;
    }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }

    std::filesystem::path folder_;
};

TEST_F(CliDownload, DownloadWritesTheRecordSetFileAndRemembersTheChoice) {
    sim::test::SimProcess sim({"--preset", "iaq-fast"});
    ASSERT_TRUE(sim.WaitReady());
    const CliRun run =
        Run({"download", "--port", sim.Link(), "--address", "auto", "--json", Path("set.json")});
    ASSERT_EQ(run.status, 0) << run.error;
    EXPECT_THAT(run.error, HasSubstr("Instrument : Dastel 9304 IAQ"));
    EXPECT_THAT(run.error, HasSubstr("Serial # : 000220417"));
    EXPECT_THAT(run.error, HasSubstr("\n100%\n"));
    const data::RecordSetReadResult read = data::ReadRecordSetJson(Path("set.json"));
    ASSERT_TRUE(read.recordSet) << read.error;
    EXPECT_EQ(read.recordSet->RecordCount(), 450);
    const std::string config = test_support::ReadFileBytes(Path("config.ini"));
    EXPECT_THAT(config, HasSubstr("com_port=1"));
    EXPECT_THAT(config, HasSubstr("device_address=0"));
    EXPECT_THAT(config, HasSubstr("COM1=" + sim.Link()));
    const CliRun again = Run({"identify", "--address", "1"});
    EXPECT_EQ(again.status, 0) << "the remembered device is used again: " << again.error;
}

TEST_F(CliDownload, DownloadSavesTheTableInTheSameRun) {
    sim::test::SimProcess sim({"--preset", "iaq-fast"});
    ASSERT_TRUE(sim.WaitReady());
    const CliRun run = Run({"download", "--port", sim.Link(), "--address", "1", "--quiet", "--save",
                            Path("table.csv")});
    ASSERT_EQ(run.status, 0) << run.error;
    const std::string table = test_support::ReadFileBytes(Path("table.csv"));
    EXPECT_THAT(table, HasSubstr("Timestamp"));
    EXPECT_THAT(table, HasSubstr("Standard Deviation"));
    // Header lines, two title rows, one line per record, statistics and status rows.
    EXPECT_GT(std::count(table.begin(), table.end(), '\n'), 450);
    EXPECT_FALSE(std::filesystem::exists(Path("set.json"))) << "no record-set file was asked for";
}

TEST_F(CliDownload, EveryDownloadIsArchivedAndADamagedArchiveStopsNone) {
    sim::test::SimProcess sim({"--preset", "iaq-fast"});
    ASSERT_TRUE(sim.WaitReady());
    const std::vector<std::string> download = {"download", "--port", sim.Link(), "--address", "1"};
    EXPECT_THAT(Run(download).error, HasSubstr("archived 450 new records of 450"));
    EXPECT_THAT(Run(download).error, HasSubstr("archived 0 new records of 450"));
    std::vector<std::string> unarchived = download;
    unarchived.push_back("--no-archive");
    EXPECT_THAT(Run(unarchived).error, Not(HasSubstr("archived")));
    const CliRun listed = Run({"archive", "list"});
    EXPECT_THAT(listed.output, HasSubstr("450 records\t2 downloads"));
    std::filesystem::remove_all(Path("archive.sqlite-wal"));
    std::filesystem::remove_all(Path("archive.sqlite-shm"));
    test_support::WriteFileBytes(Path("archive.sqlite"), std::string(8192, 'x'));
    const CliRun damaged = Run(download);
    EXPECT_EQ(damaged.status, 0);
    EXPECT_THAT(damaged.error, HasSubstr("the download was not archived"));
}

TEST_F(CliDownload, TheRecordSetFileCarriesTheArchivesHeadToCheckItLater) {
    sim::test::SimProcess sim({"--preset", "iaq-fast"});
    ASSERT_TRUE(sim.WaitReady());
    const std::vector<std::string> download = {"download", "--port",  sim.Link(), "--address",
                                               "1",        "--quiet", "--json"};
    std::vector<std::string> first = download;
    first.push_back(Path("first.json"));
    ASSERT_EQ(Run(first).status, 0);
    std::vector<std::string> second = download;
    second.insert(second.end(), {Path("second.json"), "--save", Path("second.csv")});
    ASSERT_EQ(Run(second).status, 0);
    // The first download and the note of its file.
    std::ifstream in(Path("second.json"), std::ios::binary);
    const auto written = nlohmann::json::parse(in, nullptr, false);
    const std::string head = written.value("archive_head", "");
    EXPECT_THAT(head, ::testing::StartsWith("event 2 sha256:"));
    EXPECT_THAT(test_support::ReadFileBytes(Path("second.csv")),
                HasSubstr("Archive Head: " + head));
    EXPECT_EQ(Run({"archive", "verify", "--head", Path("second.json")}).status, 0);
    test_support::WriteFileBytes(Path("config.ini"), "[archive]\nenabled=maybe\n");
    const CliRun refused = Run(first);
    EXPECT_EQ(refused.status, 20);
    EXPECT_THAT(refused.error, HasSubstr("[archive] enabled=maybe"));
}

TEST_F(CliDownload, FilesWrittenAndDensityChangesAreNotedInTheArchive) {
    sim::test::SimProcess sim({"--preset", "iaq-fast"});
    ASSERT_TRUE(sim.WaitReady());
    ASSERT_EQ(Run({"download", "--port", sim.Link(), "--address", "1", "--quiet", "--json",
                   Path("set.json"), "--save", Path("table.csv")})
                  .status,
              0);
    ASSERT_EQ(Run({"export", "--json", Path("set.json"), "--save", Path("again.html")}).status, 0);
    ASSERT_EQ(Run({"density", "--port", sim.Link(), "--set", "1.2"}).status, 0);

    const auto events = nlohmann::json::parse(Run({"archive", "events", "--json"}).output);
    const std::pair<const char*, std::string> expected[] = {
        {"download", "\"records\":450"},
        {"export", Path("set.json")},
        {"export", Path("table.csv")},
        {"export", Path("again.html")},
        {"density change", R"("before":"1.650","after":"1.200","units":"g/ml")"},
    };
    ASSERT_EQ(events.size(), std::size(expected)) << events.dump();
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i]["kind"], expected[i].first);
        EXPECT_THAT(events[i]["details"].get<std::string>(), HasSubstr(expected[i].second));
        EXPECT_EQ(events[i]["serial"], 220417) << "the downloaded instrument";
    }
    EXPECT_EQ(Run({"archive", "verify"}).status, 0);
}

TEST_F(CliDownload, IdentifyPrintsTheIdentity) {
    sim::test::SimProcess sim({"--preset", "legacy-137"});
    ASSERT_TRUE(sim.WaitReady());
    const CliRun run = Run({"identify", "--port", sim.Link(), "--address", "1"});
    ASSERT_EQ(run.status, 0) << run.error;
    EXPECT_THAT(run.output, HasSubstr("Instrument : Pirrow 32\n"));
    EXPECT_THAT(run.output, HasSubstr("Data Records : 40\n"));
    EXPECT_THAT(run.output, HasSubstr("Map version : 137\n"));
}

TEST_F(CliDownload, PortNumberBoundInTheConfigurationReachesItsDevice) {
    sim::test::SimProcess sim({"--preset", "legacy-137"});
    ASSERT_TRUE(sim.WaitReady());
    test_support::WriteFileBytes(Path("config.ini"), "[ports]\nCOM9=" + sim.Link() + "\n");
    const CliRun run = Run({"identify", "--port", "9", "--address", "1"});
    ASSERT_EQ(run.status, 0) << run.error;
    EXPECT_THAT(run.output, HasSubstr("Instrument : Pirrow 32\n"));
    const std::string config = test_support::ReadFileBytes(Path("config.ini"));
    EXPECT_THAT(config, HasSubstr("COM9=" + sim.Link()));
    EXPECT_THAT(config, HasSubstr("com_port=9"));
}

TEST_F(CliDownload, AConfigurationThatCannotBeSavedIsSaidAndTheCommandSucceeds) {
    sim::test::SimProcess sim({"--preset", "legacy-137"});
    ASSERT_TRUE(sim.WaitReady());
    std::filesystem::create_directory(Path("config.ini"));
    const CliRun run = Run({"identify", "--port", sim.Link(), "--address", "1"});
    EXPECT_EQ(run.status, 0) << run.error;
    EXPECT_THAT(run.error, HasSubstr("the port and address were not stored"));
}

TEST_F(CliDownload, EachOutcomeHasItsOwnExitStatus) {
    sim::test::SimProcess empty({"--preset", "empty"});
    ASSERT_TRUE(empty.WaitReady());
    const CliRun noData = Run({"download", "--port", empty.Link(), "--address", "1"});
    EXPECT_EQ(noData.status, 8) << noData.error;
    EXPECT_THAT(noData.error, HasSubstr("There is no data to download."));
    EXPECT_FALSE(std::filesystem::exists(Path("set.json")));
    const CliRun notFound = Run({"identify", "--port", empty.Link(), "--address", "9"});
    EXPECT_EQ(notFound.status, 6);
    EXPECT_THAT(notFound.error, HasSubstr("Instrument not found!"));
    const CliRun badAddress = Run({"download", "--port", empty.Link(), "--address", "100"});
    EXPECT_EQ(badAddress.status, 2);
}

TEST_F(CliDownload, DensityIsPrintedAndAWrittenOneReadBack) {
    sim::test::SimProcess sim({"--preset", "iaq-fast"});
    ASSERT_TRUE(sim.WaitReady());
    const CliRun shown = Run({"density", "--port", sim.Link(), "--address", "1"});
    ASSERT_EQ(shown.status, 0) << shown.error;
    EXPECT_EQ(shown.output, "1.650\n");
    const CliRun written = Run({"density", "--port", sim.Link(), "--set", "1.2"});
    ASSERT_EQ(written.status, 0) << written.error;
    EXPECT_EQ(written.output, "1.200\n");
    EXPECT_THAT(written.error, HasSubstr("wrote 1.200 g/ml; the particle density was 1.650"));
    sim.Stop();
    EXPECT_THAT(sim.StateText(), HasSubstr("\"density_x1000\": 1200"));
}

TEST_F(CliDownload, DensityRefusalsHaveTheirOwnExitStatusAndWriteNothing) {
    sim::test::SimProcess iaq({"--preset", "iaq-fast"});
    ASSERT_TRUE(iaq.WaitReady());
    const struct {
        const char* value;
        const char* said;
    } refused[] = {{"0", "cannot be zero"},
                   {"0.000", "cannot be zero"},
                   {"1.2345", "at most three decimals"},
                   {"65.536", "between 0.001 and 65.535"},
                   {"1.", "at most three decimals"},
                   {"2,5", "at most three decimals"}};
    for (const auto& c : refused) {
        const CliRun run =
            Run({"density", "--port", iaq.Link(), "--address", "1", "--set", c.value});
        EXPECT_EQ(run.status, 2) << c.value;
        EXPECT_THAT(run.error, HasSubstr(c.said)) << c.value;
    }
    iaq.Stop();
    EXPECT_THAT(iaq.StateText(), HasSubstr("\"density_x1000\": 1650"));

    sim::test::SimProcess standard({"--preset", "standard"});
    ASSERT_TRUE(standard.WaitReady());
    const CliRun notIaq =
        Run({"density", "--port", standard.Link(), "--address", "1", "--set", "1.2"});
    EXPECT_EQ(notIaq.status, 11) << notIaq.error;
    EXPECT_THAT(notIaq.error, HasSubstr("is not an IAQ instrument"));
}

} // namespace
} // namespace kestrix::test
