#include "kestrix/instrument/FastChunk.h"

#include "kestrix/instrument/RecordDecoding.h"
#include "kestrix/instrument/registerPacking.h"

#include <algorithm>
#include <cstdio>

namespace kestrix::instrument {

std::string FastChunk::Command(std::int32_t first, std::int32_t count) {
    char text[40];
    std::snprintf(text, sizeof text, "<gr%04d,%04d>", static_cast<int>(first),
                  static_cast<int>(count));
    return text;
}

void FastChunk::Start(std::int32_t first, std::int32_t count) {
    first_ = first;
    expected_ = kFastRecordBytes * std::clamp(count, 0, kFastChunkRecords) + 1;
    received_ = 0;
    checksum_ = 0;
}

void FastChunk::Append(std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) {
        if (received_ >= expected_) {
            return;
        }
        buffer_[static_cast<size_t>(received_)] = byte;
        ++received_;
        if (received_ < expected_) {
            checksum_ = registers::AddBytes(checksum_, byte);
        }
    }
}

bool FastChunk::ChecksumMatches() const {
    return IsComplete() && buffer_[static_cast<size_t>(expected_ - 1)] == checksum_;
}

std::span<const std::uint8_t> FastChunk::Record(int index) const {
    return std::span<const std::uint8_t>(buffer_).subspan(
        static_cast<size_t>(index) * kFastRecordBytes, kFastRecordBytes);
}

} // namespace kestrix::instrument
