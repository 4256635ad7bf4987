#pragma once

// Shown texts of numbers: fixed decimals, rounded half away from zero on the number's first
// fifteen significant digits (as spreadsheets show numbers), no digit grouping, no minus sign
// on a number that shows as zero. Infinite and NaN values show as "#NUM!".

#include <string>

namespace kestrix::table {

std::string FormatNumber(double value, int decimals, char decimalSeparator = '.');

// The width (TextWidth) of FormatNumber's text, without building it.
int FormattedNumberWidth(double value, int decimals);

} // namespace kestrix::table
