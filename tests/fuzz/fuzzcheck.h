#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding: abort() makes libFuzzer keep the input and
// stop, as it does for a sanitizer report.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// An exception the unit does not document is a finding too.
#define FUZZ_UNEXPECTED(error)                                                                     \
    do {                                                                                           \
        std::fprintf(stderr, "%s:%d: undocumented exception: %s\n", __FILE__, __LINE__,            \
                     (error).what());                                                              \
        std::abort();                                                                              \
    } while (false)
