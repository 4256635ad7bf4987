#pragma once

// The peak resident memory the kernel counted, in MB: of this process, or with RUSAGE_CHILDREN
// of its largest waited-for child; and the memory this process holds now.

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

inline double PeakResidentMegabytes(int who = RUSAGE_SELF) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

inline double ResidentMegabytes() {
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}
