#include "AsciiFrameAssembler.h"

namespace kestrix::sim {

std::optional<std::vector<uint8_t>> AsciiFrameAssembler::Accept(uint8_t byte) {
    if (byte == ':') {
        frame_.assign(1, byte);
        inFrame_ = true;
        return std::nullopt;
    }
    if (!inFrame_) {
        return std::nullopt;
    }
    frame_.push_back(byte);
    if (frame_.size() > kMaxFrame) {
        inFrame_ = false;
        frame_.clear();
        return std::nullopt;
    }
    if (byte == '\n' && frame_[frame_.size() - 2] == '\r') {
        inFrame_ = false;
        return std::move(frame_);
    }
    return std::nullopt;
}

} // namespace kestrix::sim
