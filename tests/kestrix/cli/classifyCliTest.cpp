#include "kestrix/cleanroom/WorkedExample.h"
#include "kestrix/data/recordSetFile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace kestrix::cleanroom::testing {
namespace {

using ::testing::HasSubstr;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// kestrix-cli on the worked example of the classification tests.
class ClassifyCli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        std::vector<table::testing::SampleSpec> samples;
        for (std::size_t i = 0; i < kHandSamples.size(); ++i) {
            samples.push_back(HandSampleSpec(kHandSamples[i], static_cast<int>(i)));
        }
        samples[4].particleStatus = {0x01};
        auto set = table::testing::MakeRecordSet(HandSpec(), samples);
        std::string error;
        ASSERT_TRUE(data::WriteRecordSetJson(*set, Path("set.json").toStdString(), error)) << error;
    }

    QString Path(const char* name) const { return folder_.filePath(name); }

    CliRun Run(const QStringList& arguments) const {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", folder_.filePath("xdg"));
        environment.insert("XDG_DATA_HOME", folder_.filePath("xdg"));
        process.setProcessEnvironment(environment);
        process.start(KESTRIX_CLI_PATH, arguments);
        process.waitForFinished(-1);
        return {process.exitCode(), process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString()};
    }

    CliRun Classify(const QStringList& more) const {
        return Run(QStringList{"classify", "--json", Path("set.json"), "--area", "5", "--save",
                               Path("report.json")} +
                   more);
    }

    QTemporaryDir folder_;
};

TEST_F(ClassifyCli, EachOutcomeHasItsExitStatus) {
    struct Case {
        QStringList arguments;
        int exitCode;
        std::string said;
    };
    const Case cases[] = {
        {{"--class", "7"}, 17, "fail: ISO Class 7, 3 location(s)"},
        {{"--class", "8"}, 0, "pass: ISO Class 8, 3 location(s)"},
        // 5 m² needs 3 locations: within the limits, but no class to show.
        {{"--class", "7", "--locations", "1-2"}, 18, "not classified: ISO Class 7, 2 location(s)"},
        {{"--class", "7", "--sizes", "0.7"}, 18, "its channels are 0.3, 0.5, 1.0, 5.0 µm"},
        {{"--grade", "D", "--state", "in-operation"}, 18, "does not predetermine"},
        {{"--class", "7", "--grade", "B"}, 2, "excludes"},
        {{}, 2, "--class or --grade"},
        {{"--class", "10"}, 2, "--class"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun run = Classify(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_THAT(run.out + run.err, HasSubstr(c.said));
    }
    // Only the three saved reports are in the audit trail, in their order.
    const auto events = nlohmann::json::parse(Run({"archive", "events", "--json"}).out);
    ASSERT_EQ(events.size(), 3U);
    EXPECT_EQ(events[0]["kind"], "classification report");
    const char* verdicts[] = {"fail", "pass", "not classified"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_THAT(events[i]["details"].get<std::string>(),
                    HasSubstr(std::string(R"("verdict":")") + verdicts[i] + '"'));
    }
}

TEST_F(ClassifyCli, TheSavedReportHoldsTheFlaggedRecordAndTheRoom) {
    ASSERT_EQ(
        Classify({"--class", "8", "--room-name", "Suite 4", "--state", "in-operation"}).exitCode,
        0);
    std::ifstream file(Path("report.json").toStdString());
    const auto json = nlohmann::json::parse(file);
    EXPECT_EQ(json["room"], "Suite 4");
    EXPECT_EQ(json["state"], "in operation");
    EXPECT_EQ(json["left_out"][0]["record"], 5);
    EXPECT_EQ(json["data_checks"][0]["kind"], "status-flags");
}

TEST_F(ClassifyCli, ARoomFileGivesTheAreaPlaceAndCoordinatesOrIsRefusedWithItsFault) {
    struct Case {
        const char* text;
        int exitCode;
        std::string said;
    };
    const Case cases[] = {
        {"[room]\nname=Fill room 2\nbuilding=Building 3\nwidth=4\nlength=2.5\n"
         "[locations]\n1=0.5,0.5\n",
         18, "not classified"},
        {"[room]\nname=Fill room 2\n", 2, "gives no width and length: --area is needed"},
        {"[room]\nwidth=4\nlength=2.5\n[locations]\n1=9,1\n", 3, "lies outside the room"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::ofstream(Path("fill.room").toStdString()) << c.text;
        const CliRun run = Run({"classify", "--json", Path("set.json"), "--room", Path("fill.room"),
                                "--class", "8", "--save", Path("room.json")});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_THAT(run.out + run.err, HasSubstr(c.said));
    }
    // 10 m² needs 4 locations: the report is saved all the same.
    std::ifstream file(Path("room.json").toStdString());
    const auto json = nlohmann::json::parse(file);
    EXPECT_EQ(json["room"], "Fill room 2");
    EXPECT_EQ(json["area_m2"], 10.0);
    EXPECT_EQ(json["identification"]["building"], "Building 3");
    EXPECT_EQ(json["locations"][0]["x_m"], 0.5);
    EXPECT_EQ(json["outcome"], "NOT CLASSIFIED");
}

TEST_F(ClassifyCli, TheSavedReportCarriesTheArchivesHeadToCheckItLater) {
    ASSERT_EQ(Run({"archive", "import", Path("set.json")}).exitCode, 0);
    ASSERT_EQ(Classify({"--class", "8", "--state", "in-operation"}).exitCode, 0);
    std::ifstream file(Path("report.json").toStdString());
    const auto json = nlohmann::json::parse(file);
    EXPECT_THAT(json.value("archive_head", ""), ::testing::StartsWith("event 1 sha256:"));
    EXPECT_EQ(Run({"archive", "verify", "--head", Path("report.json")}).exitCode, 0);
}

TEST_F(ClassifyCli, CheckListsTheQuestionedRecords) {
    const CliRun run = Run({"check", "--json", Path("set.json")});
    EXPECT_EQ(run.exitCode, 19);
    EXPECT_EQ(run.out, "record 5 (2024-03-15 12:04:00): status-flags: The instrument flagged "
                       "the record: bad laser voltage.\n");
}

TEST_F(ClassifyCli, ImpossibleCountsAreNamedAndLeaveALocationUnclassified) {
    std::vector<table::testing::SampleSpec> samples;
    for (std::size_t i = 0; i < kHandSamples.size(); ++i) {
        samples.push_back(HandSampleSpec(kHandSamples[i], static_cast<int>(i)));
        if (kHandSamples[i].location == 1) {
            samples.back().counts = {-5, -5, -5, -5};
        }
    }
    std::string error;
    ASSERT_TRUE(data::WriteRecordSetJson(*table::testing::MakeRecordSet(HandSpec(), samples),
                                         Path("set.json").toStdString(), error))
        << error;

    const CliRun classified = Classify({"--class", "3", "--sizes", "0.5"});
    EXPECT_EQ(classified.exitCode, 18);
    EXPECT_THAT(classified.err, HasSubstr("has no usable record left"));
    EXPECT_THAT(
        classified.err,
        HasSubstr(
            "Record 2, location 1: impossible data: The count at 0.3 µm is -5: a count cannot "
            "be negative."));
    // The other locations are still reported on.
    EXPECT_THAT(Classify({"--class", "8", "--locations", "2-3"}).out,
                HasSubstr("not classified: ISO Class 8, 2 location(s)"));

    const CliRun checked = Run({"check", "--json", Path("set.json")});
    EXPECT_EQ(checked.exitCode, 19);
    EXPECT_THAT(checked.out, HasSubstr("record 1 (2024-03-15 12:00:00): negative-count: "));
    EXPECT_THAT(checked.out, HasSubstr("record 2 (2024-03-15 12:01:00): negative-count: "));
}

} // namespace
} // namespace kestrix::cleanroom::testing
