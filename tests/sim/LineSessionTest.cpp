#include "LineSession.h"

#include "AsciiFrameAssembler.h"
#include "FastTransfer.h"
#include "Presets.h"
#include "tolvex/AsciiFrame.h"

#include <gtest/gtest.h>
#include <string>

namespace kestrix::sim {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Frame(const Bytes& pdu) {
    return tolvex::BuildAsciiFrame(pdu);
}

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// Feeds the bytes and returns the PDUs of the answers (nullopt entries for unreadable ones).
std::vector<std::optional<Bytes>> Answers(LineSession& session, const Bytes& bytes) {
    std::vector<std::optional<Bytes>> pdus;
    for (const Transmission& t : session.Receive(bytes)) {
        pdus.push_back(tolvex::DecodeAsciiFrame(t.bytes));
    }
    return pdus;
}

const Bytes kReadMapVersion{1, 3, 0, 0, 0, 1};

TEST(AsciiFrameAssembler, ColonRestartsAndCrLfEnds) {
    AsciiFrameAssembler assembler;
    std::optional<Bytes> frame;
    for (uint8_t byte : Text("xx:0103:01030000000\r1FB\r\n")) {
        if (auto got = assembler.Accept(byte)) {
            frame = got;
        }
    }
    ASSERT_TRUE(frame);
    EXPECT_EQ(*frame, Text(":01030000000\r1FB\r\n"));
}

TEST(AsciiFrameAssembler, RunawayFrameIsDropped) {
    AsciiFrameAssembler assembler;
    Bytes noise = Text(":");
    noise.resize(2000, 'A');
    for (uint8_t byte : noise) {
        EXPECT_FALSE(assembler.Accept(byte));
    }
    EXPECT_FALSE(assembler.Accept('\r'));
    EXPECT_FALSE(assembler.Accept('\n'));
}

class LineSessionTest : public ::testing::Test {
protected:
    explicit LineSessionTest(const char* preset = "iaq-fast")
        : instrument(*FindPreset(preset)), session(instrument, FaultOptions{}) {}
    Instrument instrument;
    LineSession session;
};

TEST_F(LineSessionTest, AnswersOnlyItsOwnAddress) {
    const auto answers = Answers(session, Frame(kReadMapVersion));
    ASSERT_EQ(answers.size(), 1U);
    EXPECT_EQ(*answers[0], (Bytes{1, 3, 2, 0, 145}));
    EXPECT_TRUE(Answers(session, Frame({2, 3, 0, 0, 0, 1})).empty());
}

TEST_F(LineSessionTest, BadChecksumGetsNoAnswer) {
    Bytes frame = Frame(kReadMapVersion);
    frame[frame.size() - 3] ^= 1;
    EXPECT_TRUE(Answers(session, frame).empty());
}

TEST_F(LineSessionTest, ExceptionsForUnknownFunctionsAndAddresses) {
    EXPECT_EQ(*Answers(session, Frame({1, 5, 0, 0, 0xFF, 0}))[0], (Bytes{1, 0x85, 1}));
    EXPECT_EQ(*Answers(session, Frame({1, 16, 0, 1, 0, 1, 2, 0, 12}))[0], (Bytes{1, 0x90, 1}));
    EXPECT_EQ(*Answers(session, Frame({1, 3, 0, 100, 0, 1}))[0], (Bytes{1, 0x83, 2}));
    EXPECT_EQ(*Answers(session, Frame({1, 3, 0, 0, 0, 126}))[0], (Bytes{1, 0x83, 3}));
    EXPECT_EQ(*Answers(session, Frame({1, 3, 0, 0, 0}))[0], (Bytes{1, 0x83, 3}));
}

TEST_F(LineSessionTest, BroadcastWriteIsAppliedWithoutAnswer) {
    EXPECT_TRUE(Answers(session, Frame({0, 6, 0, 43, 0x04, 0xB0})).empty());
    EXPECT_EQ(instrument.DensityX1000(), 1200);
    EXPECT_TRUE(Answers(session, Frame({0, 3, 0, 0, 0, 1})).empty());
}

TEST_F(LineSessionTest, FastTransferUntilTheNextModbusFrame) {
    EXPECT_TRUE(Answers(session, Text("<gr0000,0001>")).empty()) << "not yet in fast mode";
    const auto echo = Answers(session, Frame({1, 6, 0, 1, 0, 16}));
    ASSERT_EQ(echo.size(), 1U);
    EXPECT_EQ(*echo[0], (Bytes{1, 6, 0, 1, 0, 16}));
    ASSERT_TRUE(session.InFastTransfer());

    const auto chunks = session.Receive(Text("junk<gr0002,0003><gr12>"));
    ASSERT_EQ(chunks.size(), 1U);
    EXPECT_EQ(chunks[0].bitRate, kFastTransferBitRate);
    EXPECT_EQ(chunks[0].bytes,
              BuildFastChunk(instrument.Records(), {2, 3}, instrument.AnalogCalibration()));

    EXPECT_EQ(Answers(session, Frame(kReadMapVersion)).size(), 1U);
    EXPECT_FALSE(session.InFastTransfer());
    EXPECT_TRUE(session.Receive(Text("<gr0000,0001>")).empty());
}

TEST_F(LineSessionTest, CommandSplitAcrossReadsStillCounts) {
    session.Receive(Frame({1, 6, 0, 1, 0, 16}));
    EXPECT_TRUE(session.Receive(Text("<gr00")).empty());
    EXPECT_EQ(session.Receive(Text("00,0001>")).size(), 1U);
}

// Sends n map-version reads and reports for each whether a readable answer came.
std::string Pattern(const FaultOptions& faults, int n) {
    Instrument instrument(*FindPreset("standard"));
    LineSession session(instrument, faults);
    std::string pattern;
    for (int i = 0; i < n; ++i) {
        const auto answers = Answers(session, Frame(kReadMapVersion));
        pattern += answers.empty() ? '-' : answers[0] ? 'A' : 'X';
    }
    return pattern;
}

TEST(LineFaults, DropAndCorruptCountTheAnswersDue) {
    EXPECT_EQ(Pattern({}, 4), "AAAA");
    EXPECT_EQ(Pattern({.dropFirst = 2}, 4), "--AA");
    EXPECT_EQ(Pattern({.dropEvery = 3}, 6), "AA-AA-");
    EXPECT_EQ(Pattern({.corruptEvery = 2}, 4), "AXAX");
    EXPECT_EQ(Pattern({.silent = true}, 3), "---");
    EXPECT_EQ(Pattern({.dropFirst = 1, .corruptEvery = 2}, 4), "-XAX");
}

TEST(LineFaults, HangUpAfterTheGivenAnswers) {
    Instrument instrument(*FindPreset("standard"));
    LineSession session(instrument, FaultOptions{.hangUpAfter = 2});
    Bytes twoRequests = Frame(kReadMapVersion);
    const Bytes more = Frame(kReadMapVersion);
    twoRequests.insert(twoRequests.end(), more.begin(), more.end());
    EXPECT_EQ(session.Receive(twoRequests).size(), 2U);
    EXPECT_TRUE(session.HangUpDue());
    EXPECT_TRUE(session.Receive(Frame(kReadMapVersion)).empty());
}

TEST(LineFaults, CorruptedChunkHasAWrongSum) {
    Instrument instrument(*FindPreset("iaq-fast"));
    LineSession session(instrument, FaultOptions{.corruptEvery = 2});
    session.Receive(Frame({1, 6, 0, 1, 0, 16}));
    const auto chunks = session.Receive(Text("<gr0000,0002>"));
    ASSERT_EQ(chunks.size(), 1U);
    const auto good = BuildFastChunk(instrument.Records(), {0, 2}, instrument.AnalogCalibration());
    EXPECT_TRUE(std::equal(good.begin(), good.end() - 1, chunks[0].bytes.begin()));
    EXPECT_NE(chunks[0].bytes.back(), good.back());
}

} // namespace
} // namespace kestrix::sim
