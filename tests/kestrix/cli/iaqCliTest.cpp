#include "kestrix/data/recordSetFile.h"
#include "kestrix/iaq/IaqExample.h"
#include "kestrix/iaq/iaqTexts.h"

#include <QProcess>
#include <QTemporaryDir>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace kestrix::iaq::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// kestrix-cli iaq on the example record set of the report's tests, and on a counter's set.
class IaqCli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        set_ = MakeIaqRecordSet();
        std::string error;
        ASSERT_TRUE(data::WriteRecordSetJson(*set_, Path("iaq.json"), error)) << error;
        table::testing::RecordSetSpec counter = IaqSpec();
        counter.sensorName = "Counter 5000";
        table::testing::SampleSpec sample;
        sample.counts = LevelCounts(100);
        sample.analogs = {};
        ASSERT_TRUE(data::WriteRecordSetJson(*table::testing::MakeRecordSet(counter, {sample}),
                                             Path("counter.json"), error))
            << error;
    }

    std::string Path(const char* name) const { return folder_.filePath(name).toStdString(); }

    struct Run {
        int exitCode = -1;
        std::string out;
        std::string err;
    };

    Run Iaq(const char* input, const QStringList& more = {}) const {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", folder_.filePath("xdg"));
        environment.insert("XDG_DATA_HOME", folder_.filePath("xdg"));
        process.setProcessEnvironment(environment);
        process.start(KESTRIX_CLI_PATH,
                      QStringList{"iaq", "--json", QString::fromStdString(Path(input))} + more);
        process.waitForFinished(-1);
        return {process.exitCode(), process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString()};
    }

    static std::string Contents(const std::string& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }

    QTemporaryDir folder_;
    std::unique_ptr<data::clsDataRecordSet> set_;
};

TEST_F(IaqCli, PrintsTheDaysAndSavesTheJsonOfTheReport) {
    const Run run = Iaq("iaq.json", {"--save", QString::fromStdString(Path("iaq-report.json"))});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const IaqReport report = *ComputeNamed(*set_).report;
    for (const IaqDay& day : report.days) {
        const std::vector<std::string> cells = DayCells(day);
        for (std::size_t i = 0; i < 8; ++i) {
            EXPECT_THAT(run.out, HasSubstr(cells[i]));
        }
    }
    for (const std::string& line : SummaryLines(report)) {
        EXPECT_THAT(run.out, HasSubstr(line));
    }

    const auto json = nlohmann::ordered_json::parse(Contents(Path("iaq-report.json")));
    const auto keys = [](const nlohmann::ordered_json& object) {
        std::vector<std::string> names;
        for (const auto& item : object.items()) {
            names.push_back(item.key());
        }
        return names;
    };
    EXPECT_THAT(keys(json), ElementsAre("days", "period"));
    ASSERT_EQ(json["days"].size(), report.days.size());
    const auto& first = json["days"][0];
    EXPECT_THAT(keys(first), ElementsAre("date", "records", "hours", "complete", "pm2_5", "pm10",
                                         "aqi", "who_exceeded"));
    EXPECT_THAT(keys(first["aqi"]),
                ElementsAre("pm2_5", "pm10", "overall", "category", "pollutant"));
    EXPECT_EQ(first["pm2_5"], *report.days[0].mean.pm2_5);
    EXPECT_EQ(first["aqi"]["overall"], report.days[0].index.overall->overall.value);
    EXPECT_EQ(first["who_exceeded"]["pm2_5"], true);
    EXPECT_TRUE(json["days"][1]["who_exceeded"]["pm2_5"].is_null());
    EXPECT_THAT(keys(json["period"]),
                ElementsAre("pm2_5", "pm10", "complete_days", "exceedance_days"));
    EXPECT_EQ(json["period"]["complete_days"], 2);
    EXPECT_EQ(json["period"]["exceedance_days"]["pm2_5"], 1);
}

TEST_F(IaqCli, SavesEveryKindOfReport) {
    struct Case {
        const char* name;
        std::string begins;
        std::string holds;
    };
    const Case cases[] = {
        {"iaq.csv", "Indoor Air Quality Report", "2025-03-03"},
        // The index of the 17-hour day in maroon.
        {"iaq.html", "<!DOCTYPE", "background:#7E0023"},
        {"iaq.pdf", "%PDF", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Run run = Iaq("iaq.json", {"--save", QString::fromStdString(Path(c.name))});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string contents = Contents(Path(c.name));
        EXPECT_THAT(contents, StartsWith(c.begins));
        EXPECT_THAT(contents, HasSubstr(c.holds));
    }
}

TEST_F(IaqCli, EachRefusalHasItsExitStatus) {
    struct Case {
        const char* input;
        QStringList more;
        int exitCode;
        std::string said;
    };
    const Case cases[] = {
        {"counter.json", {}, 11, "\"Counter 5000\" is not an IAQ instrument"},
        {"iaq.json", {"--locations", "9"}, 24, "no records at the chosen locations"},
        {"iaq.json", {"--locations", "2-1"}, 2, "--locations"},
        {"iaq.json", {"--save", "report.txt"}, 2, ".csv or .json"},
        {"missing.json", {}, 3, "missing.json"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        const Run run = Iaq(c.input, c.more);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_THAT(run.err, HasSubstr(c.said));
        EXPECT_EQ(run.out, "");
    }
}

} // namespace
} // namespace kestrix::iaq::testing
