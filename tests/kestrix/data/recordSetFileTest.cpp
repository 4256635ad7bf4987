#include "kestrix/data/recordSetFile.h"

#include "kestrix/base/dateTime.h"
#include "kestrix/data/HeldInput.h"
#include "support/SameRecordSet.h"

#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <istream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <streambuf>
#include <utility>
#include <vector>

namespace kestrix {
namespace {

using test_support::ExpectSameRecordSet;
using test_support::ExpectSameValue;

using Json = nlohmann::ordered_json;

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct SetShape {
    std::int16_t particles = 16;
    std::int16_t analogs = 16;
    std::int32_t records = 4;
};

// An IAQ-like download in which every field differs by channel and row.
std::unique_ptr<data::clsDataRecordSet> MakeRecordSet(SetShape shape) {
    std::vector<std::string> particleTypes;
    std::vector<std::string> analogTypes;
    std::vector<std::string> analogUnits;
    std::vector<bool> alarms;
    std::vector<std::int32_t> thresholds;
    for (int channel = 0; channel < shape.particles; ++channel) {
        particleTypes.push_back(std::to_string(channel + 1) + ".0");
        alarms.push_back(channel % 3 == 0);
        thresholds.push_back(channel == 1 ? kInt32Min : channel * 1000);
    }
    for (int channel = 0; channel < shape.analogs; ++channel) {
        analogTypes.push_back(channel % 2 == 0 ? "TEMP" : "RH");
        analogUnits.push_back(channel % 2 == 0 ? "C" : "%");
    }
    auto set = std::make_unique<data::clsDataRecordSet>();
    std::string flowUnits = "L/m";
    EXPECT_TRUE(set->Init("IAQ Sensor \xc3\xa9", -42, 0.1F, flowUnits, 1.65F, shape.records, "min",
                          particleTypes, analogTypes, analogUnits, alarms, thresholds));
    const std::array<double, 6> specialValues = {
        std::nan(""), kInfinity, -kInfinity, -0.0, std::numeric_limits<double>::denorm_min(), 0.1};
    for (std::int32_t row = 0; row < shape.records; ++row) {
        data::clsDataRecord record;
        record.SetTimeStamp(base::SecondsToDate(row == 0 ? 0 : 1'772'352'900 + row * 61));
        record.SetLocationID(row == 1 ? -1 : row * 7);
        record.SetSampleTimeData(row == 2 ? kInt32Max : 60 + row, static_cast<std::uint8_t>(row));
        record.SetPartChanCount(shape.particles);
        for (std::int16_t channel = 0; channel < shape.particles; ++channel) {
            const std::int32_t count = channel == 0 ? kInt32Max : (channel == 1 ? kInt32Min : row);
            record.SetPartChanData(channel, count, static_cast<std::uint8_t>(255 - channel - row),
                                   (channel + row) % 2 == 0);
        }
        record.SetAnalogChanCount(shape.analogs);
        for (std::int16_t channel = 0; channel < shape.analogs; ++channel) {
            const double value = channel < 6 ? specialValues[channel] : channel * 1.1 + row;
            record.SetAnalogChanData(channel, value, static_cast<std::uint8_t>(channel * 16),
                                     (channel + row) % 3 != 0);
        }
        set->RecordCopy(row, &record);
    }
    set->SetLocationNames({"  Clean room 1 ", "", "Lab \xe2\x82\xac", "Hall"});
    set->SetDownloadTime(base::MakeDateTime(2026, 3, 1, 8, 15, 0.25));
    return set;
}

std::string ToJsonText(data::clsDataRecordSet& set) {
    std::ostringstream out;
    data::WriteRecordSetJson(set, out);
    return out.str();
}

data::RecordSetReadResult FromJsonText(const std::string& text) {
    std::istringstream in(text);
    return data::ReadRecordSetJson(in);
}

void ExpectRoundTrip(data::clsDataRecordSet& set) {
    const data::RecordSetReadResult read = FromJsonText(ToJsonText(set));
    ASSERT_TRUE(read.recordSet) << read.error;
    EXPECT_TRUE(read.error.empty());
    ExpectSameRecordSet(set, *read.recordSet);
}

TEST(RecordSetFileRoundTrip, FullInstrumentWithSixteenAndSixteenChannels) {
    auto set = MakeRecordSet({});
    ExpectRoundTrip(*set);
}

TEST(RecordSetFileRoundTrip, FreshEmptySet) {
    data::clsDataRecordSet set;
    std::string flowUnits;
    ASSERT_TRUE(set.Init("", 0, 1.0F, flowUnits, 0.0F, 0, "s", {}, {}, {}, {}, {}));
    ExpectRoundTrip(set);
}

TEST(RecordSetFileRoundTrip, ChannelsWithoutRecords) {
    auto set = MakeRecordSet({3, 2, 0});
    set->ClearLocationNames();
    ExpectRoundTrip(*set);
}

TEST(RecordSetFileRoundTrip, TimesBeforeTheEpochAndWithMilliseconds) {
    auto set = MakeRecordSet({1, 0, 3});
    data::clsDataRecord record = *set->Record(0);
    record.SetTimeStamp(base::MakeDateTime(1960, 2, 29, 23, 59, 59));
    set->RecordCopy(0, &record);
    record.SetTimeStamp(base::MakeDateTime(1899, 12, 29, 6, 0, 0));
    set->RecordCopy(1, &record);
    record.SetTimeStamp(base::SecondsToDate(kInt32Max));
    set->RecordCopy(2, &record);
    ExpectRoundTrip(*set);

    set->SetDownloadTime(base::MakeDateTime(2026, 3, 1, 8, 15, 0.125));
    const Json document = Json::parse(ToJsonText(*set));
    EXPECT_EQ(document["instrument"]["downloaded_on"], "2026-03-01T08:15:00.125");
    EXPECT_EQ(document["records"][2]["time"], "2038-01-19T03:14:07");
}

TEST(RecordSetFileFormat, HoldsTheDocumentedMembersInOrder) {
    auto set = MakeRecordSet({2, 1, 1});
    data::clsDataRecord record = *set->Record(0);
    record.SetTimeStamp(base::MakeDateTime(2026, 3, 1, 8, 15, 0));
    set->RecordCopy(0, &record);
    const Json document = Json::parse(ToJsonText(*set));

    std::vector<std::string> keys;
    for (const auto& [key, value] : document.items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"format", "version", "instrument",
                                              "sample_time_units", "particle_channels",
                                              "analog_channels", "location_names", "records"}));
    EXPECT_EQ(document["format"], "kestrix-record-set");
    EXPECT_EQ(document["version"], 1);
    EXPECT_EQ(document["instrument"]["flow_rate"].dump(), "0.1");
    EXPECT_EQ(document["instrument"]["flow_rate_units"], "L/m");
    EXPECT_EQ(document["particle_channels"][0],
              Json::parse(R"({"type": "1.0", "units": "#", "alarm": true, "threshold": 0})"));
    EXPECT_EQ(document["analog_channels"][0], Json::parse(R"({"type": "TEMP", "units": "C"})"));
    EXPECT_EQ(document["location_names"][0], "Clean room 1");
    const Json& first = document["records"][0];
    EXPECT_EQ(first["time"], "2026-03-01T08:15:00");
    EXPECT_EQ(first["particles"][0]["count"], kInt32Max);
    EXPECT_EQ(first["analogs"][0]["value"], "NaN");

    set->ClearLocationNames();
    EXPECT_TRUE(Json::parse(ToJsonText(*set))["location_names"].is_null());
}

// The layout the file has always had: a member a line, then a record a line, each as the JSON
// library dumps it, so files written before and after compare byte for byte.
std::string AsTheJsonLibraryLaysItOut(const Json& document) {
    std::string text = "{\n";
    for (const auto& [key, value] : document.items()) {
        if (key != "records") {
            text += Json(key).dump() + ": " + value.dump() + ",\n";
        }
    }
    text += R"("records": [)";
    for (const Json& record : document["records"]) {
        text += (&record == &document["records"].front() ? "\n" : ",\n") + record.dump();
    }
    return text + "\n]}\n";
}

TEST(RecordSetFileFormat, IsLaidOutAsTheJsonLibraryDumpsEachMemberAndRecord) {
    for (const SetShape shape : {SetShape{16, 16, 9}, SetShape{3, 0, 2}, SetShape{2, 1, 0}}) {
        auto set = MakeRecordSet(shape);
        const std::string text = ToJsonText(*set);
        EXPECT_EQ(text, AsTheJsonLibraryLaysItOut(Json::parse(text))) << shape.records;
    }
}

TEST(RecordSetFileFormat, TextsThatAreNotUtf8AreWrittenWithReplacementCharacters) {
    auto set = MakeRecordSet({1, 1, 1});
    set->SetLocationNames({"Caf\xe9"});
    const data::RecordSetReadResult read = FromJsonText(ToJsonText(*set));
    ASSERT_TRUE(read.recordSet) << read.error;
    EXPECT_EQ(read.recordSet->GetLocationName(0), "Caf\xef\xbf\xbd");
}

// Every object of the document with its members in reverse order.
Json Reversed(const Json& value) {
    if (value.is_array()) {
        Json list = Json::array();
        for (const Json& item : value) {
            list.push_back(Reversed(item));
        }
        return list;
    }
    if (!value.is_object()) {
        return value;
    }
    Json object = Json::object();
    std::vector<std::pair<std::string, Json>> members;
    for (const auto& [key, member] : value.items()) {
        members.emplace_back(key, Reversed(member));
    }
    for (auto it = members.rbegin(); it != members.rend(); ++it) {
        object[it->first] = it->second;
    }
    return object;
}

TEST(RecordSetFileLayout, OtherLayoutsOfTheSameDocumentReadAlike) {
    auto set = MakeRecordSet({3, 7, 5});
    const std::string written = ToJsonText(*set);
    const Json document = Json::parse(written);
    std::string escaped = written;
    escaped.replace(escaped.find(R"("time":"20)"), 10, R"("time":"\u0032\u0030)");
    const std::vector<std::pair<std::string, std::string>> layouts = {
        {"indented", document.dump(4)},
        {"tabs and CR LF", "\t{\r\n" + document.dump(1, '\t').substr(1) + "\r\n"},
        {"members reversed", Reversed(document).dump()},
        {"escaped time", escaped},
    };
    for (const auto& [layout, text] : layouts) {
        SCOPED_TRACE(layout);
        const data::RecordSetReadResult read = FromJsonText(text);
        ASSERT_TRUE(read.recordSet) << read.error;
        ExpectSameRecordSet(*set, *read.recordSet);
    }
}

TEST(RecordSetFileLayout, EveryNumberFormReadsAsAWholeParseGivesIt) {
    auto set = MakeRecordSet({1, 1, 1});
    const std::string text = ToJsonText(*set);
    const std::string value = R"("value":)";
    const std::size_t at = text.find(value) + value.size();
    const std::size_t length = text.find(',', at) - at;
    for (const std::string number :
         {"-0", "0", "-12", "123456789012345678", "1234567890123456789", "99999999999999999999",
          "-0.0", "1.5", "2.5e-3", "1E+2", "4.9e-324", "1e-400", "1.7976931348623157e308",
          "0.30000000000000004"}) {
        std::string changed = text;
        changed.replace(at, length, number);
        const data::RecordSetReadResult read = FromJsonText(changed);
        ASSERT_TRUE(read.recordSet) << number << ": " << read.error;
        ExpectSameValue(Json::parse(number).get<double>(),
                        read.recordSet->Record(0)->GetAnalogChanValue(0), number);
    }
}

// Hands out its bytes once and cannot be wound back, like a pipe.
class OneWayBuffer : public std::streambuf {
public:
    explicit OneWayBuffer(std::string text) : text_(std::move(text)) {
        setg(text_.data(), text_.data(), text_.data() + text_.size());
    }

private:
    std::string text_;
};

// The members in the order given, every other one after them as written.
std::string WithMembersFirst(const Json& document, const std::vector<std::string>& first) {
    Json reordered = Json::object();
    for (const std::string& key : first) {
        reordered[key] = document.at(key);
    }
    for (const auto& [key, value] : document.items()) {
        reordered[key] = value;
    }
    return reordered.dump();
}

TEST(RecordSetFileStreaming, RecordsBeforeTheChannelListsAreReadAlike) {
    auto set = MakeRecordSet({4, 3, 9});
    const Json document = Json::parse(ToJsonText(*set));
    const data::RecordSetReadResult read =
        FromJsonText(WithMembersFirst(document, {"records", "location_names", "analog_channels"}));
    ASSERT_TRUE(read.recordSet) << read.error;
    ExpectSameRecordSet(*set, *read.recordSet);
}

TEST(RecordSetFileStreaming, RecordsBeforeTheChannelListsAreCheckedAgainstThem) {
    auto set = MakeRecordSet({4, 3, 9});
    Json document = Json::parse(ToJsonText(*set));
    document["records"][7]["analogs"].erase(0);
    document["records"][8].erase("particles");
    EXPECT_EQ(FromJsonText(WithMembersFirst(document, {"records"})).error,
              "records[7].analogs: expected 3 entries, one per analog channel");
    document["particle_channels"].erase(0);
    EXPECT_EQ(FromJsonText(WithMembersFirst(document, {"records"})).error,
              "records[0].particles: expected 3 entries, one per particle channel");
}

TEST(RecordSetFileStreaming, TheFirstMisshapenRecordIsNamed) {
    auto set = MakeRecordSet({2, 2, 6});
    Json document = Json::parse(ToJsonText(*set));
    document["records"][5] = 3;
    document["records"][4].erase("analogs");
    document["records"][4]["particles"].erase(0);
    EXPECT_EQ(FromJsonText(document.dump()).error,
              "records[4].particles: expected 2 entries, one per particle channel");
    document["records"][4]["particles"] = document["records"][3]["particles"];
    EXPECT_EQ(FromJsonText(document.dump()).error, "records[4].analogs: missing");
    document["records"][4] = document["records"][3];
    EXPECT_EQ(FromJsonText(document.dump()).error, "records[5]: expected an object");
}

TEST(RecordSetFileStreaming, ARepeatedMemberCountsWithItsLastValue) {
    auto set = MakeRecordSet({2, 1, 3});
    std::string text = ToJsonText(*set);
    const std::string lastRecord = Json::parse(text)["records"][2].dump();
    text.insert(text.find(R"("format")"), R"("records": [7, 8], "version": 9, )");
    text.insert(text.rfind('}'), R"(, "records": [)" + lastRecord + "]");
    const data::RecordSetReadResult read = FromJsonText(text);
    ASSERT_TRUE(read.recordSet) << read.error;
    ASSERT_EQ(read.recordSet->RecordCount(), 1);
    EXPECT_EQ(read.recordSet->Record(0)->GetTimeStamp(), set->Record(2)->GetTimeStamp());

    text.insert(text.rfind('}'), R"(, "records": {})");
    EXPECT_EQ(FromJsonText(text).error, "records: expected a list");
}

TEST(RecordSetFileStreaming, MembersNotReadAreSkippedWhateverTheyHold) {
    auto set = MakeRecordSet({2, 2, 2});
    std::string text = ToJsonText(*set);
    text.insert(1, R"("notes": {"records": [1, [2]], "format": null}, "extra": [[{}]], )");
    const data::RecordSetReadResult read = FromJsonText(text);
    ASSERT_TRUE(read.recordSet) << read.error;
    ExpectSameRecordSet(*set, *read.recordSet);
}

TEST(RecordSetFileStreaming, AStreamThatCannotBeWoundBackIsReadAlike) {
    auto set = MakeRecordSet({3, 2, 1000});
    const std::string text = ToJsonText(*set);
    ASSERT_GT(text.size(), 2 * data::HeldInput::kBlockBytes);
    OneWayBuffer buffer(text);
    std::istream in(&buffer);
    ASSERT_EQ(in.tellg(), std::istream::pos_type(-1));
    const data::RecordSetReadResult read = data::ReadRecordSetJson(in, text.size());
    ASSERT_TRUE(read.recordSet) << read.error;
    ExpectSameRecordSet(*set, *read.recordSet);

    OneWayBuffer oneByteTooMany(text);
    std::istream tooLong(&oneByteTooMany);
    EXPECT_EQ(data::ReadRecordSetJson(tooLong, text.size() - 1).error.rfind("larger than ", 0), 0U);

    OneWayBuffer truncated(ToJsonText(*set).substr(0, 100));
    std::istream truncatedIn(&truncated);
    const data::RecordSetReadResult unlimited =
        data::ReadRecordSetJson(truncatedIn, std::numeric_limits<std::uint64_t>::max());
    EXPECT_EQ(unlimited.error.rfind("not a valid JSON text: ", 0), 0U);
}

// Gives one text until it is wound back, then another: a file rewritten while it is read.
class RewrittenBuffer : public std::streambuf {
public:
    RewrittenBuffer(std::string first, std::string then)
        : first_(std::move(first)), then_(std::move(then)) {
        setg(first_.data(), first_.data(), first_.data() + first_.size());
    }

protected:
    pos_type seekpos(pos_type position, std::ios_base::openmode /*which*/) override {
        setg(then_.data(), then_.data() + position, then_.data() + then_.size());
        return position;
    }
    pos_type seekoff(off_type offset, std::ios_base::seekdir /*direction*/,
                     std::ios_base::openmode /*which*/) override {
        return gptr() - eback() + offset;
    }

private:
    std::string first_;
    std::string then_;
};

TEST(RecordSetFileStreaming, AFileChangedBetweenThePassesIsRefused) {
    auto set = MakeRecordSet({2, 2, 3});
    const std::string text = ToJsonText(*set);
    Json document = Json::parse(text);
    const auto readChanged = [&text](const Json& changed) {
        RewrittenBuffer buffer(text, changed.dump());
        std::istream in(&buffer);
        return data::ReadRecordSetJson(in);
    };
    document["records"].push_back(document["records"][0]);
    EXPECT_EQ(readChanged(document).error, "records: the file changed while it was being read");
    document["records"].erase(3);
    document["records"].erase(2);
    EXPECT_EQ(readChanged(document).error, "records: the file changed while it was being read");
    document["records"].push_back(document["records"][0]);
    document["records"][2]["analogs"].push_back(document["records"][2]["analogs"][0]);
    EXPECT_EQ(readChanged(document).error, "records: the file changed while it was being read");
}

TEST(RecordSetFileStreaming, ReadsFromWhereTheStreamStands) {
    auto set = MakeRecordSet({1, 1, 2});
    std::istringstream in("ignored " + ToJsonText(*set));
    in.seekg(8);
    const data::RecordSetReadResult read = data::ReadRecordSetJson(in);
    ASSERT_TRUE(read.recordSet) << read.error;
    ExpectSameRecordSet(*set, *read.recordSet);
}

class RecordSetFileOnDisc : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const {
        return folder_.filePath(QString::fromStdString(name)).toStdString();
    }
    QTemporaryDir folder_;
};

TEST_F(RecordSetFileOnDisc, WritesAndReadsAFileReplacingAnEarlierOne) {
    const std::string path = PathOf("set.json");
    std::ofstream(path) << "old";
    auto set = MakeRecordSet({});
    std::string error;
    ASSERT_TRUE(data::WriteRecordSetJson(*set, path, error)) << error;
    const data::RecordSetReadResult read = data::ReadRecordSetJson(path);
    ASSERT_TRUE(read.recordSet) << read.error;
    ExpectSameRecordSet(*set, *read.recordSet);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path().toStdString()),
                            std::filesystem::directory_iterator{}),
              1);
}

TEST_F(RecordSetFileOnDisc, AFolderThatDoesNotExistGivesAnErrorAndNoFile) {
    auto set = MakeRecordSet({1, 1, 1});
    std::string error;
    EXPECT_FALSE(data::WriteRecordSetJson(*set, PathOf("missing/set.json"), error));
    EXPECT_NE(error.find("missing/set.json"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(PathOf("missing")));
}

TEST_F(RecordSetFileOnDisc, AFolderIsNamedWithTheReason) {
    EXPECT_EQ(data::ReadRecordSetJson(PathOf("")).error,
              "cannot read \"" + PathOf("") + "\": Is a directory");
}

TEST_F(RecordSetFileOnDisc, AMissingFileIsNamed) {
    const data::RecordSetReadResult read = data::ReadRecordSetJson(PathOf("none.json"));
    EXPECT_FALSE(read.recordSet);
    EXPECT_NE(read.error.find("none.json"), std::string::npos) << read.error;
}

// A valid small file changed in one place must be refused with the message.
struct Refusal {
    const char* name;
    std::function<void(Json&)> change;
    const char* message;
};

class RecordSetFileRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(RecordSetFileRefusal, NamesTheField) {
    auto set = MakeRecordSet({4, 2, 14});
    Json document = Json::parse(ToJsonText(*set));
    GetParam().change(document);
    const data::RecordSetReadResult read = FromJsonText(document.dump());
    EXPECT_FALSE(read.recordSet);
    EXPECT_EQ(read.error, GetParam().message);
}

std::string RefusalName(const ::testing::TestParamInfo<Refusal>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryField, RecordSetFileRefusal,
    ::testing::Values(
        Refusal{"WrongFormat", [](Json& d) { d["format"] = "other"; },
                "format: expected \"kestrix-record-set\""},
        Refusal{"LaterVersion", [](Json& d) { d["version"] = 2; },
                "version: expected an integer from 1 to 1"},
        Refusal{"MissingRecords", [](Json& d) { d.erase("records"); }, "records: missing"},
        Refusal{"RecordsNotAList", [](Json& d) { d["records"] = 3; }, "records: expected a list"},
        Refusal{"CountNotAnInteger",
                [](Json& d) { d["records"][12]["particles"][3]["count"] = 1.5; },
                "records[12].particles[3].count: expected an integer from -2147483648 to "
                "2147483647"},
        Refusal{"CountBeyondInt32",
                [](Json& d) { d["records"][12]["particles"][3]["count"] = 2147483648LL; },
                "records[12].particles[3].count: expected an integer from -2147483648 to "
                "2147483647"},
        Refusal{"StatusAbove255", [](Json& d) { d["records"][0]["analogs"][1]["status"] = 256; },
                "records[0].analogs[1].status: expected an integer from 0 to 255"},
        Refusal{"NegativeStatus", [](Json& d) { d["records"][1]["sample_time_status"] = -1; },
                "records[1].sample_time_status: expected an integer from 0 to 255"},
        Refusal{"NegativeSampleTime", [](Json& d) { d["records"][1]["sample_time"] = -1; },
                "records[1].sample_time: expected an integer from 0 to 2147483647"},
        Refusal{"EnableNotAFlag", [](Json& d) { d["records"][2]["particles"][0]["enabled"] = 1; },
                "records[2].particles[0].enabled: expected true or false"},
        Refusal{"AnalogValueText", [](Json& d) { d["records"][2]["analogs"][0]["value"] = "1"; },
                "records[2].analogs[0].value: expected a number, \"NaN\", \"Infinity\" or "
                "\"-Infinity\""},
        Refusal{"FewerParticlesThanChannels",
                [](Json& d) { d["records"][12]["particles"].erase(3); },
                "records[12].particles: expected 4 entries, one per particle channel"},
        Refusal{
            "MoreAnalogsThanChannels",
            [](Json& d) { d["records"][13]["analogs"].push_back(d["records"][13]["analogs"][0]); },
            "records[13].analogs: expected 2 entries, one per analog channel"},
        Refusal{"NoRealDate", [](Json& d) { d["records"][5]["time"] = "2026-02-29T08:15:00"; },
                "records[5].time: expected a local date-time such as \"2026-03-01T08:15:00\""},
        Refusal{"DateWithZone", [](Json& d) { d["records"][5]["time"] = "2026-03-01T08:15:00Z"; },
                "records[5].time: expected a local date-time such as \"2026-03-01T08:15:00\""},
        Refusal{"FlowRateZero", [](Json& d) { d["instrument"]["flow_rate"] = 0; },
                "instrument.flow_rate: expected a finite number above 0"},
        Refusal{"FlowRateInfinite", [](Json& d) { d["instrument"]["flow_rate"] = "Infinity"; },
                "instrument.flow_rate: expected a finite number above 0"},
        Refusal{"DensityNaN", [](Json& d) { d["instrument"]["particle_density"] = "NaN"; },
                "instrument.particle_density: expected a finite number"},
        Refusal{"DensityBeyondSingle", [](Json& d) { d["instrument"]["particle_density"] = 1e300; },
                "instrument.particle_density: expected a number within the single-precision "
                "range"},
        Refusal{"SerialNotAnInteger", [](Json& d) { d["instrument"]["serial"] = "12"; },
                "instrument.serial: expected an integer from -2147483648 to 2147483647"},
        Refusal{"ParticleUnitsNotCounts", [](Json& d) { d["particle_channels"][1]["units"] = "C"; },
                "particle_channels[1].units: expected \"#\""},
        Refusal{"ChannelNotAnObject", [](Json& d) { d["analog_channels"][0] = "TEMP"; },
                "analog_channels[0]: expected an object"},
        Refusal{"LocationNameNotAText", [](Json& d) { d["location_names"][2] = 7; },
                "location_names[2]: expected a text"},
        Refusal{"NoSampleTimeUnits", [](Json& d) { d["sample_time_units"] = ""; },
                "sample_time_units: expected a unit text"},
        Refusal{"NotAnObject", [](Json& d) { d = Json::array(); }, "expected an object"}),
    RefusalName);

TEST(RecordSetFileRefusal, MoreRecordsThanAnInstrumentHolds) {
    auto set = MakeRecordSet({0, 0, 1});
    Json document = Json::parse(ToJsonText(*set));
    const Json record = document["records"][0];
    document["records"] = Json::array();
    for (int row = 0; row < 65536; ++row) {
        document["records"].push_back(record);
    }
    EXPECT_EQ(FromJsonText(document.dump()).error, "records: more than 65535 records");
    document["records"].erase(0);
    EXPECT_TRUE(FromJsonText(document.dump()).recordSet);
}

TEST(RecordSetFileRefusal, EveryTruncationIsRefusedWithAParseMessage) {
    auto set = MakeRecordSet({2, 2, 2});
    const std::string text = ToJsonText(*set);
    const std::size_t end = text.find_last_of('}');
    for (std::size_t length = 0; length < end; ++length) {
        const data::RecordSetReadResult read = FromJsonText(text.substr(0, length));
        ASSERT_FALSE(read.recordSet) << length;
        ASSERT_EQ(read.error.rfind("not a valid JSON text: ", 0), 0U) << read.error;
    }
}

TEST(RecordSetFileRefusal, BytesThatAreNotUtf8) {
    auto set = MakeRecordSet({1, 1, 1});
    std::string text = ToJsonText(*set);
    text.replace(text.find("Hall"), 4, "H\xe4ll");
    const data::RecordSetReadResult read = FromJsonText(text);
    EXPECT_FALSE(read.recordSet);
    EXPECT_NE(read.error.find("UTF-8"), std::string::npos) << read.error;
}

TEST(RecordSetFileRefusal, DeepNestingIsRefusedWhileParsing) {
    auto set = MakeRecordSet({1, 1, 1});
    const std::string text = ToJsonText(*set);
    const std::string deep = std::string(200000, '[') + std::string(200000, ']');
    // A member that is read, one that is not, and an entry of a record.
    const std::vector<std::pair<std::string, std::string>> insertions = {
        {"{", R"("instrument":)" + deep + ","},
        {"{", R"("notes":)" + deep + ","},
        {R"("particles":[)", deep + ","},
    };
    for (const auto& [after, insertion] : insertions) {
        std::string nested = text;
        nested.insert(nested.find(after) + after.size(), insertion);
        EXPECT_EQ(FromJsonText(nested).error, "values nested deeper than 8 levels") << after;
    }
}

// An endless stream that cannot be wound back, such as a pipe.
class EndlessBuffer : public std::streambuf {
public:
    EndlessBuffer() { setg(blanks_.data(), blanks_.data(), blanks_.data() + blanks_.size()); }

protected:
    int_type underflow() override {
        setg(blanks_.data(), blanks_.data(), blanks_.data() + blanks_.size());
        return traits_type::to_int_type(blanks_.front());
    }

private:
    std::string blanks_ = std::string(4096, ' ');
};

TEST(RecordSetFileRefusal, InputLargerThanTheLimitIsRefusedEarly) {
    EndlessBuffer endless;
    std::istream pipe(&endless);
    EXPECT_EQ(data::ReadRecordSetJson(pipe, std::uint64_t{1} << 20).error,
              "larger than 1 MB, more than any record set takes");

    QTemporaryDir folder;
    const std::string path = folder.filePath("huge.json").toStdString();
    std::ofstream(path) << "{}";
    std::filesystem::resize_file(path, data::kRecordSetFileMaxBytes + 1); // sparse: takes no room
    EXPECT_EQ(data::ReadRecordSetJson(path).error,
              "cannot read \"" + path + "\": larger than 512 MB, more than any record set takes");
}

TEST(RecordSetFileRefusal, NumberBeyondEveryRange) {
    auto set = MakeRecordSet({1, 1, 1});
    std::string text = ToJsonText(*set);
    text.replace(text.find(R"("serial":-42)"), 12, R"("serial":1e3333333333333333333)");
    const data::RecordSetReadResult read = FromJsonText(text);
    EXPECT_FALSE(read.recordSet);
    EXPECT_EQ(read.error.rfind("not a valid JSON text: number overflow", 0), 0U) << read.error;
}

TEST(RecordSetFileRefusal, TrailingTextAfterTheDocument) {
    auto set = MakeRecordSet({1, 1, 1});
    EXPECT_FALSE(FromJsonText(ToJsonText(*set) + "{}").recordSet);
}

} // namespace
} // namespace kestrix
