#include "kestrix/instrument/LocationBlocks.h"

#include <algorithm>

namespace kestrix::instrument {

std::int32_t NamesToRead(std::int32_t locationCount) {
    return std::clamp(locationCount, 0, kMaxLocationNames);
}

int NamesInBlock(std::int32_t count, std::int32_t block) {
    const std::int32_t first = std::max(block, 0) * kNamesPerBlock;
    return static_cast<int>(std::clamp(count - first, 0, kNamesPerBlock));
}

int BlockFirstRegister(std::int32_t block) {
    return kFirstNameRegister + std::max(block, 0) * kNamesPerBlock * kRegistersPerName;
}

} // namespace kestrix::instrument
