#include "kestrix/calc/OrderedValues.h"

#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrix {
namespace {

std::shared_ptr<calc::OrderedValueKeys> KeysAlphaBetaGamma() {
    auto keys = std::make_shared<calc::OrderedValueKeys>();
    keys->Intern("alpha");
    keys->Intern("beta");
    keys->Intern("gamma");
    return keys;
}

TEST(OrderedValueKeys, EqualKeysShareOneSlot) {
    calc::OrderedValueKeys keys;
    const auto first = keys.Intern("MC0.5");
    const auto other = keys.Intern("C0.5");
    EXPECT_NE(first, other);
    EXPECT_EQ(keys.Intern("MC0.5"), first);
    EXPECT_EQ(keys.Count(), 2);
    EXPECT_EQ(keys.Find("C0.5"), other);
    EXPECT_EQ(keys.Key(first), "MC0.5");
    EXPECT_FALSE(keys.Find("C0.3").has_value());
}

TEST(OrderedValues, IteratesInTheOrderValuesWereAdded) {
    calc::OrderedValues values;
    values.Reset(KeysAlphaBetaGamma());
    values.Add(2, 3.0);
    values.Add(0, 1.0);
    std::vector<std::string> keys;
    std::vector<double> numbers;
    for (const auto entry : values) {
        keys.emplace_back(entry.key);
        numbers.push_back(entry.value);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"gamma", "alpha"}));
    EXPECT_EQ(numbers, (std::vector<double>{3.0, 1.0}));
    EXPECT_EQ(values.Count(), 2);
}

TEST(OrderedValues, AbsentKeysAreNotContainedAndHaveNoValue) {
    calc::OrderedValues values;
    values.Reset(KeysAlphaBetaGamma());
    values.Add(1, 2.0);
    EXPECT_TRUE(values.Contains("beta"));
    EXPECT_EQ(values.Value("beta"), 2.0);
    EXPECT_FALSE(values.Contains("alpha"));
    EXPECT_FALSE(values.Contains("delta"));
    EXPECT_THROW(values.Value("alpha"), std::out_of_range);
    EXPECT_FALSE(values.Find("delta").has_value());
}

TEST(OrderedValues, TheFirstValueUnderAKeyStands) {
    calc::OrderedValues values;
    values.Reset(KeysAlphaBetaGamma());
    values.Add(0, 1.0);
    values.Add(0, 9.0);
    EXPECT_EQ(values.Value("alpha"), 1.0);
    EXPECT_EQ(values.Count(), 1);
}

TEST(OrderedValues, ResetEmptiesTheCollection) {
    calc::OrderedValues values;
    EXPECT_EQ(values.Count(), 0);
    EXPECT_FALSE(values.Contains("alpha"));
    values.Reset(KeysAlphaBetaGamma());
    values.Add(0, 1.0);
    values.Reset(KeysAlphaBetaGamma());
    EXPECT_EQ(values.Count(), 0);
    EXPECT_FALSE(values.Contains("alpha"));
    EXPECT_EQ(values.begin(), values.end());
}

} // namespace
} // namespace kestrix
