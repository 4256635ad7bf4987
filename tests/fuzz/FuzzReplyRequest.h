#pragma once

// Shared driver of the reply fuzzers: the first three input bytes pick a function code and
// quantity, the rest is what arrived on the wire. Buffers are sized exactly, so the sanitizers
// catch any read or write past them.

#include "ModbusPdu.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tolvex::fuzz {

constexpr uint8_t kFunctions[] = {1, 2, 3, 4, 5, 6, 15, 16, 23};

inline size_t ExpectedLength(uint8_t function, uint16_t quantity) {
    switch (function) {
    case 1:
    case 2:
        return 3 + (quantity + 7) / 8;
    case 3:
    case 4:
    case 23:
        return 3 + 2 * static_cast<size_t>(quantity);
    default:
        return 6;
    }
}

template <typename Judge>
void JudgeAndUnpack(const uint8_t* data, size_t size, Judge judge) {
    if (size < 3) {
        return;
    }
    const uint8_t function = kFunctions[data[0] % std::size(kFunctions)];
    const bool bits = function == 1 || function == 2;
    const uint16_t limit = bits ? kMaxReadBits : kMaxReadRegisters;
    const auto quantity = static_cast<uint16_t>(1 + ((data[1] << 8) | data[2]) % limit);
    const std::vector<uint8_t> request{1,
                                       function,
                                       0,
                                       0,
                                       static_cast<uint8_t>(quantity >> 8),
                                       static_cast<uint8_t>(quantity & 0xFF)};
    std::vector<uint8_t> reply(ExpectedLength(function, quantity));
    const std::vector<uint8_t> received(data + 3, data + size);
    if (judge(std::span<const uint8_t>(received), std::span<uint8_t>(reply)) != 0) {
        return;
    }
    if (!HeaderMatches(reply, request)) {
        return;
    }
    std::vector<uint8_t> out(bits ? quantity : 2 * static_cast<size_t>(quantity));
    if (bits) {
        UnpackBits(reply, out);
    } else {
        UnpackRegisters(reply, out);
    }
    EchoMatches(reply, request, 6);
}

} // namespace tolvex::fuzz
