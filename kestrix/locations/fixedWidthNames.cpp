#include "kestrix/locations/fixedWidthNames.h"

#include <algorithm>

namespace kestrix::locations {
namespace {

std::string PadTo(const std::string& text, std::int16_t length, char filler) {
    std::string padded = TrimAtNul(text);
    padded.resize(static_cast<std::size_t>(std::max<std::int16_t>(length, 0)), filler);
    return padded;
}

bool IsShortNameByte(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') || byte == '_' ||
           byte == '\0';
}

} // namespace

std::string TrimAtNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

std::string PadWithNul(const std::string& text, std::int16_t length) {
    return PadTo(text, length, '\0');
}

std::string PadWithSpaces(const std::string& text, std::int16_t length) {
    return PadTo(text, length, ' ');
}

bool IsValidShortName(const std::string& name) {
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return IsShortNameByte(static_cast<unsigned char>(c)); });
}

int FindFirstDuplicate(const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (std::find(names.begin() + static_cast<std::ptrdiff_t>(i) + 1, names.end(), names[i]) !=
            names.end()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int FindNameElsewhere(const std::vector<std::string>& names, const std::string& name,
                      int skipIndex) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (static_cast<int>(i) != skipIndex && names[i] == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace kestrix::locations
