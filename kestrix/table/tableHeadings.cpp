#include "kestrix/table/tableHeadings.h"

#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/shell/numberFormat.h"
#include "kestrix/shell/userLocale.h"
#include "kestrix/table/TimestampText.h"
#include "kestrix/table/dataRows.h"
#include "kestrix/table/gridGrowth.h"
#include "kestrix/table/tableCellStyle.h"
#include "kestrix/table/tableRowKinds.h"

namespace kestrix::table {
namespace {

std::string FormatWithPattern(double value, const char* pattern) {
    NumberSymbols symbols;
    symbols.decimalSeparator = GetDecimalSeparator();
    return FormatNumber(value, *ParseNumberPattern(pattern), symbols);
}

void AddInstrumentLines(std::vector<std::string>& lines, data::clsDataRecordSet* recordSet,
                        TimestampText& timestamps) {
    std::string model = "Instrument Model: ";
    std::string serial = "Instrument Serial #: ";
    std::string downloaded = "Downloaded On: ";
    if (recordSet) {
        model += recordSet->GetSensorName();
        serial += FormatWithPattern(recordSet->GetSensorID(), "000000000");
        downloaded += timestamps.Format(recordSet->GetDownloadTime());
    }
    lines.push_back(std::move(model));
    lines.push_back(std::move(serial));
    lines.push_back(std::move(downloaded));
}

std::string DurationLine(data::clsDataRecordSet* recordSet, TimestampText& timestamps) {
    std::string line = "Data Duration: ";
    if (recordSet && recordSet->RecordCount() > 0) {
        line += timestamps.Format(recordSet->Record(0)->GetTimeStamp());
        line += " to ";
        line += timestamps.Format(recordSet->Record(recordSet->RecordCount() - 1)->GetTimeStamp());
    }
    return line;
}

} // namespace

void WriteTitleRows(GridModel& grid, const std::vector<TableColumn>& columns) {
    const int titleRow = AddTableRow(grid);
    const int captionRow = AddTableRow(grid);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const int column = static_cast<int>(i) + 1;
        WriteHeading(grid, column, titleRow, ColumnTitle(columns[i]), Alignment::Center);
        WriteHeading(grid, column, captionRow, columns[i].unitCaption, Alignment::Center);
    }
    grid.SetRowUserValue(titleRow, kRowColumnTitle);
    grid.SetRowUserValue(captionRow, kRowColumnTitle);
    grid.SetFrozenRows(2);
}

std::vector<std::string> HeaderLines(data::clsDataRecordSet* recordSet,
                                     const TableViewOptions& options) {
    TimestampText timestamps(options.isoDates);
    std::vector<std::string> lines;
    if (options.showInstrumentInfo) {
        AddInstrumentLines(lines, recordSet, timestamps);
    }
    if (options.showParticleRaw || options.showParticleNorm) {
        lines.push_back(std::string("Particle Data: ") +
                        (options.particleDifferential ? "Differential" : "Cumulative"));
    }
    if (IsIaqData(recordSet) && (options.showMassConcentrations || options.showParticulateMatter)) {
        lines.push_back("Particle Density: " +
                        FormatWithPattern(EffectiveParticleDensity(*recordSet), "0.000") + " g/ml");
    }
    lines.push_back(DurationLine(recordSet, timestamps));
    // Kept outside the archive, it proves the records were there at that point of its chain.
    if (recordSet && !recordSet->GetArchiveHead().empty()) {
        lines.push_back("Archive Head: " + recordSet->GetArchiveHead());
    }
    return lines;
}

void InsertHeaderLines(GridModel& grid, const std::vector<std::string>& lines) {
    int row = 1;
    for (const std::string& line : lines) {
        InsertTableRowAbove(grid, row);
        WriteHeading(grid, 1, row, line, Alignment::Left);
        grid.SetSpan(1, row, grid.ColumnCount());
        grid.SetRowUserValue(row, kRowHeaderLine);
        grid.SetFrozenRows(grid.FrozenRows() + 1);
        ++row;
    }
}

} // namespace kestrix::table
