#pragma once

// The typed values of a record-set file that the header and the records share.

#include "kestrix/base/dateTime.h"
#include "kestrix/data/jsonField.h"

#include <cstdint>
#include <limits>

namespace kestrix::data {

inline constexpr std::int64_t kRecordSetInt32Min = std::numeric_limits<std::int32_t>::min();
inline constexpr std::int64_t kRecordSetInt32Max = std::numeric_limits<std::int32_t>::max();
inline constexpr std::int64_t kRecordSetStatusMax = 255;

std::int32_t Int32Field(const jsonField::Field& field, std::int64_t min = kRecordSetInt32Min);
std::uint8_t StatusField(const jsonField::Field& field);
base::DateTime TimeField(const jsonField::Field& field);
// A number that fits a float, or a non-finite text.
float SingleField(const jsonField::Field& field);

} // namespace kestrix::data
