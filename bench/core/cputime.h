#pragma once

#include <algorithm>
#include <ctime>
#include <limits>

// CPU time of this thread in seconds: the machine is shared, so wall time would measure the neighbours.
inline double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Best of several runs of f, in CPU seconds.
template <typename F> double bestOf(int runs, F f) {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < runs; ++i) {
        const double start = cpuSeconds();
        f();
        best = std::min(best, cpuSeconds() - start);
    }
    return best;
}
