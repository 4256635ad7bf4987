#pragma once

// One chunk of the fast record transfer: up to 200 records of 48 bytes and a checksum byte (the
// sum of the record bytes modulo 256). The buffer is allocated once and never grows; bytes beyond
// the expected count are ignored.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace kestrix::instrument {

inline constexpr int kFastChunkRecords = 200;

class FastChunk {
public:
    static constexpr int kCapacity = kFastChunkRecords * 48 + 1;

    // The command for records first .. first+count-1: "<grFFFF,CCCC>".
    static std::string Command(std::int32_t first, std::int32_t count);

    // Starts a chunk of count records (1..200).
    void Start(std::int32_t first, std::int32_t count);
    void Append(std::span<const std::uint8_t> bytes);

    std::int32_t First() const { return first_; }
    int Received() const { return received_; }
    int Expected() const { return expected_; }
    // Complete records received so far.
    std::int32_t RecordsReceived() const { return received_ / 48; }
    bool IsComplete() const { return received_ == expected_; }
    bool ChecksumMatches() const;
    std::span<const std::uint8_t> Record(int index) const;

private:
    std::array<std::uint8_t, kCapacity> buffer_{};
    std::int32_t first_ = 0;
    int received_ = 0;
    int expected_ = 0;
    std::uint8_t checksum_ = 0;
};

} // namespace kestrix::instrument
