#pragma once

// A full instrument memory as a record set: an IAQ instrument with 16 particle channels and 16
// analog channels (temperature, humidity, air velocity and pressure in turn), one record a
// minute, counts and readings that vary from record to record, every 97th record with a
// particle status and every 211th with a sample status.

#include "kestrix/data/clsDataRecordSet.h"
#include "support/FullMemory.h"

#include <cstdint>
#include <memory>

namespace kestrix::bench {

inline constexpr std::int16_t kSampleParticleChannels = 16;
inline constexpr std::int16_t kSampleAnalogChannels = 16;

std::unique_ptr<data::clsDataRecordSet> BuildSampleRecordSet();

} // namespace kestrix::bench
