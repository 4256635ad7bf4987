#include "kestrix/data/clsDataSet.h"

#include "kestrix/data/DataIndexError.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

data::clsDataSet SetWithValues(std::int32_t count) {
    data::clsDataSet set;
    set.DataAlloc(count);
    for (std::int32_t index = 0; index < count; ++index) {
        set.DataValue(index, index + 0.5);
        set.DataStatus(index, static_cast<std::uint8_t>(index));
        set.DataEnable(index, true);
    }
    return set;
}

TEST(DataSetFresh, HasNoData) {
    const data::clsDataSet set;
    EXPECT_FALSE(set.HasData());
    EXPECT_EQ(set.DataCount(), 0);
    EXPECT_EQ(set.DataType(), "");
    EXPECT_EQ(set.DataUnits(), "");
    EXPECT_EQ(set.HighThresholdValue(), 0);
    EXPECT_FALSE(set.AlarmEnable());
    EXPECT_THROW(set.DataValue(0), data::DataIndexError);
}

TEST(DataSetAlloc, CreatesClearedEntries) {
    data::clsDataSet set;
    ASSERT_TRUE(set.DataAlloc(3));
    EXPECT_TRUE(set.HasData());
    EXPECT_EQ(set.DataCount(), 3);
    for (std::int32_t index = 0; index < 3; ++index) {
        EXPECT_EQ(set.DataValue(index), 0.0);
        EXPECT_EQ(set.DataStatus(index), 0);
        EXPECT_FALSE(set.DataEnable(index));
    }
}

TEST(DataSetAlloc, RefusesSizesBelowOneAndKeepsData) {
    data::clsDataSet set = SetWithValues(4);
    EXPECT_FALSE(set.DataAlloc(0));
    EXPECT_FALSE(set.DataAlloc(-7));
    EXPECT_EQ(set.DataCount(), 4);
    EXPECT_EQ(set.DataValue(3), 3.5);
}

TEST(DataSetAlloc, ShrinkingDiscardsEarlierData) {
    data::clsDataSet set = SetWithValues(10);
    ASSERT_TRUE(set.DataAlloc(5));
    EXPECT_EQ(set.DataCount(), 5);
    for (std::int32_t index = 0; index < 5; ++index) {
        EXPECT_EQ(set.DataValue(index), 0.0);
        EXPECT_EQ(set.DataStatus(index), 0);
        EXPECT_FALSE(set.DataEnable(index));
    }
}

TEST(DataSetAlloc, FlushRemovesData) {
    data::clsDataSet set = SetWithValues(2);
    set.DataType("TEMP");
    set.DataFlush();
    EXPECT_FALSE(set.HasData());
    EXPECT_EQ(set.DataCount(), 0);
    EXPECT_EQ(set.DataType(), "TEMP");
    set.DataFlush();
    EXPECT_FALSE(set.HasData());
}

TEST(DataSetAccess, StoresPerIndex) {
    const data::clsDataSet set = SetWithValues(3);
    EXPECT_EQ(set.DataValue(2), 2.5);
    EXPECT_EQ(set.DataStatus(2), 2);
    EXPECT_TRUE(set.DataEnable(2));
}

TEST(DataSetAccess, IndexOutsideTheEntriesIsAnError) {
    data::clsDataSet set = SetWithValues(5);
    EXPECT_THROW(set.DataValue(5), data::DataIndexError);
    EXPECT_THROW(set.DataStatus(-1), data::DataIndexError);
    EXPECT_THROW(set.DataEnable(5), data::DataIndexError);
    EXPECT_THROW(set.DataValue(5, 1.0), data::DataIndexError);
    EXPECT_THROW(set.DataStatus(-1, 1), data::DataIndexError);
    EXPECT_THROW(set.DataEnable(INT32_MIN, false), data::DataIndexError);
    EXPECT_THROW(set.DataValue(INT32_MAX, 1.0), std::out_of_range);
    for (std::int32_t index = 0; index < 5; ++index) {
        EXPECT_EQ(set.DataValue(index), index + 0.5);
        EXPECT_EQ(set.DataStatus(index), index);
        EXPECT_TRUE(set.DataEnable(index));
    }
}

} // namespace
} // namespace kestrix
