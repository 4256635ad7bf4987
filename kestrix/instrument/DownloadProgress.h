#pragma once

// The download's progress bar and text: total is records plus location names (1 when that is
// not positive), done what has arrived of both.

#include <cstdint>
#include <string>

namespace kestrix::instrument {

struct DownloadProgress {
    int value = 0;
    int maximum = 0;
    std::string text;

    // True when the bar or the text changed.
    bool Update(std::int32_t recordCount, std::int32_t locationCount, std::int32_t done);
};

// done / total x 100 rounded with halves to even, and "%".
std::string PercentText(std::int32_t done, std::int32_t total);

} // namespace kestrix::instrument
