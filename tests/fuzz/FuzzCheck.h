#pragma once

#include <cstdio>
#include <cstdlib>

// An invariant that does not hold aborts, which libFuzzer (or the replay
// driver) reports as a crash with the input saved.
#define FUZZ_CHECK(condition)                                                                  \
  do {                                                                                         \
    if (!(condition)) {                                                                        \
      std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                            \
    }                                                                                          \
  } while (false)
