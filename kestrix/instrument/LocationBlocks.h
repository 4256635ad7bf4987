#pragma once

// Location names are read in blocks of at most 25 names (4 registers each) from register 199;
// the record set keeps names 1 to 200, so no block past name 200 is read.

#include <cstdint>

namespace kestrix::instrument {

inline constexpr int kNamesPerBlock = 25;
inline constexpr int kRegistersPerName = 4;
inline constexpr int kMaxLocationNames = 200;
inline constexpr int kFirstNameRegister = 199;
inline constexpr int kLocationCountRegister = 198;

// The names the download reads: the instrument's count, at most 200.
std::int32_t NamesToRead(std::int32_t locationCount);
// Names in block b (from 0) when count names are read; 0 past the last block.
int NamesInBlock(std::int32_t count, std::int32_t block);
int BlockFirstRegister(std::int32_t block);

} // namespace kestrix::instrument
