#pragma once

// The file types a chart export offers.

#include "kestrix/shell/fileChoices.h"

#include <span>

namespace kestrix::charts {

// PNG picture, then SVG drawing.
std::span<const shell::FileFilter> ChartFileFilters();

} // namespace kestrix::charts
