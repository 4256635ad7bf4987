#pragma once

// A classification report laid out in a grid, which the table's printing and HTML writer turn
// into the report's PDF and HTML files: the room and instrument, the locations table, the
// verdict, the checks, the records left out, the data checks, every sample's concentrations
// and the signature lines.

#include "kestrix/cleanroom/classification.h"
#include "kestrix/table/GridModel.h"

namespace kestrix::cleanroom {

void LayOutReport(const ClassificationReport& report, table::GridModel& grid);

} // namespace kestrix::cleanroom
