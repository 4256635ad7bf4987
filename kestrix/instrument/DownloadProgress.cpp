#include "kestrix/instrument/DownloadProgress.h"

#include <cmath>

namespace kestrix::instrument {

std::string PercentText(std::int32_t done, std::int32_t total) {
    const double percent = static_cast<double>(done) / static_cast<double>(total) * 100.0;
    return std::to_string(static_cast<long long>(std::nearbyint(percent))) + "%";
}

bool DownloadProgress::Update(std::int32_t recordCount, std::int32_t locationCount,
                              std::int32_t done) {
    std::int32_t total = recordCount + locationCount;
    if (total <= 0) {
        total = 1;
    }
    bool changed = false;
    if (maximum != total) {
        maximum = total;
        changed = true;
    }
    if (value != done) {
        text = PercentText(done, total);
        value = done;
        changed = true;
    }
    return changed;
}

} // namespace kestrix::instrument
