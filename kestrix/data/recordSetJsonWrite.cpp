#include "kestrix/data/isoDateTime.h"
#include "kestrix/data/jsonField.h"
#include "kestrix/data/recordSetFile.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <string>

namespace kestrix::data {

namespace {

using jsonField::Json;

// The shortest decimal that reads back as the same float, so 0.1F is
// written as 0.1 and not as the double nearest to it.
Json SingleValue(float value) {
    if (!std::isfinite(value)) {
        return jsonField::NumberToJson(value);
    }
    std::array<char, 64> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    *result.ptr = '\0';
    return std::strtod(text.data(), nullptr);
}

Json Instrument(const clsDataRecordSet& recordSet) {
    Json instrument = Json::object();
    instrument["model"] = recordSet.GetSensorName();
    instrument["serial"] = recordSet.GetSensorID();
    instrument["flow_rate"] = SingleValue(recordSet.GetSensorFlowRate());
    instrument["flow_rate_units"] = recordSet.GetSensorFlowRateUnits();
    instrument["particle_density"] = SingleValue(recordSet.GetParticleDensity());
    instrument["downloaded_on"] = FormatIsoDateTime(recordSet.GetDownloadTime());
    return instrument;
}

Json ParticleChannels(const clsDataRecordSet& recordSet) {
    Json channels = Json::array();
    for (std::int16_t channel = 0; channel < recordSet.GetPartChanCount(); ++channel) {
        Json& entry = channels.emplace_back(Json::object());
        entry["type"] = recordSet.GetPartChanType(channel);
        entry["units"] = recordSet.GetPartChanUnits(channel);
        entry["alarm"] = recordSet.GetPartChanAlarm(channel);
        entry["threshold"] = recordSet.GetPartChanHighThreshold(channel);
    }
    return channels;
}

Json AnalogChannels(const clsDataRecordSet& recordSet) {
    Json channels = Json::array();
    for (std::int16_t channel = 0; channel < recordSet.GetAnalogChanCount(); ++channel) {
        Json& entry = channels.emplace_back(Json::object());
        entry["type"] = recordSet.GetAnalogChanType(channel);
        entry["units"] = recordSet.GetAnalogChanUnits(channel);
    }
    return channels;
}

Json LocationNames(const clsDataRecordSet& recordSet) {
    if (!recordSet.HasLocationNames()) {
        return nullptr;
    }
    return recordSet.GetLocationNames();
}

std::string Dump(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void AppendInteger(std::string& text, std::int64_t value) {
    std::array<char, 24> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    text.append(digits.data(), static_cast<std::size_t>(result.ptr - digits.data()));
}

// As the JSON library writes a double, so the file reads back bit for bit.
void AppendAnalogValue(std::string& text, double value) {
    if (!std::isfinite(value)) {
        text += Dump(jsonField::NumberToJson(value));
        return;
    }
    std::array<char, 64> digits{};
    const char* end =
        nlohmann::detail::to_chars(digits.data(), digits.data() + digits.size(), value);
    text.append(digits.data(), static_cast<std::size_t>(end - digits.data()));
}

// {"<key>":<value>,"status":<status>,"enabled":<flag>}, after a comma unless it is the first.
template <typename AppendValue>
void AppendChannel(std::string& text, std::int16_t channel, const char* key,
                   AppendValue appendValue, std::uint8_t status, bool enabled) {
    text += channel == 0 ? "{\"" : ",{\"";
    text += key;
    text += "\":";
    appendValue(text);
    text += R"(,"status":)";
    AppendInteger(text, status);
    text += R"(,"enabled":)";
    text += enabled ? "true}" : "false}";
}

// One record as the object {"time", "location", "sample_time", "sample_time_status",
// "particles": [{"count", "status", "enabled"}], "analogs": [{"value", "status", "enabled"}]},
// written straight into text: a tree for each of many records costs most of the writing.
void AppendRecord(std::string& text, const clsDataRecord& record) {
    text += R"({"time":")";
    text += FormatIsoDateTime(record.GetTimeStamp());
    text += R"(","location":)";
    AppendInteger(text, record.GetLocationID());
    text += R"(,"sample_time":)";
    AppendInteger(text, record.GetSampleTimeValue());
    text += R"(,"sample_time_status":)";
    AppendInteger(text, record.GetSampleTimeStatus());
    text += R"(,"particles":[)";
    for (std::int16_t channel = 0; channel < record.GetPartChanCount(); ++channel) {
        const auto count = [&](std::string& to) {
            AppendInteger(to, record.GetPartChanValue(channel, true));
        };
        AppendChannel(text, channel, "count", count, record.GetPartChanStatus(channel),
                      record.GetPartChanEnable(channel));
    }
    text += R"(],"analogs":[)";
    for (std::int16_t channel = 0; channel < record.GetAnalogChanCount(); ++channel) {
        const auto value = [&](std::string& to) {
            AppendAnalogValue(to, record.GetAnalogChanValue(channel));
        };
        AppendChannel(text, channel, "value", value, record.GetAnalogChanStatus(channel),
                      record.GetAnalogChanEnable(channel));
    }
    text += "]}";
}

} // namespace

// Written member by member, one record a line, so that a large set is never
// held twice in memory.
void WriteRecordSetJson(clsDataRecordSet& recordSet, std::ostream& out) {
    const std::array<std::pair<const char*, Json>, 7> header = {{
        {"format", kRecordSetFormatName},
        {"version", kRecordSetFormatVersion},
        {"instrument", Instrument(recordSet)},
        {"sample_time_units", recordSet.GetSampleTimeUnits()},
        {"particle_channels", ParticleChannels(recordSet)},
        {"analog_channels", AnalogChannels(recordSet)},
        {"location_names", LocationNames(recordSet)},
    }};
    out << "{\n";
    for (const auto& [key, value] : header) {
        out << Dump(key) << ": " << Dump(value) << ",\n";
    }
    if (const std::string& head = recordSet.GetArchiveHead(); !head.empty()) {
        out << Dump(kArchiveHeadMemberName) << ": " << Dump(head) << ",\n";
    }
    out << Dump("records") << ": [";
    std::string line;
    for (std::int32_t index = 0; index < recordSet.RecordCount(); ++index) {
        line = index == 0 ? "\n" : ",\n";
        AppendRecord(line, *recordSet.Record(index));
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
    out << "\n]}\n";
}

} // namespace kestrix::data
