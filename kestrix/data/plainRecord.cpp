#include "kestrix/data/plainRecord.h"

#include "kestrix/data/isoDateTime.h"
#include "kestrix/data/recordSetFields.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <string_view>

namespace kestrix::data {

namespace {

enum RecordMember : std::size_t { kTime, kLocation, kSampleTime, kSampleTimeStatus, kParticles };
constexpr std::array<std::string_view, 6> kRecordMembers = {
    "time", "location", "sample_time", "sample_time_status", "particles", "analogs"};
// The members of a channel entry: its value first.
enum ChannelMember : std::size_t { kValue, kStatus };
constexpr std::array<std::string_view, 3> kParticleMembers = {"count", "status", "enabled"};
constexpr std::array<std::string_view, 3> kAnalogMembers = {"value", "status", "enabled"};

// The member's index in names; the writer's order is tried first.
template <std::size_t N>
std::size_t ReadKey(PlainJson& json, const std::array<std::string_view, N>& names,
                    std::size_t expected) {
    if (expected < N && json.TakeText(names[expected])) {
        return expected;
    }
    return static_cast<std::size_t>(std::find(names.begin(), names.end(), json.Text()) -
                                    names.begin());
}

// An object with exactly the given members, each once, in any order; read(i) reads the value of
// names[i].
template <std::size_t N, typename ReadMember>
void ReadObject(PlainJson& json, const std::array<std::string_view, N>& names, ReadMember read) {
    std::bitset<N> seen;
    std::size_t expected = 0;
    json.Expect('{');
    do {
        const std::size_t member = ReadKey(json, names, expected);
        if (member == N || seen.test(member)) {
            throw NotPlainJson();
        }
        seen.set(member);
        json.Expect(':');
        read(member);
        expected = member + 1;
    } while (json.Take(','));
    json.Expect('}');
    if (!seen.all()) {
        throw NotPlainJson();
    }
}

template <typename ReadItem>
void ReadList(PlainJson& json, ReadItem read) {
    json.Expect('[');
    if (json.Take(']')) {
        return;
    }
    do {
        read();
    } while (json.Take(','));
    json.Expect(']');
}

std::int32_t Int32(PlainJson& json, std::int64_t min = kRecordSetInt32Min) {
    return static_cast<std::int32_t>(json.Integer(min, kRecordSetInt32Max));
}

std::uint8_t Status(PlainJson& json) {
    return static_cast<std::uint8_t>(json.Integer(0, kRecordSetStatusMax));
}

base::DateTime Time(PlainJson& json) {
    const auto value = ParseIsoDateTime(json.Text());
    if (!value) {
        throw NotPlainJson();
    }
    return *value;
}

// A channel entry: its value, read into it by readValue, its status and its enable flag.
template <typename Entry, typename ReadValue>
Entry ReadChannel(PlainJson& json, const std::array<std::string_view, 3>& names,
                  ReadValue readValue) {
    Entry entry;
    ReadObject(json, names, [&](std::size_t member) {
        if (member == kValue) {
            readValue(entry);
        } else if (member == kStatus) {
            entry.status = Status(json);
        } else {
            entry.enabled = json.Flag();
        }
    });
    return entry;
}

} // namespace

void PlainRecord::CopyTo(clsDataRecord& record) const {
    record.SetTimeStamp(time);
    record.SetLocationID(location);
    record.SetSampleTimeData(sampleTime, sampleTimeStatus);
    for (std::size_t channel = 0; channel < particles.size(); ++channel) {
        const Particle& particle = particles[channel];
        record.SetPartChanData(static_cast<std::int16_t>(channel), particle.count, particle.status,
                               particle.enabled);
    }
    for (std::size_t channel = 0; channel < analogs.size(); ++channel) {
        const Analog& analog = analogs[channel];
        record.SetAnalogChanData(static_cast<std::int16_t>(channel), analog.value, analog.status,
                                 analog.enabled);
    }
}

void ReadPlainRecord(PlainJson& json, PlainRecord& record) {
    record.particles.clear();
    record.analogs.clear();
    ReadObject(json, kRecordMembers, [&](std::size_t member) {
        switch (member) {
        case kTime:
            record.time = Time(json);
            break;
        case kLocation:
            record.location = Int32(json);
            break;
        case kSampleTime:
            record.sampleTime = Int32(json, 0);
            break;
        case kSampleTimeStatus:
            record.sampleTimeStatus = Status(json);
            break;
        case kParticles:
            ReadList(json, [&] {
                record.particles.push_back(ReadChannel<PlainRecord::Particle>(
                    json, kParticleMembers,
                    [&](PlainRecord::Particle& particle) { particle.count = Int32(json); }));
            });
            break;
        default:
            ReadList(json, [&] {
                record.analogs.push_back(ReadChannel<PlainRecord::Analog>(
                    json, kAnalogMembers,
                    [&](PlainRecord::Analog& analog) { analog.value = json.NumberOrNonFinite(); }));
            });
            break;
        }
    });
}

} // namespace kestrix::data
