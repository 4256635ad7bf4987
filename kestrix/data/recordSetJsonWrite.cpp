#include "kestrix/data/isoDateTime.h"
#include "kestrix/data/jsonField.h"
#include "kestrix/data/recordSetFile.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ostream>

namespace kestrix {

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

Json Record(const clsDataRecord& record) {
    Json entry = Json::object();
    entry["time"] = FormatIsoDateTime(record.GetTimeStamp());
    entry["location"] = record.GetLocationID();
    entry["sample_time"] = record.GetSampleTimeValue();
    entry["sample_time_status"] = record.GetSampleTimeStatus();
    Json& particles = entry["particles"] = Json::array();
    for (std::int16_t channel = 0; channel < record.GetPartChanCount(); ++channel) {
        particles.push_back({{"count", record.GetPartChanValue(channel, true)},
                             {"status", record.GetPartChanStatus(channel)},
                             {"enabled", record.GetPartChanEnable(channel)}});
    }
    Json& analogs = entry["analogs"] = Json::array();
    for (std::int16_t channel = 0; channel < record.GetAnalogChanCount(); ++channel) {
        analogs.push_back({{"value", jsonField::NumberToJson(record.GetAnalogChanValue(channel))},
                           {"status", record.GetAnalogChanStatus(channel)},
                           {"enabled", record.GetAnalogChanEnable(channel)}});
    }
    return entry;
}

std::string Dump(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace

// Written member by member, one record a line, so that a large set is never
// held twice in memory.
void WriteRecordSetJson(clsDataRecordSet& recordSet, std::ostream& out,
                        const std::string& archiveHead) {
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
    if (!archiveHead.empty()) {
        out << Dump(kArchiveHeadMemberName) << ": " << Dump(archiveHead) << ",\n";
    }
    out << Dump("records") << ": [";
    for (std::int32_t index = 0; index < recordSet.RecordCount(); ++index) {
        out << (index == 0 ? "\n" : ",\n") << Dump(Record(*recordSet.Record(index)));
    }
    out << "\n]}\n";
}

} // namespace kestrix
