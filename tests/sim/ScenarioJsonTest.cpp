#include "ScenarioJson.h"

#include "FastTransfer.h"
#include "Presets.h"
#include "RecordGenerator.h"

#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace kestrix::sim {
namespace {

using ::testing::HasSubstr;

// The message of the refusal, or a failure when the scenario is accepted.
std::string Refusal(const std::string& json) {
    try {
        ParseScenario(json);
    } catch (const ScenarioError& error) {
        return error.what();
    }
    ADD_FAILURE() << "accepted: " << json;
    return "";
}

TEST(Presets, EveryPresetLoadsAndFitsTheMap) {
    const auto names = PresetNames();
    ASSERT_GE(names.size(), 6U);
    for (const auto& name : names) {
        const auto scenario = FindPreset(name);
        ASSERT_TRUE(scenario) << name;
        EXPECT_LE(scenario->records.size(), kMaxRecords) << name;
        EXPECT_LE(scenario->locationNames.size(), kMaxLocationNames) << name;
        const auto viaJson = ParseScenario("{\"preset\": \"" + name + "\"}");
        EXPECT_EQ(viaJson.records.size(), scenario->records.size()) << name;
    }
    EXPECT_FALSE(FindPreset("no-such-preset"));
}

TEST(Presets, CoverTheInstrumentsTheTestsNeed) {
    EXPECT_TRUE(FindPreset("iaq-fast")->identity.fastTransfer);
    EXPECT_NE(FindPreset("iaq-fast")->identity.modelName.find("IAQ"), std::string::npos);
    EXPECT_EQ(FindPreset("legacy-137")->identity.mapVersion, 137);
    EXPECT_TRUE(FindPreset("empty")->records.empty());
    EXPECT_TRUE(FindPreset("busy")->identity.busy);
    EXPECT_EQ(FindPreset("names-200")->locationNames.size(), 200U);
}

TEST(ScenarioJson, MembersReplaceThePresetsParts) {
    const Scenario scenario = ParseScenario(R"({
        "preset": "empty",
        "identity": {"model_name": "Test IAQ", "serial": 42, "map_version": 141,
                     "address": 7, "busy": true, "flow_unit": "LPM"},
        "location_names": ["A", "B_2"],
        "calibration": [{"engineering_low": -1, "engineering_high": 1,
                         "raw_low": -100, "raw_high": 100}],
        "records": [{"time": 1000, "location": 2, "status": 95, "counts": [5, 4],
                     "analog": [21.5]}]
    })");
    EXPECT_EQ(scenario.identity.modelName, "Test IAQ");
    EXPECT_EQ(scenario.identity.serial, 42);
    EXPECT_EQ(scenario.identity.mapVersion, 141);
    EXPECT_EQ(scenario.identity.address, 7);
    EXPECT_TRUE(scenario.identity.busy);
    EXPECT_EQ(scenario.identity.flowUnit, "LPM");
    EXPECT_EQ(scenario.locationNames, (std::vector<std::string>{"A", "B_2"}));
    EXPECT_EQ(scenario.calibration[0].rawLow, -100);
    EXPECT_EQ(scenario.calibration[1].rawHigh, 0);
    ASSERT_EQ(scenario.records.size(), 1U);
    EXPECT_EQ(scenario.records[0].status, 95);
    EXPECT_EQ(scenario.records[0].counts[1], 4U);
    EXPECT_FLOAT_EQ(scenario.records[0].analog[0], 21.5F);
}

TEST(ScenarioJson, GeneratesTheRequestedNumberOfRecords) {
    const Scenario scenario =
        ParseScenario(R"({"generate": {"seed": 9, "count": 65535, "interval": 30}})");
    ASSERT_EQ(scenario.records.size(), 65535U);
    EXPECT_EQ(scenario.records[1].timeStamp - scenario.records[0].timeStamp, 30);
}

TEST(ScenarioJson, BadJsonIsRefused) {
    EXPECT_THAT(Refusal("{\"identity\": {"), HasSubstr("not valid JSON"));
    EXPECT_THAT(Refusal("[1, 2]"), HasSubstr("scenario: must be an object"));
}

TEST(ScenarioJson, OutOfRangeValuesNameTheirField) {
    EXPECT_THAT(Refusal(R"({"identity": {"map_version": 70000}})"),
                HasSubstr("identity.map_version: must be between 0 and 65535"));
    EXPECT_THAT(Refusal(R"({"identity": {"address": 0}})"), HasSubstr("identity.address"));
    EXPECT_THAT(Refusal(R"({"identity": {"serial": -2147483649}})"), HasSubstr("identity.serial"));
    EXPECT_THAT(Refusal(R"({"identity": {"density_x1000": 2.5}})"),
                HasSubstr("identity.density_x1000: must be a whole number"));
    EXPECT_THAT(Refusal(R"({"identity": {"model_name": "A name far too long"}})"),
                HasSubstr("identity.model_name: is longer than 16"));
    EXPECT_THAT(Refusal(R"({"location_names": ["OK", "TOO_LONG_X"]})"),
                HasSubstr("location_names[1]"));
    EXPECT_THAT(Refusal(R"({"location_names": ["TAB\t"]})"), HasSubstr("location_names[0]"));
    EXPECT_THAT(Refusal(R"({"generate": {"count": 65536}})"), HasSubstr("generate.count"));
    EXPECT_THAT(Refusal(R"({"generate": {"seed": 1}})"), HasSubstr("generate.count"));
    EXPECT_THAT(Refusal(R"({"records": [{"status": 256}]})"), HasSubstr("records[0].status"));
    EXPECT_THAT(Refusal(R"({"records": [{"counts": [1, -1]}]})"),
                HasSubstr("records[0].counts[1]"));
    EXPECT_THAT(Refusal(R"({"channels": []})"), HasSubstr("channels: must describe exactly 36"));
    EXPECT_THAT(Refusal(R"({"calibration": [{}, {}, {}, {}, {}]})"), HasSubstr("calibration"));
}

TEST(ScenarioJson, MistakesInStructureAreRefused) {
    EXPECT_THAT(Refusal(R"({"identity": {"modle_name": "X"}})"),
                HasSubstr("identity.modle_name: unknown member"));
    EXPECT_THAT(Refusal(R"({"preset": "nothing"})"), HasSubstr("preset: no preset"));
    EXPECT_THAT(Refusal(R"({"records": [], "generate": {"count": 1}})"),
                HasSubstr("generate: cannot be combined"));
    std::string names = "[";
    for (int j = 0; j < 201; ++j) {
        names += std::string(j ? "," : "") + "\"N\"";
    }
    EXPECT_THAT(Refusal("{\"location_names\": " + names + "]}"),
                HasSubstr("location_names: has 201 entries"));
}

TEST(ScenarioJson, FastTransferInstrumentsKeepToNineParticleChannels) {
    std::string channels = "[";
    for (int c = 0; c < kChannelCount; ++c) {
        channels += std::string(c ? "," : "") + "{\"tag\": \"1\", \"enabled\": " +
                    (c < kFirstParticleChannel + 10 ? "true" : "false") + "}";
    }
    channels += "]";
    EXPECT_THAT(Refusal(R"({"preset": "iaq-fast", "channels": )" + channels + "}"),
                HasSubstr("channels[13].enabled"));
    EXPECT_NO_THROW(ParseScenario(R"({"preset": "standard", "channels": )" + channels + "}"));
}

TEST(ScenarioJson, TextLimitsCountTheInstrumentsEightBitCharacters) {
    const Scenario scenario = ParseScenario(R"({"location_names": ["Z\u00fcrich12"]})");
    EXPECT_EQ(scenario.locationNames.at(0), "Z\xFCrich12");
    EXPECT_THAT(Refusal(R"({"location_names": ["Z\u00fcrich123"]})"),
                HasSubstr("location_names[0]: is longer than 8 characters"));
    EXPECT_THAT(Refusal(R"({"location_names": ["1 \u20ac"]})"),
                HasSubstr("location_names[0]: may hold only printable characters"));
}

TEST(ScenarioJson, AFileLargerThanTheLimitIsRefused) {
    char path[] = "/tmp/sim_scenario_XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    std::ofstream(path) << std::string((1 << 20) + 1, ' ') << "{}";
    try {
        LoadScenarioFile(path, 1 << 20);
        ADD_FAILURE() << "accepted";
    } catch (const ScenarioError& error) {
        EXPECT_THAT(error.what(), HasSubstr("larger than 1 MB"));
    }
    ::unlink(path);
}

TEST(ScenarioJson, FileThatCannotBeReadIsNamed) {
    EXPECT_THROW(LoadScenarioFile("/nonexistent/scenario.json"), ScenarioError);
    char path[] = "/tmp/sim_scenario_XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    std::ofstream(path) << R"({"identity": {"serial": 77}})";
    EXPECT_EQ(LoadScenarioFile(path).identity.serial, 77);
    ::unlink(path);
}

TEST(RecordGenerator, SameSeedSameRecords) {
    const Scenario scenario = StandardScenario();
    RecordGeneration generation;
    generation.count = 300;
    const auto first = GenerateRecords(generation, scenario);
    const auto again = GenerateRecords(generation, scenario);
    generation.seed = 2;
    const auto other = GenerateRecords(generation, scenario);
    ASSERT_EQ(first.size(), 300U);
    bool differs = false;
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].counts, again[i].counts);
        EXPECT_EQ(first[i].analog, again[i].analog);
        EXPECT_EQ(first[i].status, again[i].status);
        differs = differs || first[i].counts != other[i].counts;
    }
    EXPECT_TRUE(differs);
}

TEST(RecordGenerator, ValuesArePlausible) {
    Scenario scenario = StandardScenario();
    scenario.locationNames = {"A", "B"};
    RecordGeneration generation;
    generation.count = 2000;
    const auto records = GenerateRecords(generation, scenario);
    int withStatus = 0;
    for (const SampleRecord& record : records) {
        for (int k = 1; k < 6; ++k) {
            EXPECT_LE(record.counts[k], record.counts[k - 1]) << "cumulative counts";
        }
        EXPECT_EQ(record.counts[6], 0U) << "disabled channel";
        EXPECT_GE(record.analog[0], 15.0F);
        EXPECT_LE(record.analog[0], 30.0F);
        EXPECT_GE(record.location, 1);
        EXPECT_LE(record.location, 2);
        withStatus += record.status != 0;
    }
    EXPECT_GT(records[0].counts[0], records[0].counts[5]);
    EXPECT_GT(withStatus, 0);
    EXPECT_LT(withStatus, 1000);
}

TEST(RecordGenerator, TimeStampsStopAtTheLargestValue) {
    Scenario scenario = StandardScenario();
    RecordGeneration generation;
    generation.count = 3;
    generation.startTime = INT32_MAX - 100;
    generation.interval = 86400;
    const auto records = GenerateRecords(generation, scenario);
    EXPECT_EQ(records[2].timeStamp, INT32_MAX);
}

} // namespace
} // namespace kestrix::sim
