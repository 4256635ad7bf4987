#include "kestrix/data/ChunkedInput.h"

#include <algorithm>
#include <cstddef>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace kestrix {
namespace {

// Bytes that tell their own position apart from their neighbours'.
std::string Pattern(std::size_t size) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
    }
    return text;
}

TEST(ChunkedInput, TheWindowShowsTheUnreadBytesAndAtLeastTheLookahead) {
    constexpr std::size_t kLookahead = 1000;
    for (const std::size_t size : {std::size_t{0}, std::size_t{10}, std::size_t{3 << 20}}) {
        const std::string text = Pattern(size);
        std::istringstream in(text);
        data::ChunkedInput input(in, kLookahead, 8 * kLookahead);
        std::size_t position = 0;
        for (std::size_t step = 1; position < size; step = step * 3 % 997 + 1) {
            const std::string_view window = input.Window();
            ASSERT_EQ(window.substr(0, kLookahead),
                      std::string_view(text).substr(position, kLookahead))
                << size << " at " << position;
            const std::size_t taken = std::min(step, window.size());
            input.Consume(taken);
            position += taken;
        }
        EXPECT_TRUE(input.Window().empty()) << size;
    }
}

} // namespace
} // namespace kestrix
