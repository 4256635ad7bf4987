#pragma once

// Interned cell formats: each distinct format is stored once and named by a 16-bit id, which
// keeps every cell's share small. A grid rarely has more than a few dozen formats; past
// kMaxFormats a new one is refused.

#include "kestrix/table/CellFormat.h"

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace kestrix::table {

using FormatId = std::uint16_t;

class FormatPool {
public:
    static constexpr std::size_t kMaxFormats = 65536;

    // Id 0 is the default format.
    FormatPool();

    // None when the format is new and the pool is full.
    std::optional<FormatId> Intern(const CellFormat& format);
    // The id of the format with other decimals; remembered, as every number cell asks.
    std::optional<FormatId> WithDecimals(FormatId id, std::uint8_t decimals);
    const CellFormat& Get(FormatId id) const { return formats_[id]; }
    void Clear();
    std::size_t BytesHeld() const;

private:
    std::vector<CellFormat> formats_;
    std::unordered_map<CellFormat, FormatId, CellFormatHash> ids_;
    std::vector<std::uint32_t> withDecimals_; // [id * decimal choices + decimals]
};

} // namespace kestrix::table
