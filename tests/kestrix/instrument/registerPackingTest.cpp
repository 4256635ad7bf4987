#include "kestrix/instrument/registerPacking.h"

#include <gtest/gtest.h>

namespace kestrix::registers {
namespace {

TEST(TextRegisters, PacksTwoCharactersInTheChosenOrder) {
    EXPECT_EQ(TextToRegister("LOBBY", 1, true), 'L' * 256 + 'O');
    EXPECT_EQ(TextToRegister("LOBBY", 1, false), 'O' * 256 + 'L');
    EXPECT_EQ(TextToRegister("LOBBY", 3, true), 'B' * 256 + 'B');
    EXPECT_EQ(TextToRegister("\xC4Z", 1, true), MakeWord(0xC4, 'Z'));
}

TEST(TextRegisters, LastCharacterAloneGoesToTheLowByte) {
    EXPECT_EQ(TextToRegister("LOBBY", 5, true), 'Y');
    EXPECT_EQ(TextToRegister("LOBBY", 5, false), 'Y');
    EXPECT_EQ(TextToRegister("\xC4", 1, true), 0xC4);
}

TEST(TextRegisters, PositionsOutsideTheTextGiveZero) {
    EXPECT_EQ(TextToRegister("LOBBY", 6, true), 0);
    EXPECT_EQ(TextToRegister("LOBBY", 0, true), 0);
    EXPECT_EQ(TextToRegister("LOBBY", -1, false), 0);
    EXPECT_EQ(TextToRegister("", 1, true), 0);
}

TEST(BytePacking, WordsKeepTheBitPattern) {
    EXPECT_EQ(MakeWord(0x12, 0x34), 0x1234);
    EXPECT_EQ(MakeWord(0x80, 0x00), -32768);
    EXPECT_EQ(MakeWord(0xFF, 0xFF), -1);
}

TEST(BytePacking, LongsDoNotSignExtendTheLowWord) {
    EXPECT_EQ(MakeLong(1, -1), 0x0001FFFF);
    EXPECT_EQ(MakeLong(-1, -1), -1);
    EXPECT_EQ(MakeLong(-32768, 0), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(MakeLong(0, -32768), 0x8000);
}

TEST(BytePacking, ShiftRightBringsInZeros) {
    EXPECT_EQ(ShiftRight16(-32768, 15), 1);
    EXPECT_EQ(ShiftRight16(-1, 8), 0xFF);
    EXPECT_EQ(ShiftRight16(-1, 15), 1);
    EXPECT_EQ(ShiftRight16(0x1234, 4), 0x0123);
}

TEST(BytePacking, ShiftCountsOutsideOneToFifteen) {
    EXPECT_EQ(ShiftRight16(-32768, 0), -32768);
    EXPECT_EQ(ShiftRight16(0x1234, -3), 0x1234);
    EXPECT_EQ(ShiftRight16(-1, 16), 0);
    EXPECT_EQ(ShiftRight16(-1, 32767), 0);
}

TEST(BytePacking, AddBytesWrapsAround) {
    EXPECT_EQ(AddBytes(200, 100), 44);
    EXPECT_EQ(AddBytes(255, 1), 0);
    EXPECT_EQ(AddBytes(1, 2), 3);
}

} // namespace
} // namespace kestrix::registers
