#pragma once

// Shown texts of numbers: fixed decimals, rounded half away from zero on the number's first
// fifteen significant digits (as spreadsheets show numbers), no digit grouping, no minus sign
// on a number that shows as zero. Infinite and NaN values show as "#NUM!".

#include <string>

namespace kestrix::table {

std::string FormatNumber(double value, int decimals, char decimalSeparator = '.');

// The width (TextWidth) of FormatNumber's text, without building it.
int FormattedNumberWidth(double value, int decimals);

// The widest FormatNumber text of many numbers shown with the same decimals, without measuring
// each: a text grows with the magnitude of its number, so only the largest and the most
// negative number can give the widest.
class WidestNumberText {
public:
    void Add(double value);
    // 0 when no number was added.
    int Width(int decimals) const;

private:
    bool any_ = false;
    bool nonFinite_ = false;
    double least_ = 0.0;
    double greatest_ = 0.0;
};

} // namespace kestrix::table
