#pragma once

// The file types a chart export offers.

#include "kestrix/window/fileChoices.h"

#include <span>

namespace kestrix::charts {

// PNG picture, then SVG drawing.
std::span<const window::FileFilter> ChartFileFilters();

} // namespace kestrix::charts
