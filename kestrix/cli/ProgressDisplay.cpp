#include "kestrix/cli/ProgressDisplay.h"

#include <algorithm>
#include <iostream>
#include <unistd.h>

namespace kestrix::cli {

namespace {
constexpr int kBarWidth = 40;
}

ProgressDisplay::ProgressDisplay() : terminal_(::isatty(STDERR_FILENO) == 1) {}

void ProgressDisplay::Show(const instrument::DownloadProgress& progress) {
    if (progress.text == lastText_ || progress.text.empty()) {
        return;
    }
    lastText_ = progress.text;
    if (!terminal_) {
        std::cerr << progress.text << '\n';
        return;
    }
    const int maximum = std::max(progress.maximum, 1);
    const int filled = std::clamp(progress.value * kBarWidth / maximum, 0, kBarWidth);
    std::cerr << "\r[" << std::string(static_cast<size_t>(filled), '#')
              << std::string(static_cast<size_t>(kBarWidth - filled), ' ') << "] " << progress.text
              << std::flush;
    drawn_ = true;
}

void ProgressDisplay::Finish() {
    if (drawn_) {
        std::cerr << '\n';
        drawn_ = false;
    }
}

} // namespace kestrix::cli
