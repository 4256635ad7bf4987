#include "kestrix/data/recordSetHeader.h"

#include "kestrix/data/recordSetFields.h"
#include "kestrix/data/recordSetFile.h"
#include "kestrix/data/recordSetJsonScan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <new>

namespace kestrix::data {

namespace {

using jsonField::Field;

constexpr std::size_t kMaxChannelsPerRecord = std::numeric_limits<std::int16_t>::max();
const std::string kParticleUnits = "#";

// The archive's head is read by the archive's verification alone.
constexpr std::array<std::string_view, 9> kMembersRead = {kArchiveHeadMemberName,
                                                          "format",
                                                          "version",
                                                          "instrument",
                                                          "sample_time_units",
                                                          "particle_channels",
                                                          "analog_channels",
                                                          "location_names",
                                                          kRecordsMemberName};

void ReadFormat(const Field& file) {
    const Field format = file.Member("format");
    if (!format.IsText() || format.Text() != kRecordSetFormatName) {
        format.Refuse(std::string("expected \"") + kRecordSetFormatName + "\"");
    }
    file.Member("version").Integer(kRecordSetFormatVersion, kRecordSetFormatVersion);
}

void ReadInstrument(const Field& instrument, RecordSetHeader& header) {
    header.model = instrument.Member("model").Text();
    header.serial = Int32Field(instrument.Member("serial"));
    const Field flowRate = instrument.Member("flow_rate");
    header.flowRate = SingleField(flowRate);
    if (!(header.flowRate > 0.0F) || !std::isfinite(header.flowRate)) {
        flowRate.Refuse("expected a finite number above 0");
    }
    header.flowRateUnits = instrument.Member("flow_rate_units").Text();
    const Field density = instrument.Member("particle_density");
    header.particleDensity = SingleField(density);
    if (!std::isfinite(header.particleDensity)) {
        density.Refuse("expected a finite number");
    }
    header.downloadedOn = TimeField(instrument.Member("downloaded_on"));
}

void ReadParticleChannels(const Field& channels, RecordSetHeader& header) {
    for (std::size_t index = 0; index < channels.ListSize(); ++index) {
        const Field channel = channels.Item(index);
        header.particleTypes.push_back(channel.Member("type").Text());
        const Field units = channel.Member("units");
        if (units.Text() != kParticleUnits) {
            units.Refuse("expected \"" + kParticleUnits + "\"");
        }
        header.alarms.push_back(channel.Member("alarm").Flag());
        header.thresholds.push_back(Int32Field(channel.Member("threshold")));
    }
}

void ReadAnalogChannels(const Field& channels, RecordSetHeader& header) {
    for (std::size_t index = 0; index < channels.ListSize(); ++index) {
        const Field channel = channels.Item(index);
        header.analogTypes.push_back(channel.Member("type").Text());
        header.analogUnits.push_back(channel.Member("units").Text());
    }
}

void ReadLocationNames(const Field& names, RecordSetHeader& header) {
    if (names.IsNull()) {
        return;
    }
    for (std::size_t index = 0; index < names.ListSize(); ++index) {
        header.locationNames.push_back(names.Item(index).Text());
    }
    header.hasLocationNames = !header.locationNames.empty();
}

} // namespace

bool IsRecordSetMember(std::string_view key) {
    return std::find(kMembersRead.begin(), kMembersRead.end(), key) != kMembersRead.end();
}

RecordSetHeader ReadRecordSetHeader(const Field& file) {
    ReadFormat(file);
    RecordSetHeader header;
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

std::unique_ptr<clsDataRecordSet> PrepareRecordSet(const Field& file, const RecordSetHeader& header,
                                                   std::size_t count) {
    if (count > 0 && header.sampleTimeUnits.empty()) {
        file.Member("sample_time_units").Refuse("expected a unit text");
    }
    // Without records the set keeps no sample time units, so any stands in.
    const std::string initUnits = count > 0 ? header.sampleTimeUnits : "s";
    std::string flowRateUnits = header.flowRateUnits;
    auto recordSet = std::make_unique<clsDataRecordSet>();
    if (!recordSet->Init(header.model, header.serial, header.flowRate, flowRateUnits,
                         header.particleDensity, static_cast<std::int32_t>(count), initUnits,
                         header.particleTypes, header.analogTypes, header.analogUnits,
                         header.alarms, header.thresholds)) {
        throw std::bad_alloc();
    }
    recordSet->SetDownloadTime(header.downloadedOn);
    if (header.hasLocationNames) {
        recordSet->SetLocationNames(header.locationNames);
    }
    return recordSet;
}

} // namespace kestrix::data
