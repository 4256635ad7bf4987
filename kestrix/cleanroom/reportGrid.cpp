#include "kestrix/cleanroom/reportGrid.h"

#include "kestrix/cleanroom/reportTexts.h"
#include "kestrix/table/TextWidth.h"
#include "kestrix/table/tableCellStyle.h"

#include <algorithm>
#include <cstdio>

namespace kestrix::cleanroom {

namespace {

using table::Alignment;
using table::GridModel;

constexpr table::Rgb kPassColor{0x00, 0x80, 0x00};
constexpr table::Rgb kFailColor{0xC0, 0x00, 0x00};
constexpr int kFixedColumns = 4;   // location, name, samples, volume
constexpr int kColumnsPerSize = 3; // mean, limit, result
// Lines longer than this are wrapped, so a page holds them beside the tables.
constexpr int kLineCharacters = 110;
constexpr const char* kSignatureLine =
    "Name: ____________________________   Signature: ____________________________   "
    "Date: ______________";

// Breaks at blanks so that no line is wider than kLineCharacters (a longer word stays whole).
std::vector<std::string> WrappedLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(' ', start);
        end = end == std::string::npos ? text.size() : end;
        const std::string word = text.substr(start, end - start);
        const std::string joined = line.empty() ? word : line + " " + word;
        if (!line.empty() && table::TextWidth(joined) > kLineCharacters) {
            lines.push_back(line);
            line = word;
        } else {
            line = joined;
        }
        start = end + 1;
    }
    lines.push_back(line);
    return lines;
}

class ReportLayout {
public:
    ReportLayout(const ClassificationReport& report, GridModel& grid)
        : report_(report), grid_(grid) {}

    void Run() {
        grid_.SetColumnCount(0);
        grid_.SetRowCount(0);
        grid_.SetColumnCount(kFixedColumns + kColumnsPerSize * SizeCount() + 1);
        AddTitle();
        AddHeaderLines();
        AddLocationsTable();
        AddVerdict();
        AddSection("Checks", report_.checks);
        AddSection("Records left out of the means", LeftOutLines());
        AddSection("Data checks", FindingLines());
        AddSamplesTable();
        AddSignatures();
        FitColumns();
    }

private:
    int SizeCount() const { return static_cast<int>(report_.sizes.size()); }
    int SizeColumn(int size) const { return kFixedColumns + 1 + size * kColumnsPerSize; }
    int LastColumn() const { return grid_.ColumnCount(); }

    int AddLine(const std::string& text, bool bold = false) {
        int row = 0;
        for (const std::string& line : WrappedLines(text)) {
            row = grid_.AddRow();
            grid_.SetText(1, row, line);
            grid_.SetSpan(1, row, LastColumn());
            grid_.SetBold(1, row, bold);
            lines_.push_back(row);
        }
        return row;
    }

    void AddTitle() {
        AddLine("Cleanroom Classification Report", true);
        grid_.AddRow();
    }

    void AddHeaderLines() {
        std::string sizes;
        for (const ConsideredSize& size : report_.sizes) {
            sizes += (sizes.empty() ? "" : ", ") + SizeText(size.micrometres);
        }
        char serial[16];
        std::snprintf(serial, sizeof serial, "%09d", report_.instrumentSerial);
        const std::string lines[] = {
            "Room: " + report_.room,
            "Area: " + OneDecimalText(report_.areaSquareMetres) + " m²",
            "Classification: " + report_.targetName,
            "Occupancy State: " + StateText(report_.state),
            "Considered Sizes: " + sizes,
            "Minimum Sample Volume: " + OneDecimalText(report_.minimumSampleLitres) + " L",
            "Minimum Number of Locations: " + std::to_string(report_.minimumLocations),
            "Instrument Model: " + report_.instrumentModel,
            std::string("Instrument Serial #: ") + serial,
            "Samples Taken: " + ReportDateTime(report_.firstSample) + " to " +
                ReportDateTime(report_.lastSample),
        };
        for (const std::string& line : lines) {
            const int row = AddLine(line);
            grid_.SetBackColor(1, row, grid_.HeaderColor());
        }
        if (!report_.archiveHead.empty()) {
            const int row = AddLine("Archive Head: " + report_.archiveHead);
            grid_.SetBackColor(1, row, grid_.HeaderColor());
        }
        grid_.AddRow();
    }

    void Heading(int column, int row, const std::string& text) {
        table::WriteHeading(grid_, column, row, text, Alignment::Center);
        tableColumns_.push_back(column);
        tableRows_.push_back(row);
    }

    // Two heading rows: the sizes over their mean, limit and result columns.
    void AddHeadings(const char* const (&fixed)[kFixedColumns], bool limits) {
        const int sizeRow = grid_.AddRow();
        const int row = grid_.AddRow();
        for (int column = 1; column <= kFixedColumns; ++column) {
            Heading(column, sizeRow, "");
            Heading(column, row, fixed[column - 1]);
        }
        for (int size = 0; size < SizeCount(); ++size) {
            const int first = SizeColumn(size);
            Heading(first, sizeRow, "≥ " + SizeText(report_.sizes[size].micrometres));
            grid_.SetSpan(first, sizeRow, limits ? kColumnsPerSize : 1);
            Heading(first, row, limits ? "Mean (/m³)" : "Per m³");
            if (limits) {
                Heading(first + 1, row, "Limit (/m³)");
                Heading(first + 2, row, "Result");
            }
        }
        if (limits) {
            Heading(LastColumn(), sizeRow, "Cleanest");
            Heading(LastColumn(), row, "ISO Class");
        }
    }

    void AddLocationsTable() {
        AddHeadings({"Location", "Name", "Samples", "Volume (L)"}, true);
        for (const LocationResult& location : report_.locations) {
            AddLocationRow(location);
        }
        grid_.AddRow();
    }

    void Cell(int column, int row, const std::string& text, Alignment alignment) {
        grid_.SetText(column, row, text);
        grid_.SetAlignment(column, row, alignment);
        grid_.SetBorders(column, row, table::kBorderAll);
        tableColumns_.push_back(column);
        tableRows_.push_back(row);
    }

    void ResultCell(int column, int row, bool passed) {
        Cell(column, row, passed ? "Pass" : "Fail", Alignment::Center);
        grid_.SetTextColor(column, row, passed ? kPassColor : kFailColor);
        grid_.SetBold(column, row, !passed);
    }

    void AddLocationRow(const LocationResult& location) {
        const int row = grid_.AddRow();
        Cell(1, row, std::to_string(location.locationId), Alignment::Right);
        Cell(2, row, location.name, Alignment::Left);
        Cell(3, row, std::to_string(location.samples.size()), Alignment::Right);
        Cell(4, row, OneDecimalText(location.totalLitres), Alignment::Right);
        for (int size = 0; size < SizeCount(); ++size) {
            Cell(SizeColumn(size), row, WholeNumberText(location.means[size]), Alignment::Right);
            Cell(SizeColumn(size) + 1, row, WholeNumberText(report_.limits[size]),
                 Alignment::Right);
            ResultCell(SizeColumn(size) + 2, row, location.withinLimit[size]);
        }
        const auto& cleanest = location.cleanestIsoClass;
        Cell(LastColumn(), row, cleanest ? "ISO " + std::to_string(*cleanest) : "none",
             Alignment::Center);
    }

    void AddVerdict() {
        const int row =
            AddLine(report_.passed ? "Verdict: PASS. Every location is within the limit at "
                                     "every considered size."
                                   : "Verdict: FAIL. At least one location exceeds a limit.",
                    true);
        grid_.SetTextColor(1, row, report_.passed ? kPassColor : kFailColor);
        grid_.AddRow();
    }

    void AddSection(const std::string& title, const std::vector<std::string>& lines) {
        AddLine(title, true);
        if (lines.empty()) {
            AddLine("None.");
        }
        for (const std::string& line : lines) {
            AddLine(line);
        }
        grid_.AddRow();
    }

    std::vector<std::string> LeftOutLines() const {
        std::vector<std::string> lines;
        for (const LeftOutRecord& record : report_.leftOut) {
            lines.push_back(LeftOutLine(record));
        }
        return lines;
    }

    std::vector<std::string> FindingLines() const {
        std::vector<std::string> lines;
        for (const DataFinding& finding : report_.findings) {
            lines.push_back("Record " + std::to_string(finding.recordIndex + 1) + " (" +
                            FindingKindName(finding.kind) + "): " + finding.message);
        }
        return lines;
    }

    void AddSamplesTable() {
        AddLine("Samples", true);
        AddHeadings({"Location", "Time", "Record", "Volume (L)"}, false);
        for (const LocationResult& location : report_.locations) {
            for (const SampleResult& sample : location.samples) {
                AddSampleRow(location.locationId, sample);
            }
        }
        grid_.AddRow();
    }

    void AddSampleRow(std::int32_t locationId, const SampleResult& sample) {
        const int row = grid_.AddRow();
        Cell(1, row, std::to_string(locationId), Alignment::Right);
        Cell(2, row, ReportDateTime(sample.timeStamp), Alignment::Left);
        Cell(3, row, std::to_string(sample.recordIndex + 1), Alignment::Right);
        Cell(4, row, OneDecimalText(sample.litres), Alignment::Right);
        for (int size = 0; size < SizeCount(); ++size) {
            Cell(SizeColumn(size), row, WholeNumberText(sample.perCubicMetre[size]),
                 Alignment::Right);
        }
    }

    void AddSignatures() {
        AddLine("Tested by", true);
        AddLine(kSignatureLine);
        grid_.AddRow();
        AddLine("Reviewed by", true);
        AddLine(kSignatureLine);
    }

    // Columns fit the table cells and headings; the lines that span them all then need at
    // most the extra width given to the name column.
    void FitColumns() {
        std::vector<int> widths(static_cast<std::size_t>(LastColumn()), 0);
        for (std::size_t i = 0; i < tableColumns_.size(); ++i) {
            const int column = tableColumns_[i];
            const int width = grid_.ShownTextWidth(column, tableRows_[i]);
            widths[static_cast<std::size_t>(column - 1)] =
                std::max(widths[static_cast<std::size_t>(column - 1)], width);
        }
        int total = 0;
        for (int& width : widths) {
            width += 1;
            total += width;
        }
        int widestLine = 0;
        for (const int row : lines_) {
            widestLine = std::max(widestLine, grid_.ShownTextWidth(1, row));
        }
        widths[1] += std::max(0, widestLine - total);
        for (int column = 1; column <= LastColumn(); ++column) {
            grid_.SetColumnWidth(column, widths[static_cast<std::size_t>(column - 1)]);
        }
    }

    const ClassificationReport& report_;
    GridModel& grid_;
    std::vector<int> lines_;
    std::vector<int> tableColumns_;
    std::vector<int> tableRows_;
};

} // namespace

void LayOutReport(const ClassificationReport& report, table::GridModel& grid) {
    ReportLayout(report, grid).Run();
}

} // namespace kestrix::cleanroom
