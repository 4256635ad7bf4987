#include "kestrix/data/ChunkedInput.h"

#include <algorithm>

namespace kestrix {

ChunkedInput::ChunkedInput(std::istream& in, std::size_t lookahead, std::size_t capacity)
    : in_(in), lookahead_(lookahead), buffer_(std::max(capacity, 2 * lookahead)) {}

std::string_view ChunkedInput::Window() {
    if (end_ - begin_ < lookahead_ && !ended_) {
        Refill();
    }
    return {buffer_.data() + begin_, end_ - begin_};
}

void ChunkedInput::Refill() {
    std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(begin_),
              buffer_.begin() + static_cast<std::ptrdiff_t>(end_), buffer_.begin());
    end_ -= begin_;
    begin_ = 0;
    const std::size_t wanted = buffer_.size() - end_;
    in_.read(buffer_.data() + end_, static_cast<std::streamsize>(wanted));
    const auto got = static_cast<std::size_t>(in_.gcount());
    end_ += got;
    ended_ = got < wanted;
}

} // namespace kestrix
