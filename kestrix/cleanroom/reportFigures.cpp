#include "kestrix/cleanroom/reportFigures.h"

#include "kestrix/cleanroom/reportTexts.h"

#include <algorithm>

namespace kestrix::cleanroom {

namespace {

constexpr double kChartAspect = 0.4;
constexpr double kFlattestPlan = 0.25;
constexpr double kTallestPlan = 1.0;

// Room for the numbers beside the outermost locations when the room's size is not given.
constexpr double kPlanMarginMetres = 0.5;

std::string CoordinatesText(const ClassificationReport& report, std::int32_t locationId) {
    const auto& points = report.roomPlan.locations;
    const auto it = points.find(locationId);
    return it == points.end() ? "-"
                              : OneDecimalText(it->second.x) + ", " + OneDecimalText(it->second.y);
}

ReportTable SizeTable(const ClassificationReport& report, std::size_t size) {
    ReportTable table{
        "At " + SizeText(report.sizes[size].micrometres) + " and above",
        {"Location", "Coordinates (m)", "Samples", "Mean (/m³)", "Limit (/m³)", "Result"},
        {},
        {}};
    for (const LocationResult& location : report.locations) {
        const bool within = location.withinLimit[size];
        table.rows.push_back({LocationLabel(location.locationId, location.name),
                              CoordinatesText(report, location.locationId),
                              std::to_string(location.samples.size()),
                              WholeNumberText(location.means[size]),
                              WholeNumberText(report.limits[size]), within ? "Pass" : "Fail"});
        table.rowPassed.emplace_back(within);
    }
    return table;
}

// Log scale when the bars and the limit span more than the linear range; zero means leave no
// mark on a log axis, so only values above zero count.
bool NeedsLogScale(const ReportChart& chart) {
    double smallest = chart.limit;
    double largest = chart.limit;
    for (const ChartBar& bar : chart.bars) {
        if (bar.value > 0) {
            smallest = std::min(smallest, bar.value);
            largest = std::max(largest, bar.value);
        }
    }
    return smallest > 0 && largest / smallest > kLinearChartRange;
}

ReportChart SizeChart(const ClassificationReport& report, std::size_t size) {
    const std::string sizeText = SizeText(report.sizes[size].micrometres);
    ReportChart chart{"Mean concentration at " + sizeText + " and above against the limit",
                      "Limit " + WholeNumberText(report.limits[size]) + " /m³",
                      report.limits[size],
                      {},
                      false};
    for (const LocationResult& location : report.locations) {
        chart.bars.push_back({std::to_string(location.locationId), location.means[size],
                              static_cast<bool>(location.withinLimit[size])});
    }
    chart.logScale = NeedsLogScale(chart);
    if (chart.logScale) {
        chart.caption += " (log scale)";
    }
    return chart;
}

} // namespace

double FigureAspect(const ReportChart&) {
    return kChartAspect;
}

double FigureAspect(const RoomPlanDrawing& plan) {
    return std::clamp(plan.length / plan.width, kFlattestPlan, kTallestPlan);
}

ReportSection ResultsSection(const ClassificationReport& report) {
    ReportSection section{"Results", {}};
    for (std::size_t size = 0; size < report.sizes.size(); ++size) {
        section.blocks.emplace_back(SizeTable(report, size));
        section.blocks.emplace_back(SizeChart(report, size));
    }
    return section;
}

std::optional<ReportSection> LocationsSection(const ClassificationReport& report) {
    const RoomDescription& room = report.roomPlan;
    RoomPlanDrawing plan{room.width, room.length, {}};
    std::vector<std::string> unplaced;
    double farthestX = 0;
    double farthestY = 0;
    for (const LocationResult& location : report.locations) {
        const auto it = room.locations.find(location.locationId);
        if (it == room.locations.end()) {
            unplaced.push_back(std::to_string(location.locationId));
            continue;
        }
        plan.items.push_back({location.locationId, it->second, location.passed});
        farthestX = std::max(farthestX, it->second.x);
        farthestY = std::max(farthestY, it->second.y);
    }
    if (plan.items.empty()) {
        return std::nullopt;
    }
    if (!(plan.width > 0 && plan.length > 0)) {
        plan.width = farthestX + kPlanMarginMetres;
        plan.length = farthestY + kPlanMarginMetres;
    }
    ReportSection section{"Sampling locations", {}};
    section.blocks.emplace_back(ReportLine{
        "Plan of " + (report.room.empty() ? std::string("the room") : report.room) + ", " +
        OneDecimalText(plan.width) + " m wide and " + OneDecimalText(plan.length) +
        " m long; each location numbered and coloured by its result."});
    section.blocks.emplace_back(std::move(plan));
    if (!unplaced.empty()) {
        std::string list;
        for (const std::string& number : unplaced) {
            list += (list.empty() ? "" : ", ") + number;
        }
        section.blocks.emplace_back(ReportLine{
            "Warning: no coordinates for location(s) " + list + ".", LineStyle::Warning});
    }
    return section;
}

} // namespace kestrix::cleanroom
