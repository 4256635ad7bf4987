#include "tolvex/RtuFrame.h"

#include "ExceptionReply.h"
#include "tolvex/Checksum.h"
#include "tolvex/ResultCode.h"

#include <algorithm>

namespace tolvex {
namespace {

constexpr size_t kExceptionFrameLength = 5; // slave, function, code, CRC

} // namespace

std::vector<uint8_t> BuildRtuFrame(std::span<const uint8_t> pdu) {
    std::vector<uint8_t> frame(pdu.begin(), pdu.end());
    const uint16_t crc = Crc16(pdu);
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    return frame;
}

uint16_t JudgeRtuReply(std::span<const uint8_t> received, std::span<uint8_t> reply) {
    std::fill(reply.begin(), reply.end(), uint8_t{0});
    if (received.empty()) {
        return Code(ResultCode::NoReply);
    }
    if (received.size() >= 2 && IsExceptionFunction(received[1])) {
        if (received.size() < kExceptionFrameLength) {
            return Code(ResultCode::WrongLength);
        }
        if (Crc16(received.first(kExceptionFrameLength)) != 0) {
            return Code(ResultCode::ChecksumError);
        }
        return ExceptionResult(received[2]);
    }
    if (received.size() != RtuReplyFrameLength(reply.size())) {
        return Code(ResultCode::WrongLength);
    }
    if (Crc16(received) != 0) {
        return Code(ResultCode::ChecksumError);
    }
    std::copy_n(received.begin(), reply.size(), reply.begin());
    return Code(ResultCode::Success);
}

} // namespace tolvex
