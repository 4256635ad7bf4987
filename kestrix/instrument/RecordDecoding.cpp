#include "kestrix/instrument/RecordDecoding.h"

#include "kestrix/base/dateTime.h"
#include "kestrix/data/clsDataRecord.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/data/recordStatus.h"
#include "kestrix/instrument/RegisterReply.h"

namespace kestrix::instrument {

namespace {

constexpr std::uint8_t kDroppedThresholdBit = 0xEF;
constexpr std::uint16_t kAllEnabled = 0xFFFF;
constexpr int kRegStatus = 7;
constexpr int kRegAnalogEnables = 72;
constexpr int kRegParticleEnables = 73;
constexpr int kFastAnalogChannels = 4;

struct RecordHead {
    base::DateTime timeStamp = 0;
    std::int32_t location = 0;
    std::int32_t sampleTime = 0;
    std::uint8_t status = 0;
};

void StoreHead(const RecordHead& head, data::clsDataRecord& record) {
    record.SetTimeStamp(head.timeStamp);
    record.SetLocationID(head.location);
    record.SetSampleTimeData(head.sampleTime, recordStatus::MaskStatusBits("STIM", head.status));
}

// Calls store(channel offset k, enable) for every particle channel that is stored, with the
// running index of the stored channels.
template <typename Store>
void ForEachStoredParticle(const ChannelDescription& channels, std::uint16_t bits, Store store) {
    std::int16_t stored = 0;
    for (int k = 0; k < kChannelsPerKind; ++k, bits = static_cast<std::uint16_t>(bits >> 1)) {
        const int c = kFirstParticleChannel + k;
        if (channels.IsParticleStored(c)) {
            store(k, stored++, (bits & 1) != 0);
        }
    }
}

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, size_t offset, size_t size) {
    std::uint32_t value = 0;
    for (size_t i = 0; i < size; ++i) {
        value = (value << 8) | bytes[offset + i];
    }
    return value;
}

} // namespace

int ModbusRecordRegisters(int mapVersion) {
    return mapVersion >= kMapHoldingBlocks ? 74 : 72;
}

bool InitRecordSet(data::clsDataRecordSet& set, data::clsDataRecord& record,
                   const ChannelDescription& channels, const InstrumentIdentity& identity,
                   std::int32_t recordCount, const std::vector<std::string>& locationNames,
                   std::int32_t locationCount) {
    std::vector<std::string> particleTypes;
    std::vector<bool> alarms;
    std::vector<std::int32_t> thresholds;
    for (int c = kFirstParticleChannel; c < kFirstParticleChannel + kChannelsPerKind; ++c) {
        if (channels.IsParticleStored(c)) {
            particleTypes.push_back(channels.tag[c]);
            alarms.push_back(channels.alarm[c]);
            thresholds.push_back(channels.threshold[c]);
        }
    }
    std::vector<std::string> analogTypes;
    std::vector<std::string> analogUnits;
    for (int c = kFirstAnalogChannel; c < kFirstAnalogChannel + kChannelsPerKind; ++c) {
        if (channels.IsAnalogStored(c)) {
            analogTypes.push_back(channels.tag[c]);
            analogUnits.push_back(channels.unit[c]);
        }
    }
    record.SetPartChanCount(static_cast<std::int16_t>(particleTypes.size()));
    record.SetAnalogChanCount(static_cast<std::int16_t>(analogTypes.size()));
    std::string flowUnits = identity.flowRateUnits;
    const bool ok =
        set.Init(identity.modelName, identity.serialNumber, identity.flowRate, flowUnits,
                 identity.particleDensity, recordCount, channels.unit[kSampleTimeChannel],
                 particleTypes, analogTypes, analogUnits, alarms, thresholds);
    if (ok) {
        if (identity.mapVersion < kMapHoldingBlocks || locationCount < 1) {
            set.ClearLocationNames();
        } else {
            set.SetLocationNames(locationNames);
        }
    }
    return ok;
}

void DecodeModbusRecord(const RegisterReply& reply, const ChannelDescription& channels,
                        int mapVersion, data::clsDataRecord& record) {
    const bool withEnables = mapVersion >= kMapHoldingBlocks;
    RecordHead head;
    head.status = static_cast<std::uint8_t>(reply.Unsigned(kRegStatus) & kDroppedThresholdBit);
    head.timeStamp = base::SecondsToDate(reply.Long(0));
    head.location = reply.Long(4);
    head.sampleTime = reply.Long(2);
    StoreHead(head, record);
    const std::uint16_t particleBits =
        withEnables ? reply.Unsigned(kRegParticleEnables) : kAllEnabled;
    ForEachStoredParticle(channels, particleBits, [&](int k, std::int16_t stored, bool enable) {
        const int c = kFirstParticleChannel + k;
        record.SetPartChanData(stored, reply.Long(2 * c), head.status, enable);
    });
    std::uint16_t analogBits = withEnables ? reply.Unsigned(kRegAnalogEnables) : kAllEnabled;
    std::int16_t stored = 0;
    for (int k = 0; k < kChannelsPerKind; ++k, analogBits = analogBits >> 1) {
        const int c = kFirstAnalogChannel + k;
        if (channels.IsAnalogStored(c)) {
            record.SetAnalogChanData(stored++, reply.Float(c),
                                     recordStatus::MaskStatusBits(channels.tag[c], head.status),
                                     (analogBits & 1) != 0);
        }
    }
}

void DecodeFastRecord(std::span<const std::uint8_t> bytes, const ChannelDescription& channels,
                      int mapVersion, data::clsDataRecord& record) {
    const bool withEnables = mapVersion >= kMapHoldingBlocks;
    RecordHead head;
    head.status = static_cast<std::uint8_t>(bytes[9] & kDroppedThresholdBit);
    head.location = static_cast<std::int16_t>(BigEndian(bytes, 0, 2)) + 1;
    head.timeStamp = base::SecondsToDate(static_cast<std::int32_t>(BigEndian(bytes, 2, 4)));
    head.sampleTime = static_cast<std::int32_t>(BigEndian(bytes, 6, 3));
    StoreHead(head, record);
    const std::uint16_t particleBits = withEnables ? bytes[10] : kAllEnabled;
    ForEachStoredParticle(channels, particleBits, [&](int k, std::int16_t stored, bool enable) {
        // Only nine fields fit before the analog values; further channels cannot be carried.
        const size_t offset = 12 + 3 * static_cast<size_t>(k);
        const auto count =
            offset + 3 <= 40 ? static_cast<std::int32_t>(BigEndian(bytes, offset, 3)) : 0;
        record.SetPartChanData(stored, count, head.status, enable);
    });
    std::uint16_t analogBits = withEnables ? bytes[11] : kAllEnabled;
    std::int16_t stored = 0;
    for (int k = 0; k < kChannelsPerKind; ++k, analogBits = analogBits >> 1) {
        const int c = kFirstAnalogChannel + k;
        if (!channels.IsAnalogStored(c)) {
            continue;
        }
        const std::int16_t slot = stored++;
        const double rawLow = k < kFastAnalogChannels ? channels.rawLow[k] : 0;
        const double rawHigh = k < kFastAnalogChannels ? channels.rawHigh[k] : 0;
        if (k >= kFastAnalogChannels || rawHigh <= 0 || rawHigh <= rawLow) {
            continue;
        }
        const double raw = static_cast<std::int16_t>(BigEndian(bytes, 40 + 2 * k, 2));
        const double slope =
            (channels.engineeringHigh[k] - channels.engineeringLow[k]) / (rawHigh - rawLow);
        const double value = slope * raw + (channels.engineeringLow[k] - slope * rawLow);
        record.SetAnalogChanData(slot, value,
                                 recordStatus::MaskStatusBits(channels.tag[c], head.status),
                                 (analogBits & 1) != 0);
    }
}

} // namespace kestrix::instrument
