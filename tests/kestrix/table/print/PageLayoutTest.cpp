#include "kestrix/table/print/PageLayout.h"

#include <array>
#include <gtest/gtest.h>

namespace kestrix::table {
namespace {

PageGeometry Geometry(std::vector<double> widths, int rows, int frozen) {
    PageGeometry geometry;
    geometry.columnWidths = std::move(widths);
    geometry.rowCount = rows;
    geometry.rowHeight = 10;
    geometry.pageWidth = 100;
    geometry.pageHeight = 50; // five rows
    geometry.frozenRows = frozen;
    return geometry;
}

TEST(PageLayout, FrozenRowsRepeatAndTheRestFillPagesDownThenAcross) {
    const std::vector<PageCells> pages = LayOutPages(Geometry({60, 40, 30}, 8, 2));
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(pages[0].firstColumn, 1);
    EXPECT_EQ(pages[0].lastColumn, 2);
    EXPECT_EQ(pages[0].repeatedRows, 2);
    EXPECT_EQ(pages[0].firstBodyRow, 3);
    EXPECT_EQ(pages[0].lastBodyRow, 5);
    EXPECT_EQ(pages[1].firstBodyRow, 6);
    EXPECT_EQ(pages[1].lastBodyRow, 8);
    EXPECT_EQ(pages[2].firstColumn, 3);
    EXPECT_EQ(pages[2].lastColumn, 3);
    EXPECT_EQ(pages[2].firstBodyRow, 3);
    EXPECT_EQ(pages[3].lastBodyRow, 8);
}

TEST(PageLayout, LaterBandsRepeatTheTitleColumnsThatFitHalfAPage) {
    struct Case {
        std::vector<double> widths;
        int titleColumns;
        std::vector<std::array<int, 3>> bands; // repeated, first, last
    };
    const Case cases[] = {
        {{20, 60, 40, 30, 50}, 1, {{0, 1, 2}, {1, 3, 4}, {1, 5, 5}}},
        {{20, 60, 40}, 0, {{0, 1, 2}, {0, 3, 3}}},
        {{30, 30, 50, 50}, 2, {{0, 1, 2}, {0, 3, 4}}}, // 60 of 100: not repeated
        {{70, 60, 40}, 2, {{0, 1, 1}, {0, 2, 3}}},
    };
    for (const Case& c : cases) {
        PageGeometry geometry = Geometry(c.widths, 3, 0);
        geometry.titleColumns = c.titleColumns;
        std::vector<std::array<int, 3>> bands;
        for (const PageCells& page : LayOutPages(geometry)) {
            bands.push_back({page.repeatedColumns, page.firstColumn, page.lastColumn});
        }
        EXPECT_EQ(bands, c.bands) << c.titleColumns << " of " << c.widths.size();
    }
}

TEST(PageLayout, TooWideColumnGetsItsOwnPageWidth) {
    const std::vector<PageCells> pages = LayOutPages(Geometry({30, 250, 30}, 1, 0));
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[1].firstColumn, 2);
    EXPECT_EQ(pages[1].lastColumn, 2);
}

TEST(PageLayout, TooManyFrozenRowsLeaveRoomForOneRow) {
    const std::vector<PageCells> pages = LayOutPages(Geometry({10}, 9, 7));
    ASSERT_EQ(pages.size(), 5u);
    EXPECT_EQ(pages[0].repeatedRows, 4);
    EXPECT_EQ(pages[0].firstBodyRow, 5);
    EXPECT_EQ(pages[0].lastBodyRow, 5);
}

TEST(PageLayout, EmptyAndAllFrozenGridsStillGiveOnePage) {
    const std::vector<PageCells> empty = LayOutPages(Geometry({}, 0, 0));
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_GT(empty[0].firstBodyRow, empty[0].lastBodyRow);
    const std::vector<PageCells> frozen = LayOutPages(Geometry({10}, 2, 2));
    ASSERT_EQ(frozen.size(), 1u);
    EXPECT_EQ(frozen[0].repeatedRows, 2);
    EXPECT_GT(frozen[0].firstBodyRow, frozen[0].lastBodyRow);
}

} // namespace
} // namespace kestrix::table
