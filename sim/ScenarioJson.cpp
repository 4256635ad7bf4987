#include "ScenarioJson.h"

#include "FastTransfer.h"
#include "Presets.h"
#include "RecordGenerator.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <initializer_list>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>

namespace kestrix::sim {
namespace {

using nlohmann::json;

bool IsPrintableEightBit(unsigned code) {
    return (code >= 0x20 && code <= 0x7E) || (code >= 0xA0 && code <= 0xFF);
}

// The UTF-8 text as 8-bit characters; nullopt when it holds a character outside the printable
// Latin-1 set. The parser has already refused text that is not UTF-8.
std::optional<std::string> EightBitText(const std::string& utf8) {
    std::string text;
    for (size_t i = 0; i < utf8.size(); ++i) {
        auto code = static_cast<unsigned char>(utf8[i]);
        // Latin-1 beyond ASCII takes two bytes in UTF-8, led by 0xC2 or 0xC3.
        if ((code == 0xC2 || code == 0xC3) && i + 1 < utf8.size()) {
            code = static_cast<unsigned char>(((code & 0x03U) << 6) |
                                              (static_cast<unsigned char>(utf8[++i]) & 0x3FU));
        } else if (code >= 0x80) {
            return std::nullopt;
        }
        if (!IsPrintableEightBit(code)) {
            return std::nullopt;
        }
        text.push_back(static_cast<char>(code));
    }
    return text;
}

// A JSON value together with the path that names it in messages.
class Field {
public:
    Field(const json& value, std::string path) : value_(value), path_(std::move(path)) {}

    [[noreturn]] void Fail(const std::string& problem) const {
        throw ScenarioError((path_.empty() ? "scenario" : path_) + ": " + problem);
    }

    // Refuses members other than the given ones, so a misspelt name is not silently ignored.
    void ExpectObject(std::initializer_list<const char*> members) const {
        if (!value_.is_object()) {
            Fail("must be an object");
        }
        for (const auto& item : value_.items()) {
            if (std::none_of(members.begin(), members.end(),
                             [&](const char* name) { return item.key() == name; })) {
                Field(item.value(), Member(item.key())).Fail("unknown member");
            }
        }
    }

    bool Has(const char* name) const { return value_.contains(name); }
    Field operator[](const char* name) const {
        if (!Has(name)) {
            Field(value_, Member(name)).Fail("is missing");
        }
        return {value_.at(name), Member(name)};
    }
    Field operator[](size_t index) const {
        return {value_.at(index), path_ + "[" + std::to_string(index) + "]"};
    }

    size_t ArraySize(size_t maximum) const {
        if (!value_.is_array()) {
            Fail("must be an array");
        }
        if (value_.size() > maximum) {
            Fail("has " + std::to_string(value_.size()) + " entries, at most " +
                 std::to_string(maximum) + " are allowed");
        }
        return value_.size();
    }

    template <typename T>
    T Integer(int64_t minimum = std::numeric_limits<T>::min(),
              int64_t maximum = std::numeric_limits<T>::max()) const {
        if (!value_.is_number_integer()) {
            Fail("must be a whole number");
        }
        bool inRange = false;
        if (value_.is_number_unsigned()) {
            const auto number = value_.get<uint64_t>();
            inRange = maximum >= 0 && number <= static_cast<uint64_t>(maximum) &&
                      (minimum <= 0 || number >= static_cast<uint64_t>(minimum));
        } else {
            const auto number = value_.get<int64_t>();
            inRange = number >= minimum && number <= maximum;
        }
        if (!inRange) {
            Fail("must be between " + std::to_string(minimum) + " and " + std::to_string(maximum));
        }
        return static_cast<T>(value_.get<int64_t>());
    }

    float Number() const {
        if (!value_.is_number()) {
            Fail("must be a number");
        }
        const double number = value_.get<double>();
        if (std::abs(number) > std::numeric_limits<float>::max()) {
            Fail("is too large for a single float");
        }
        return static_cast<float>(number);
    }

    bool Flag() const {
        if (!value_.is_boolean()) {
            Fail("must be true or false");
        }
        return value_.get<bool>();
    }

    // As the instrument stores it: one 8-bit (Latin-1) character for each character of the
    // UTF-8 text, printable ones only, so the limit counts characters rather than bytes.
    std::string Text(size_t maximumLength) const {
        if (!value_.is_string()) {
            Fail("must be a text");
        }
        const auto text = EightBitText(value_.get<std::string>());
        if (!text) {
            Fail("may hold only printable characters of the instrument's 8-bit (Latin-1) set");
        }
        if (text->size() > maximumLength) {
            Fail("is longer than " + std::to_string(maximumLength) + " characters");
        }
        return *text;
    }

private:
    std::string Member(const std::string& name) const {
        return path_.empty() ? name : path_ + "." + name;
    }

    const json& value_;
    std::string path_;
};

void ReadIdentity(const Field& f, Identity& id) {
    f.ExpectObject({"model_name", "model_type", "serial", "instrument_code", "map_version",
                    "flow_rate_x100", "flow_unit", "density_x1000", "fast_transfer", "busy",
                    "address"});
    if (f.Has("model_name")) {
        id.modelName = f["model_name"].Text(16);
    }
    if (f.Has("model_type")) {
        id.modelType = f["model_type"].Text(16);
    }
    if (f.Has("serial")) {
        id.serial = f["serial"].Integer<int32_t>();
    }
    if (f.Has("instrument_code")) {
        id.instrumentCode = f["instrument_code"].Integer<uint16_t>();
    }
    if (f.Has("map_version")) {
        id.mapVersion = f["map_version"].Integer<uint16_t>();
    }
    if (f.Has("flow_rate_x100")) {
        id.flowRateX100 = f["flow_rate_x100"].Integer<uint16_t>();
    }
    if (f.Has("flow_unit")) {
        id.flowUnit = f["flow_unit"].Text(4);
    }
    if (f.Has("density_x1000")) {
        id.densityX1000 = f["density_x1000"].Integer<uint16_t>();
    }
    if (f.Has("fast_transfer")) {
        id.fastTransfer = f["fast_transfer"].Flag();
    }
    if (f.Has("busy")) {
        id.busy = f["busy"].Flag();
    }
    if (f.Has("address")) {
        id.address = f["address"].Integer<uint8_t>(1, 247);
    }
}

Channel ReadChannel(const Field& f) {
    f.ExpectObject({"tag", "unit", "enabled", "alarm", "threshold"});
    Channel channel;
    channel.tag = f.Has("tag") ? f["tag"].Text(4) : "";
    channel.unit = f.Has("unit") ? f["unit"].Text(4) : "";
    channel.enabled = f.Has("enabled") && f["enabled"].Flag();
    channel.alarm = f.Has("alarm") && f["alarm"].Flag();
    channel.threshold = f.Has("threshold") ? f["threshold"].Integer<int32_t>() : 0;
    return channel;
}

void ReadChannels(const Field& f, std::array<Channel, kChannelCount>& channels) {
    if (f.ArraySize(kChannelCount) != kChannelCount) {
        f.Fail("must describe exactly " + std::to_string(kChannelCount) + " channels");
    }
    for (size_t c = 0; c < kChannelCount; ++c) {
        channels[c] = ReadChannel(f[c]);
    }
}

void ReadCalibration(const Field& f, std::array<Calibration, kCalibrationPoints>& calibration) {
    const size_t points = f.ArraySize(kCalibrationPoints);
    calibration = {};
    for (size_t i = 0; i < points; ++i) {
        const Field point = f[i];
        point.ExpectObject({"engineering_low", "engineering_high", "raw_low", "raw_high"});
        calibration[i].engineeringLow = point["engineering_low"].Number();
        calibration[i].engineeringHigh = point["engineering_high"].Number();
        calibration[i].rawLow = point["raw_low"].Integer<int16_t>();
        calibration[i].rawHigh = point["raw_high"].Integer<int16_t>();
    }
}

void ReadNames(const Field& f, std::vector<std::string>& names) {
    names.resize(f.ArraySize(kMaxLocationNames));
    for (size_t j = 0; j < names.size(); ++j) {
        names[j] = f[j].Text(8);
    }
}

template <typename T, size_t N, typename Read>
void ReadValues(const Field& f, std::array<T, N>& values, Read read) {
    const size_t given = f.ArraySize(N);
    for (size_t k = 0; k < given; ++k) {
        values[k] = read(f[k]);
    }
}

SampleRecord ReadRecord(const Field& f) {
    f.ExpectObject({"time", "sample_time", "location", "status", "particle_enable", "analog_enable",
                    "counts", "analog"});
    SampleRecord record;
    record.timeStamp = f.Has("time") ? f["time"].Integer<int32_t>() : 0;
    record.sampleTime = f.Has("sample_time") ? f["sample_time"].Integer<uint32_t>() : 60;
    record.location = f.Has("location") ? f["location"].Integer<int32_t>() : 1;
    record.status = f.Has("status") ? f["status"].Integer<uint8_t>() : 0;
    record.particleEnable =
        f.Has("particle_enable") ? f["particle_enable"].Integer<uint16_t>() : 0xFFFF;
    record.analogEnable = f.Has("analog_enable") ? f["analog_enable"].Integer<uint16_t>() : 0xFFFF;
    if (f.Has("counts")) {
        ReadValues(f["counts"], record.counts,
                   [](const Field& v) { return v.Integer<uint32_t>(); });
    }
    if (f.Has("analog")) {
        ReadValues(f["analog"], record.analog, [](const Field& v) { return v.Number(); });
    }
    return record;
}

RecordGeneration ReadGeneration(const Field& f) {
    f.ExpectObject({"seed", "count", "start_time", "sample_time", "interval"});
    RecordGeneration generation;
    if (f.Has("seed")) {
        generation.seed = f["seed"].Integer<uint64_t>(0, std::numeric_limits<int64_t>::max());
    }
    generation.count = f["count"].Integer<size_t>(0, kMaxRecords);
    if (f.Has("start_time")) {
        generation.startTime = f["start_time"].Integer<int32_t>();
    }
    if (f.Has("sample_time")) {
        generation.sampleTime = f["sample_time"].Integer<uint32_t>(1, 0xFFFFFF);
    }
    if (f.Has("interval")) {
        generation.interval = f["interval"].Integer<uint32_t>(1, 86400);
    }
    return generation;
}

void ReadRecords(const Field& root, Scenario& scenario) {
    if (root.Has("records") && root.Has("generate")) {
        root["generate"].Fail("cannot be combined with records");
    }
    if (root.Has("records")) {
        const Field list = root["records"];
        scenario.records.resize(list.ArraySize(kMaxRecords));
        for (size_t i = 0; i < scenario.records.size(); ++i) {
            scenario.records[i] = ReadRecord(list[i]);
        }
    } else if (root.Has("generate")) {
        scenario.records = GenerateRecords(ReadGeneration(root["generate"]), scenario);
    }
}

// The fast record has room for nine particle counts before its analog fields.
void CheckFastTransferFits(const Scenario& scenario) {
    if (!scenario.identity.fastTransfer) {
        return;
    }
    for (int k = kFastParticleChannels; k < kParticleChannelCount; ++k) {
        if (scenario.channels[kFirstParticleChannel + k].enabled) {
            throw ScenarioError("channels[" + std::to_string(kFirstParticleChannel + k) +
                                "].enabled: the fast transfer carries only particle channels " +
                                "4 to " +
                                std::to_string(kFirstParticleChannel + kFastParticleChannels - 1));
        }
    }
}

Scenario StartingPoint(const Field& root) {
    if (!root.Has("preset")) {
        return StandardScenario();
    }
    const std::string name = root["preset"].Text(64);
    auto preset = FindPreset(name);
    if (!preset) {
        root["preset"].Fail("no preset is called \"" + name + "\"");
    }
    return std::move(*preset);
}

} // namespace

Scenario ParseScenario(const std::string& jsonText) {
    json document;
    try {
        document = json::parse(jsonText);
    } catch (const json::parse_error& error) {
        throw ScenarioError("scenario: not valid JSON at byte " + std::to_string(error.byte));
    }
    const Field root(document, "");
    root.ExpectObject(
        {"preset", "identity", "channels", "calibration", "location_names", "records", "generate"});
    Scenario scenario = StartingPoint(root);
    if (root.Has("identity")) {
        ReadIdentity(root["identity"], scenario.identity);
    }
    if (root.Has("channels")) {
        ReadChannels(root["channels"], scenario.channels);
    }
    if (root.Has("calibration")) {
        ReadCalibration(root["calibration"], scenario.calibration);
    }
    if (root.Has("location_names")) {
        ReadNames(root["location_names"], scenario.locationNames);
    }
    ReadRecords(root, scenario);
    CheckFastTransferFits(scenario);
    return scenario;
}

Scenario LoadScenarioFile(const std::string& path, size_t maxBytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw ScenarioError(path + ": cannot be read");
    }
    // Read in pieces so that an endless stream (a pipe) is refused instead of filling memory.
    std::string text;
    std::array<char, 1 << 16> piece{};
    while (file.read(piece.data(), piece.size()) || file.gcount() > 0) {
        text.append(piece.data(), static_cast<size_t>(file.gcount()));
        if (text.size() > maxBytes) {
            throw ScenarioError(path + ": larger than " + std::to_string(maxBytes >> 20) +
                                " MB, more than any scenario takes");
        }
    }
    return ParseScenario(text);
}

} // namespace kestrix::sim
