#include "kestrix/iaq/iaqReportGrid.h"

#include "kestrix/cleanroom/reportTexts.h"
#include "kestrix/iaq/iaqTexts.h"
#include "kestrix/table/tableCellStyle.h"

#include <algorithm>
#include <cstdio>

namespace kestrix::iaq {

namespace {

using table::Alignment;
using table::GridModel;

constexpr int kCompleteColumn = 4;
constexpr int kPm2_5Column = 5;
constexpr int kPm10Column = 6;
constexpr int kIndexColumn = 7;
constexpr int kCategoryColumn = 8;
constexpr int kPmDecimals = 2;
constexpr const char* kMethodLines[] = {
    "AQI: US EPA breakpoints in force since 2024, from the day's mean PM2.5 truncated to",
    "0.1 µg/m³ and PM10 truncated to 1 µg/m³; the day's index is the higher of the two.",
    "PM values as the table computes them from the counts and the particle density.",
    "WHO global air quality guidelines (2021): 24-hour PM2.5 15 µg/m³, PM10 45 µg/m³;",
    "annual PM2.5 5 µg/m³, PM10 15 µg/m³.",
};

// Date, complete, category and the WHO verdicts are words; the rest numbers.
bool IsWordColumn(int column) {
    return column == 1 || column == kCompleteColumn || column >= kCategoryColumn;
}

class IaqLayout {
public:
    IaqLayout(const IaqReport& report, GridModel& grid) : report_(report), grid_(grid) {}

    void Run() {
        grid_.SetColumnCount(0);
        grid_.SetRowCount(0);
        grid_.SetColumnCount(static_cast<int>(DayHeadings().size()));
        AddLine("Indoor Air Quality Report", true);
        grid_.AddRow();
        AddHeaderLines();
        AddDays();
        for (const std::string& line : SummaryLines(report_)) {
            AddLine(line, false);
        }
        grid_.AddRow();
        for (const char* line : kMethodLines) {
            AddLine(line, false);
        }
        FitColumns();
    }

private:
    int AddLine(const std::string& text, bool bold) {
        const int row = grid_.AddRow();
        grid_.SetText(1, row, text);
        grid_.SetSpan(1, row, grid_.ColumnCount());
        grid_.SetBold(1, row, bold);
        lineRows_.push_back(row);
        return row;
    }

    void AddHeaderLines() {
        char serial[16];
        std::snprintf(serial, sizeof serial, "%09d", report_.instrumentSerial);
        char density[32];
        std::snprintf(density, sizeof density, "%.3f", report_.particleDensity);
        const std::string lines[] = {
            "Instrument Model: " + report_.instrumentModel,
            std::string("Instrument Serial #: ") + serial,
            std::string("Particle Density: ") + density + " g/ml",
            "Locations: " + LocationsText(report_),
            "Records: " + cleanroom::ReportDateTime(report_.firstRecord) + " to " +
                cleanroom::ReportDateTime(report_.lastRecord),
        };
        for (const std::string& line : lines) {
            grid_.SetBackColor(1, AddLine(line, false), grid_.HeaderColor());
        }
        grid_.AddRow();
    }

    void AddDays() {
        const int headingRow = grid_.AddRow();
        const std::vector<std::string> headings = DayHeadings();
        for (std::size_t i = 0; i < headings.size(); ++i) {
            table::WriteHeading(grid_, static_cast<int>(i) + 1, headingRow, headings[i],
                                Alignment::Center);
        }
        tableRows_.push_back(headingRow);
        for (const IaqDay& day : report_.days) {
            AddDay(day);
        }
        grid_.AddRow();
    }

    void AddDay(const IaqDay& day) {
        const int row = grid_.AddRow();
        tableRows_.push_back(row);
        const std::vector<std::string> cells = DayCells(day);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const int column = static_cast<int>(i) + 1;
            grid_.SetText(column, row, cells[i]);
            grid_.SetBorders(column, row, table::kBorderAll);
            grid_.SetAlignment(column, row,
                               IsWordColumn(column) ? Alignment::Left : Alignment::Right);
        }
        SetPm(kPm2_5Column, row, day.mean.pm2_5);
        SetPm(kPm10Column, row, day.mean.pm10);
        if (day.index.overall) {
            const AqiCategory category = day.index.overall->overall.category;
            grid_.SetBackColor(kIndexColumn, row, CategoryColor(category));
            grid_.SetTextColor(kIndexColumn, row, CategoryTextColor(category));
            grid_.SetBold(kIndexColumn, row, true);
        }
    }

    // Numbers where known, so that a spreadsheet reading the file can compute with them.
    void SetPm(int column, int row, std::optional<double> value) {
        if (value) {
            grid_.SetNumber(column, row, *value, kPmDecimals);
        }
    }

    // The table's columns fit their cells; the category column takes what the widest line
    // needs beyond them.
    void FitColumns() {
        int total = 0;
        std::vector<int> widths;
        for (int column = 1; column <= grid_.ColumnCount(); ++column) {
            int width = 0;
            for (const int row : tableRows_) {
                width = std::max(width, grid_.ShownTextWidth(column, row));
            }
            widths.push_back(width + 1);
            total += width + 1;
        }
        int widestLine = 0;
        for (const int row : lineRows_) {
            widestLine = std::max(widestLine, grid_.ShownTextWidth(1, row));
        }
        widths[kCategoryColumn - 1] += std::max(0, widestLine - total);
        for (int column = 1; column <= grid_.ColumnCount(); ++column) {
            grid_.SetColumnWidth(column, widths[static_cast<std::size_t>(column - 1)]);
        }
    }

    const IaqReport& report_;
    GridModel& grid_;
    std::vector<int> lineRows_;
    std::vector<int> tableRows_;
};

} // namespace

void LayOutIaqReport(const IaqReport& report, table::GridModel& grid) {
    IaqLayout(report, grid).Run();
}

} // namespace kestrix::iaq
