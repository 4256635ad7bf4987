#include "kestrix/charts/chartState.h"

#include "support/FileBytes.h"

#include <QTemporaryDir>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrix::charts {
namespace {

TEST(ChartState, RoundTripsThroughItsOwnSectionKeepingTheRest) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("config.ini").toStdString();
    std::ofstream(path) << "[units]\ntemperature=7\n";
    EXPECT_EQ(LoadChartState(path), ChartState{});

    const ChartState states[] = {
        {true, true, 7, {"0.3", "TEMP/0"}},
        {false, false, std::nullopt, {}},
        {true, false, 0, {"5.0"}, false},
    };
    for (const ChartState& state : states) {
        ASSERT_TRUE(SaveChartState(path, state));
        EXPECT_EQ(LoadChartState(path), state);
    }
    const std::string text = test_support::ReadFileBytes(path);
    EXPECT_THAT(text, ::testing::StartsWith("[units]\ntemperature=7\n"));
    EXPECT_THAT(text, ::testing::HasSubstr("[charts]\n"));
}

TEST(ChartState, HandEditedValuesFallBackToTheDefaults) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("config.ini").toStdString();
    std::ofstream(path) << "[charts]\nshown=yes\nlog_scale=2\nlocation=7x\nhidden_series=,,a,\n";
    const ChartState state = LoadChartState(path);
    EXPECT_FALSE(state.shown);
    EXPECT_FALSE(state.logScale);
    EXPECT_EQ(state.location, std::nullopt);
    EXPECT_EQ(state.hiddenSeries, std::set<std::string>{"a"});
}

} // namespace
} // namespace kestrix::charts
