#include "kestrix/data/isoDateTime.h"
#include "kestrix/data/jsonField.h"
#include "kestrix/data/recordSetFile.h"

#include <cfloat>
#include <cmath>
#include <istream>
#include <limits>
#include <new>
#include <vector>

namespace kestrix {

namespace {

using jsonField::Field;
using jsonField::FieldError;
using jsonField::Json;

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kStatusMax = 255;
constexpr std::size_t kMaxChannelsPerRecord = std::numeric_limits<std::int16_t>::max();
const std::string kParticleUnits = "#";

struct Header {
    std::string model;
    std::int32_t serial = 0;
    float flowRate = 1.0F;
    std::string flowRateUnits;
    float particleDensity = 0.0F;
    DateTime downloadedOn = 0.0;
    std::string sampleTimeUnits;
    std::vector<std::string> particleTypes;
    std::vector<bool> alarms;
    std::vector<std::int32_t> thresholds;
    std::vector<std::string> analogTypes;
    std::vector<std::string> analogUnits;
    bool hasLocationNames = false;
    std::vector<std::string> locationNames;
};

std::int32_t Int32(const Field& field, std::int64_t min = kInt32Min) {
    return static_cast<std::int32_t>(field.Integer(min, kInt32Max));
}

std::uint8_t Status(const Field& field) {
    return static_cast<std::uint8_t>(field.Integer(0, kStatusMax));
}

DateTime Time(const Field& field) {
    const auto value = ParseIsoDateTime(field.Text());
    if (!value) {
        field.Refuse("expected a local date-time such as \"2026-03-01T08:15:00\"");
    }
    return *value;
}

float Single(const Field& field) {
    const double value = field.NumberOrNonFinite();
    if (std::isfinite(value) && std::fabs(value) > FLT_MAX) {
        field.Refuse("expected a number within the single-precision range");
    }
    return static_cast<float>(value);
}

void ReadFormat(const Field& file) {
    const Field format = file.Member("format");
    if (!format.IsText() || format.Text() != kRecordSetFormatName) {
        format.Refuse(std::string("expected \"") + kRecordSetFormatName + "\"");
    }
    file.Member("version").Integer(kRecordSetFormatVersion, kRecordSetFormatVersion);
}

void ReadInstrument(const Field& instrument, Header& header) {
    header.model = instrument.Member("model").Text();
    header.serial = Int32(instrument.Member("serial"));
    const Field flowRate = instrument.Member("flow_rate");
    header.flowRate = Single(flowRate);
    if (!(header.flowRate > 0.0F)) {
        flowRate.Refuse("expected a number above 0");
    }
    header.flowRateUnits = instrument.Member("flow_rate_units").Text();
    header.particleDensity = Single(instrument.Member("particle_density"));
    header.downloadedOn = Time(instrument.Member("downloaded_on"));
}

void ReadParticleChannels(const Field& channels, Header& header) {
    for (std::size_t index = 0; index < channels.ListSize(); ++index) {
        const Field channel = channels.Item(index);
        header.particleTypes.push_back(channel.Member("type").Text());
        const Field units = channel.Member("units");
        if (units.Text() != kParticleUnits) {
            units.Refuse("expected \"" + kParticleUnits + "\"");
        }
        header.alarms.push_back(channel.Member("alarm").Flag());
        header.thresholds.push_back(Int32(channel.Member("threshold")));
    }
}

void ReadAnalogChannels(const Field& channels, Header& header) {
    for (std::size_t index = 0; index < channels.ListSize(); ++index) {
        const Field channel = channels.Item(index);
        header.analogTypes.push_back(channel.Member("type").Text());
        header.analogUnits.push_back(channel.Member("units").Text());
    }
}

void ReadLocationNames(const Field& names, Header& header) {
    if (names.IsNull()) {
        return;
    }
    for (std::size_t index = 0; index < names.ListSize(); ++index) {
        header.locationNames.push_back(names.Item(index).Text());
    }
    header.hasLocationNames = !header.locationNames.empty();
}

Header ReadHeader(const Field& file) {
    Header header;
    ReadInstrument(file.Member("instrument"), header);
    const Field sampleTimeUnits = file.Member("sample_time_units");
    header.sampleTimeUnits = sampleTimeUnits.Text();
    ReadParticleChannels(file.Member("particle_channels"), header);
    ReadAnalogChannels(file.Member("analog_channels"), header);
    if (header.particleTypes.size() > kMaxChannelsPerRecord ||
        header.analogTypes.size() > kMaxChannelsPerRecord) {
        file.Refuse("more than " + std::to_string(kMaxChannelsPerRecord) + " channels of one kind");
    }
    ReadLocationNames(file.Member("location_names"), header);
    return header;
}

void CheckChannelList(const Field& list, std::size_t expected, const char* kind) {
    if (list.ListSize() != expected) {
        list.Refuse("expected " + std::to_string(expected) + " entries, one per " + kind +
                    " channel");
    }
}

// Shapes are checked before anything is allocated for the records.
std::size_t CheckRecordShapes(const Field& records, const Header& header) {
    const std::size_t count = records.ListSize();
    if (count > static_cast<std::size_t>(kRecordSetFileMaxRecords)) {
        records.Refuse("more than " + std::to_string(kRecordSetFileMaxRecords) + " records");
    }
    for (std::size_t index = 0; index < count; ++index) {
        const Field record = records.Item(index);
        CheckChannelList(record.Member("particles"), header.particleTypes.size(), "particle");
        CheckChannelList(record.Member("analogs"), header.analogTypes.size(), "analog");
    }
    return count;
}

void ReadRecord(const Field& entry, clsDataRecord& record) {
    record.SetTimeStamp(Time(entry.Member("time")));
    record.SetLocationID(Int32(entry.Member("location")));
    const std::int32_t sampleTime = Int32(entry.Member("sample_time"), 0);
    record.SetSampleTimeData(sampleTime, Status(entry.Member("sample_time_status")));
    const Field particles = entry.Member("particles");
    for (std::size_t channel = 0; channel < particles.ListSize(); ++channel) {
        const Field item = particles.Item(channel);
        record.SetPartChanData(static_cast<std::int16_t>(channel), Int32(item.Member("count")),
                               Status(item.Member("status")), item.Member("enabled").Flag());
    }
    const Field analogs = entry.Member("analogs");
    for (std::size_t channel = 0; channel < analogs.ListSize(); ++channel) {
        const Field item = analogs.Item(channel);
        record.SetAnalogChanData(static_cast<std::int16_t>(channel),
                                 item.Member("value").NumberOrNonFinite(),
                                 Status(item.Member("status")), item.Member("enabled").Flag());
    }
}

std::unique_ptr<clsDataRecordSet> BuildRecordSet(const Field& file) {
    ReadFormat(file);
    Header header = ReadHeader(file);
    const Field records = file.Member("records");
    const std::size_t count = CheckRecordShapes(records, header);
    if (count > 0 && header.sampleTimeUnits.empty()) {
        file.Member("sample_time_units").Refuse("expected a unit text");
    }
    // Without records the set keeps no sample time units, so any stands in.
    const std::string initUnits = count > 0 ? header.sampleTimeUnits : "s";
    auto recordSet = std::make_unique<clsDataRecordSet>();
    if (!recordSet->Init(header.model, header.serial, header.flowRate, header.flowRateUnits,
                         header.particleDensity, static_cast<std::int32_t>(count), initUnits,
                         header.particleTypes, header.analogTypes, header.analogUnits,
                         header.alarms, header.thresholds)) {
        throw std::bad_alloc();
    }
    clsDataRecord record;
    record.SetPartChanCount(static_cast<std::int16_t>(header.particleTypes.size()));
    record.SetAnalogChanCount(static_cast<std::int16_t>(header.analogTypes.size()));
    for (std::size_t index = 0; index < count; ++index) {
        ReadRecord(records.Item(index), record);
        recordSet->RecordCopy(static_cast<std::int32_t>(index), &record);
    }
    recordSet->SetDownloadTime(header.downloadedOn);
    if (header.hasLocationNames) {
        recordSet->SetLocationNames(header.locationNames);
    }
    return recordSet;
}

// nlohmann's messages start with an internal tag in brackets.
std::string WithoutLibraryTag(const std::string& message) {
    const auto end = message.find("] ");
    return message.starts_with("[json.exception") && end != std::string::npos
               ? message.substr(end + 2)
               : message;
}

} // namespace

RecordSetReadResult ReadRecordSetJson(std::istream& in) {
    RecordSetReadResult result;
    try {
        const Json document = Json::parse(in);
        result.recordSet = BuildRecordSet(Field(document));
    } catch (const Json::exception& error) {
        result.error = "not a valid JSON text: " + WithoutLibraryTag(error.what());
    } catch (const FieldError& error) {
        result.error = error.what();
    } catch (const std::bad_alloc&) {
        result.error = "not enough memory to read the record set";
    }
    return result;
}

} // namespace kestrix
