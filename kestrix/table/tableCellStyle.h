#pragma once

// The looks the data table gives its cells: headings (header lines, titles, row labels) and
// the colour, flag and note that mark a value with an instrument fault.

#include "kestrix/base/rgb.h"
#include "kestrix/table/GridModel.h"

#include <cstdint>
#include <string_view>

namespace kestrix::table {

Rgb ToGridColor(kestrix::base::Rgb color);

// Static text on the header background with borders; a title is centred, a label left.
void WriteHeading(GridModel& grid, int column, int row, std::string_view text, Alignment alignment);

// Text colour, note flag and note of a cell together; an empty note clears it.
void SetStatusLook(GridModel& grid, int column, int row, Rgb textColor, std::string_view note);

// The look of a value cell whose status byte is not 0.
void MarkFaultyCell(GridModel& grid, int column, int row, std::uint8_t status);

} // namespace kestrix::table
