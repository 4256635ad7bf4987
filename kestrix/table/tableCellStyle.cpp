#include "kestrix/table/tableCellStyle.h"

#include "kestrix/base/rgb.h"
#include "kestrix/data/recordStatus.h"
#include "kestrix/table/modDataTable.h"

namespace kestrix::table {

Rgb ToGridColor(kestrix::base::Rgb color) {
    return {color.r, color.g, color.b};
}

void WriteHeading(GridModel& grid, int column, int row, std::string_view text,
                  Alignment alignment) {
    CellFormat format;
    format.backColor = grid.HeaderColor();
    format.borders = kBorderAll;
    format.bold = true;
    format.alignment = alignment;
    grid.SetFormat(column, row, format);
    grid.SetText(column, row, text);
}

void SetStatusLook(GridModel& grid, int column, int row, Rgb textColor, std::string_view note) {
    CellFormat format = grid.Format(column, row);
    format.textColor = textColor;
    format.flagged = !note.empty();
    grid.SetFormat(column, row, format);
    grid.SetNote(column, row, note);
}

void MarkFaultyCell(GridModel& grid, int column, int row, std::uint8_t status) {
    SetStatusLook(grid, column, row, ToGridColor(recordStatus::GetStatusColor(status)),
                  recordStatus::GetStatusText(status));
}

} // namespace kestrix::table
