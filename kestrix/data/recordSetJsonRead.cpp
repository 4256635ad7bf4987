#include "kestrix/data/isoDateTime.h"
#include "kestrix/data/jsonField.h"
#include "kestrix/data/recordSetFile.h"
#include "kestrix/data/recordSetJsonScan.h"
#include "kestrix/data/recordShapes.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <ios>
#include <istream>
#include <limits>
#include <new>
#include <sstream>
#include <string_view>
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

[[noreturn]] void RefuseRecords(const std::string& expectation) {
    throw FieldError(std::string(kRecordsMemberName) + ": " + expectation);
}

// First pass: the header members, and the number and shapes of the records of
// the last "records" member, as a whole parse would keep it.
class Survey : public RecordSetJsonEvents {
public:
    bool WantsMember(const std::string& key) const override {
        return std::find(kMembersRead.begin(), kMembersRead.end(), key) != kMembersRead.end();
    }

    void Member(const std::string& key, Json&& value) override {
        members_[key] = std::move(value);
        if (key == kRecordsMemberName) {
            recordsList_ = 0;
        }
    }

    void RecordsStart() override {
        members_.erase(kRecordsMemberName);
        recordsList_ = ++lists_;
        shapes_ = RecordShapes(kRecordSetFileMaxRecords);
    }

    void Record(Json&& entry) override { shapes_.Add(entry); }

    const Json& Members() const { return members_; }
    // Which "records" list counts, from 1; 0 when the member is missing or no list.
    std::size_t RecordsList() const { return recordsList_; }
    const RecordShapes& Shapes() const { return shapes_; }

private:
    static constexpr std::array<std::string_view, 8> kMembersRead = {"format",
                                                                     "version",
                                                                     "instrument",
                                                                     "sample_time_units",
                                                                     "particle_channels",
                                                                     "analog_channels",
                                                                     "location_names",
                                                                     kRecordsMemberName};

    Json members_ = Json::object();
    std::size_t lists_ = 0;
    std::size_t recordsList_ = 0;
    RecordShapes shapes_{0};
};

// Refuses records that are missing, too many or not shaped as the channels.
std::size_t CheckRecords(const Field& file, const Survey& survey, const Header& header) {
    if (survey.RecordsList() == 0) {
        file.Member(kRecordsMemberName).ListSize();
    }
    const std::size_t count = survey.Shapes().Count();
    if (count > static_cast<std::size_t>(kRecordSetFileMaxRecords)) {
        RefuseRecords("more than " + std::to_string(kRecordSetFileMaxRecords) + " records");
    }
    survey.Shapes().Check({header.particleTypes.size(), header.analogTypes.size()});
    return count;
}

// The set made ready for its records, with everything but the records.
std::unique_ptr<clsDataRecordSet> PrepareRecordSet(const Field& file, const Survey& survey) {
    ReadFormat(file);
    Header header = ReadHeader(file);
    const std::size_t count = CheckRecords(file, survey, header);
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
    recordSet->SetDownloadTime(header.downloadedOn);
    if (header.hasLocationNames) {
        recordSet->SetLocationNames(header.locationNames);
    }
    return recordSet;
}

// Second pass: each record of the list that counts, read and stored in turn.
class RecordFiller : public RecordSetJsonEvents {
public:
    RecordFiller(clsDataRecordSet& recordSet, std::size_t recordsList)
        : recordSet_(recordSet),
          recordsList_(recordsList), shape_{
                                         static_cast<std::size_t>(recordSet.GetPartChanCount()),
                                         static_cast<std::size_t>(recordSet.GetAnalogChanCount())} {
        record_.SetPartChanCount(recordSet.GetPartChanCount());
        record_.SetAnalogChanCount(recordSet.GetAnalogChanCount());
    }

    bool WantsMember(const std::string& /*key*/) const override { return false; }
    void Member(const std::string& /*key*/, Json&& /*value*/) override {}
    void RecordsStart() override { ++lists_; }

    void Record(Json&& entry) override {
        if (lists_ != recordsList_) {
            return;
        }
        const std::size_t index = filled_++;
        const std::string path = RecordPath(index);
        const Field field(entry, path);
        if (index >= static_cast<std::size_t>(recordSet_.RecordCount()) ||
            ShapeOf(field) != shape_) {
            RefuseChange();
        }
        ReadRecord(field, record_);
        recordSet_.RecordCopy(static_cast<std::int32_t>(index), &record_);
    }

    void Finish() const {
        if (filled_ != static_cast<std::size_t>(recordSet_.RecordCount())) {
            RefuseChange();
        }
    }

private:
    [[noreturn]] static void RefuseChange() {
        RefuseRecords("the file changed while it was being read");
    }

    clsDataRecordSet& recordSet_;
    std::size_t recordsList_;
    RecordShape shape_;
    clsDataRecord record_;
    std::size_t lists_ = 0;
    std::size_t filled_ = 0;
};

// Two passes hold no more than the header and one record of the document at a
// time; the stream is wound back in between.
std::unique_ptr<clsDataRecordSet> ReadInTwoPasses(std::istream& in) {
    const std::istream::pos_type start = in.tellg();
    Survey survey;
    const Json notAnObject;
    const bool isObject = ScanRecordSetJson(in, survey);
    auto recordSet = PrepareRecordSet(Field(isObject ? survey.Members() : notAnObject), survey);
    in.clear();
    if (!in.seekg(start)) {
        RefuseRecords("the file cannot be read a second time");
    }
    RecordFiller filler(*recordSet, survey.RecordsList());
    ScanRecordSetJson(in, filler);
    filler.Finish();
    return recordSet;
}

[[noreturn]] void RefuseSize(std::uint64_t maxBytes) {
    throw FieldError("larger than " + std::to_string(maxBytes >> 20) +
                     " MB, more than any record set takes");
}

// What is left of a stream that can be wound back, measured without reading it; the stream
// is moved back by the distance it went. 0 when the end cannot be found.
std::uint64_t RemainingBytes(std::istream& in) {
    const std::istream::pos_type start = in.tellg();
    const std::istream::pos_type end = in.seekg(0, std::ios::end).tellg();
    in.clear();
    if (end == std::istream::pos_type(-1) || end <= start) {
        return 0;
    }
    in.seekg(start - end, std::ios::cur);
    return static_cast<std::uint64_t>(end - start);
}

// The rest of a stream that cannot be wound back, refused once it outgrows the limit.
std::string HoldAtMost(std::istream& in, std::uint64_t maxBytes) {
    std::string held;
    std::array<char, 1 << 16> chunk{};
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        held.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (held.size() > maxBytes) {
            RefuseSize(maxBytes);
        }
    }
    return held;
}

// nlohmann's messages start with an internal tag in brackets.
std::string WithoutLibraryTag(const std::string& message) {
    const auto end = message.find("] ");
    return message.starts_with("[json.exception") && end != std::string::npos
               ? message.substr(end + 2)
               : message;
}

} // namespace

RecordSetReadResult ReadRecordSetJson(std::istream& in, std::uint64_t maxBytes) {
    RecordSetReadResult result;
    try {
        if (in.tellg() == std::istream::pos_type(-1)) {
            // A pipe cannot be wound back: it is held in memory for the two passes.
            std::istringstream copy(HoldAtMost(in, maxBytes));
            return ReadRecordSetJson(copy, maxBytes);
        }
        if (RemainingBytes(in) > maxBytes) {
            RefuseSize(maxBytes);
        }
        result.recordSet = ReadInTwoPasses(in);
    } catch (const Json::exception& error) {
        result.error = "not a valid JSON text: " + WithoutLibraryTag(error.what());
    } catch (const FieldError& error) {
        result.error = error.what();
    } catch (const std::bad_alloc&) {
        result.error = "not enough memory to read the record set";
    } catch (const std::ios_base::failure&) {
        result.error = "the file could not be read to its end";
    }
    return result;
}

} // namespace kestrix
