#pragma once

// The registers of one reply with the instrument's encodings of texts, 32-bit integers and
// floats. A register beyond the reply reads as 0.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix::instrument {

class RegisterReply {
public:
    explicit RegisterReply(std::vector<std::uint16_t> registers)
        : registers_(std::move(registers)) {}

    std::int16_t Register(int index) const { return static_cast<std::int16_t>(Unsigned(index)); }
    std::uint16_t Unsigned(int index) const;
    // Two 8-bit characters per register, high byte first, up to the first zero byte.
    std::string Text(int first, int count) const;
    // Two registers, high word first.
    std::int32_t Long(int first) const;
    // An IEEE single: register 2i holds the low word, 2i+1 the high word.
    float Float(int index) const;

private:
    std::vector<std::uint16_t> registers_;
};

} // namespace kestrix::instrument
