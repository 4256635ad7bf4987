#include "kestrix/instrument/RegisterReply.h"

#include "kestrix/instrument/registerPacking.h"

#include <bit>

namespace kestrix::instrument {

std::uint16_t RegisterReply::Unsigned(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= registers_.size()) {
        return 0;
    }
    return registers_[static_cast<size_t>(index)];
}

std::string RegisterReply::Text(int first, int count) const {
    std::string text;
    for (int index = first; index < first + count; ++index) {
        const std::uint16_t value = Unsigned(index);
        for (const auto byte : {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)}) {
            if (byte == '\0') {
                return text;
            }
            text.push_back(byte);
        }
    }
    return text;
}

std::int32_t RegisterReply::Long(int first) const {
    return registers::MakeLong(Register(first), Register(first + 1));
}

float RegisterReply::Float(int index) const {
    return std::bit_cast<float>(registers::MakeLong(Register(2 * index + 1), Register(2 * index)));
}

} // namespace kestrix::instrument
