#pragma once

// Date-time values as ISO 8601 local date-times without a zone,
// "2026-03-01T08:15:00", with ".mmm" only when the milliseconds are not zero.

#include "kestrix/base/dateTime.h"

#include <optional>
#include <string>
#include <string_view>

namespace kestrix::data {

// Rounded to the millisecond; years outside 100..9999 are clamped.
std::string FormatIsoDateTime(base::DateTime value);

// Accepts exactly the form FormatIsoDateTime writes (".mmm" optional) with
// a real calendar date; anything else gives no value. Whole seconds from
// 1970 on come back bit for bit as the instrument time stamps were made.
std::optional<base::DateTime> ParseIsoDateTime(std::string_view text);

} // namespace kestrix::data
