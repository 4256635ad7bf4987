#pragma once

// The report's results and plan: a table and a bar chart per considered size, and the
// sampling locations drawn where they lie in the room.

#include "kestrix/cleanroom/ReportDocument.h"
#include "kestrix/cleanroom/classification.h"

#include <optional>

namespace kestrix::cleanroom {

// A chart whose largest value is more than this many times its smallest is drawn on a log scale.
inline constexpr double kLinearChartRange = 100.0;

// Height over width of a chart or plan as drawn: a plan keeps the room's proportions within
// bounds that leave it readable on a page.
double FigureAspect(const ReportChart& chart);
double FigureAspect(const RoomPlanDrawing& plan);

ReportSection ResultsSection(const ClassificationReport& report);

// Nothing when no classified location has coordinates.
std::optional<ReportSection> LocationsSection(const ClassificationReport& report);

} // namespace kestrix::cleanroom
