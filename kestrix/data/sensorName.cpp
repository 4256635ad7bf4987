#include "kestrix/data/sensorName.h"

#include <algorithm>
#include <cctype>

namespace kestrix::data {

bool IsIaqSensorName(std::string_view sensorName) {
    constexpr std::string_view kIaq = "IAQ";
    const auto found = std::search(
        sensorName.begin(), sensorName.end(), kIaq.begin(), kIaq.end(),
        [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
    return found != sensorName.end();
}

} // namespace kestrix::data
