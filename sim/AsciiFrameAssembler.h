#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrix::sim {

// Cuts Modbus ASCII frames out of a byte stream: a colon starts a frame (dropping any partial
// one), CR LF ends it. Bytes outside a frame are ignored.
class AsciiFrameAssembler {
public:
    // The whole frame, colon to LF, once its LF arrives.
    std::optional<std::vector<uint8_t>> Accept(uint8_t byte);

private:
    // A request PDU of at most 256 bytes, in hex, plus colon, LRC and CR LF.
    static constexpr size_t kMaxFrame = 1 + 2 * 256 + 2 + 2;

    std::vector<uint8_t> frame_;
    bool inFrame_ = false;
};

} // namespace kestrix::sim
