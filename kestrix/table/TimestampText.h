#pragma once

// Date-time values as the table shows them: the user locale's short date with a four-digit
// year (or ISO 8601's "yyyy-MM-dd"), a space and the 24-hour time "hh:mm:ss". Consecutive
// records mostly share a day, so the date text of the last day is kept.

#include "kestrix/base/dateTime.h"

#include <QLocale>
#include <QString>
#include <cstdint>
#include <string>

namespace kestrix::table {

// The table's date pattern in Qt's date-format codes: "yyyy-MM-dd" for ISO dates, else the
// locale's short date with its year widened to four digits ("M/d/yyyy", "dd.MM.yyyy").
QString TableDatePattern(const QLocale& locale, bool isoDates);

class TimestampText {
public:
    explicit TimestampText(bool isoDates = false);

    std::string Format(base::DateTime value);

private:
    const std::string& DateText(const base::CivilDateTime& civil);

    std::string dateFormat_;
    std::int64_t cachedDay_ = -1;
    std::string cachedDate_;
};

} // namespace kestrix::table
