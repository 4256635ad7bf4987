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
    const CellFormat& Get(std::uint32_t id) const { return formats_[id]; }
    void Clear();
    std::size_t BytesHeld() const;

private:
    std::vector<CellFormat> formats_;
    std::unordered_map<CellFormat, std::uint32_t, CellFormatHash> ids_;
};

} // namespace kestrix::table
