#include "ModbusMaster.h"
#include "PtyPair.h"
#include "tolvex/AsciiFrame.h"
#include "tolvex/PortTable.h"
#include "tolvex/ResultCode.h"
#include "tolvex/RtuFrame.h"

#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace tolvex {
namespace {

using namespace std::chrono_literals;
using test::PtyPair;
using Bytes = std::vector<uint8_t>;

constexpr int kPort = 9;

struct Chunk {
    Bytes bytes;
    std::chrono::milliseconds pauseBefore{0};
};

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

uint16_t RegisterAt(const Bytes& registers, size_t index) {
    uint16_t value;
    std::memcpy(&value, registers.data() + 2 * index, sizeof value);
    return value;
}

// A scripted slave on the far side of a pseudo-terminal: it reads one request, then answers
// with the given chunks.
class FakeSlave : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SetPortDevice(kPort, pty.DevicePath())); }
    void TearDown() override {
        if (slave.joinable()) {
            slave.join();
        }
        SetPortDevice(kPort, "");
    }

    void Open(TransportMode mode, uint32_t interval) {
        ASSERT_TRUE(master.Open(kPort, LineSettings{}));
        ASSERT_TRUE(master.SetTimeouts(SerialTimeouts{interval, 1, 600, 1, 200}));
        master.SetTransportMode(mode);
    }

    void Answer(size_t requestLength, std::vector<Chunk> chunks) {
        slave = std::thread([this, requestLength, chunks = std::move(chunks)] {
            request = pty.Read(requestLength, 3000ms);
            for (const Chunk& chunk : chunks) {
                std::this_thread::sleep_for(chunk.pauseBefore);
                pty.Write(chunk.bytes);
            }
        });
    }

    uint16_t ReadTwoRegisters() {
        const uint16_t result = master.ReadRegisters(1, 3, 0, 2, registers);
        slave.join();
        return result;
    }

    PtyPair pty;
    ModbusMaster master;
    std::thread slave;
    Bytes request;
    Bytes registers = Bytes(4, 0);
};

class FakeRtuSlave : public FakeSlave {
protected:
    void SetUp() override {
        FakeSlave::SetUp();
        Open(TransportMode::Rtu, 100);
    }
    void AnswerRead(Bytes pdu) { Answer(8, {{BuildRtuFrame(pdu)}}); }
};

TEST_F(FakeRtuSlave, ReadsRegistersFromACorrectReply) {
    AnswerRead({0x01, 0x03, 0x04, 0xAA, 0xBB, 0xCC, 0xDD});
    EXPECT_EQ(ReadTwoRegisters(), 0);
    EXPECT_EQ(request, BuildRtuFrame(Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x02}));
    EXPECT_EQ(RegisterAt(registers, 0), 0xAABB);
    EXPECT_EQ(RegisterAt(registers, 1), 0xCCDD);
}

TEST_F(FakeRtuSlave, ReadOfOneRegisterSendsTheKnownFrame) {
    Answer(8, {{BuildRtuFrame(Bytes{0x01, 0x03, 0x02, 0x00, 0x07})}});
    EXPECT_EQ(master.ReadRegisters(1, 3, 0, 1, registers), 0);
    slave.join();
    EXPECT_EQ(request, (Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}));
}

TEST_F(FakeRtuSlave, ReplyFromAnotherSlaveOrFunctionIsAMismatch) {
    AnswerRead({0x02, 0x03, 0x04, 0xAA, 0xBB, 0xCC, 0xDD});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::ReplyMismatch));
    AnswerRead({0x01, 0x04, 0x04, 0xAA, 0xBB, 0xCC, 0xDD});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::ReplyMismatch));
    EXPECT_EQ(registers, Bytes(4, 0)) << "a rejected reply leaves the data alone";
}

TEST_F(FakeRtuSlave, CorruptCrcIsAChecksumError) {
    Bytes frame = BuildRtuFrame(Bytes{0x01, 0x03, 0x04, 0xAA, 0xBB, 0xCC, 0xDD});
    frame[4] ^= 0x10;
    Answer(8, {{frame}});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::ChecksumError));
}

TEST_F(FakeRtuSlave, ShortOrLongReplyIsWrongLength) {
    AnswerRead({0x01, 0x03, 0x04, 0xAA, 0xBB, 0xCC});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::WrongLength));
}

TEST_F(FakeRtuSlave, SilenceIsNoReply) {
    Answer(8, {});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::NoReply));
}

TEST_F(FakeRtuSlave, ExceptionReplyGivesTheDeviceCode) {
    AnswerRead({0x01, 0x83, 0x02});
    EXPECT_EQ(ReadTwoRegisters(), 2);
    Bytes corrupt = BuildRtuFrame(Bytes{0x01, 0x83, 0x02});
    corrupt[3] ^= 0xFF;
    Answer(8, {{corrupt}});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::ChecksumError));
}

TEST_F(FakeRtuSlave, GarbageIsRejected) {
    Answer(8, {{Bytes(9, 0xA5)}});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::ChecksumError));
}

TEST_F(FakeRtuSlave, ReplySplitWithShortGapsIsWhole) {
    const Bytes frame = BuildRtuFrame(Bytes{0x01, 0x03, 0x04, 0x01, 0x02, 0x03, 0x04});
    master.SetTimeouts(SerialTimeouts{1500, 1, 5000, 1, 200});
    Answer(8, {{Bytes(frame.begin(), frame.begin() + 3)},
               {Bytes(frame.begin() + 3, frame.begin() + 6), 30ms},
               {Bytes(frame.begin() + 6, frame.end()), 30ms}});
    EXPECT_EQ(ReadTwoRegisters(), 0);
    EXPECT_EQ(RegisterAt(registers, 1), 0x0304);
}

TEST_F(FakeRtuSlave, GapLongerThanTheIntervalCutsTheReply) {
    const Bytes frame = BuildRtuFrame(Bytes{0x01, 0x03, 0x04, 0x01, 0x02, 0x03, 0x04});
    Answer(8, {{Bytes(frame.begin(), frame.begin() + 4)},
               {Bytes(frame.begin() + 4, frame.end()), 700ms}});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::WrongLength));
}

TEST_F(FakeRtuSlave, BroadcastWriteAwaitsNoReply) {
    Answer(8, {});
    EXPECT_EQ(master.WriteSingleRegister(0, 0x0010, 0x1234), 0);
    slave.join();
    EXPECT_EQ(request, BuildRtuFrame(Bytes{0x00, 0x06, 0x00, 0x10, 0x12, 0x34}));
}

TEST_F(FakeRtuSlave, WriteReplyMustEchoTheRequest) {
    Answer(8, {{BuildRtuFrame(Bytes{0x01, 0x06, 0x00, 0x10, 0x12, 0x35})}});
    EXPECT_EQ(master.WriteSingleRegister(1, 0x0010, 0x1234), Code(ResultCode::ReplyMismatch));
    slave.join();
}

TEST_F(FakeRtuSlave, CoilsArePackedAndUnpacked) {
    const Bytes coils{1, 0, 0, 1, 1, 0, 0, 0, 1};
    Answer(11, {{BuildRtuFrame(Bytes{0x01, 0x0F, 0x00, 0x05, 0x00, 0x09})}});
    EXPECT_EQ(master.WriteMultipleCoils(1, 5, 9, coils), 0);
    slave.join();
    EXPECT_EQ(request, BuildRtuFrame(Bytes{0x01, 0x0F, 0x00, 0x05, 0x00, 0x09, 0x02, 0x19, 0x01}));
    Answer(8, {{BuildRtuFrame(Bytes{0x01, 0x02, 0x02, 0x19, 0x01})}});
    Bytes read(9, 0xEE);
    EXPECT_EQ(master.ReadBits(1, 2, 5, 9, read), 0);
    slave.join();
    EXPECT_EQ(read, coils);
}

TEST_F(FakeRtuSlave, VanishedDeviceIsAReceiveFailure) {
    slave = std::thread([this] {
        pty.Read(8, 3000ms);
        pty.CloseController();
    });
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::ReceiveFailed));
}

TEST_F(FakeRtuSlave, RequestsThatCannotBeFramedAreRefused) {
    Bytes small(2);
    Bytes large(300);
    EXPECT_EQ(master.ReadRegisters(0, 3, 0, 1, small), Code(ResultCode::SendFailed));
    EXPECT_EQ(master.ReadRegisters(1, 3, 0, 2, small), Code(ResultCode::SendFailed));
    EXPECT_EQ(master.ReadRegisters(1, 3, 0, 126, large), Code(ResultCode::SendFailed));
    EXPECT_EQ(master.ReadBits(1, 3, 0, 1, small), Code(ResultCode::SendFailed));
    EXPECT_EQ(master.WriteMultipleRegisters(1, 0, 124, large), Code(ResultCode::SendFailed));
    EXPECT_EQ(pty.Read(1, 200ms), Bytes{}) << "nothing went out";
}

TEST_F(FakeSlave, ClosedPortIsNotOpen) {
    EXPECT_EQ(master.ReadRegisters(1, 3, 0, 2, registers), Code(ResultCode::NotOpen));
    master.SetTransportMode(TransportMode::Ascii);
    EXPECT_EQ(master.WriteSingleCoil(1, 0, 1), Code(ResultCode::NotOpen));
}

class FakeAsciiSlave : public FakeSlave {
protected:
    void SetUp() override {
        FakeSlave::SetUp();
        Open(TransportMode::Ascii, 1000);
    }
    static constexpr size_t kRequestLength = 17;
};

TEST_F(FakeAsciiSlave, ReadsRegistersFromACorrectReply) {
    Answer(kRequestLength, {{BuildAsciiFrame(Bytes{0x01, 0x03, 0x04, 0xAA, 0xBB, 0xCC, 0xDD})}});
    EXPECT_EQ(ReadTwoRegisters(), 0);
    EXPECT_EQ(request, Text(":010300000002FA\r\n"));
    EXPECT_EQ(RegisterAt(registers, 0), 0xAABB);
}

TEST_F(FakeAsciiSlave, StrayCharactersBeforeTheReplyAreDropped) {
    const Bytes reply = BuildAsciiFrame(Bytes{0x01, 0x03, 0x04, 0xAA, 0xBB, 0xCC, 0xDD});
    Answer(kRequestLength, {{Text("7F\r\n")}, {reply, 20ms}});
    EXPECT_EQ(ReadTwoRegisters(), 0);
    EXPECT_EQ(RegisterAt(registers, 1), 0xCCDD);
    Answer(kRequestLength, {{Text("\r\n:0103")}, {reply, 20ms}});
    EXPECT_EQ(ReadTwoRegisters(), 0) << "the end of an interrupted frame, its start mark too";
}

TEST_F(FakeAsciiSlave, LowerCaseHexIsAChecksumError) {
    Answer(kRequestLength, {{Text(":01030400aa00bb8f\r\n")}});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::ChecksumError));
}

TEST_F(FakeAsciiSlave, GarbageIsRejected) {
    Answer(kRequestLength, {{Text("#$%&'()*+,-./0123\r\n")}});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::ChecksumError));
}

TEST_F(FakeAsciiSlave, ExceptionReplies) {
    Answer(kRequestLength, {{Text(":0183027A\r\n")}});
    EXPECT_EQ(ReadTwoRegisters(), 2);
    Answer(kRequestLength, {{Text(":0183\r\n")}});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::WrongLength));
    Answer(kRequestLength, {{Text(":0183027B\r\n")}});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::ChecksumError));
}

TEST_F(FakeAsciiSlave, WrongLengthAndWrongSlave) {
    Answer(kRequestLength, {{BuildAsciiFrame(Bytes{0x01, 0x03, 0x02, 0xAA, 0xBB})}});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::WrongLength));
    Answer(kRequestLength, {{BuildAsciiFrame(Bytes{0x05, 0x03, 0x04, 0xAA, 0xBB, 0xCC, 0xDD})}});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::ReplyMismatch));
}

TEST_F(FakeAsciiSlave, ReplySplitWithShortGapsIsWhole) {
    const Bytes frame = BuildAsciiFrame(Bytes{0x01, 0x03, 0x04, 0x00, 0x01, 0x00, 0x02});
    Answer(kRequestLength, {{Bytes(frame.begin(), frame.begin() + 5)},
                            {Bytes(frame.begin() + 5, frame.begin() + 12), 50ms},
                            {Bytes(frame.begin() + 12, frame.end()), 50ms}});
    EXPECT_EQ(ReadTwoRegisters(), 0);
    EXPECT_EQ(RegisterAt(registers, 1), 0x0002);
}

TEST_F(FakeAsciiSlave, GapLongerThanTheIntervalCutsTheReply) {
    master.SetTimeouts(SerialTimeouts{150, 1, 3000, 1, 200});
    const Bytes frame = BuildAsciiFrame(Bytes{0x01, 0x03, 0x04, 0x00, 0x01, 0x00, 0x02});
    Answer(kRequestLength, {{Bytes(frame.begin(), frame.begin() + 9)},
                            {Bytes(frame.begin() + 9, frame.end()), 800ms}});
    EXPECT_EQ(ReadTwoRegisters(), Code(ResultCode::WrongLength));
}

} // namespace
} // namespace tolvex
