#pragma once

// A small table laid out the way the table module lays one out: a header line spanning every
// column, two title rows, data rows with time stamps, a note and statistics rows whose
// formulas refer to the data rows.

#include "kestrix/table/GridModel.h"

#include <QLocale>
#include <string>
#include <vector>

namespace kestrix::table::testing {

struct SampleTable {
    GridModel grid;
    int firstDataRow = 0;
    int lastDataRow = 0;
    int averageRow = 0;
    int stdevRow = 0;
    std::vector<double> counts; // column 2 of the data rows
};

inline constexpr Rgb kNoteColor = Rgb::FromHex(0xFF00FF);
inline constexpr const char* kHeaderText = "Instrument Model: <IAQ & \"Co\">";
inline constexpr const char* kNoteText = "- Instrument malfunctioned.\r\n- Bad laser voltage.";

// The time stamp text of a data row in the locale, as the table writes it.
std::string TimestampTextFor(const QLocale& locale, int year, int month, int day, int hour,
                             int minute, int second);

// Three columns: time stamp, counts (0 decimals), temperature (1 decimal).
SampleTable MakeSampleTable(const QLocale& locale, const std::vector<double>& counts);

} // namespace kestrix::table::testing
