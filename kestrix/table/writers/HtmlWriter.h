#pragma once

// The grid as a standalone UTF-8 HTML page: one table, the heading rows at the top (header
// lines and column titles) in its head as header cells, spans as colspan, notes as tooltips
// (title attributes), colours, alignment, borders and bold through one style class per
// distinct cell format.

#include "kestrix/table/GridModel.h"

#include <ostream>
#include <string>
#include <string_view>

namespace kestrix::table {

// Text with &, <, >, " and ' replaced by entities, line breaks by character references, so it
// is safe in element content and in attribute values.
std::string EscapeHtml(std::string_view text);

void WriteHtml(const GridModel& grid, std::ostream& out, char decimalSeparator);

} // namespace kestrix::table
