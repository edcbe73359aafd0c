#pragma once
// A property that every input must keep; a broken one ends the run as a crash, so its input is saved.

#include <cstdio>
#include <cstdlib>

inline void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}
