// The names an upload writes: the byte-order rule, the register values, and the checks made
// before the first write.

#include "kestrix/instrument/UploadNames.h"

#include "kestrix/instrument/InstrumentIdentity.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrix {
namespace {

TEST(UploadNames, OnlyTheOneModelFamilyTakesTheLowByteFirst) {
    const struct {
        const char* modelName;
        const char* modelType;
        int code;
        int mapVersion;
        bool highFirst;
    } cases[] = {
        {"Velora 1100", "APC", 250, 138, false}, {"velora 2", "particle counter", 250, 138, false},
        {"Velora 1100", "LPC", 250, 138, true},  {"Velora 1100", "APC", 251, 138, true},
        {"Velora 1100", "APC", 250, 139, true},  {"Dastel 9304", "APC", 250, 138, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.modelName + std::string(" ") + c.modelType);
        instrument::InstrumentIdentity identity;
        identity.modelName = c.modelName;
        identity.modelType = c.modelType;
        identity.mapVersion = c.mapVersion;
        EXPECT_EQ(instrument::IsHighByteFirst(identity, c.code), c.highFirst);
    }
}

TEST(UploadNames, LobbyFillsFourRegistersWithSpaces) {
    const auto prepared =
        std::get<instrument::PreparedNames>(instrument::PrepareUploadNames({"HOME", "LOBBY"}, 1));
    const std::int16_t high[] = {0x4C4F, 0x4242, 0x5920, 0x2020};
    const std::int16_t low[] = {0x4F4C, 0x4242, 0x2059, 0x2020};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(instrument::NameRegister(c), 199 + c);
        EXPECT_EQ(instrument::NameRegisterValue(prepared, c, true), high[c]);
        EXPECT_EQ(instrument::NameRegisterValue(prepared, c, false), low[c]);
    }
}

TEST(UploadNames, ChecksCoverIndexZeroToTheCount) {
    const struct {
        std::vector<std::string> names;
        int count;
        bool accepted;
        bool repeated;
        const char* numbers; // named by the refusal
    } cases[] = {
        {{"HOME", "A", "B"}, 2, true, false, ""},
        {{"home", "A", "B"}, 2, false, false, "(number 000)"},
        {{"HOME", "A", "B", "c"}, 2, true, false, ""},           // beyond the count
        {{"A", "B", "A"}, 2, false, true, "(numbers 000, 002)"}, // index 0 takes part
        {{"HOME", "A", "A "}, 2, false, false, "(number 002)"},  // a space is no name character
        {{"HOME", "A"}, 3, false, true, "(numbers 002, 003)"},   // two missing names are both empty
    };
    for (const auto& c : cases) {
        const auto result = instrument::PrepareUploadNames(c.names, c.count);
        ASSERT_EQ(std::holds_alternative<instrument::PreparedNames>(result), c.accepted);
        const std::vector<instrument::UploadNameProblem> problems =
            instrument::FindUploadNameProblems(c.names, c.count);
        EXPECT_EQ(
            std::count(problems.begin(), problems.end(), instrument::UploadNameProblem::None) ==
                static_cast<std::ptrdiff_t>(problems.size()),
            c.accepted);
        if (!c.accepted) {
            EXPECT_EQ(std::get<instrument::NameRejection>(result).repeated, c.repeated);
            EXPECT_THAT(std::get<instrument::NameRejection>(result).text,
                        ::testing::HasSubstr(c.numbers));
        }
    }
}

} // namespace
} // namespace kestrix
