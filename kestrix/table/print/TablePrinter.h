#pragma once

// Printing the table as the grid shows it, to a printer or a PDF file: cells with their
// colours, alignment, borders and spans, the frozen top rows repeated on every page, columns
// that do not fit continued on further pages, and "Page N" centred under every page.

#include "kestrix/table/GridModel.h"

#include <QPagedPaintDevice>
#include <QString>
#include <string>

namespace kestrix::table {

// Paints every page on the device (a QPrinter or a QPdfWriter); false when the device cannot
// be painted on.
bool PrintTable(const GridModel& grid, QPagedPaintDevice& device);

// Writes the pages to a PDF file in landscape A4, under a temporary name renamed into place
// when complete; false with `error` telling why otherwise.
bool PrintTableToPdf(const GridModel& grid, const std::string& fileName, std::string& error);

} // namespace kestrix::table
