// Formula texts from anywhere: parsing and evaluating them, in a grid and after row
// insertions, must never crash, hang or overflow the stack.

#include "kestrix/table/GridModel.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using kestrix::table::GridModel;

constexpr int kRows = 12;

GridModel MakeGrid() {
    GridModel grid;
    grid.SetColumnCount(1);
    grid.SetRowCount(kRows);
    for (int row = 1; row <= kRows; row += 2) {
        grid.SetNumber(1, row, row * 1.5 - 4.0, 1);
    }
    grid.SetText(1, 4, "Good");
    return grid;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // Up to three formulas separated by newlines, placed in rows that they may refer to.
    GridModel grid = MakeGrid();
    std::size_t start = 0;
    for (int row : {2, 6, 8}) {
        const std::size_t end = input.find('\n', start);
        grid.SetFormula(1, row, input.substr(start, end - start), 2);
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    for (int row = 1; row <= grid.RowCount(); ++row) {
        (void)grid.ShownText(1, row, ',');
    }
    grid.InsertRowAbove(5);
    (void)grid.WidestTextWidth(1);
    return 0;
}
