// Cells that read their numbers from elsewhere: shown, counted and summed like held numbers,
// holding no memory, and copied in when an edit needs them held.

#include "kestrix/table/GridModel.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace kestrix::table {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// Numbers that stay changeable after the grid took them, to tell read cells from copied ones.
class SharedNumbers final : public ColumnValues {
public:
    explicit SharedNumbers(std::vector<double> numbers) : numbers_(std::move(numbers)) {}
    std::size_t Count() const override { return numbers_.size(); }
    double At(std::size_t index) const override { return numbers_[index]; }
    std::vector<double> numbers_;
};

std::vector<std::string> ShownColumn(const GridModel& grid, int column) {
    std::vector<std::string> shown;
    for (int row = 1; row <= grid.RowCount(); ++row) {
        shown.push_back(grid.ShownText(column, row));
    }
    return shown;
}

// Column 1 of 7 rows: 9 held in row 1, {1, none, 3, 4} read in rows 2-5, 8 held in row 7.
struct ReadingGrid {
    GridModel grid;
    std::shared_ptr<SharedNumbers> numbers =
        std::make_shared<SharedNumbers>(std::vector<double>{1, kNone, 3, 4});

    ReadingGrid() {
        grid.SetColumnCount(1);
        grid.SetRowCount(7);
        grid.SetNumber(1, 1, 9, 0);
        grid.SetNumber(1, 7, 8, 0);
        grid.ReadNumbers(1, 2, numbers);
    }
};

TEST(GridReadNumbers, ShowLikeHeldNumbersAndFeedFormulas) {
    ReadingGrid reading;
    GridModel& grid = reading.grid;
    grid.SetFormula(1, 6, "SUM(#1:#5)", 1);
    EXPECT_EQ(ShownColumn(grid, 1),
              (std::vector<std::string>{"9", "1", "", "3", "4", "17.0", "8"}));
    EXPECT_EQ(grid.Kind(1, 3), CellKind::Empty);
    EXPECT_EQ(grid.Kind(1, 4), CellKind::Number);
    EXPECT_DOUBLE_EQ(grid.Value(1, 5).number, 4.0);
    EXPECT_EQ(grid.WidestTextWidth(1, 2, 5), 1);
    // A formula where a run is read goes.
    grid.ReadNumbers(1, 6, std::make_shared<SharedNumbers>(std::vector<double>{2}));
    EXPECT_EQ(grid.Formula(1, 6), "");
    EXPECT_EQ(grid.ShownText(1, 6), "2.0");
}

TEST(GridReadNumbers, RowsAddedLaterReadAndHoldNoMemory) {
    constexpr int kRows = 10000;
    const auto numbers = std::make_shared<SharedNumbers>(std::vector<double>(kRows, 2.5));
    GridModel held;
    held.SetColumnCount(1);
    held.SetRowCount(kRows + 2);
    GridModel read;
    read.SetColumnCount(1);
    ASSERT_TRUE(read.ReadNumbers(1, 3, numbers));
    read.SetRowCount(kRows + 3);
    EXPECT_EQ(read.Kind(1, 2), CellKind::Empty);
    EXPECT_EQ(read.Value(1, 3).number, 2.5);
    EXPECT_EQ(read.Value(1, kRows + 2).number, 2.5);
    EXPECT_EQ(read.Kind(1, kRows + 3), CellKind::Empty);
    EXPECT_LT(read.BytesHeld() + kRows * sizeof(double), held.BytesHeld() + 1024);
}

// Each edit, the column's shown texts after it, and whether the run is still read (a change
// of the first read number shows) or was copied in.
struct Edit {
    const char* name;
    std::function<void(GridModel&)> apply;
    std::vector<std::string> shown;
    bool stillReads;
};

TEST(GridReadNumbers, EditsKeepTheirMeaning) {
    const std::vector<Edit> edits{
        {"a read cell overwritten",
         [](GridModel& g) { g.SetNumber(1, 4, 7, 0); },
         {"9", "1", "", "7", "4", "", "8"},
         false},
        {"a read cell given decimals only",
         [](GridModel& g) { g.SetDecimals(1, 4, 1); },
         {"9", "1", "", "3.0", "4", "", "8"},
         true},
        {"a held cell overwritten",
         [](GridModel& g) { g.SetNumber(1, 1, 5, 0); },
         {"5", "1", "", "3", "4", "", "8"},
         true},
        {"a row inserted above",
         [](GridModel& g) { g.InsertRowAbove(1); },
         {"", "9", "1", "", "3", "4", "", "8"},
         true},
        {"a row inserted at the run's start",
         [](GridModel& g) { g.InsertRowAbove(2); },
         {"9", "", "1", "", "3", "4", "", "8"},
         true},
        {"a row inserted inside",
         [](GridModel& g) { g.InsertRowAbove(4); },
         {"9", "1", "", "", "3", "4", "", "8"},
         false},
        {"a row inserted below",
         [](GridModel& g) { g.InsertRowAbove(6); },
         {"9", "1", "", "3", "4", "", "", "8"},
         true},
        {"a row removed above",
         [](GridModel& g) { g.RemoveRows(1, 1); },
         {"1", "", "3", "4", "", "8"},
         true},
        {"rows removed inside",
         [](GridModel& g) { g.RemoveRows(3, 2); },
         {"9", "1", "4", "", "8"},
         false},
        {"a row removed below",
         [](GridModel& g) { g.RemoveRows(6, 1); },
         {"9", "1", "", "3", "4", "8"},
         true},
        {"cut into and grown again",
         [](GridModel& g) {
             g.SetRowCount(3);
             g.SetRowCount(7);
         },
         {"9", "1", "", "", "", "", ""},
         true},
        {"cut before the run and grown again",
         [](GridModel& g) {
             g.SetRowCount(1);
             g.SetRowCount(7);
         },
         {"9", "", "", "", "", "", ""},
         false},
        {"another run read in its place",
         [](GridModel& g) {
             g.ReadNumbers(1, 3, std::make_shared<SharedNumbers>(std::vector<double>{6}));
         },
         {"9", "1", "6", "3", "4", "", "8"},
         false},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        ReadingGrid reading;
        edit.apply(reading.grid);
        EXPECT_EQ(ShownColumn(reading.grid, 1), edit.shown);
        reading.numbers->numbers_[0] = 100;
        const bool read = std::ranges::count(ShownColumn(reading.grid, 1), "100") == 1;
        EXPECT_EQ(read, edit.stillReads);
    }
}

} // namespace
} // namespace kestrix::table
