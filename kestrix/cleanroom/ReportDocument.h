#pragma once

// The classification report as a document: sections of lines, tables, bar charts, a plan of
// the room and a signature block, laid out by reportSections.h and written as PDF and HTML
// by the report's files. Nothing here knows about pages or painting.

#include "kestrix/cleanroom/RoomDescription.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kestrix::cleanroom {

enum class LineStyle { Plain, Warning, Pass, Fail };

struct ReportLine {
    std::string text;
    LineStyle style = LineStyle::Plain;
};

struct ReportTable {
    std::string caption;
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::optional<bool>> rowPassed; // per row: colours its result
};

struct ChartBar {
    std::string label;
    double value = 0;
    bool passed = false;
};

// Each location's mean against the limit at one size.
struct ReportChart {
    std::string caption;
    std::string limitLabel;
    double limit = 0;
    std::vector<ChartBar> bars;
    bool logScale = false;
};

struct PlanItem {
    std::int32_t location = 0;
    PlanPoint point;
    bool passed = false;
};

// The room seen from above, x along the width, y along the length, in metres.
struct RoomPlanDrawing {
    double width = 0;
    double length = 0;
    std::vector<PlanItem> items;
};

// Empty rows to be signed on paper.
struct SignatureBlock {
    std::vector<std::string> headings;
    int rows = 0;
};

using ReportBlock =
    std::variant<ReportLine, ReportTable, ReportChart, RoomPlanDrawing, SignatureBlock>;

struct ReportSection {
    std::string title;
    std::vector<ReportBlock> blocks;
};

struct ReportDocument {
    std::string title;
    std::string room;
    std::string reportId;
    std::string archiveHead; // for every page's footer; empty without an archive
    std::vector<ReportSection> sections;
};

} // namespace kestrix::cleanroom
