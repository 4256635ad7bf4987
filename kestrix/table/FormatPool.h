#pragma once

// Interned cell formats: each distinct format is stored once and named by a 32-bit id.

#include "kestrix/table/CellFormat.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace kestrix::table {

class FormatPool {
public:
    // Id 0 is the default format.
    FormatPool();

    std::uint32_t Intern(const CellFormat& format);
    // The id of the format with other decimals; remembered, as every number cell asks.
    std::uint32_t WithDecimals(std::uint32_t id, std::uint8_t decimals);
    const CellFormat& Get(std::uint32_t id) const { return formats_[id]; }
    void Clear();
    std::size_t BytesHeld() const;

private:
    std::vector<CellFormat> formats_;
    std::unordered_map<CellFormat, std::uint32_t, CellFormatHash> ids_;
    std::vector<std::uint32_t> withDecimals_; // [id * decimal choices + decimals]
};

} // namespace kestrix::table
