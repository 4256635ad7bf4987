#pragma once

// A stream read in large blocks and looked at through a window of its unread bytes, so that a
// scanner can work on plain memory.

#include <cstddef>
#include <istream>
#include <memory>
#include <string_view>

namespace kestrix::data {

class ChunkedInput {
public:
    // Reads blocks of up to capacity bytes; a capacity well above the lookahead keeps the bytes
    // moved to the front at each refill few. The buffer starts small and doubles while the
    // stream goes on, so a short stream costs little.
    ChunkedInput(std::istream& in, std::size_t lookahead, std::size_t capacity);

    // The unread bytes: at least the lookahead unless the stream ends sooner.
    std::string_view Window();
    // Marks bytes at the front of the window as read; no more than the window holds.
    void Consume(std::size_t count) { begin_ += count; }

private:
    void Refill();
    void Grow();

    std::istream& in_;
    std::size_t lookahead_;
    std::size_t capacity_;
    std::unique_ptr<char[]> buffer_;
    std::size_t size_ = 0;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
};

} // namespace kestrix::data
