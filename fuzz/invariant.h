#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant ends the run as a crash would, so the fuzzer keeps the input that broke it.
inline void require(bool holds, const char *what) {
    if (holds)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}
