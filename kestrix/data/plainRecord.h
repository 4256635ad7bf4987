#pragma once

// One entry of the "records" list read by the plain scanner: the members the writer puts in a
// record, each once in any order, with the values the general reader would accept.

#include "kestrix/base/dateTime.h"
#include "kestrix/data/clsDataRecord.h"
#include "kestrix/data/plainJson.h"
#include "kestrix/data/recordShapes.h"

#include <cstdint>
#include <vector>

namespace kestrix::data {

struct PlainRecord {
    struct Particle {
        std::int32_t count = 0;
        std::uint8_t status = 0;
        bool enabled = false;
    };
    struct Analog {
        double value = 0.0;
        std::uint8_t status = 0;
        bool enabled = false;
    };

    base::DateTime time = 0.0;
    std::int32_t location = 0;
    std::int32_t sampleTime = 0;
    std::uint8_t sampleTimeStatus = 0;
    std::vector<Particle> particles;
    std::vector<Analog> analogs;

    RecordShape Shape() const { return {particles.size(), analogs.size()}; }
    // The record as the general reader fills it; the record has the channel counts of the shape.
    void CopyTo(clsDataRecord& record) const;
};

// Reads the next record, reusing the storage of the last; throws NotPlainJson.
void ReadPlainRecord(PlainJson& json, PlainRecord& record);

} // namespace kestrix::data
