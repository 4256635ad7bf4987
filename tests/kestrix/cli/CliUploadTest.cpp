// kestrix-cli locations and upload-names as a user runs them, against kestrix-sim on a
// pseudo-terminal; nobody is at the console (stdin is empty).

#include "SimProcess.h"
#include "support/FileBytes.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace kestrix::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct CliRun {
    int status = -1;
    std::string error;
    std::string output;
};

class CliUpload : public ::testing::Test {
protected:
    CliRun Run(const QStringList& arguments) {
        QProcess process;
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(KESTRIX_CLI_EXECUTABLE,
                      QStringList{"--config", Path("config.ini")} + arguments);
        process.waitForFinished(-1);
        return {process.exitCode(), process.readAllStandardError().toStdString(),
                process.readAllStandardOutput().toStdString()};
    }
    QString Path(const char* name) const { return folder_.filePath(name); }
    void Write(const char* name, const std::string& text) {
        std::ofstream(Path(name).toStdString(), std::ios::binary) << text;
    }

    QTemporaryDir folder_;
};

std::vector<std::string> InstrumentNames(sim::test::SimProcess& sim) {
    sim.Stop();
    return nlohmann::json::parse(sim.StateText())["location_names"].get<std::vector<std::string>>();
}

const char* const kNames = "[short_location_names]\n000=HOME\n001=LOBBY\n002=LAB_2\n003=ROOM_3\n"
                           "004=HALL\n005=STORE\n";

TEST_F(CliUpload, ImportedNamesAreExportedAndUploaded) {
    Write("in.loc", kNames);
    ASSERT_EQ(Run({"locations", "import", Path("in.loc")}).status, 0);
    ASSERT_EQ(Run({"locations", "export", Path("out.loc")}).status, 0);
    EXPECT_THAT(test_support::ReadFileBytes(Path("out.loc").toStdString()),
                HasSubstr("003=ROOM_3"));
    sim::test::SimProcess sim({"--preset", "standard"});
    ASSERT_TRUE(sim.WaitReady());
    const CliRun run = Run({"upload-names", "--port", QString::fromStdString(sim.Link()), "--yes"});
    ASSERT_EQ(run.status, 0) << run.error;
    EXPECT_THAT(run.error, HasSubstr("uploaded 5/5"));
    // Never downloaded, the instrument is named in the event's details.
    EXPECT_THAT(Run({"archive", "events"}).output, HasSubstr("\tname upload\t-\t"));
    EXPECT_THAT(Run({"archive", "events"}).output, HasSubstr(R"("names":5})"));
    EXPECT_THAT(InstrumentNames(sim),
                ElementsAre("LOBBY   ", "LAB_2   ", "ROOM_3  ", "HALL    ", "STORE   "));
}

// Every refusal leaves the instrument's names as they were.
TEST_F(CliUpload, EachRefusalHasItsOwnExitStatus) {
    Write("good.loc", kNames);
    Write("lower.loc", "[short_location_names]\n002=lab\n");
    Write("twice.loc", "[short_location_names]\n001=LAB\n002=LAB\n");
    const struct {
        const char* preset;
        const char* file;
        bool yes;
        int status;
    } cases[] = {
        {"standard", "good.loc", false, 16},
        {"standard", "lower.loc", true, 13},
        {"standard", "twice.loc", true, 14},
        {"legacy-137", "good.loc", true, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.preset) + " " + c.file);
        sim::test::SimProcess sim({"--preset", c.preset});
        ASSERT_TRUE(sim.WaitReady());
        QStringList arguments{"upload-names", "--port", QString::fromStdString(sim.Link()),
                              "--from", Path(c.file)};
        if (c.yes) {
            arguments << "--yes";
        }
        EXPECT_EQ(Run(arguments).status, c.status);
        const std::vector<std::string> names = InstrumentNames(sim);
        EXPECT_TRUE(names.empty() || names[0] != "LOBBY   ");
    }
}

TEST_F(CliUpload, AMissingFileIsNotImported) {
    EXPECT_EQ(Run({"locations", "import", Path("missing.loc")}).status, 3);
}

// A file that holds no names would otherwise reset all of them to the defaults.
TEST_F(CliUpload, AFileWithoutNamesIsRefusedAndChangesNothing) {
    Write("nul.loc", std::string(64, '\0'));
    Write("text.loc", "no sections here\n");
    for (const char* file : {"nul.loc", "text.loc"}) {
        for (const QStringList& arguments : {QStringList{"locations", "import", Path(file)},
                                             QStringList{"upload-names", "--port", Path("no-port"),
                                                         "--from", Path(file), "--yes"}}) {
            const CliRun run = Run(arguments);
            EXPECT_EQ(run.status, 3) << arguments.join(' ').toStdString();
            EXPECT_THAT(run.error, HasSubstr(Path(file).toStdString()));
        }
        EXPECT_FALSE(QFileInfo::exists(Path("config.ini")));
    }
}

} // namespace
} // namespace kestrix::test
