#include "ModbusMaster.h"

#include "tolvex/AsciiFrame.h"
#include "tolvex/ResultCode.h"
#include "tolvex/RtuFrame.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace tolvex {
namespace {

constexpr size_t kMaxReplyPdu = 256;
constexpr int kMaxTcpReceives = 5;
constexpr size_t kWriteEchoLength = 6; // slave, function, address and the value or quantity

constexpr uint16_t kRefused = Code(ResultCode::SendFailed);
constexpr uint16_t kSuccess = Code(ResultCode::Success);
constexpr uint16_t kMismatch = Code(ResultCode::ReplyMismatch);

bool InRange(uint16_t value, uint16_t low, uint16_t high) {
    return value >= low && value <= high;
}

bool IsBroadcast(std::span<const uint8_t> pdu) {
    return pdu[0] == 0;
}

constexpr uint8_t kAsciiStartMark = ':';
constexpr size_t kMaxAsciiStrays = AsciiReplyFrameLength(kMaxReplyPdu);

// The characters before the last start mark; a reply frame holds only its first one.
size_t StraysBeforeStartMark(std::span<const uint8_t> received) {
    const auto mark = std::find(received.rbegin(), received.rend(), kAsciiStartMark);
    return mark == received.rend() ? 0 : static_cast<size_t>(received.rend() - mark) - 1;
}

} // namespace

uint16_t ModbusMaster::Exchange(const ModbusRequest& request, std::span<uint8_t> reply) {
    // The attempt limit is 1: a failed request is retried only when it is served again.
    return mode_ == TransportMode::Tcp ? ExchangeTcp(request.pdu, reply)
                                       : ExchangeSerial(request.pdu, reply);
}

uint16_t ModbusMaster::ExchangeSerial(std::span<const uint8_t> pdu, std::span<uint8_t> reply) {
    const bool ascii = mode_ == TransportMode::Ascii;
    const auto frame = ascii ? BuildAsciiFrame(pdu) : BuildRtuFrame(pdu);
    if (!IsOpen()) {
        return Code(ResultCode::NotOpen);
    }
    Purge(PurgeQueue::Receive);
    Purge(PurgeQueue::Transmit);
    if (!WriteFrame(frame)) {
        return Code(ResultCode::SendFailed);
    }
    if (ascii) {
        // Flushing here, as a synchronous serial driver may, would drop the unsent frame.
        Drain();
    }
    if (IsBroadcast(pdu)) {
        return kSuccess;
    }
    std::vector<uint8_t> received(ascii ? AsciiReplyFrameLength(reply.size())
                                        : RtuReplyFrameLength(reply.size()));
    const int got = ascii ? ReadAsciiFrame(received) : ReadFrame(received);
    if (got < 0) {
        return Code(ResultCode::ReceiveFailed);
    }
    const auto arrived = std::span<const uint8_t>(received).first(static_cast<size_t>(got));
    return ascii ? JudgeAsciiReply(arrived, reply) : JudgeRtuReply(arrived, reply);
}

// Characters before a frame's ":" start mark are strays, such as the end of an interrupted
// transaction: they are dropped and the frame is read on to its full length. At most one longest
// frame of strays is dropped, so a line that never stops talking still ends the read.
int ModbusMaster::ReadAsciiFrame(std::span<uint8_t> frame) {
    size_t have = 0;
    size_t dropped = 0;
    for (;;) {
        const int got = ReadFrame(frame.subspan(have));
        if (got < 0) {
            return -1;
        }
        have += static_cast<size_t>(got);
        const size_t strays = StraysBeforeStartMark(frame.first(have));
        if (strays == 0 || dropped + strays > kMaxAsciiStrays) {
            return static_cast<int>(have);
        }
        const bool full = have == frame.size();
        std::copy(frame.begin() + static_cast<std::ptrdiff_t>(strays),
                  frame.begin() + static_cast<std::ptrdiff_t>(have), frame.begin());
        have -= strays;
        dropped += strays;
        if (!full) {
            return static_cast<int>(have); // the line fell silent: nothing more to wait for
        }
    }
}

uint16_t ModbusMaster::ExchangeTcp(std::span<const uint8_t> pdu, std::span<uint8_t> reply) {
    ++transactionId_;
    if (!tcp_.IsSocketOpen()) {
        return Code(ResultCode::NotOpen);
    }
    if (!tcp_.Send(pdu, transactionId_)) {
        return Code(ResultCode::SendFailed);
    }
    return ReceiveCurrentReply(reply);
}

// Reads past stale replies of earlier, timed-out transactions (at most kMaxTcpReceives reads).
uint16_t ModbusMaster::ReceiveCurrentReply(std::span<uint8_t> reply) {
    MbapSegment segment;
    for (int receives = 0; receives < kMaxTcpReceives; ++receives) {
        const int got = tcp_.Receive(reply, segment);
        if (got < 0) {
            return Code(ResultCode::ReceiveFailed);
        }
        // A frame cut short by the deadline has no identifier: waiting longer cannot mend it.
        if (got == 0 || !segment.transactionId || segment.transactionId == transactionId_) {
            return JudgeTcpReply(segment, reply);
        }
    }
    // Only replies of other transactions came.
    return kMismatch;
}

uint16_t ModbusMaster::RunRead(const ModbusRequest& request, ReplyUnpacker unpack,
                               std::span<uint8_t> out) {
    std::array<uint8_t, kMaxReplyPdu> buffer{};
    const auto reply = std::span(buffer).first(request.expectedReplyLength);
    const uint16_t result = Exchange(request, reply);
    if (result != kSuccess) {
        return result;
    }
    if (!HeaderMatches(reply, request.pdu)) {
        return kMismatch;
    }
    unpack(reply, out);
    return kSuccess;
}

uint16_t ModbusMaster::ReadBits(uint8_t slave, uint8_t function, uint16_t address,
                                uint16_t quantity, std::span<uint8_t> bits) {
    if (slave == 0 || (function != 1 && function != 2) || !InRange(quantity, 1, kMaxReadBits) ||
        bits.size() < quantity) {
        return kRefused;
    }
    return RunRead(BuildReadRequest(slave, function, address, quantity), UnpackBits,
                   bits.first(quantity));
}

uint16_t ModbusMaster::ReadRegisters(uint8_t slave, uint8_t function, uint16_t address,
                                     uint16_t quantity, std::span<uint8_t> registers) {
    if (slave == 0 || (function != 3 && function != 4) ||
        !InRange(quantity, 1, kMaxReadRegisters) || registers.size() < 2U * quantity) {
        return kRefused;
    }
    return RunRead(BuildReadRequest(slave, function, address, quantity), UnpackRegisters,
                   registers.first(2U * quantity));
}

uint16_t ModbusMaster::RunWrite(const ModbusRequest& request, size_t echoedBytes) {
    std::array<uint8_t, kMaxReplyPdu> buffer{};
    const auto reply = std::span(buffer).first(request.expectedReplyLength);
    const uint16_t result = Exchange(request, reply);
    if (result == kSuccess && !EchoMatches(reply, request.pdu, echoedBytes)) {
        return kMismatch;
    }
    return result;
}

uint16_t ModbusMaster::WriteSingleCoil(uint8_t slave, uint16_t address, uint8_t coil) {
    return RunWrite(BuildWriteSingleCoil(slave, address, coil), kWriteEchoLength);
}

uint16_t ModbusMaster::WriteSingleRegister(uint8_t slave, uint16_t address, uint16_t value) {
    return RunWrite(BuildWriteSingleRegister(slave, address, value), kWriteEchoLength);
}

uint16_t ModbusMaster::WriteMultipleCoils(uint8_t slave, uint16_t address, uint16_t quantity,
                                          std::span<const uint8_t> coils) {
    if (!InRange(quantity, 1, kMaxWriteCoils) || coils.size() < quantity) {
        return kRefused;
    }
    return RunWrite(BuildWriteMultipleCoils(slave, address, coils.first(quantity)),
                    kWriteEchoLength);
}

uint16_t ModbusMaster::WriteMultipleRegisters(uint8_t slave, uint16_t address, uint16_t quantity,
                                              std::span<const uint8_t> registers) {
    if (!InRange(quantity, 1, kMaxWriteRegisters) || registers.size() < 2U * quantity) {
        return kRefused;
    }
    return RunWrite(BuildWriteMultipleRegisters(slave, address, registers.first(2U * quantity)),
                    kWriteEchoLength);
}

uint16_t ModbusMaster::ReadWriteRegisters(uint8_t slave, uint16_t readAddress,
                                          uint16_t readQuantity, uint16_t writeAddress,
                                          uint16_t writeQuantity, std::span<uint8_t> registers) {
    if (slave == 0 || readQuantity > kMaxReadRegisters ||
        !InRange(writeQuantity, 1, kMaxReadWriteWriteRegisters) ||
        registers.size() < 2U * std::max(readQuantity, writeQuantity)) {
        return kRefused;
    }
    return RunRead(BuildReadWriteRegisters(slave, readAddress, readQuantity, writeAddress,
                                           registers.first(2U * writeQuantity)),
                   UnpackRegisters, registers.first(2U * readQuantity));
}

} // namespace tolvex
