// Bytes of the fast record transfer, as an instrument might send them, through the chunk buffer
// and the record decoder. The first bytes choose the chunk size, the map version and the enabled
// channels; the rest is the line.

#include "kestrix/data/clsDataRecord.h"
#include "kestrix/instrument/ChannelDescription.h"
#include "kestrix/instrument/FastChunk.h"
#include "kestrix/instrument/RecordDecoding.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) {
        return 0;
    }
    const int records = 1 + data[0] % kestrix::instrument::kFastChunkRecords;
    const int mapVersion = data[1] % 2 == 0 ? 137 : 145;
    const uint16_t enabledBits = static_cast<uint16_t>(data[2] << 8 | data[3]);
    kestrix::instrument::ChannelDescription channels;
    for (int k = 0; k < kestrix::instrument::kChannelsPerKind; ++k) {
        const bool enabled = (enabledBits >> k & 1) != 0;
        channels.tag[kestrix::instrument::kFirstParticleChannel + k] = "0.3";
        channels.enabled[kestrix::instrument::kFirstParticleChannel + k] = enabled;
        channels.tag[kestrix::instrument::kFirstAnalogChannel + k] = "TEMP";
        channels.enabled[kestrix::instrument::kFirstAnalogChannel + k] = enabled;
    }
    channels.rawLow.fill(data[2]);
    channels.rawHigh.fill(data[3]);
    channels.engineeringHigh.fill(50.0);

    static kestrix::instrument::FastChunk chunk;
    chunk.Start(0, records);
    chunk.Append(std::span<const uint8_t>(data + 4, size - 4));
    kestrix::data::clsDataRecord record;
    record.SetPartChanCount(kestrix::instrument::kChannelsPerKind);
    record.SetAnalogChanCount(kestrix::instrument::kChannelsPerKind);
    for (int h = 0; h < chunk.RecordsReceived(); ++h) {
        kestrix::instrument::DecodeFastRecord(chunk.Record(h), channels, mapVersion, record);
    }
    return 0;
}
