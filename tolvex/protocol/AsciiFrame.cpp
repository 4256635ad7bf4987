#include "tolvex/AsciiFrame.h"

#include "ExceptionReply.h"
#include "tolvex/Checksum.h"
#include "tolvex/HexCodec.h"
#include "tolvex/ResultCode.h"

#include <algorithm>
#include <array>

namespace tolvex {
namespace {

constexpr uint8_t kColon = ':';
constexpr size_t kFrameOverhead = 5;           // ":", LRC, CR, LF
constexpr size_t kExceptionCharacters = 1 + 8; // ":", slave, function, code, LRC

// Decodes pdu.size() bytes after the colon and checks them against the LRC that follows.
bool DecodeCheckedPdu(std::span<const uint8_t> frame, std::span<uint8_t> pdu) {
    const size_t lrcAt = 1 + 2 * pdu.size();
    if (frame.size() < lrcAt + 2 || !DecodeHex(frame.subspan(1), pdu)) {
        return false;
    }
    const auto lrc = DecodeHexPair(frame[lrcAt], frame[lrcAt + 1]);
    return lrc && *lrc == Lrc(pdu);
}

uint16_t JudgeException(std::span<const uint8_t> received) {
    if (received.size() < kExceptionCharacters) {
        return Code(ResultCode::WrongLength);
    }
    std::array<uint8_t, 3> pdu{};
    if (!DecodeCheckedPdu(received, pdu)) {
        return Code(ResultCode::ChecksumError);
    }
    return ExceptionResult(pdu[2]);
}

bool IsExceptionReply(std::span<const uint8_t> received) {
    if (received.size() < 5) {
        return false;
    }
    const auto function = DecodeHexPair(received[3], received[4]);
    return function && IsExceptionFunction(*function);
}

} // namespace

std::vector<uint8_t> BuildAsciiFrame(std::span<const uint8_t> pdu) {
    std::vector<uint8_t> frame;
    frame.reserve(AsciiReplyFrameLength(pdu.size()));
    frame.push_back(kColon);
    for (uint8_t byte : pdu) {
        AppendHexByte(frame, byte);
    }
    AppendHexByte(frame, Lrc(pdu));
    frame.push_back('\r');
    frame.push_back('\n');
    return frame;
}

std::optional<std::vector<uint8_t>> DecodeAsciiFrame(std::span<const uint8_t> frame) {
    if (frame.size() < kFrameOverhead || (frame.size() - kFrameOverhead) % 2 != 0 ||
        frame.front() != kColon || frame[frame.size() - 2] != '\r' || frame.back() != '\n') {
        return std::nullopt;
    }
    std::vector<uint8_t> pdu((frame.size() - kFrameOverhead) / 2);
    if (!DecodeCheckedPdu(frame, pdu)) {
        return std::nullopt;
    }
    return pdu;
}

uint16_t JudgeAsciiReply(std::span<const uint8_t> received, std::span<uint8_t> reply) {
    std::fill(reply.begin(), reply.end(), uint8_t{0});
    if (received.empty()) {
        return Code(ResultCode::NoReply);
    }
    if (IsExceptionReply(received)) {
        return JudgeException(received);
    }
    if (received.size() != AsciiReplyFrameLength(reply.size())) {
        return Code(ResultCode::WrongLength);
    }
    if (!DecodeCheckedPdu(received, reply)) {
        std::fill(reply.begin(), reply.end(), uint8_t{0});
        return Code(ResultCode::ChecksumError);
    }
    return Code(ResultCode::Success);
}

} // namespace tolvex
