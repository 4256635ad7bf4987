#pragma once

// A full instrument memory as a record set: an IAQ instrument with 16 particle channels and 16
// analog channels (temperature, humidity, air velocity and pressure in turn), one record a
// minute, counts and readings that vary from record to record, every 97th record with a
// particle status and every 211th with a sample status. Other counts and spacings give longer
// stretches of the same instrument, as the archive gathers them.

#include "kestrix/data/clsDataRecordSet.h"
#include "support/FullMemory.h"

#include <cstdint>
#include <memory>

namespace kestrix::bench {

inline constexpr std::int16_t kSampleParticleChannels = 16;
inline constexpr std::int16_t kSampleAnalogChannels = 16;
// A year of one instrument at a sample every 2 minutes.
inline constexpr std::int32_t kYearOfRecords = 262800;

// Records first .. first + count - 1 of a run taken minutesApart apart.
std::unique_ptr<data::clsDataRecordSet>
BuildSampleRecordSet(std::int32_t count = kFullMemoryRecords, std::int32_t first = 0,
                     double minutesApart = 1.0);

} // namespace kestrix::bench
