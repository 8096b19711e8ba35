#pragma once

#include <unistd.h>

#include <fstream>
#include <string>

// Resident and peak resident memory of this process, in MiB. The peak is the kernel's high-water
// mark of this program's memory, which starts again at exec; getrusage's would keep that of the
// process it was forked from.
inline double residentMiB() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1 << 20);
}
inline double peakMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string field; status >> field;) {
        double kibibytes = 0;
        if (field == "VmHWM:" && status >> kibibytes) return kibibytes / 1024;
    }
    return 0;
}
