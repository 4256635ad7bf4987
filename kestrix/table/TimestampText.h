#pragma once

// Date-time values as the table shows them: the user locale's short date, a space and the
// 24-hour time "hh:mm:ss". Consecutive records mostly share a day, so the date text of the
// last day is kept.

#include "kestrix/base/dateTime.h"

#include <cstdint>
#include <string>

namespace kestrix::table {

class TimestampText {
public:
    TimestampText();

    std::string Format(DateTime value);

private:
    const std::string& DateText(const CivilDateTime& civil);

    std::string dateFormat_;
    std::int64_t cachedDay_ = -1;
    std::string cachedDate_;
};

} // namespace kestrix::table
