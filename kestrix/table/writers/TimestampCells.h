#pragma once

// Time stamp texts of the data rows (see tableRowKinds.h) read back as date-time values, and the
// spreadsheet number format that shows them again with a four-digit year.

#include "kestrix/base/dateTime.h"

#include <QLocale>
#include <optional>
#include <string>
#include <string_view>

namespace kestrix::table {

// A date as the table writes it (TimestampText.h: four-digit or ISO), or the locale's short date,
// then a blank and "HH:mm:ss"; nullopt for any other text. A two-digit year is taken as 1970 to
// 2069, the years an instrument clock counts from 1970 can reach.
std::optional<base::DateTime> ParseTimestampText(std::string_view text, const QLocale& locale);

// The locale's short date order with a four-digit year, then "hh:mm:ss", in spreadsheet
// number-format codes (for example "m/d/yyyy hh:mm:ss").
std::string TimestampNumberFormat(const QLocale& locale);

} // namespace kestrix::table
