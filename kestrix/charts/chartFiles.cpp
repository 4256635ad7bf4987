#include "kestrix/charts/chartFiles.h"

#include <array>

namespace kestrix::charts {
namespace {

constexpr std::array kChartFilters{
    shell::FileFilter{"PNG Image (*.png)", "png", -1},
    shell::FileFilter{"SVG Drawing (*.svg)", "svg", -1},
};

} // namespace

std::span<const shell::FileFilter> ChartFileFilters() {
    return kChartFilters;
}

} // namespace kestrix::charts
