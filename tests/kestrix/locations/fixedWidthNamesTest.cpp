#include "kestrix/locations/fixedWidthNames.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace kestrix::locations {
namespace {

TEST(NameTexts, TrimAtNulStopsAtTheFirstNul) {
    EXPECT_EQ(TrimAtNul("AB\0CD"s), "AB");
    EXPECT_EQ(TrimAtNul("\0AB"s), "");
    EXPECT_EQ(TrimAtNul("LOBBY"), "LOBBY");
    EXPECT_EQ(TrimAtNul(""), "");
}

TEST(NameTexts, PaddingGivesExactlyTheLength) {
    const std::string padded = PadWithNul("AB", 8);
    EXPECT_EQ(padded, "AB\0\0\0\0\0\0"s);
    EXPECT_EQ(PadWithSpaces(padded, 8), "AB      ");
    EXPECT_EQ(PadWithNul("ABCDEFGHIJ", 8), "ABCDEFGH");
    EXPECT_EQ(PadWithSpaces("AB\0CDEF"s, 4), "AB  ");
    EXPECT_EQ(PadWithSpaces("", 3), "   ");
}

TEST(NameTexts, NonPositiveLengthGivesEmptyText) {
    EXPECT_EQ(PadWithNul("AB", 0), "");
    EXPECT_EQ(PadWithSpaces("AB", -5), "");
}

TEST(ShortNames, UpperCaseDigitsUnderscoreAndNulOnly) {
    EXPECT_TRUE(IsValidShortName("LOBBY_1"));
    EXPECT_TRUE(IsValidShortName(""));
    EXPECT_TRUE(IsValidShortName("AB\0\0\0\0\0\0"s));
    for (const char* name : {"lobby", "A B", "A-B", "A.B", "\xC4RZT", "\xFF"}) {
        EXPECT_FALSE(IsValidShortName(name)) << name;
    }
}

TEST(NameLists, FirstDuplicateIsTheEarliestRepeatedText) {
    EXPECT_EQ(FindFirstDuplicate({}), -1);
    EXPECT_EQ(FindFirstDuplicate({"A", "B", "C"}), -1);
    EXPECT_EQ(FindFirstDuplicate({"A", "B", "C", "B", "A"}), 0);
    EXPECT_EQ(FindFirstDuplicate({"A", "B", "C", "B"}), 1);
    EXPECT_EQ(FindFirstDuplicate({"X", "", "Y", ""}), 1);
    EXPECT_EQ(FindFirstDuplicate({"a", "A"}), -1);
}

TEST(NameLists, NameElsewhereSkipsTheGivenIndex) {
    const std::vector<std::string> names = {"A", "B", "A", "b"};
    EXPECT_EQ(FindNameElsewhere(names, "A", 0), 2);
    EXPECT_EQ(FindNameElsewhere(names, "A", 2), 0);
    EXPECT_EQ(FindNameElsewhere(names, "A", -1), 0);
    EXPECT_EQ(FindNameElsewhere(names, "B", 1), -1);
    EXPECT_EQ(FindNameElsewhere(names, "b", 0), 3);
    EXPECT_EQ(FindNameElsewhere({}, "A", 0), -1);
}

} // namespace
} // namespace kestrix::locations
