#include "tolvex/AsciiFrame.h"
#include "tolvex/Checksum.h"
#include "tolvex/HexCodec.h"
#include "tolvex/MbapFrame.h"
#include "tolvex/ResultCode.h"
#include "tolvex/RtuFrame.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tolvex {
namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kReadOneRegister{0x01, 0x03, 0x00, 0x00, 0x00, 0x01};

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes WithCrc(Bytes pdu) {
    return BuildRtuFrame(pdu);
}

TEST(Checksum, CrcOfReadRequestIsAppendedLowByteFirst) {
    EXPECT_EQ(Crc16(kReadOneRegister), 0x0A84);
    EXPECT_EQ(BuildRtuFrame(kReadOneRegister),
              (Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}));
}

TEST(Checksum, CrcOverFrameWithItsCrcIsZero) {
    EXPECT_EQ(Crc16(BuildRtuFrame(Bytes{0x11, 0x22, 0x33})), 0);
    EXPECT_EQ(Crc16(Bytes{}), 0xFFFF);
}

TEST(Checksum, LrcIsTwosComplementOfSum) {
    EXPECT_EQ(Lrc(kReadOneRegister), 0xFB);
    EXPECT_EQ(Lrc(Bytes{0x80, 0x80}), 0x00);
    EXPECT_EQ(Lrc(Bytes{}), 0x00);
}

TEST(HexCodec, EncodesUpperCaseHighNibbleFirst) {
    Bytes out;
    AppendHexByte(out, 0xAF);
    AppendHexByte(out, 0x09);
    EXPECT_EQ(out, Text("AF09"));
}

TEST(HexCodec, AcceptsOnlyDigitsAndUpperCaseLetters) {
    EXPECT_EQ(DecodeHexPair('F', 'B'), 0xFB);
    EXPECT_EQ(DecodeHexPair('0', '9'), 0x09);
    EXPECT_FALSE(DecodeHexPair('f', 'b'));
    EXPECT_FALSE(DecodeHexPair('G', '0'));
    EXPECT_FALSE(DecodeHexPair(':', '0'));
    Bytes out(2);
    EXPECT_FALSE(DecodeHex(Text("12"), out)); // too few characters
    EXPECT_TRUE(DecodeHex(Text("12AB"), out));
    EXPECT_EQ(out, (Bytes{0x12, 0xAB}));
}

TEST(AsciiFrame, ReadRequestIsSeventeenCharacters) {
    const Bytes frame = BuildAsciiFrame(kReadOneRegister);
    EXPECT_EQ(frame, Text(":010300000001FB\r\n"));
    EXPECT_EQ(AsciiReplyFrameLength(5), 15U);
}

TEST(AsciiFrame, DecodeFrameChecksEveryPart) {
    EXPECT_EQ(DecodeAsciiFrame(Text(":010300000001FB\r\n")), kReadOneRegister);
    EXPECT_FALSE(DecodeAsciiFrame(Text("010300000001FB\r\n")));  // no colon
    EXPECT_FALSE(DecodeAsciiFrame(Text(":010300000001FC\r\n"))); // wrong LRC
    EXPECT_FALSE(DecodeAsciiFrame(Text(":010300000001FB\r")));   // no LF
    EXPECT_FALSE(DecodeAsciiFrame(Text(":010300000001F\r\n")));  // odd digit count
    EXPECT_FALSE(DecodeAsciiFrame(Text(":\r\n")));
}

class RtuJudge : public ::testing::Test {
protected:
    uint16_t Judge(const Bytes& received, size_t expected = 5) {
        reply.assign(expected, 0xEE);
        return JudgeRtuReply(received, reply);
    }
    Bytes reply;
};

TEST_F(RtuJudge, CorrectReplyIsCopied) {
    const Bytes pdu{0x01, 0x03, 0x02, 0x12, 0x34};
    EXPECT_EQ(Judge(WithCrc(pdu)), 0);
    EXPECT_EQ(reply, pdu);
}

TEST_F(RtuJudge, NothingReceivedIsNoReply) {
    EXPECT_EQ(Judge({}), Code(ResultCode::NoReply));
}

TEST_F(RtuJudge, ExceptionReplyGivesItsCode) {
    EXPECT_EQ(Judge(WithCrc({0x01, 0x83, 0x02})), 2);
    Bytes corrupt = WithCrc({0x01, 0x83, 0x02});
    corrupt[4] ^= 0x01;
    EXPECT_EQ(Judge(corrupt), Code(ResultCode::ChecksumError));
}

TEST_F(RtuJudge, ShortExceptionReplyIsWrongLength) {
    EXPECT_EQ(Judge({0x01, 0x83}), Code(ResultCode::WrongLength));
    EXPECT_EQ(Judge({0x01, 0x83, 0x02, 0xC0}), Code(ResultCode::WrongLength));
}

TEST_F(RtuJudge, ExceptionCodeZeroIsNotSuccess) {
    EXPECT_EQ(Judge(WithCrc({0x01, 0x83, 0x00})), Code(ResultCode::ReplyMismatch));
}

TEST_F(RtuJudge, FunctionByte0x80IsNotAnException) {
    EXPECT_EQ(Judge(WithCrc({0x01, 0x80, 0x02})), Code(ResultCode::WrongLength));
}

TEST_F(RtuJudge, WrongLengthOrCrcIsRejected) {
    EXPECT_EQ(Judge(WithCrc({0x01, 0x03, 0x02, 0x12})), Code(ResultCode::WrongLength));
    EXPECT_EQ(Judge(WithCrc({0x01, 0x03, 0x02, 0x12, 0x34, 0x56})), Code(ResultCode::WrongLength));
    Bytes corrupt = WithCrc({0x01, 0x03, 0x02, 0x12, 0x34});
    corrupt[3] ^= 0x40;
    EXPECT_EQ(Judge(corrupt), Code(ResultCode::ChecksumError));
    EXPECT_EQ(reply, Bytes(5, 0)) << "a rejected reply leaves nothing behind";
}

class AsciiJudge : public ::testing::Test {
protected:
    uint16_t Judge(const std::string& received, size_t expected = 5) {
        reply.assign(expected, 0xEE);
        return JudgeAsciiReply(Text(received), reply);
    }
    Bytes reply;
};

TEST_F(AsciiJudge, CorrectReplyIsDecoded) {
    const Bytes pdu{0x01, 0x03, 0x02, 0xAB, 0xCD};
    const Bytes frame = BuildAsciiFrame(pdu);
    EXPECT_EQ(Judge(std::string(frame.begin(), frame.end())), 0);
    EXPECT_EQ(reply, pdu);
}

TEST_F(AsciiJudge, NothingReceivedIsNoReply) {
    EXPECT_EQ(Judge(""), Code(ResultCode::NoReply));
}

TEST_F(AsciiJudge, ExceptionReplyGivesItsCode) {
    EXPECT_EQ(Judge(":0183027A\r\n"), 2);
}

TEST_F(AsciiJudge, ShortExceptionNeverReadsPastTheReceivedCharacters) {
    EXPECT_EQ(Judge(":0183"), Code(ResultCode::WrongLength));
    EXPECT_EQ(Judge(":01830"), Code(ResultCode::WrongLength));
    EXPECT_EQ(Judge(":018302"), Code(ResultCode::WrongLength));
}

TEST_F(AsciiJudge, GarbledExceptionIsChecksumError) {
    EXPECT_EQ(Judge(":0183027B\r\n"), Code(ResultCode::ChecksumError));
    EXPECT_EQ(Judge(":0183Z27A\r\n"), Code(ResultCode::ChecksumError));
    EXPECT_EQ(Judge(":01830078\r\n"), Code(ResultCode::ChecksumError));
    EXPECT_EQ(Judge(":0183007C\r\n"), Code(ResultCode::ReplyMismatch)) << "exception code 0";
}

TEST_F(AsciiJudge, LowerCaseHexIsRejectedEvenWithMatchingSum) {
    // "0a" would decode as 0x00 under a decoder that maps non-digits to 0; this LRC matches that.
    EXPECT_EQ(Judge(":0103020a00FA\r\n", 5), Code(ResultCode::ChecksumError));
    EXPECT_EQ(Judge(":010302abcd2C\r\n", 5), Code(ResultCode::ChecksumError));
}

TEST_F(AsciiJudge, GarbageIsRejected) {
    EXPECT_EQ(Judge("xxxxxxxxxxxxxxx"), Code(ResultCode::ChecksumError));
    EXPECT_EQ(Judge("\x01\x02\x03"), Code(ResultCode::WrongLength));
    EXPECT_EQ(reply, Bytes(5, 0));
}

TEST_F(AsciiJudge, WrongLengthAndLrc) {
    EXPECT_EQ(Judge(":0103020000FA\r"), Code(ResultCode::WrongLength));
    EXPECT_EQ(Judge(":0103020000FB\r\n"), Code(ResultCode::ChecksumError));
    EXPECT_EQ(Judge(":0103020000FA\r\n"), 0);
}

class TcpJudge : public ::testing::Test {
protected:
    uint16_t Receive(const Bytes& segment, size_t expected = 7) {
        reply.assign(expected, 0xEE);
        parsed = ParseMbapSegment(segment, reply);
        return JudgeTcpReply(parsed, reply);
    }
    Bytes reply;
    MbapSegment parsed;
};

TEST(MbapFrame, ReadTwoRegistersRequest) {
    EXPECT_EQ(BuildMbapFrame(Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x02}, 0),
              (Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x06, 0x01, 0x03, 0x00, 0x00, 0x00, 0x02}));
    EXPECT_EQ(BuildMbapFrame(Bytes{0x01}, 0xABCD)[0], 0xAB);
    EXPECT_EQ(BuildMbapFrame(Bytes{0x01}, 0xABCD)[1], 0xCD);
}

TEST_F(TcpJudge, CorrectReplyAndIdentifier) {
    EXPECT_EQ(Receive({0x12, 0x34, 0, 0, 0, 7, 0x01, 0x03, 0x04, 0xA, 0xB, 0xC, 0xD}), 0);
    EXPECT_EQ(parsed.transactionId, 0x1234);
    EXPECT_EQ(reply, (Bytes{0x01, 0x03, 0x04, 0xA, 0xB, 0xC, 0xD}));
}

TEST_F(TcpJudge, NothingReceivedIsNoReply) {
    EXPECT_EQ(Receive({}), Code(ResultCode::NoReply));
}

TEST_F(TcpJudge, ShortSegmentCarriesNoIdentifier) {
    EXPECT_EQ(Receive({0x00}), Code(ResultCode::WrongLength));
    EXPECT_FALSE(parsed.transactionId);
    EXPECT_EQ(Receive({0, 1, 0, 0, 0, 2, 0x01, 0x03}), Code(ResultCode::WrongLength));
    EXPECT_FALSE(parsed.transactionId);
    EXPECT_EQ(reply, Bytes(7, 0));
}

TEST_F(TcpJudge, OversizedSegmentNeverOverrunsTheReplyBuffer) {
    Bytes segment{0, 1, 0, 0, 0, 255};
    segment.resize(kMbapMaxSegment, 0x5A);
    EXPECT_EQ(Receive(segment, 6), Code(ResultCode::WrongLength));
    EXPECT_EQ(parsed.pduBytes, kMbapMaxSegment - kMbapHeaderLength);
    EXPECT_EQ(reply, Bytes(6, 0x5A));
}

TEST_F(TcpJudge, ExceptionReplyGivesItsCode) {
    EXPECT_EQ(Receive({0, 1, 0, 0, 0, 3, 0x01, 0x83, 0x04}), 4);
    EXPECT_EQ(Receive({0, 1, 0, 0, 0, 3, 0x01, 0x83, 0x00}), Code(ResultCode::ReplyMismatch));
}

} // namespace
} // namespace tolvex
