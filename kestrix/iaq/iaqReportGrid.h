#pragma once

// An IAQ report laid out in a grid, which the table's writers and printing turn into the
// report's CSV, HTML and PDF files: the instrument and locations, one row a day with the index
// in its category's colour, the summary and how the figures were found.

#include "kestrix/iaq/iaqReport.h"
#include "kestrix/table/GridModel.h"

namespace kestrix::iaq {

void LayOutIaqReport(const IaqReport& report, table::GridModel& grid);

} // namespace kestrix::iaq
