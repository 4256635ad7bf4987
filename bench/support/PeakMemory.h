#pragma once

// The peak resident memory the kernel counted, in MB: of this process, or with RUSAGE_CHILDREN
// of its largest waited-for child.

#include <sys/resource.h>

inline double PeakResidentMegabytes(int who = RUSAGE_SELF) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}
