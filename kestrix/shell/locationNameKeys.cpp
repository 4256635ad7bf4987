#include "kestrix/shell/locationNameKeys.h"

#include <cstdio>

namespace kestrix::locationNames {

std::string ThreeDigitKey(std::int32_t index) {
    char key[16];
    std::snprintf(key, sizeof key, "%03d", static_cast<int>(index));
    return key;
}

std::string DefaultLongName(std::int32_t index) {
    return "Location " + ThreeDigitKey(index);
}

std::string DefaultShortName(std::int32_t index) {
    return "LOC" + ThreeDigitKey(index);
}

} // namespace kestrix::locationNames
