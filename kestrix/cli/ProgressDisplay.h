#pragma once

// The download's progress on stderr: a bar redrawn in place on a terminal, otherwise one line
// per new percentage.

#include "kestrix/instrument/DownloadProgress.h"

#include <string>

namespace kestrix::cli {

class ProgressDisplay {
public:
    ProgressDisplay();
    void Show(const instrument::DownloadProgress& progress);
    // Ends the bar's line.
    void Finish();

private:
    bool terminal_;
    bool drawn_ = false;
    std::string lastText_;
};

} // namespace kestrix::cli
