#include "kestrix/base/dateTime.h"
#include "kestrix/data/recordSetFile.h"
#include "support/FileBytes.h"
#include "support/MissingPeer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kestrix {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Two samples at location 1 of an instrument with cumulative counts 100, 40, 10
// (differential 60, 30, 10) and a temperature of 21.5 C (70.7 F).
std::unique_ptr<data::clsDataRecordSet> MakeDownload() {
    auto set = std::make_unique<data::clsDataRecordSet>();
    std::string flowUnits = "CFM";
    EXPECT_TRUE(set->Init("Model 9", 4711, 0.1F, flowUnits, 1.65F, 2, "s", {"0.3", "0.5", "1.0"},
                          {"TEMP"}, {"C"}, {false, false, false}, {0, 0, 0}));
    for (std::int32_t row = 0; row < 2; ++row) {
        data::clsDataRecord record;
        record.SetTimeStamp(base::SecondsToDate(1'772'352'900 + 60 * row));
        record.SetLocationID(1);
        record.SetSampleTimeData(60, 0);
        record.SetPartChanCount(3);
        record.SetPartChanData(0, 100, 0, true);
        record.SetPartChanData(1, 40, 0, true);
        record.SetPartChanData(2, 10, 0, true);
        record.SetAnalogChanCount(1);
        record.SetAnalogChanData(0, 21.5, 0, true);
        set->RecordCopy(row, &record);
    }
    set->SetLocationNames({"Entrance", "Clean room"});
    return set;
}

class KestrixCli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        ASSERT_TRUE(QDir(folder_.path()).mkpath("xdg"));
        auto set = MakeDownload();
        std::string error;
        ASSERT_TRUE(data::WriteRecordSetJson(*set, Path("set.json"), error)) << error;
    }

    std::string Path(const std::string& name) const {
        return folder_.filePath(QString::fromStdString(name)).toStdString();
    }

    void WriteFile(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }

    // Runs the program with a data folder of its own and the C locale; its standard output goes
    // to `outputFile` when one is named.
    CliRun Run(const QStringList& arguments, const QString& outputFile = {}) const {
        QProcess process;
        if (!outputFile.isEmpty()) {
            process.setStandardOutputFile(outputFile);
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", folder_.filePath("xdg"));
        environment.insert("XDG_DATA_HOME", folder_.filePath("xdg"));
        environment.insert("LC_ALL", "C");
        process.setProcessEnvironment(environment);
        process.start(KESTRIX_CLI_PATH, arguments);
        process.waitForFinished(-1);
        CliRun run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput().toStdString();
        run.err = process.readAllStandardError().toStdString();
        return run;
    }

    CliRun Export(const std::string& saveName, const QStringList& more = {}) const {
        return Run(QStringList{"export", "--json", QString::fromStdString(Path("set.json")),
                               "--save", QString::fromStdString(Path(saveName))} +
                   more);
    }

    QTemporaryDir folder_;
};

TEST_F(KestrixCli, CsvWithTheDefaultSettings) {
    const CliRun run = Export("table.csv");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string csv = test_support::ReadFileBytes(Path("table.csv"));
    EXPECT_THAT(csv, HasSubstr("Instrument Model: Model 9"));
    EXPECT_THAT(csv, HasSubstr("Timestamp,Location,0.3 micron,0.5 micron,1.0 micron"));
    EXPECT_THAT(csv, HasSubstr("1 Mar 2026 08:15:00,Clean room,60,30,10,60,0.100,70.7"));
    EXPECT_THAT(csv, HasSubstr("1 Mar 2026 08:16:00,Clean room,60,30,10,60,0.100,70.7"));
}

TEST_F(KestrixCli, ViewOptionsAndUnitsComeFromTheNamedConfiguration) {
    WriteFile("mine.ini", "[units]\ntemperature=7\n[data_table]\nparticle_differential=0\n"
                          "show_location_names=0\nshow_location_numbers=1\n");
    const CliRun run = Export("table.csv", {"--config", QString::fromStdString(Path("mine.ini"))});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string csv = test_support::ReadFileBytes(Path("table.csv"));
    EXPECT_THAT(csv, HasSubstr("1 Mar 2026 08:15:00,1,100,40,10,60,0.100,21.5"));
    EXPECT_THAT(csv, Not(HasSubstr("Clean room")));
}

TEST_F(KestrixCli, WithoutConfigOptionTheDataFoldersConfigurationIsUsed) {
    ASSERT_TRUE(QDir(folder_.path()).mkpath("xdg/Orvenda/Kestrix"));
    WriteFile("xdg/Orvenda/Kestrix/config.ini", "[data_table]\nparticle_differential=0\n");
    const CliRun run = Export("table.csv");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(test_support::ReadFileBytes(Path("table.csv")),
                HasSubstr(",Clean room,100,40,10,"));
}

TEST_F(KestrixCli, AMissingNamedConfigurationIsSaidAndTheDefaultsApply) {
    const CliRun run = Export("table.csv", {"--config", QString::fromStdString(Path("none.ini"))});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("none.ini"));
    EXPECT_THAT(test_support::ReadFileBytes(Path("table.csv")), HasSubstr(",Clean room,60,30,10,"));
}

TEST_F(KestrixCli, HtmlPageWithTheTitleRowsAsHeading) {
    for (const char* name : {"table.html", "table.HTM"}) {
        const CliRun run = Export(name);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string html = test_support::ReadFileBytes(Path(name));
        const auto heading = html.find("<thead>");
        const auto headingEnd = html.find("</thead>");
        ASSERT_NE(heading, std::string::npos) << name;
        const std::string titles = html.substr(heading, headingEnd - heading);
        EXPECT_THAT(titles, HasSubstr("Timestamp"));
        EXPECT_THAT(titles, HasSubstr("0.3 micron"));
        EXPECT_THAT(html.substr(headingEnd), HasSubstr("Clean room"));
    }
}

TEST_F(KestrixCli, ExcelWorkbookReadByAnotherReader) {
    if (QProcess::execute("/usr/bin/python3", {"-c", "import openpyxl"}) != 0) {
        SKIP_OR_FAIL_WITHOUT_PEER("python3-openpyxl is not installed");
    }
    const CliRun run = Export("table.xlsx");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    QProcess reader;
    reader.start("/usr/bin/python3",
                 {"-c",
                  "import sys, openpyxl\n"
                  "book = openpyxl.load_workbook(sys.argv[1])\n"
                  "print(book.sheetnames)\n"
                  "for row in book['Sheet 1'].iter_rows(values_only=True):\n"
                  "    print('|'.join('' if v is None else str(v) for v in row))\n",
                  QString::fromStdString(Path("table.xlsx"))});
    reader.waitForFinished(-1);
    const std::string text = reader.readAllStandardOutput().toStdString();
    EXPECT_THAT(text, HasSubstr("['Sheet 1']"));
    EXPECT_THAT(text, HasSubstr("Instrument Model: Model 9"));
    EXPECT_THAT(text, HasSubstr("2026-03-01 08:15:00|Clean room|60|30|10|60"));
}

TEST_F(KestrixCli, PdfPagesAreNumbered) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) {
        SKIP_OR_FAIL_WITHOUT_PEER("pdftotext is not installed");
    }
    const CliRun run = Export("table.pdf");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    QProcess reader;
    reader.start("pdftotext", {QString::fromStdString(Path("table.pdf")), "-"});
    reader.waitForFinished(-1);
    const std::string text = reader.readAllStandardOutput().toStdString();
    EXPECT_THAT(text, HasSubstr("Page 1"));
    EXPECT_THAT(text, HasSubstr("Model 9"));
    EXPECT_THAT(text, HasSubstr("Clean room"));
}

TEST_F(KestrixCli, ABadRecordSetNamesTheFieldAndExitsWith3) {
    std::string json = test_support::ReadFileBytes(Path("set.json"));
    json.replace(json.find(R"("count":40)"), 10, R"("count":"x")");
    WriteFile("set.json", json);
    const CliRun run = Export("table.csv");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_THAT(run.err, HasSubstr("records[0].particles[1].count: expected an integer"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("table.csv"))));
}

TEST_F(KestrixCli, ATruncatedOrMissingInputExitsWith3) {
    const std::string json = test_support::ReadFileBytes(Path("set.json"));
    WriteFile("set.json", json.substr(0, json.size() / 2));
    const CliRun truncated = Export("table.csv");
    EXPECT_EQ(truncated.exitCode, 3);
    EXPECT_THAT(truncated.err, HasSubstr("not a valid JSON text"));

    const CliRun missing = Run({"export", "--json", QString::fromStdString(Path("none.json")),
                                "--save", QString::fromStdString(Path("t.csv"))});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_THAT(missing.err, HasSubstr("none.json"));
    EXPECT_EQ(missing.err.find("none.json"), missing.err.rfind("none.json")) << missing.err;
}

TEST_F(KestrixCli, AnUnwritableDestinationExitsWith4) {
    const CliRun run = Export("missing/table.csv");
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_THAT(run.err, HasSubstr("missing/table.csv"));
}

TEST_F(KestrixCli, ARecordSetWiderThanTheTableExitsWith5AndKeepsTheOldFile) {
    const std::vector<std::string> channels(16384, "0.3");
    data::clsDataRecordSet wide;
    std::string flowUnits = "CFM";
    ASSERT_TRUE(wide.Init("Model 9", 1, 1.0F, flowUnits, 0.0F, 1, "s", channels, {}, {},
                          std::vector<bool>(channels.size()),
                          std::vector<std::int32_t>(channels.size())));
    std::string error;
    ASSERT_TRUE(data::WriteRecordSetJson(wide, Path("set.json"), error)) << error;
    WriteFile("table.csv", "old");
    const CliRun run = Export("table.csv");
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_THAT(run.err, HasSubstr("more than the grid holds"));
    EXPECT_EQ(test_support::ReadFileBytes(Path("table.csv")), "old");
}

TEST_F(KestrixCli, ADestinationThatIsNoRegularFileExitsWith4) {
    ASSERT_EQ(::mkfifo(Path("fifo.csv").c_str(), 0600), 0);
    const CliRun run = Export("fifo.csv");
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_THAT(run.err, HasSubstr("fifo.csv\": it is a FIFO, not a regular file"));
    EXPECT_EQ(std::filesystem::status(Path("fifo.csv")).type(), std::filesystem::file_type::fifo);
}

TEST_F(KestrixCli, AFolderAsInputExitsWith3) {
    const QString folder = folder_.filePath("xdg");
    const CliRun run = Run({"export", "--json", folder, "--save", folder_.filePath("t.csv")});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_THAT(run.err, HasSubstr("cannot read \"" + folder.toStdString() + "\": Is a directory"));
}

TEST_F(KestrixCli, AFifoAsInputIsRefusedBeforeItIsOpened) {
    ASSERT_EQ(::mkfifo(Path("fifo.json").c_str(), 0600), 0);
    const CliRun run = Run({"export", "--json", QString::fromStdString(Path("fifo.json")), "--save",
                            folder_.filePath("t.csv")});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_THAT(run.err, HasSubstr("cannot read \"" + Path("fifo.json") +
                                   "\": it is a FIFO, not a regular file"));
}

TEST_F(KestrixCli, AConfigurationPathThatCannotBeReadGivesTheDefaults) {
    std::filesystem::create_symlink("loop.ini", Path("loop.ini"));
    for (const std::string& config : {Path("loop.ini"), Path(std::string(5000, 'x'))}) {
        const CliRun run = Export("table.csv", {"--config", QString::fromStdString(config)});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_THAT(run.err, HasSubstr("cannot be read")) << config.size();
        EXPECT_THAT(run.err, HasSubstr("using the default settings"));
    }
}

TEST_F(KestrixCli, APortThatCannotBeOpenedIsNamedWithTheReason) {
    WriteFile("plain", "");
    const int controller = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(controller >= 0 && ::grantpt(controller) == 0 && ::unlockpt(controller) == 0);
    const std::string busy = ::ptsname(controller);
    const int held = ::open(busy.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0) << "held as the Modbus master holds a port";
    const std::vector<std::pair<std::string, std::string>> ports = {
        {Path("missing"), "No such file or directory"},
        {Path("plain"), "not a serial line"},
        {Path("xdg"), "Is a directory"},
        {busy, "Device or resource busy"},
    };
    for (const auto& [device, reason] : ports) {
        const CliRun run = Run({"identify", "--port", QString::fromStdString(device)});
        EXPECT_EQ(run.exitCode, 6) << device;
        EXPECT_THAT(run.err, HasSubstr("cannot open port 1 (" + device + "): " + reason));
        EXPECT_THAT(run.err, Not(HasSubstr("Prev")));
    }
    ::close(held);
    ::close(controller);
    EXPECT_EQ(Run({"identify", "--port", "99999999999"}).exitCode, 2);
}

TEST_F(KestrixCli, SaveToStandardOutputWritesTheFileThereAndNothingElse) {
    const int controller = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(controller >= 0 && ::grantpt(controller) == 0 && ::unlockpt(controller) == 0);
    const QString terminal = ::ptsname(controller);
    struct Case {
        QStringList more;
        bool toTerminal;
        int exitCode;
        std::string shown; // a part of standard output; empty: nothing there
        std::string said;  // on stderr
    };
    const Case cases[] = {
        {{}, false, 0, "Instrument Model: Model 9", ""},
        {{"--format", "csv"}, true, 0, "", ""},
        {{"--format", "html"}, false, 0, "<!DOCTYPE html>", ""},
        {{"--format", "xlsx"}, false, 0, std::string("PK\x03\x04", 4), ""},
        {{"--format", "pdf"}, false, 0, "%PDF-", ""},
        {{"--format", "xlsx"}, true, 2, "", "a xlsx file is not written to a terminal"},
        {{"--format", "pdf"}, true, 2, "", "a pdf file is not written to a terminal"},
        {{"--format", "txt"}, false, 2, "", "--format"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.more.join(' ').toStdString() + (c.toTerminal ? " to a terminal" : ""));
        const CliRun run =
            Run(QStringList{"export", "--json", QString::fromStdString(Path("set.json")), "--save",
                            "-"} +
                    c.more,
                c.toTerminal ? terminal : QString());
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_THAT(run.out, HasSubstr(c.shown));
        EXPECT_EQ(run.out.empty(), c.shown.empty());
        EXPECT_THAT(run.err, HasSubstr(c.said));
    }
    ::close(controller);
    const CliRun withFile = Export("table.csv", {"--format", "html"});
    EXPECT_EQ(withFile.exitCode, 2);
    EXPECT_THAT(withFile.err, HasSubstr("--format goes with --save -"));
}

TEST_F(KestrixCli, UsageErrorsExitWith2) {
    const CliRun badEnding = Export("table.txt");
    EXPECT_EQ(badEnding.exitCode, 2);
    EXPECT_THAT(badEnding.err, HasSubstr(".xlsx, .csv, .html, .htm or .pdf"));
    EXPECT_EQ(Run({"export", "--save", "t.csv"}).exitCode, 2);
    const CliRun unknown = Run({"frobnicate"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_THAT(unknown.err, HasSubstr("kestrix-cli: unknown command 'frobnicate'"));
    EXPECT_EQ(Run({}).exitCode, 2);
}

TEST_F(KestrixCli, HelpListsCommandsAndExitStatuses) {
    const CliRun run = Run({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(run.out, HasSubstr("export"));
    EXPECT_THAT(run.out, HasSubstr("density"));
    EXPECT_THAT(run.out, HasSubstr("Exit status"));
    // The meanings start in one column, past status 9 too.
    for (const char* code : {"   2  ", "   3  ", "   4  ", "  11  "}) {
        EXPECT_THAT(run.out, HasSubstr(code));
    }
}

} // namespace
} // namespace kestrix
