#include "kestrix/charts/chartFiles.h"

#include <array>

namespace kestrix::charts {
namespace {

constexpr std::array kChartFilters{
    window::FileFilter{"PNG Image (*.png)", "png", -1},
    window::FileFilter{"SVG Drawing (*.svg)", "svg", -1},
};

} // namespace

std::span<const window::FileFilter> ChartFileFilters() {
    return kChartFilters;
}

} // namespace kestrix::charts
