#include "kestrix/cleanroom/listTexts.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace kestrix::cleanroom {

namespace {

constexpr std::int32_t kMaxRangeLength = 100'000;

std::vector<std::string> Items(const std::string& text) {
    std::vector<std::string> items;
    std::istringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ',')) {
        const auto first = item.find_first_not_of(' ');
        const auto last = item.find_last_not_of(' ');
        items.push_back(first == std::string::npos ? "" : item.substr(first, last - first + 1));
    }
    return items;
}

template <typename Number>
std::optional<Number> Whole(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<std::vector<double>> ParseSizeList(const std::string& text) {
    std::vector<double> sizes;
    for (const std::string& item : Items(text)) {
        const auto size = Whole<double>(item);
        if (!size || !std::isfinite(*size) || *size <= 0) {
            return std::nullopt;
        }
        sizes.push_back(*size);
    }
    return sizes;
}

std::optional<std::vector<std::int32_t>> ParseLocationList(const std::string& text) {
    std::vector<std::int32_t> locations;
    for (const std::string& item : Items(text)) {
        const auto dash = item.find('-', 1);
        const auto first = Whole<std::int32_t>(std::string_view(item).substr(0, dash));
        const auto last =
            dash == std::string::npos ? first : Whole<std::int32_t>(item.substr(dash + 1));
        if (!first || !last || *first < 0 || *last < *first || *last - *first > kMaxRangeLength) {
            return std::nullopt;
        }
        for (std::int32_t location = *first; location <= *last; ++location) {
            locations.push_back(location);
        }
    }
    return locations;
}

} // namespace kestrix::cleanroom
