// The process's resident memory, read from /proc, for the benchmarks that
// state a peak.
#pragma once

#include <fstream>
#include <string>

namespace bench {

// A "Vm...:" figure of /proc/self/status, in megabytes.
inline double StatusMegabytes(const char* field) {
    std::ifstream status("/proc/self/status");
    const std::string key = std::string(field) + ":";
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key, 0) == 0) return std::stod(line.substr(key.size())) / 1024.0;
    return 0.0;
}

// The process's peak resident memory since the last ResetPeak.
inline double PeakMegabytes() { return StatusMegabytes("VmHWM"); }

// Starts the peak over from the memory resident now, and gives that.
inline double ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
    return StatusMegabytes("VmRSS");
}

}  // namespace bench
