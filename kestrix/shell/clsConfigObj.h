#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace kestrix {

// One entry of the configuration store: a numbered setting (an integer) or a
// location name (a text).
struct clsConfigObj {
    bool bHasChanged = false; // only changed entries are written back
    std::int32_t lKey = 0;    // setting number or name index
    std::variant<std::int32_t, std::string> vValue;
};

} // namespace kestrix
