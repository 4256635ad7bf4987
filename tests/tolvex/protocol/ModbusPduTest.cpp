#include "ModbusPdu.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace tolvex {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes HostRegisters(std::initializer_list<uint16_t> values) {
    Bytes out(2 * values.size());
    std::memcpy(out.data(), std::data(values), out.size());
    return out;
}

TEST(ModbusPduRequest, ReadsCarryAddressQuantityAndExpectedLength) {
    const auto bits = BuildReadRequest(1, 1, 0x0102, 9);
    EXPECT_EQ(bits.pdu, (Bytes{0x01, 0x01, 0x01, 0x02, 0x00, 0x09}));
    EXPECT_EQ(bits.expectedReplyLength, 3U + 2U);
    const auto registers = BuildReadRequest(7, 4, 0xFFFF, 125);
    EXPECT_EQ(registers.pdu, (Bytes{0x07, 0x04, 0xFF, 0xFF, 0x00, 0x7D}));
    EXPECT_EQ(registers.expectedReplyLength, 253U);
}

TEST(ModbusPduRequest, SingleWrites) {
    EXPECT_EQ(BuildWriteSingleCoil(1, 3, 0x01).pdu, (Bytes{1, 5, 0, 3, 0xFF, 0}));
    EXPECT_EQ(BuildWriteSingleCoil(1, 3, 0x80).pdu, (Bytes{1, 5, 0, 3, 0xFF, 0}));
    EXPECT_EQ(BuildWriteSingleCoil(1, 3, 0x00).pdu, (Bytes{1, 5, 0, 3, 0x00, 0}));
    const auto reg = BuildWriteSingleRegister(2, 0x10, 0xBEEF);
    EXPECT_EQ(reg.pdu, (Bytes{2, 6, 0, 0x10, 0xBE, 0xEF}));
    EXPECT_EQ(reg.expectedReplyLength, 6U);
}

TEST(ModbusPduRequest, CoilsArePackedLeastSignificantBitFirst) {
    const Bytes coils{1, 0, 1, 1, 0, 0, 0, 0, 9, 1};
    const auto request = BuildWriteMultipleCoils(1, 0x13, coils);
    EXPECT_EQ(request.pdu, (Bytes{1, 15, 0x00, 0x13, 0x00, 0x0A, 0x02, 0x0D, 0x03}));
    EXPECT_EQ(request.expectedReplyLength, 6U);
}

TEST(ModbusPduRequest, RegistersAreSentHighByteFirst) {
    const auto request = BuildWriteMultipleRegisters(1, 1, HostRegisters({0x000A, 0x0102}));
    EXPECT_EQ(request.pdu, (Bytes{1, 16, 0, 1, 0, 2, 4, 0x00, 0x0A, 0x01, 0x02}));
}

TEST(ModbusPduRequest, ReadWriteRegistersLayout) {
    const auto request = BuildReadWriteRegisters(1, 3, 6, 0x0E, HostRegisters({0x00FF, 0x00FF}));
    EXPECT_EQ(request.pdu, (Bytes{1, 23, 0, 3, 0, 6, 0, 0x0E, 0, 2, 4, 0x00, 0xFF, 0x00, 0xFF}));
    EXPECT_EQ(request.expectedReplyLength, 3U + 12U);
}

TEST(ModbusPduReply, HeaderAndEchoChecks) {
    const Bytes request{1, 6, 0, 1, 0, 3};
    EXPECT_TRUE(HeaderMatches(Bytes{1, 6, 9}, request));
    EXPECT_FALSE(HeaderMatches(Bytes{2, 6, 9}, request));
    EXPECT_FALSE(HeaderMatches(Bytes{1, 3, 9}, request));
    EXPECT_FALSE(HeaderMatches(Bytes{1}, request));
    EXPECT_TRUE(EchoMatches(request, request, 6));
    EXPECT_FALSE(EchoMatches(Bytes{1, 6, 0, 1, 0, 4}, request, 6));
    EXPECT_TRUE(EchoMatches(Bytes{9, 9, 9, 9, 9, 9}, Bytes{0, 6, 0, 1, 0, 3}, 6))
        << "a broadcast is not checked";
}

TEST(ModbusPduReply, BitsUnpackOneBytePerBit) {
    Bytes bits(10, 0xEE);
    UnpackBits(Bytes{1, 1, 2, 0xCD, 0x01}, bits);
    EXPECT_EQ(bits, (Bytes{1, 0, 1, 1, 0, 0, 1, 1, 1, 0}));
}

TEST(ModbusPduReply, RegistersUnpackToHostOrder) {
    Bytes registers(4);
    UnpackRegisters(Bytes{1, 3, 4, 0x41, 0x20, 0xFF, 0xFF}, registers);
    EXPECT_EQ(registers, HostRegisters({0x4120, 0xFFFF}));
}

TEST(ModbusPduReply, UnpackingStaysInsideShortReplies) {
    Bytes bits(16, 0xEE);
    UnpackBits(Bytes{1, 1}, bits);
    EXPECT_EQ(bits, Bytes(16, 0xEE));
    Bytes registers(4, 0xEE);
    UnpackRegisters(Bytes{1, 3, 2, 0x12}, registers);
    EXPECT_EQ(registers, Bytes(4, 0xEE));
}

} // namespace
} // namespace tolvex
