#include "kestrix/calc/particleSize.h"

#include <charconv>
#include <limits>
#include <string>

namespace kestrix {

namespace {

std::string NumberText(std::string_view sizeTag) {
    std::string number;
    bool seenPoint = false;
    for (const char c : sizeTag) {
        if (c == ' ') {
            continue;
        }
        if (c == '.') {
            if (seenPoint) {
                break;
            }
            seenPoint = true;
        }
        number.push_back(c);
    }
    return number;
}

} // namespace

double ParticleSizeValue(std::string_view sizeTag) {
    const std::string number = NumberText(sizeTag);
    double value = 0.0;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::fixed);
    if (parsed.ec == std::errc::result_out_of_range) {
        return std::numeric_limits<double>::infinity();
    }
    return parsed.ec == std::errc{} ? value : 0.0;
}

} // namespace kestrix
