#include "kestrix/data/ChunkedInput.h"

#include <algorithm>
#include <cstring>

namespace kestrix::data {

namespace {

constexpr std::size_t kFirstBlock = std::size_t{64} << 10;

} // namespace

ChunkedInput::ChunkedInput(std::istream& in, std::size_t lookahead, std::size_t capacity)
    : in_(in), lookahead_(lookahead), capacity_(std::max(capacity, 2 * lookahead)) {}

std::string_view ChunkedInput::Window() {
    while (end_ - begin_ < lookahead_ && !ended_) {
        Refill();
    }
    return {buffer_.get() + begin_, end_ - begin_};
}

void ChunkedInput::Refill() {
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    // Each refill means the stream has more: the buffer doubles until it reaches its capacity.
    if (size_ < capacity_) {
        Grow();
    }
    const std::size_t wanted = size_ - end_;
    in_.read(buffer_.get() + end_, static_cast<std::streamsize>(wanted));
    const auto got = static_cast<std::size_t>(in_.gcount());
    end_ += got;
    ended_ = got < wanted;
}

void ChunkedInput::Grow() {
    const std::size_t size = std::min(capacity_, std::max(kFirstBlock, 2 * size_));
    auto grown = std::make_unique_for_overwrite<char[]>(size);
    if (end_ > 0) {
        std::memcpy(grown.get(), buffer_.get(), end_);
    }
    buffer_ = std::move(grown);
    size_ = size;
}

} // namespace kestrix::data
