#pragma once

// A full instrument memory laid out in the grid the way the data table lays it out: two title
// rows, one data row per record, then the average, maximum, minimum and standard deviation rows.
// A data row holds the time stamp text (the user locale's short date and "HH:mm:ss", which the
// Excel writer turns back into a date), the location number and name, and numbers up to the
// last column; every 97th record is flagged magenta with a note on each of its numbers.

#include "kestrix/table/GridModel.h"
#include "support/FullMemory.h"

namespace kestrix::bench {

inline constexpr int kSampleGridColumns = 85;
inline constexpr int kSampleGridTitleRows = 2;
inline constexpr int kSampleGridFirstNumberColumn = 4;
inline constexpr int kSampleGridStatisticsRows = 4;

table::GridModel BuildSampleGrid();

} // namespace kestrix::bench
